// Styles, lexer and keyword lists of the editor wrapper.
#include "clsScintilla.h"

#include "LongLineStyling.h"

#include "BackgroundColouring.h"
#include "clsScintillaBuiltinSets.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

void clsScintilla::SetStyleFore(long lStyleNum, long lColor)
{
    SendEditor(Sci::SCI_STYLESETFORE, lStyleNum, lColor);
}

void clsScintilla::SetStyleBack(long lStyleNum, long lColor)
{
    SendEditor(Sci::SCI_STYLESETBACK, lStyleNum, lColor);
}

void clsScintilla::SetStyleBold(long lStyleNum, long bBold)
{
    SendEditor(Sci::SCI_STYLESETBOLD, lStyleNum, bBold);
}

void clsScintilla::SetStyleItalic(long lStyleNum, long bItalic)
{
    SendEditor(Sci::SCI_STYLESETITALIC, lStyleNum, bItalic);
}

// A new look of the line numbers needs the margin fitted again.
void clsScintilla::SetStyleSize(long lStyleNum, long lFontSize)
{
    SendEditor(Sci::SCI_STYLESETSIZE, lStyleNum, lFontSize);
    if (lStyleNum == Sci::STYLE_LINENUMBER)
        RefitLineNumberMargin();
}

void clsScintilla::SetStyleFont(long lStyleNum, const QString &strFont)
{
    SendEditor(Sci::SCI_STYLESETFONT, lStyleNum, strFont);
    if (lStyleNum == Sci::STYLE_LINENUMBER)
        RefitLineNumberMargin();
}

void clsScintilla::SetStyleEOLFilled(long lStyleNum, long bEOLFilled)
{
    SendEditor(Sci::SCI_STYLESETEOLFILLED, lStyleNum, bEOLFilled);
}

void clsScintilla::SetStyleUnderline(long lStyleNum, long bUnderline)
{
    SendEditor(Sci::SCI_STYLESETUNDERLINE, lStyleNum, bUnderline);
}

void clsScintilla::SetStyleVisible(long lStyleNum, long bVisible)
{
    SendEditor(Sci::SCI_STYLESETVISIBLE, lStyleNum, bVisible);
}

// The base every highlighter builds on. Visibility and end-of-line fill are
// left alone; SCI_STYLECLEARALL then copies style 32 over all the others.
void clsScintilla::StyleClearALL()
{
    static const QString courier = QStringLiteral("Courier New");
    SetLexer(0);
    for (long n = 0; n <= 127; ++n) {
        SetStyleBack(n, 0xFFFFFF);
        SetStyleFore(n, 0x000000);
        SetStyleBold(n, 0);
        SetStyleItalic(n, 0);
        SetStyleUnderline(n, 0);
        SetStyleFont(n, courier);
        SetStyleSize(n, 10);
    }
    SendEditor(Sci::SCI_STYLECLEARALL);
    RefitLineNumberMargin();
}

// Mask 31: the five style bits.
void clsScintilla::StartStyle()
{
    SendEditor(Sci::SCI_STARTSTYLING, 0, 31);
}

void clsScintilla::Colourise()
{
    m_colouring->Stop(); // nothing is left for the slices
    SendEditor(Sci::SCI_COLOURISE, 0, SendEditor(Sci::SCI_GETLENGTH));
}

void clsScintilla::ColouriseInBackground()
{
    if (m_editor)
        m_colouring->Start();
}

bool clsScintilla::ColouringPending() const
{
    return m_colouring->Pending();
}

long clsScintilla::GetStyleAt(long lPos) const
{
    return SendDirect(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(lPos));
}

// Lists and properties set earlier stay with the editor, whatever lexer
// comes next. The container lexer (0) has nothing to give them to.
void clsScintilla::SetLexer(long lLexerNum)
{
    lLexerNum = m_longLineStyling->LexerFor(lLexerNum);
    SendEditor(Sci::SCI_SETLEXER, lLexerNum);
    if (lLexerNum != 0)
        HandOnToLexer();
}

void clsScintilla::HandOnToLexer()
{
    for (long k = 0; k < long(m_keywordLists.size()); ++k)
        if (!m_keywordLists[k].isEmpty())
            SendEditor(Sci::SCI_SETKEYWORDS, k, m_keywordLists[k]);
    for (auto &[key, value] : m_lexerProperties)
        SendDirectPtr(Sci::SCI_SETPROPERTY, reinterpret_cast<std::uintptr_t>(key.data()), value.data());
}

void clsScintilla::SetKeywords(long iKeywordNum, const QString &strKeywords)
{
    if (iKeywordNum >= 0 && iKeywordNum < long(m_keywordLists.size()))
        m_keywordLists[iKeywordNum] = strKeywords;
    SendEditor(Sci::SCI_SETKEYWORDS, iKeywordNum, strKeywords);
}

void clsScintilla::SetStyleBits(long lBits)
{
    SendEditor(Sci::SCI_SETSTYLEBITS, lBits);
}

void clsScintilla::SetHighlighter(long iHighlighter)
{
    StyleClearALL();
    StartStyle();
    switch (iHighlighter) {
    case 0: LoadVBHighlighter(*this); break;
    case 1: LoadCPPHighlighter(*this); break;
    case 2: LoadHTMLHighlighter(*this); break;
    case 3: LoadPascalHighlighter(*this); break;
    default: break; // not an error: the cleared styles stay
    }
    Colourise();
}

// ---- bulk reads ----

const char *clsScintilla::CharacterPointer() const
{
    if (!m_editor || GetLen() <= 0)
        return nullptr;
    return static_cast<const char *>(m_editor->SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
}

long clsScintilla::GetStyledText(long lStart, long lEnd, char *buffer) const
{
    if (m_observer)
        m_observer(Sci::SCI_GETSTYLEDTEXT, lStart, lEnd, nullptr);
    if (!m_editor || !buffer)
        return 0;
    return m_editor->SendScintilla(Sci::SCI_GETSTYLEDTEXT, lStart, lEnd, buffer);
}

// The lexer needs to start at a line start; already styled text is not
// styled again (colouring 100 MB takes seconds).
void clsScintilla::ColouriseRest()
{
    if (m_editor)
        m_colouring->Finish();
}
