// Switches and view settings of the editor wrapper.
#include "clsScintilla.h"

#include "ReplaceHistory.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>

using Sci = QsciScintillaBase;

// ---- kept properties: stored here, then sent ----

void clsScintilla::LineNumbers(int bVal)
{
    m_LineNumbers = bVal;
    SetLineNumbers(m_LineNumbers);
}

void clsScintilla::Folding(int bVal)
{
    m_Folding = bVal;
    SetFolding(m_Folding);
}

// Only -1 switches wrapping on: a stored 1 reads back as 1 and wraps nothing.
void clsScintilla::WordWrap(int bVal)
{
    m_WordWrap = bVal;
    SendEditor(Sci::SCI_SETWRAPMODE, m_WordWrap == vbTrue ? 1 : 0);
}

void clsScintilla::ContextMenu(int bVal)
{
    m_ContextMenu = bVal;
    SetContextMenu(m_ContextMenu);
}

void clsScintilla::IgnoreAutoCCase(int bVal)
{
    m_IgnoreAutoCCase = bVal;
    SetAutoCompleteIgnoreCase(m_IgnoreAutoCCase);
}

void clsScintilla::LineBreak(long eolVal)
{
    m_LineBreak = eolVal;
    m_lineBreakAssigned = true;
    SetLineBreak(m_LineBreak);
}

// ---- setters ----

void clsScintilla::SetLineNumbers(int bVal)
{
    SetMarginWidth(0, bVal == vbTrue ? 30 : 0);
}

void clsScintilla::SetMarginWidth(long enMargin, long lWidth)
{
    if (enMargin != 0) {
        SendEditor(Sci::SCI_SETMARGINWIDTHN, enMargin, lWidth);
        return;
    }
    m_lineNumberLeastWidth = lWidth;
    FitLineNumberMargin();
}

// Wide enough for the largest line number (the line count), never below the
// width asked for. Digits are measured in the margin's own style and zoom.
void clsScintilla::FitLineNumberMargin()
{
    if (m_lineNumberLeastWidth <= 0) {
        m_lineNumberDigits = 0;
        SendEditor(Sci::SCI_SETMARGINWIDTHN, 0, m_lineNumberLeastWidth);
        return;
    }
    constexpr long padding = 8; // the component keeps a few pixels clear on the right
    m_lineNumberDigits = int(QString::number(GetLineCount()).size());
    const QString widest(m_lineNumberDigits, QLatin1Char('9'));
    const long needed = SendEditor(Sci::SCI_TEXTWIDTH, Sci::STYLE_LINENUMBER, widest) + padding;
    const long width = std::max(m_lineNumberLeastWidth, needed);
    if (SendEditor(Sci::SCI_GETMARGINWIDTHN, 0) != width)
        SendEditor(Sci::SCI_SETMARGINWIDTHN, 0, width);
}

// After a change of the numbers' look or size (nothing to do without them).
void clsScintilla::RefitLineNumberMargin()
{
    if (m_lineNumberLeastWidth > 0)
        FitLineNumberMargin();
}

// Cheap enough for every interface update: the count of lines is kept by the
// component, and the margin is only measured when its digits change.
void clsScintilla::FitLineNumberMarginToLineCount()
{
    if (m_lineNumberLeastWidth > 0 && int(QString::number(GetLineCount()).size()) != m_lineNumberDigits)
        FitLineNumberMargin();
}

// Remembered like the keyword lists, for the next lexer (see SetLexer).
void clsScintilla::SetProperty(const QString &key, const QString &value)
{
    QByteArray keyBytes = key.toUtf8();
    QByteArray valueBytes = value.toUtf8();
    const auto known = std::find_if(m_lexerProperties.begin(), m_lexerProperties.end(),
                                    [&](const auto &property) { return property.first == keyBytes; });
    if (known == m_lexerProperties.end())
        m_lexerProperties.append({keyBytes, valueBytes});
    else
        known->second = valueBytes;
    SendDirectPtr(Sci::SCI_SETPROPERTY, reinterpret_cast<std::uintptr_t>(keyBytes.data()), valueBytes.data());
}

// The box-style fold margin (margin 1), or none.
void clsScintilla::SetFolding(int bDoFold)
{
    if (bDoFold != vbTrue) {
        SetProperty(QStringLiteral("fold"), QStringLiteral("0"));
        SetProperty(QStringLiteral("fold.compact"), QStringLiteral("0"));
        SendEditor(Sci::SCI_SETMARGINWIDTHN, 1, 0);
        return;
    }

    SetProperty(QStringLiteral("fold"), QStringLiteral("1"));
    SetProperty(QStringLiteral("fold.compact"), QStringLiteral("0"));
    SetProperty(QStringLiteral("fold.html"), QStringLiteral("1"));

    SendEditor(Sci::SCI_SETMARGINWIDTHN, 1, 0);
    SendEditor(Sci::SCI_SETMARGINTYPEN, 1, Sci::SC_MARGIN_SYMBOL);
    SendEditor(Sci::SCI_SETMARGINMASKN, 1, long(Sci::SC_MASK_FOLDERS));
    SendEditor(Sci::SCI_SETMARGINWIDTHN, 1, 20);

    const std::pair<int, int> shapes[] = {
        {Sci::SC_MARKNUM_FOLDER, Sci::SC_MARK_BOXPLUS},
        {Sci::SC_MARKNUM_FOLDEROPEN, Sci::SC_MARK_BOXMINUS},
        {Sci::SC_MARKNUM_FOLDEREND, Sci::SC_MARK_BOXPLUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDEROPENMID, Sci::SC_MARK_BOXMINUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDERMIDTAIL, Sci::SC_MARK_TCORNER},
        {Sci::SC_MARKNUM_FOLDERSUB, Sci::SC_MARK_VLINE},
        {Sci::SC_MARKNUM_FOLDERTAIL, Sci::SC_MARK_LCORNER},
    };
    for (const auto &[marker, symbol] : shapes)
        SendEditor(Sci::SCI_MARKERDEFINE, marker, symbol);

    // White on black, in the order the markers have always been coloured.
    constexpr long white = 0xFFFFFF, black = 0;
    const std::pair<int, int> colours[] = {
        {Sci::SCI_MARKERSETFORE, 30}, {Sci::SCI_MARKERSETBACK, 30}, {Sci::SCI_MARKERSETFORE, 31},
        {Sci::SCI_MARKERSETBACK, 31}, {Sci::SCI_MARKERSETBACK, 27}, {Sci::SCI_MARKERSETBACK, 29},
        {Sci::SCI_MARKERSETBACK, 28}, {Sci::SCI_MARKERSETFORE, 31}, {Sci::SCI_MARKERSETFORE, 27},
        {Sci::SCI_MARKERSETFORE, 29}, {Sci::SCI_MARKERSETFORE, 28}, {Sci::SCI_MARKERSETBACK, 26},
        {Sci::SCI_MARKERSETFORE, 26}, {Sci::SCI_MARKERSETBACK, 25}, {Sci::SCI_MARKERSETFORE, 25},
    };
    for (const auto &[message, marker] : colours)
        SendEditor(message, marker, message == Sci::SCI_MARKERSETFORE ? white : black);

    SendEditor(Sci::SCI_SETMARGINSENSITIVEN, 1, 1);
    SendEditor(Sci::SCI_SETFOLDFLAGS, Sci::SC_FOLDFLAG_LINEAFTER_CONTRACTED);
}

void clsScintilla::SetReadOnly(int bVal)
{
    SendEditor(Sci::SCI_SETREADONLY, bVal);
}

bool clsScintilla::GetReadOnly() const
{
    return SendEditor(Sci::SCI_GETREADONLY) != 0;
}

void clsScintilla::SetContextMenu(int bVal)
{
    SendEditor(Sci::SCI_USEPOPUP, bVal);
}

// Sets the mode for new line ends; the ones in the document stay as they are.
void clsScintilla::SetLineBreak(long eolVal)
{
    SendEditor(Sci::SCI_SETEOLMODE, eolVal);
}

void clsScintilla::SetViewWhiteSpace(int bVal)
{
    SendEditor(Sci::SCI_SETVIEWWS, bVal == vbTrue ? 1 : 0);
}

bool clsScintilla::GetViewWhiteSpace() const
{
    return SendEditor(Sci::SCI_GETVIEWWS) != 0;
}

void clsScintilla::SetScrollWidth(long lval)
{
    SendEditor(Sci::SCI_SETSCROLLWIDTH, lval);
}

long clsScintilla::GetScrollWidth() const
{
    return SendEditor(Sci::SCI_GETSCROLLWIDTH);
}

void clsScintilla::SetAutoCompleteIgnoreCase(int bVal)
{
    SendEditor(Sci::SCI_AUTOCSETIGNORECASE, bVal == vbTrue ? 1 : 0);
}

long clsScintilla::GetZoom() const
{
    return SendEditor(Sci::SCI_GETZOOM);
}

void clsScintilla::SetZoom(long lval)
{
    SendEditor(Sci::SCI_SETZOOM, lval);
}

void clsScintilla::ZoomIn()
{
    SetZoom(GetZoom() + 1);
}

void clsScintilla::ZoomOut()
{
    SetZoom(GetZoom() - 1);
}

void clsScintilla::MarkerSet(long iLine, long iMarkerNum)
{
    SendEditor(Sci::SCI_MARKERADD, iLine, iMarkerNum);
}

void clsScintilla::ClearUndoBuffer()
{
    SendEditor(Sci::SCI_EMPTYUNDOBUFFER);
    if (m_replaceHistory)
        m_replaceHistory->Clear();
}

void clsScintilla::SetFixedFont(const QString &strFont, long lSize)
{
    for (long style = 0; style <= 127; ++style) {
        SetStyleFont(style, strFont);
        SetStyleSize(style, lSize);
    }
}
