#pragma once

#include "EncodingCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

struct EncodingGroup;

// How a document's file turns into the UTF-8 text the component holds, and
// back: a character set of the catalogue and whether the file starts with a
// byte-order mark. "Raw" is no decoding at all: the bytes go in and out
// unchanged.
class TextEncoding
{
public:
    // The character sets the code names; every other entry of the catalogue
    // is a Codec past these (Codec(n) is catalogue entry n).
    enum Codec : int {
        Raw,
        Utf8,
        Utf16LE,
        Utf16BE,
        Utf32LE,
        Utf32BE,
        GB18030,
        Big5,
        ShiftJis,
        EucJp,
        EucKr,
        Windows1252,
    };
    using Form = EncodingCatalogue::Form;

    TextEncoding() = default;
    constexpr TextEncoding(Codec c, bool withMark = false) : codec(c), bom(withMark) {}

    Codec codec = Utf8;
    bool bom = false;

    // What the status bar and the menus show: "UTF-8", "UTF-8 BOM",
    // "UTF-16 LE", "UTF-16 LE 无BOM", "GB18030", "Windows-1252", ...
    QString Name() const;
    static std::optional<TextEncoding> FromName(const QString &name);

    Form CodecForm() const;
    // The mark for this character set (also when bom is off), empty for
    // those that have none.
    QByteArray Mark() const;
    // The component's bytes are the file's bytes (apart from a mark).
    bool IsPassThrough() const { return codec == Raw || codec == Utf8; }
    // Qt can convert it here (all but the Unicode forms need Qt's ICU support).
    bool IsAvailable() const;
    // The name Qt's converters know the character set by.
    const char *QtName() const;

    // The encodings whose marks start these bytes, longest mark first
    // (UTF-32 LE's mark begins with UTF-16 LE's).
    static QList<TextEncoding> FromMark(const QByteArray &head);

    // What the two encoding submenus list: reading a file again leaves the
    // mark to the file; converting chooses it too.
    enum class Menu { Reopen, Convert };
    static QList<EncodingGroup> MenuGroups(Menu menu);
    // Every encoding of a menu (the groups flattened); by default every one
    // a document can be converted to.
    static QList<TextEncoding> All(Menu menu = Menu::Convert);

    bool operator==(const TextEncoding &other) const = default;
};

// A group of a menu of encodings, with groups of its own inside.
struct EncodingGroup
{
    QString title;
    QList<TextEncoding> encodings;
    QList<EncodingGroup> groups;
};
