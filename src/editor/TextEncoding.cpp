#include "TextEncoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char Utf8Mark[] = "\xEF\xBB\xBF";
const char Utf16LEMark[] = "\xFF\xFE";
const char Utf16BEMark[] = "\xFE\xFF";

} // namespace

QString TextEncoding::Name() const
{
    switch (codec) {
    case Raw:
        return QStringLiteral("原始字节");
    case Utf8:
        return bom ? QStringLiteral("UTF-8 BOM") : QStringLiteral("UTF-8");
    case Utf16LE:
        return bom ? QStringLiteral("UTF-16 LE") : QStringLiteral("UTF-16 LE 无BOM");
    case Utf16BE:
        return bom ? QStringLiteral("UTF-16 BE") : QStringLiteral("UTF-16 BE 无BOM");
    case GB18030:
        return QStringLiteral("GB18030");
    case Big5:
        return QStringLiteral("Big5");
    }
    return QString();
}

std::optional<TextEncoding> TextEncoding::FromName(const QString &name)
{
    for (Codec codec : {Raw, Utf8, Utf16LE, Utf16BE, GB18030, Big5})
        for (bool bom : {false, true})
            if (TextEncoding(codec, bom).Name() == name)
                return TextEncoding(codec, bom);
    return std::nullopt;
}

QByteArray TextEncoding::Mark() const
{
    switch (codec) {
    case Utf8:
        return QByteArray(Utf8Mark, 3);
    case Utf16LE:
        return QByteArray(Utf16LEMark, 2);
    case Utf16BE:
        return QByteArray(Utf16BEMark, 2);
    default:
        return QByteArray();
    }
}

const char *TextEncoding::QtName() const
{
    switch (codec) {
    case GB18030:
        return "GB18030";
    case Big5:
        return "Big5";
    case Utf16LE:
        return "UTF-16LE";
    case Utf16BE:
        return "UTF-16BE";
    default:
        return "UTF-8";
    }
}

// Asks Qt only; the conversion tables are built when a file first needs them.
bool TextEncoding::IsAvailable() const
{
    if (codec == GB18030 || codec == Big5)
        return QStringDecoder(QtName()).isValid() && QStringEncoder(QtName()).isValid();
    return true;
}

std::optional<TextEncoding> TextEncoding::FromMark(const QByteArray &head)
{
    // UTF-8's mark first: no other mark is a prefix of it.
    for (Codec codec : {Utf8, Utf16LE, Utf16BE}) {
        const TextEncoding marked(codec, true);
        if (head.startsWith(marked.Mark()))
            return marked;
    }
    return std::nullopt;
}

// A mark decides first; then strict UTF-8, GB18030, and Big5 only after
// GB18030 (most Big5 byte pairs are valid GB18030 too, so the other order
// would never pick GB18030 for them). Raw is what is left.
QList<TextEncoding> TextEncoding::DetectionOrder(const QByteArray &head)
{
    QList<TextEncoding> order;
    const auto marked = FromMark(head);
    if (marked)
        order << *marked;
    for (Codec codec : {Utf8, GB18030, Big5})
        if (TextEncoding(codec).IsAvailable() && !(marked && marked->codec == codec))
            order << TextEncoding(codec); // (invalid after a UTF-8 mark means invalid without it)
    return order;
}

QList<TextEncoding> TextEncoding::ReopenChoices()
{
    QList<TextEncoding> choices;
    for (const TextEncoding &choice : {TextEncoding(Utf8), TextEncoding(GB18030), TextEncoding(Big5),
                                       TextEncoding(Utf16LE, true), TextEncoding(Utf16BE, true)})
        if (choice.IsAvailable())
            choices << choice;
    return choices;
}

QList<TextEncoding> TextEncoding::ConvertChoices()
{
    QList<TextEncoding> choices;
    for (const TextEncoding &choice :
         {TextEncoding(Utf8), TextEncoding(Utf8, true), TextEncoding(GB18030), TextEncoding(Big5),
          TextEncoding(Utf16LE, true), TextEncoding(Utf16BE, true)})
        if (choice.IsAvailable())
            choices << choice;
    return choices;
}
