#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// How a document's file turns into the UTF-8 text the component holds, and
// back: a character set and whether the file starts with a byte-order mark.
// "Raw" is no decoding at all: the bytes go in and out unchanged.
class TextEncoding
{
public:
    enum Codec { Raw, Utf8, Utf16LE, Utf16BE, GB18030, Big5 };

    TextEncoding() = default;
    constexpr TextEncoding(Codec c, bool withMark = false) : codec(c), bom(withMark) {}

    Codec codec = Utf8;
    bool bom = false;

    // What the status bar and the menus show: "UTF-8", "UTF-8 BOM",
    // "UTF-16 LE", "GB18030", "Big5", ...
    QString Name() const;
    static std::optional<TextEncoding> FromName(const QString &name);

    // The mark for this character set (also when bom is off), empty for
    // those that have none.
    QByteArray Mark() const;
    // The component's bytes are the file's bytes (apart from a mark).
    bool IsPassThrough() const { return codec == Raw || codec == Utf8; }
    // Qt can convert it here (GB18030 and Big5 need Qt's ICU support).
    bool IsAvailable() const;
    // The name Qt's converters know the character set by.
    const char *QtName() const;

    // The encoding a file starting with these bytes declares by its mark.
    static std::optional<TextEncoding> FromMark(const QByteArray &head);
    // What loading tries, in order, for a file starting with these bytes.
    static QList<TextEncoding> DetectionOrder(const QByteArray &head);
    // What a file can be read again as, and what a document can be turned into.
    static QList<TextEncoding> ReopenChoices();
    static QList<TextEncoding> ConvertChoices();

    bool operator==(const TextEncoding &other) const = default;
};
