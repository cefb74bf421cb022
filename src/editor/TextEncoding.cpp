#include "TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <functional>
#include <mutex>
#include <vector>

using EncodingCatalogue::Form;

namespace {

bool IsWide(Form form)
{
    return form == Form::Utf16LE || form == Form::Utf16BE || form == Form::Utf32LE || form == Form::Utf32BE;
}

bool HasMark(Form form)
{
    return form == Form::Utf8 || IsWide(form);
}

const EncodingCatalogue::Charset &CharsetOf(TextEncoding::Codec codec)
{
    return EncodingCatalogue::At(int(codec));
}

// The mark an encoding of this form may start with: as shown (with it) and
// its name without one.
QString MarkSuffix(Form form, bool bom)
{
    if (form == Form::Utf8)
        return bom ? QStringLiteral(" BOM") : QString();
    return bom ? QString() : QStringLiteral(" 无BOM");
}

} // namespace

QString TextEncoding::Name() const
{
    const Form form = CodecForm();
    const QString name = QString::fromUtf8(CharsetOf(codec).name);
    return HasMark(form) ? name + MarkSuffix(form, bom) : name;
}

std::optional<TextEncoding> TextEncoding::FromName(const QString &name)
{
    for (int i = 0; i < EncodingCatalogue::Count(); ++i)
        for (bool bom : {false, true}) {
            const TextEncoding encoding(Codec(i), bom);
            if ((bom ? HasMark(encoding.CodecForm()) : true) && encoding.Name() == name)
                return encoding;
        }
    return std::nullopt;
}

TextEncoding::Form TextEncoding::CodecForm() const
{
    return CharsetOf(codec).form;
}

QByteArray TextEncoding::Mark() const
{
    switch (CodecForm()) {
    case Form::Utf8:
        return QByteArray("\xEF\xBB\xBF", 3);
    case Form::Utf16LE:
        return QByteArray("\xFF\xFE", 2);
    case Form::Utf16BE:
        return QByteArray("\xFE\xFF", 2);
    case Form::Utf32LE:
        return QByteArray("\xFF\xFE\x00\x00", 4);
    case Form::Utf32BE:
        return QByteArray("\x00\x00\xFE\xFF", 4);
    default:
        return QByteArray();
    }
}

const char *TextEncoding::QtName() const
{
    return CharsetOf(codec).qtName;
}

// Asks Qt once per character set; the conversion tables are built when a
// file first needs them.
bool TextEncoding::IsAvailable() const
{
    const Form form = CodecForm();
    if (form == Form::Raw || form == Form::Utf8 || IsWide(form))
        return true;
    // Asked from worker threads too (find in files).
    static std::vector<signed char> known(size_t(EncodingCatalogue::Count()), -1);
    static std::mutex asking;
    const std::lock_guard lock(asking);
    signed char &answer = known[size_t(codec)];
    if (answer < 0)
        answer = QStringDecoder(QtName()).isValid() && QStringEncoder(QtName()).isValid();
    return answer == 1;
}

QList<TextEncoding> TextEncoding::FromMark(const QByteArray &head)
{
    QList<TextEncoding> marked;
    for (Codec codec : {Utf8, Utf32LE, Utf32BE, Utf16LE, Utf16BE}) {
        const TextEncoding encoding(codec, true);
        if (head.startsWith(encoding.Mark()))
            marked << encoding;
    }
    return marked;
}

// The catalogue in its order, grouped as it says; unavailable character sets
// are left out. Reopening offers each form once (the file has a mark or
// not); converting offers the forms with and without one.
QList<EncodingGroup> TextEncoding::MenuGroups(Menu menu)
{
    QList<EncodingGroup> groups;
    auto groupNamed = [](QList<EncodingGroup> &list, const char *title) -> EncodingGroup & {
        const QString name = QString::fromUtf8(title);
        for (EncodingGroup &group : list)
            if (group.title == name)
                return group;
        list.append(EncodingGroup{name, {}, {}});
        return list.last();
    };
    for (int i = 0; i < EncodingCatalogue::Count(); ++i) {
        const auto &charset = EncodingCatalogue::At(i);
        const TextEncoding encoding(Codec(i), IsWide(charset.form));
        if (!charset.group || !encoding.IsAvailable())
            continue;
        EncodingGroup &top = groupNamed(groups, charset.group);
        QList<TextEncoding> &list = charset.subgroup ? groupNamed(top.groups, charset.subgroup).encodings
                                                     : top.encodings;
        list << encoding;
        if (menu == Menu::Convert && HasMark(charset.form))
            list << TextEncoding(Codec(i), !encoding.bom);
    }
    return groups;
}

QList<TextEncoding> TextEncoding::All(Menu menu)
{
    QList<TextEncoding> all;
    std::function<void(const QList<EncodingGroup> &)> collect = [&](const QList<EncodingGroup> &groups) {
        for (const EncodingGroup &group : groups) {
            all << group.encodings;
            collect(group.groups);
        }
    };
    collect(MenuGroups(menu));
    return all;
}
