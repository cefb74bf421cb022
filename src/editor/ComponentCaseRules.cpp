#include "ComponentCaseRules.h"

#include <QByteArray>
#include <Qsci/qsciscintillabase.h>
#include <memory>
#include <utility>

using Sci = QsciScintillaBase;

namespace {

// Pairs a folding search would take for one another: letters of several
// scripts in both cases, and the characters whose folding changes their
// length or turns them into ASCII letters.
const std::pair<const char *, const char *> Pairs[] = {
    {"Ä", "ä"}, {"É", "é"}, {"Σ", "σ"}, {"ς", "σ"}, {"Ж", "ж"}, {"Ａ", "ａ"}, {"Ꭰ", "ꭰ"},
    {"\u212A", "k"}, {"ſ", "s"}, {"ß", "ss"}, {"ẞ", "ß"}, {"İ", "i\u0307"}, {"ﬀ", "ff"}, {"µ", "μ"},
};

bool FindsAny(long flags)
{
    auto component = std::make_unique<QsciScintillaBase>();
    component->SendScintilla(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    component->SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags);
    for (const auto &[one, other] : Pairs) {
        for (const auto &[text, needle] : {std::pair(one, other), std::pair(other, one)}) {
            const QByteArray doc = QByteArray("<") + text + ">";
            component->SendScintilla(Sci::SCI_SETTEXT, 0UL, doc.constData());
            component->SendScintilla(Sci::SCI_SETTARGETSTART, 0L);
            component->SendScintilla(Sci::SCI_SETTARGETEND, long(doc.size()));
            const QByteArray find = QByteArray(needle);
            if (component->SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(find.size()),
                                         find.constData())
                >= 0)
                return true;
        }
    }
    return false;
}

} // namespace

bool ComponentCaseRules::PlainFoldsAsciiOnly()
{
    static const bool asciiOnly = !FindsAny(0);
    return asciiOnly;
}

bool ComponentCaseRules::RegexFoldsAsciiOnly()
{
    static const bool asciiOnly = !FindsAny(Sci::SCFIND_REGEXP);
    return asciiOnly;
}
