#pragma once

#include "ApiEntry.h"
#include "DocumentLoader.h"
#include "EditorWindow.h"
#include "FileIoResult.h"
#include "LineEnds.h"
#include "NotifyRecord.h"
#include "PrintResult.h"
#include "TextEncoding.h"
#include "subclass/ISubclass.h"
#include "platform/VbBool.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QFile;
class LongOperation;
class QPrinter;
class QWidget;
class BackgroundColouring;
class BackgroundLoad;
class LineEndSurvey;
class LongLineStyling;
class ReplaceHistory;
class TextSearch;

// The wrapper around one editing component. It creates the component as a
// child of its host window, sends it requests by message number, and listens
// to the host's WM_NOTIFY messages through the hook service to turn the
// component's notifications into its own events (Qt signals).
//
// Switches are numbers (-1 true, 0 false); positions and lengths are byte
// counts into the UTF-8 text held by the component.
class clsScintilla : public QObject, public ISubclass
{
    Q_OBJECT

public:
    explicit clsScintilla(QObject *parent = nullptr);
    ~clsScintilla() override;

    // The component's window; 0 until CreateScintilla has run.
    win::HWND sciHwnd = 0;

    // ---- control and notifications ----
    void CreateScintilla(QWidget *frm, int MDIApp, QWidget *MDIParent);
    void Attach(QWidget *frm);
    void Detach(QWidget *frm);
    void SizeScintilla(int Left, int Top, int Width, int Height);
    void SetFocus();

    // The request funnel. A string argument reaches the component as a
    // zero-terminated UTF-8 string; anything else as a number.
    long SendEditor(int Msg, long wParam = 0, long lParam = 0) const;
    long SendEditor(int Msg, long wParam, const QString &lParam) const;

    EditorWindow *Editor() const { return m_editor; }
    QWidget *OwnerForm() const { return m_ownerForm; }

    // Sees every request on its way to the component (message, wParam, and
    // lParam or the text it points at). For tests of message order.
    using MessageObserver = std::function<void(int Msg, long wParam, long lParam, const char *text)>;
    void ObserveMessages(MessageObserver observer) { m_observer = std::move(observer); }

    // ISubclass
    int MsgResponse() override { return emrConsume; }
    void MsgResponse(int) override {}
    win::LRESULT WindowProc(win::HWND hWnd, std::int32_t iMsg, win::WPARAM wParam, win::LPARAM lParam) override;

    // ---- keyboard and auto-indent ----
    void MaintainIndentation();
    void ClearCmdKey(long lKeyDef);
    void ClearCommandKeys();
    static long Shift(long lValue, long lNumberOfBitsToShift, long lDirectionToShift);
    static long LShift(long lValue, long lNumberOfBitsToShift);

    // ---- call tips and auto-completion ----
    // Reads an API file: one signature per line, such as "Sum(a,b,c);"
    // (the last character of a line is not shown). Line ends of any kind;
    // a last line without a line end is not offered. Each line is parsed
    // here, once (ApiEntry). On failure the list is empty and call tips
    // stay off.
    FileIoResult LoadAPIFile(const QString &strFile);
    // No API list: call tips off.
    void ClearAPIList();
    void ShowCallTip(const QByteArray &strVal);
    long CallTipActive() const;
    void StopCallTip();
    void SetCallTipHighlight(long lStart, long lEnd);
    void ShowAutoComplete(const QString &strVal);
    qsizetype APIEntryCount() const { return m_apiList.size(); }

    // ---- whole text and files ----
    // The document exactly as the component holds it.
    QByteArray Text() const { return GetText(); }
    void Text(const QString &strVal) { SetText(strVal); }
    QByteArray GetText() const;
    void SetText(const QString &str);
    // Replaces the document with these bytes, whatever they hold (NUL included).
    void SetTextBytes(const QByteArray &bytes);
    // Reads a file into the document (nothing happens for a name that names
    // nothing); the document is then unmodified and cannot be undone past it.
    FileIoResult LoadFile(const QString &strFile);
    // Writes the document, filtered by the end-of-line mode, through a save
    // file: on any failure the old file stays whole and the save point is
    // left where it was.
    FileIoResult SaveToFile(const QString &strFile);
    void SetSavePoint();
    bool Modified() const;
    // The text no longer matches its file although nothing was typed (the
    // file went, or the user kept this version over a newer one): modified
    // until the next save point.
    void MarkModified();
    long GetLen() const;
    long GetDocLen() const;
    // True while the editor is busy: a file is being read into it, or a long
    // search or replace runs in slices. It takes no input meanwhile, its
    // window refuses to close and commands leave it alone.
    bool IsLoading() const { return m_loading || m_busy > 0; }
    // How much of a file is read at a time (the loader's default unless a
    // fuzzer wants chunk edges everywhere).
    void SetReadChunkSize(qint64 bytes) { m_readChunkSize = std::max<qint64>(1, bytes); }

    // Files at least this big show their progress in the status bar while
    // they are read, where the read can be stopped.
    static constexpr qint64 LoadProgressFrom = 4 * 1000 * 1000;
    // How much of such a file is shown while the rest is read.
    static constexpr qint64 PreviewBytes = 256 * 1024;
    // The longest line of the file last read, in bytes. Lines from this
    // long on are laid out differently (see SuitLongLines), and a caller
    // may choose no language for them.
    qint64 LongestLoadedLine() const { return m_longestLoadedLine; }
    static qint64 &LongLineBytes();
    bool HasLongLines() const { return m_longestLoadedLine >= LongLineBytes(); }

    // Which line ends the document holds, when known for its text as it is
    // now; CountLineEnds finds out (in slices for a huge document) and
    // raises LineEndsCounted.
    std::optional<LineEnds::Counts> LineEndCounts() const;
    void CountLineEnds();

    // ---- encoding ----
    // How the document's file is read and written back (decided by LoadFile;
    // new documents are UTF-8). The component holds UTF-8 whatever it is.
    TextEncoding Encoding() const { return m_encoding; }
    // Reads the file again as this encoding, only when all of it is valid in
    // it; otherwise the document stays as it is and the result says why.
    FileIoResult LoadFile(const QString &strFile, const TextEncoding &encoding);
    // The next save writes this encoding; until then the document counts as
    // modified (unless converted back).
    void ConvertEncoding(const TextEncoding &encoding);

    // ---- selection and clipboard ----
    QString SelText() const { return GetSelText(); }
    void SelText(const QString &strVal) { SetSelText(strVal); }
    void SetSelText(const QString &strVal);
    void ReplaceSel(const QString &strVal);
    QString GetSelText() const;
    void SetSel(long lStart, long lEnd);
    long GetSelStart() const;
    long GetSelEnd() const;
    void SelectAll();
    void Cut();
    void Copy();
    void Paste();
    void Undo();
    void Redo();

    // ---- caret, positions, lines, characters ----
    long GetCurPos() const;
    void SetCurrentPosition(long lval);
    long GetCurLine() const;
    long GetColumn() const;
    long GetCaretInLine() const;
    long GetLineCount() const;
    long GetLastLine() const;
    long PositionFromLine(long lLine) const;
    long GetLineEndPosition(long lLine) const;
    long GetLineIndentation(long lLine) const;
    void SetLineIndentation(long lLine, long lIndent);
    long GetLineIndentPosition(long lLine) const;
    // The line's bytes, its line end included.
    QByteArray GetLine(long lLine) const;
    long CharAtPos(long position) const;
    long GetCharAtLong(long iPos) const;
    // The byte at a position as a one-byte string (a 0 byte outside the document).
    QByteArray GetCharAt(long lPos) const;
    static QString Byte2Str(const QByteArray &bVal);
    static QByteArray StrToBytes(const QString &text);

    // ---- properties (kept by the wrapper) ----
    int ShowCallTips() const { return m_ShowCallTips; }
    void ShowCallTips(int bVal) { m_ShowCallTips = bVal; }
    int AutoIndent() const { return m_AutoIndent; }
    void AutoIndent(int bVal) { m_AutoIndent = bVal; }
    int LineNumbers() const { return m_LineNumbers; }
    void LineNumbers(int bVal);
    int Folding() const { return m_Folding; }
    void Folding(int bVal);
    int WordWrap() const { return m_WordWrap; }
    void WordWrap(int bVal);
    int ContextMenu() const { return m_ContextMenu; }
    void ContextMenu(int bVal);
    int IgnoreAutoCCase() const { return m_IgnoreAutoCCase; }
    void IgnoreAutoCCase(int bVal);
    // The mode for new line ends. Assigned, it also converts every line end
    // of a saved file to it (CR LF mode writes the bytes as they are); never
    // assigned, new line ends follow the kind the loaded file uses most and
    // saving writes the document's bytes unchanged.
    long LineBreak() const { return m_LineBreak; }
    void LineBreak(long eolVal);

    // ---- properties (asked of the component) ----
    int ViewWhiteSpace() const { return VbBool(GetViewWhiteSpace()); }
    void ViewWhiteSpace(int bVal) { SetViewWhiteSpace(bVal); }
    long ScrollWidth() const { return GetScrollWidth(); }
    void ScrollWidth(long lval) { SetScrollWidth(lval); }
    int ReadOnly() const { return VbBool(GetReadOnly()); }
    void ReadOnly(int bVal) { SetReadOnly(bVal == vbTrue ? vbTrue : vbFalse); }

    // ---- view settings ----
    void SetLineNumbers(int bVal);
    // The width given to margin 0 (the line numbers) is its least: the
    // margin widens whenever the document's largest line number needs it.
    void SetMarginWidth(long enMargin, long lWidth);
    void SetFolding(int bDoFold);
    void SetProperty(const QString &key, const QString &value);
    void SetReadOnly(int bVal);
    bool GetReadOnly() const;
    void SetContextMenu(int bVal);
    void SetLineBreak(long eolVal);
    void SetViewWhiteSpace(int bVal);
    bool GetViewWhiteSpace() const;
    void SetScrollWidth(long lval);
    long GetScrollWidth() const;
    void SetAutoCompleteIgnoreCase(int bVal);
    long GetZoom() const;
    void SetZoom(long lval);
    void ZoomIn();
    void ZoomOut();
    void MarkerSet(long iLine, long iMarkerNum);
    void ClearUndoBuffer();
    // One font and size for every style.
    void SetFixedFont(const QString &strFont, long lSize);

    // ---- styles (clsScintillaStyles.cpp, clsScintillaBuiltinSets.cpp) ----
    // Styles live in the component only; the wrapper remembers nothing but
    // the keyword lists (below). Colours are 0x00BBGGRR, sent unmasked.

    // Index in the highlighter table of the highlighter applied last.
    long lHighlighterNum = 0;

    void SetStyleFore(long lStyleNum, long lColor);
    void SetStyleBack(long lStyleNum, long lColor);
    void SetStyleBold(long lStyleNum, long bBold);
    void SetStyleItalic(long lStyleNum, long bItalic);
    void SetStyleSize(long lStyleNum, long lFontSize);
    void SetStyleFont(long lStyleNum, const QString &strFont);
    void SetStyleEOLFilled(long lStyleNum, long bEOLFilled);
    void SetStyleUnderline(long lStyleNum, long bUnderline);
    void SetStyleVisible(long lStyleNum, long bVisible);
    // Every style black Courier New 10 on white, lexer 0. (SCI_STYLECLEARALL
    // then gives line numbers and call tips the component's own colours.)
    void StyleClearALL();
    void StartStyle();
    // Styles the whole document at once.
    void Colourise();
    // Styles what is on screen at once and the rest in slices between
    // events; once they end, every byte is styled as by Colourise.
    void ColouriseInBackground();
    bool ColouringPending() const;
    long GetStyleAt(long lPos) const;
    void SetLexer(long lLexerNum);
    void SetKeywords(long iKeywordNum, const QString &strKeywords);
    void SetStyleBits(long lBits);
    // One of the compiled-in sets: 0 VB, 1 C++, 2 HTML, 3 Pascal; any other
    // number leaves the cleared styles.
    void SetHighlighter(long iHighlighter);

private:
    // This component keeps keyword lists and lexer properties ("fold", ...)
    // in its lexer object, which every SCI_SETLEXER replaces: the wrapper
    // hands both on to the new one.
    void HandOnToLexer();
    std::array<QString, 9> m_keywordLists;
    QList<std::pair<QByteArray, QByteArray>> m_lexerProperties; // in the order first set

public:
    // ---- end of styles ----

    // ---- bulk reads (HTML export) ----
    // The document's bytes where the component keeps them; valid until the
    // next change. nullptr for an empty document.
    const char *CharacterPointer() const;
    // Bytes and styles of [lStart, lEnd), alternating (byte, style, byte,
    // style, ...) and followed by two zero bytes: buffer must hold
    // 2 * (lEnd - lStart) + 2 bytes. Answers the count written.
    long GetStyledText(long lStart, long lEnd, char *buffer) const;
    // Styles whatever the lexer has not reached yet, from the start of the
    // line where styling stopped; nothing to do costs nothing. Ends the
    // background colouring.
    void ColouriseRest();

    // ---- printing (clsScintillaPrint.cpp) ----
    // The whole document on the default printer, one-inch margins.
    PrintResult PrintDoc();
    // Margins in thousandths of an inch; never inside the printer's
    // unprintable edge. Shows its progress; stopped, the job is given up
    // and pageStarts holds the pages drawn.
    PrintResult PrintSCI(win::HWND sciHwnd, long txtLen, long LeftMarginWidth, long TopMarginHeight,
                         long RightMarginWidth, long BottomMarginHeight);
    // The whole document, or the pages the printer's range asks for, on a
    // printer chosen in the print dialog (or a preview's), one-inch margins,
    // each page headed by the title and "第 N 页，共 M 页"; the copies asked
    // for are drawn when the printer does not make them itself. A large
    // document shows its progress, and the user may stop it (Stopped: the job
    // is aborted where the printer allows it; pageStarts holds the pages drawn).
    PrintResult PrintTo(QPrinter &printer, const QString &title);
    // ---- search, replace and go to (clsScintillaSearch.cpp) ----
    // Options are switches (any non-zero value is set). Texts go to the
    // component as UTF-8, so a search for Chinese text finds whole characters.

    // Searches forwards from the selection end (backwards from its start, or
    // inside the selection), once more over the whole document when wrapping;
    // a match becomes the selection. Remembers the search for FindNext/FindPrev.
    bool FindText(const QString &txttofind, int FindReverse, int findinrng, int WrapDocument,
                  int CaseSensative, int WordStart, int WholeWord, int RegExp);
    bool FindNext();
    bool FindPrev();
    // Replaces the next match (around the document end); with bReplaceAll
    // every match once, stopping where the walk began. True when it replaced.
    bool ReplaceText(const QString &strSearchFor, const QString &strReplaceWith, int bReplaceAll,
                     int CaseSensative, int WordStart, int WholeWord, int RegExp);
    // Every match of the document as it stands, in one undo step; answers
    // how many were replaced. Never searches inside replaced text.
    qint64 ReplaceAll(const QString &strSearchFor, const QString &strReplaceWith,
                      int CaseSensative, int WordStart, int WholeWord, int RegExp);
    void ReplaceTarget(long lLen, const QString &strRep);
    // The target search and replacement with bytes as they are.
    long SearchInTarget(QByteArrayView text);
    void ReplaceTargetBytes(QByteArrayView bytes);
    // The last FindText or ReplaceAll was stopped by the user (Esc or the
    // status bar's 取消); it found nothing and changed nothing.
    bool WasStopped() const { return m_stopped; }
    // The text FindNext and FindPrev look for; empty before any search.
    QString LastSearchText() const { return m_searchDone ? m_savedSearch.text : QString(); }
    void GotoLine(long iLine);
    void GotoLineColumn(long iLine, long iCol);
    // DoFind, DoReplace and DoGoto, which run the dialogs for an editor,
    // live with the dialogs (frmFind.h, frmReplace.h, frmGoto.h).

private:
    struct SavedSearch
    {
        QString text;
        int inRange = vbFalse;
        int wrap = vbFalse;
        int caseSensitive = vbFalse;
        int wordStart = vbFalse;
        int wholeWord = vbFalse;
        int regExp = vbFalse;
    };
    TextSearch &SearchFor(const QByteArray &text, long flags);
    void ReplaceHistoryReached(const NotifyRecord &scn);
    void SettleReplaceHistory();

    SavedSearch m_savedSearch;
    std::unique_ptr<TextSearch> m_textSearch; // the last text searched for, ready to search again
    std::unique_ptr<ReplaceHistory> m_replaceHistory;
    int m_busy = 0;
    bool m_stopped = false;

public:
    // ---- end of search ----

signals:
    void OnModified();
    void StyleNeeded();
    void CharAdded();
    void SavePointReached();
    void SavePointLeft();
    void DoubleClick();
    void UpdateUI();
    void MarginClick();
    void Paint();
    void UserListSelection();
    void EncodingChanged();
    // Something with a URI (a file from a file manager) was dropped on the
    // editor; dropped text is moved or copied into the document instead.
    void UriDropped(const QString &uri);
    // A language was applied (its index is in lHighlighterNum).
    void HighlighterApplied();
    void LineEndsCounted();
    // The first part of a big file is shown while the rest is read: a
    // language applied now colours it.
    void PreviewShown();

protected:
    long SendDirect(int Msg, unsigned long wParam = 0, long lParam = 0) const;
    long SendDirectPtr(int Msg, unsigned long wParam, void *lParam) const;

private:
    static bool IsBrace(long ch);
    void FitLineNumberMargin();
    void FitLineNumberMarginToLineCount();
    void RefitLineNumberMargin();
    static long MaxLong(long a, long b) { return a > b ? a : b; }
    void ClearCtrlKeys();
    void DispatchNotification(const NotifyRecord &scn);
    void HighlightBraces();
    void ToggleFoldAt(const NotifyRecord &scn);
    void HandleCharAdded(const NotifyRecord &scn);
    void CallTipCharAdded(long ch);
    void HighlightTypedParameter();
    void OpenCallTip();
    long GetWordLenBeforeCaret() const;
    FileIoResult OpenAndRead(const QString &strFile, const std::optional<TextEncoding> &encoding);
    FileIoResult ReadTextFile(QFile &file, qint64 size, const std::optional<TextEncoding> &encoding);
    FileIoResult WriteTextFile(const QString &strFile);
    bool ConvertsLineEndsOnSave() const;
    void FollowFileLineEnds(const LineEnds::Counts &counts);
    void WaitForLoad(BackgroundLoad &load, qint64 size, const QString &name);
    void TakeDocument(void *document);
    bool ShowPreview(QFile &file, qint64 size, const std::optional<TextEncoding> &encoding);
    void ShowEmptyDocument();
    void SwapInLoaded(void *document, qint64 size);
    void SuitLongLines();
    FileIoResult CheckEncodable(LongOperation *operation = nullptr) const;

    MessageObserver m_observer;
    QPointer<EditorWindow> m_editor;
    std::unique_ptr<BackgroundColouring> m_colouring;
    std::unique_ptr<LineEndSurvey> m_lineEnds;
    std::unique_ptr<LongLineStyling> m_longLineStyling;
    QPointer<QWidget> m_ownerForm;
    win::HWND m_attachedHwnd = 0;

    bool m_searchDone = false;
    bool m_apiLoaded = false;
    bool m_markedModified = false;
    bool m_loading = false;
    qint64 m_readChunkSize = DocumentLoader::Sizes().readChunk;
    qint64 m_longestLoadedLine = 0;
    // The API list, parsed once when the file is loaded.
    QList<ApiEntry> m_apiList;
    qsizetype m_currentTipEntry = 0;
    int m_ShowCallTips = vbFalse;
    int m_AutoIndent = vbFalse;
    int m_LineNumbers = vbFalse;
    int m_Folding = vbFalse;
    int m_WordWrap = vbFalse;
    int m_ContextMenu = vbFalse;
    int m_IgnoreAutoCCase = vbFalse;
    long m_LineBreak = 0;
    bool m_lineBreakAssigned = false; // the user chose the line ends: saving converts to them
    long m_lineNumberLeastWidth = 0; // 0: no line numbers, nothing to fit
    int m_lineNumberDigits = 0;      // of the line count the margin was fitted to; 0 to fit again
    TextEncoding m_encoding;
    TextEncoding m_fileEncoding; // what the file holds: differs after a conversion not saved yet
};
