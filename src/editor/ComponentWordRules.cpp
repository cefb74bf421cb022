#include "ComponentWordRules.h"

#include "Utf8Scan.h"

#include <QByteArray>
#include <QString>
#include <Qsci/qsciscintillabase.h>
#include <map>
#include <memory>

using Sci = QsciScintillaBase;
using CharClass = ComponentWordRules::CharClass;

namespace {

bool IsWordCategory(QChar::Category category)
{
    switch (category) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

bool IsBlankCategory(QChar::Category category)
{
    switch (category) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return true;
    default:
        return false;
    }
}

// One letter of every Unicode version Qt knows, the oldest first.
std::map<int, char32_t> LetterOfEachVersion()
{
    std::map<int, char32_t> letters;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Letter_Other || category == QChar::Letter_Lowercase)
            letters.try_emplace(int(QChar::unicodeVersion(c)), c);
    }
    return letters;
}

// A character the component takes for part of a word: "a" next to it is
// no whole word.
bool ComponentSeesWord(QsciScintillaBase &component, char32_t c)
{
    const QByteArray document = "a" + QString::fromUcs4(&c, 1).toUtf8();
    component.SendScintilla(Sci::SCI_SETTEXT, 0UL, document.constData());
    component.SendScintilla(Sci::SCI_SETSEARCHFLAGS, Sci::SCFIND_WHOLEWORD);
    component.SendScintilla(Sci::SCI_SETTARGETSTART, 0L);
    component.SendScintilla(Sci::SCI_SETTARGETEND, long(document.size()));
    return component.SendScintilla(Sci::SCI_SEARCHINTARGET, 1UL, "a") < 0;
}

QChar::UnicodeVersion AskComponent()
{
    auto component = std::make_unique<QsciScintillaBase>();
    component->SendScintilla(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    int latest = QChar::Unicode_1_1;
    for (const auto &[version, letter] : LetterOfEachVersion()) {
        if (!ComponentSeesWord(*component, letter))
            break;
        latest = version;
    }
    return QChar::UnicodeVersion(latest);
}

// A byte that begins no character counts as punctuation.
CharClass ClassOfCharacterAt(const ComponentWordRules &rules, const unsigned char *p, qsizetype available)
{
    if (*p < 0x80)
        return rules.ClassOf(*p);
    char32_t c = 0;
    return Utf8Scan::DecodeOne(p, available, c) > 0 ? rules.ClassOf(c) : CharClass::Punctuation;
}

} // namespace

ComponentWordRules ComponentWordRules::Learned()
{
    static const QChar::UnicodeVersion latest = AskComponent();
    return ComponentWordRules(latest);
}

CharClass ComponentWordRules::ClassOf(char32_t c) const
{
    if (c < 0x80) {
        if (c <= 0x20)
            return CharClass::Blank;
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return alnum || c == '_' ? CharClass::Word : CharClass::Punctuation;
    }
    if (QChar::isNonCharacter(c))
        return CharClass::Punctuation;
    const QChar::UnicodeVersion version = QChar::unicodeVersion(c);
    if (version == QChar::Unicode_Unassigned || version > m_latestKnown)
        return CharClass::Blank;
    const QChar::Category category = QChar::category(c);
    if (IsWordCategory(category))
        return CharClass::Word;
    return IsBlankCategory(category) ? CharClass::Blank : CharClass::Punctuation;
}

CharClass ComponentWordRules::ClassAfter(QByteArrayView text, qsizetype position) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    return ClassOfCharacterAt(*this, p + position, text.size() - position);
}

// The character that ends at position: its first byte at most four back,
// and it must end exactly there.
CharClass ComponentWordRules::ClassBefore(QByteArrayView text, qsizetype position) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    if (p[position - 1] < 0x80)
        return ClassOf(p[position - 1]);
    for (qsizetype back = 1; back <= 4 && back <= position; ++back) {
        const unsigned char byte = p[position - back];
        if ((byte & 0xC0) == 0x80)
            continue;
        char32_t c = 0;
        return Utf8Scan::DecodeOne(p + position - back, back, c) == back ? ClassOf(c) : CharClass::Punctuation;
    }
    return CharClass::Punctuation;
}

bool ComponentWordRules::IsWordAt(QByteArrayView text, qsizetype start, qsizetype end, bool startsDocument,
                                  bool endsDocument) const
{
    if (start >= end || start < 0 || end > text.size())
        return false;
    auto printing = [](CharClass c) { return c == CharClass::Word || c == CharClass::Punctuation; };
    if (start > 0 || !startsDocument) {
        const CharClass first = ClassAfter(text, start);
        const CharClass before = start > 0 ? ClassBefore(text, start) : CharClass::Blank;
        if (!printing(first) || first == before)
            return false;
    }
    if (end < text.size() || !endsDocument) {
        const CharClass last = ClassBefore(text, end);
        const CharClass after = end < text.size() ? ClassAfter(text, end) : CharClass::Blank;
        if (!printing(last) || last == after)
            return false;
    }
    return true;
}
