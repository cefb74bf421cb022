#include "HighlighterFile.h"

#include <limits>
#include <optional>

namespace HighlighterFile {

namespace {

constexpr std::int32_t White = 16777215;

enum Field {
    BoldField = 0,
    ItalicField = 1,
    UnderlineField = 2,
    VisibleField = 3,
    EolFilledField = 5,
    FontField = 7,
    SizeField = 8,
    ForeField = 9,
    BackField = 10,
    DescriptionField = 11,
};

// A plain decimal number, the fraction dropped. Anything else (letters, an
// exponent, a number beyond 18 digits) is no number.
std::optional<std::int64_t> DecimalValue(QStringView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    std::int64_t value = 0;
    int digits = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (++digits > 18)
            return std::nullopt;
        value = value * 10 + (text[i++].unicode() - u'0');
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> Int32Value(QStringView text)
{
    const auto value = DecimalValue(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min()
        || *value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(*value);
}

// Colours are 32-bit patterns: written signed or unsigned, both read back.
std::optional<std::int32_t> ColourValue(QStringView text)
{
    const auto value = DecimalValue(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min()
        || *value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return std::int32_t(std::uint32_t(*value));
}

// Flag letters count only alone: "B " or "BI" set nothing.
bool IsFlag(QStringView text, char letter)
{
    return text.size() == 1 && text[0].toUpper() == QLatin1Char(letter);
}

void ApplyField(StyleSpec &look, int field, QStringView text)
{
    switch (field) {
    case BoldField: look.Bold = IsFlag(text, 'B'); break;
    case ItalicField: look.Italic = IsFlag(text, 'I'); break;
    case UnderlineField: look.Underline = IsFlag(text, 'U'); break;
    case VisibleField: look.Visible = IsFlag(text, 'V'); break;
    case EolFilledField: look.EolFilled = IsFlag(text, 'E'); break;
    case FontField:
        if (!text.isEmpty())
            look.Font = text.toString();
        break;
    case SizeField:
        if (text != u"0")
            look.Size = Int32Value(text).value_or(look.Size);
        break;
    case ForeField:
        if (!text.isEmpty())
            look.Fore = ColourValue(text).value_or(look.Fore);
        break;
    case BackField:
        if (!text.isEmpty())
            look.Back = ColourValue(text).value_or(look.Back);
        break;
    case DescriptionField:
        if (!text.isEmpty())
            look.Description = text.toString();
        break;
    default: // the constant "C", the always empty fields
        break;
    }
}

QString KeyName(const char *prefix, int n)
{
    return QLatin1String(prefix) + QString::number(n) + QLatin1Char(']');
}

// The key names asked for in every file, made once.
template <int Count>
std::array<QString, Count> KeyNames(const char *prefix)
{
    std::array<QString, Count> names;
    for (int n = 0; n < Count; ++n)
        names[n] = KeyName(prefix, n);
    return names;
}

const std::array<QString, Highlighter::StyleCount> &StyleKeys()
{
    static const auto keys = KeyNames<Highlighter::StyleCount>("Style[");
    return keys;
}

const std::array<QString, Highlighter::KeywordListCount> &KeywordKeys()
{
    static const auto keys = KeyNames<Highlighter::KeywordListCount>("Keywords[");
    return keys;
}

} // namespace

StyleSpec DefaultLook()
{
    StyleSpec look;
    look.Font = QStringLiteral("Courier New");
    look.Size = 10;
    look.Back = White;
    return look;
}

StyleSpec ParseStyleValue(QStringView value)
{
    StyleSpec look = DefaultLook();
    // A value too short to have a visibility field (an empty or missing
    // "Style[32]" among them) must not make the text disappear.
    look.Visible = 1;
    qsizetype start = 0;
    for (int field = 0; field <= DescriptionField; ++field) {
        const qsizetype colon = value.indexOf(u':', start);
        const qsizetype end = colon < 0 ? value.size() : colon;
        ApplyField(look, field, value.sliced(start, end - start));
        if (colon < 0)
            break;
        start = colon + 1;
    }
    return look;
}

QString StyleValueText(const StyleSpec &look)
{
    QString text;
    text += look.Bold ? QStringLiteral("B:") : QStringLiteral(":");
    text += look.Italic ? QStringLiteral("I:") : QStringLiteral(":");
    text += look.Underline ? QStringLiteral("U:") : QStringLiteral(":");
    text += look.Visible ? QStringLiteral("V:C:") : QStringLiteral(":C:");
    text += look.EolFilled ? QStringLiteral("E::") : QStringLiteral("::");
    text += look.Font + QLatin1Char(':');
    text += QString::number(look.Size) + QLatin1Char(':');
    if (look.Fore != 0)
        text += QString::number(look.Fore);
    text += QLatin1Char(':');
    // An empty background reads back as white, so a black one is written out.
    text += QString::number(look.Back);
    text += QLatin1Char(':');
    text += look.Description + QLatin1Char(':');
    return text;
}

bool EqualsDefaultStyle(const Highlighter &h, int n)
{
    const int d = Highlighter::DefaultStyle;
    return n != d && h.Back[n] == h.Back[d] && h.Fore[n] == h.Fore[d] && h.EolFilled[n] == h.EolFilled[d]
           && h.Bold[n] == h.Bold[d] && h.Italic[n] == h.Italic[d] && h.Underline[n] == h.Underline[d]
           && h.Visible[n] == h.Visible[d] && h.Font[n] == h.Font[d] && h.Size[n] == h.Size[d];
}

bool ReadsAsStyle32(const Highlighter &h, int n)
{
    return EqualsDefaultStyle(h, n) && h.Description[n] == h.Description[Highlighter::DefaultStyle];
}

Highlighter Read(const IniFile &file)
{
    Highlighter h;
    for (int k = 0; k < Highlighter::KeywordListCount; ++k)
        h.Keywords[k] = file.Value(Section, KeywordKeys()[k]);

    // Every style without a line of its own looks like style 32: parse that once.
    const StyleSpec fallback = ParseStyleValue(file.Value(Section, StyleKeys()[Highlighter::DefaultStyle]));
    for (int n = 0; n < Highlighter::StyleCount; ++n) {
        const QString value = file.Value(Section, StyleKeys()[n]);
        h.SetStyle(n, value.isEmpty() ? fallback : ParseStyleValue(value));
    }

    const QString language = file.Value(Section, QStringLiteral("Language"));
    if (!language.isEmpty())
        h.Lexer = Int32Value(language).value_or(0);

    h.Filter = file.Value(Section, QStringLiteral("Filter"));
    if (!h.Filter.isEmpty() && !h.Filter.endsWith(QLatin1Char('|')))
        h.Filter += QLatin1Char('|');
    h.LangName = file.Value(Section, QStringLiteral("LangName"));
    h.SingleComment = file.Value(Section, QStringLiteral("SingleComment"));
    return h;
}

Highlighter ReadFile(const QString &path)
{
    return Read(IniFile::Load(path));
}

IniWriteResult WriteSettings(const Highlighter &h)
{
    if (h.FilePath.isEmpty())
        return IniWriteResult::Failed(h.LangName, QStringLiteral("这个语言不是从文件读入的，没有可以写入的文件。"));
    IniFile file = IniFile::Load(h.FilePath);
    if (!file.LoadError().isEmpty())
        return IniWriteResult::Failed(h.FilePath, file.LoadError());

    file.SetValue(Section, QStringLiteral("filter"), h.Filter);
    file.SetValue(Section, QStringLiteral("LangName"), h.LangName);
    // The comment marker can be edited in the settings dialog, so it is kept
    // too; a file that never had one gets no empty line for it.
    if (!h.SingleComment.isEmpty() || !file.Value(Section, QStringLiteral("SingleComment")).isEmpty())
        file.SetValue(Section, QStringLiteral("SingleComment"), h.SingleComment);
    // What is not written must not be left behind either: an old line
    // would come back at the next start in place of what the dialog showed.
    for (int n = 0; n < Highlighter::StyleCount; ++n) {
        if (ReadsAsStyle32(h, n))
            file.RemoveKey(Section, StyleKeys()[n]);
        else
            file.SetValue(Section, StyleKeys()[n], StyleValueText(h.Style(n)));
    }
    for (int k = 0; k < Highlighter::KeywordListCount; ++k) {
        if (h.Keywords[k].isEmpty())
            file.RemoveKey(Section, KeywordKeys()[k]);
        else
            file.SetValue(Section, KeywordKeys()[k], h.Keywords[k]);
    }
    return file.Save(h.FilePath);
}

} // namespace HighlighterFile
