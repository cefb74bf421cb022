#include "clsScintilla.h"

#include "BackgroundColouring.h"
#include "EditorWindow.h"
#include "LineEndSurvey.h"
#include "LongLineStyling.h"
#include "ReplaceHistory.h"
#include "TextSearch.h"
#include "subclass/MSubclass.h"

#include <QWidget>
#include <cstring>

using Sci = QsciScintillaBase;

clsScintilla::clsScintilla(QObject *parent)
    : QObject(parent), m_colouring(std::make_unique<BackgroundColouring>(*this)),
      m_lineEnds(std::make_unique<LineEndSurvey>(*this)), m_longLineStyling(std::make_unique<LongLineStyling>(*this))
{
    // Any change can add or remove a line end.
    connect(this, &clsScintilla::OnModified, m_lineEnds.get(), &LineEndSurvey::Forget);
    connect(m_lineEnds.get(), &LineEndSurvey::Counted, this, &clsScintilla::LineEndsCounted);
}

std::optional<LineEnds::Counts> clsScintilla::LineEndCounts() const
{
    return m_lineEnds->Known();
}

void clsScintilla::CountLineEnds()
{
    if (m_editor && !IsLoading())
        m_lineEnds->Count();
}

// A registration holds our bare identity, so we must never outlive it.
clsScintilla::~clsScintilla()
{
    if (m_attachedHwnd)
        MSubclass::DetachMessage(this, m_attachedHwnd, win::WM_NOTIFY);
}

void clsScintilla::CreateScintilla(QWidget *frm, int MDIApp, QWidget *MDIParent)
{
    m_searchDone = false;
    m_ownerForm = (MDIApp == vbTrue) ? MDIParent : frm;
    m_apiLoaded = false;

    delete m_editor;
    m_editor = new EditorWindow(frm);
    m_editor->setGeometry(0, 0, 200, 200);
    m_editor->show();
    sciHwnd = m_editor->Handle();
    // A jump past where the background colouring has got (Ctrl+End in a
    // huge file) colours only a few milliseconds' worth at once, not all the
    // text before the screen; the rest of the screen takes its colours as the
    // colouring reaches it.
    SendEditor(Sci::SCI_SETIDLESTYLING, Sci::SC_IDLESTYLING_TOVISIBLE);

    ClearCtrlKeys();
    SetFocus();
}

void clsScintilla::Attach(QWidget *frm)
{
    Detach(frm);
    const win::HWND hWnd = win::HandleOf(frm);
    MSubclass::AttachMessage(this, hWnd, win::WM_NOTIFY);
    m_attachedHwnd = hWnd;
}

void clsScintilla::Detach(QWidget *frm)
{
    const win::HWND hWnd = win::HandleOf(frm);
    MSubclass::DetachMessage(this, hWnd, win::WM_NOTIFY);
    if (hWnd == m_attachedHwnd)
        m_attachedHwnd = 0;
}

void clsScintilla::SizeScintilla(int Left, int Top, int Width, int Height)
{
    if (m_editor)
        m_editor->setGeometry(Left, Top, Width, Height);
}

void clsScintilla::SetFocus()
{
    if (m_editor)
        m_editor->setFocus(Qt::OtherFocusReason);
}

long clsScintilla::SendEditor(int Msg, long wParam, long lParam) const
{
    return SendDirect(Msg, static_cast<unsigned long>(wParam), lParam);
}

long clsScintilla::SendEditor(int Msg, long wParam, const QString &lParam) const
{
    const QByteArray bytes = lParam.toUtf8(); // zero-terminated by QByteArray
    return SendDirectPtr(Msg, static_cast<unsigned long>(wParam), const_cast<char *>(bytes.constData()));
}

long clsScintilla::SendDirect(int Msg, unsigned long wParam, long lParam) const
{
    if (m_observer)
        m_observer(Msg, long(wParam), lParam, nullptr);
    return m_editor ? m_editor->SendScintilla(static_cast<unsigned int>(Msg), wParam, lParam) : 0;
}

long clsScintilla::SendDirectPtr(int Msg, unsigned long wParam, void *lParam) const
{
    if (m_observer)
        m_observer(Msg, long(wParam), reinterpret_cast<std::intptr_t>(lParam), static_cast<const char *>(lParam));
    return m_editor ? m_editor->SendScintilla(static_cast<unsigned int>(Msg), wParam, lParam) : 0;
}

// ---- notifications ----

win::LRESULT clsScintilla::WindowProc(win::HWND, std::int32_t iMsg, win::WPARAM, win::LPARAM lParam)
{
    if (iMsg != win::WM_NOTIFY || lParam == 0)
        return 0;
    NotifyRecord scn;
    std::memcpy(&scn, reinterpret_cast<const void *>(lParam), sizeof scn);
    // A notification of any other child is swallowed: we consume WM_NOTIFY.
    if (scn.hwndFrom != sciHwnd || sciHwnd == 0)
        return 0;
    DispatchNotification(scn);
    return 0;
}

void clsScintilla::DispatchNotification(const NotifyRecord &scn)
{
    switch (scn.code) {
    case scn::STYLENEEDED:
        m_longLineStyling->StyleTo(scn.position);
        emit StyleNeeded();
        break;
    case scn::CHARADDED:
        HandleCharAdded(scn);
        emit CharAdded();
        break;
    case scn::SAVEPOINTREACHED:
        emit SavePointReached();
        break;
    case scn::SAVEPOINTLEFT:
        emit SavePointLeft();
        break;
    case scn::DOUBLECLICK:
        emit DoubleClick();
        break;
    case scn::UPDATEUI:
        FitLineNumberMarginToLineCount();
        HighlightBraces();
        emit UpdateUI();
        break;
    case scn::ZOOM:
        RefitLineNumberMargin();
        break;
    case scn::MODIFIED:
        ReplaceHistoryReached(scn);
        emit OnModified();
        break;
    case scn::MARGINCLICK:
        ToggleFoldAt(scn);
        emit MarginClick();
        break;
    case scn::PAINTED:
        emit Paint();
        break;
    case scn::USERLISTSELECTION:
        emit UserListSelection();
        break;
    case scn::URIDROPPED:
        emit UriDropped(QString::fromUtf8(scn.text));
        break;
    default: // read-only attempts, keys, macro records, needs-shown and the rest
        break;
    }
}

// An undo or redo reached a replace-all; or a change of the user's cut off
// the replace-alls that could have been redone.
void clsScintilla::ReplaceHistoryReached(const NotifyRecord &scn)
{
    if (!m_replaceHistory)
        return;
    if (scn.modificationType & Sci::SC_MOD_CONTAINER) {
        m_replaceHistory->Reached(scn.token, scn.modificationType & Sci::SC_PERFORMED_UNDO);
        // Undo and Redo settle it as soon as the component returns; an undo
        // from anywhere else is settled right after.
        QMetaObject::invokeMethod(
            this, [this] { SettleReplaceHistory(); }, Qt::QueuedConnection);
    } else if (scn.modificationType & Sci::SC_PERFORMED_USER) {
        m_replaceHistory->ForgetUndone();
    }
}

void clsScintilla::SettleReplaceHistory()
{
    if (!m_replaceHistory || !m_replaceHistory->Unsettled() || !m_editor)
        return;
    ++m_busy;
    m_replaceHistory->Settle();
    --m_busy;
    emit OnModified();
}

void clsScintilla::HandleCharAdded(const NotifyRecord &scn)
{
    if (m_AutoIndent == vbTrue)
        MaintainIndentation();
    if (m_ShowCallTips == vbTrue)
        CallTipCharAdded(scn.ch);
}

bool clsScintilla::IsBrace(long ch)
{
    switch (ch) {
    case '(': case ')': case '[': case ']': case '{': case '}': case '<': case '>':
        return true;
    default:
        return false;
    }
}

// The brace after the caret wins over the one before it.
void clsScintilla::HighlightBraces()
{
    long brace = -1;
    const long p = GetCurPos();
    if (IsBrace(CharAtPos(p)))
        brace = p;
    else if (IsBrace(CharAtPos(p - 1)))
        brace = p - 1;

    if (brace == -1) {
        SendEditor(Sci::SCI_BRACEHIGHLIGHT, -1, -1);
        return;
    }
    const long match = SendDirect(Sci::SCI_BRACEMATCH, static_cast<unsigned long>(brace), 0);
    if (match == -1) {
        SendEditor(Sci::SCI_BRACEBADLIGHT, brace, 0);
    } else {
        SendEditor(Sci::SCI_BRACEHIGHLIGHT, match, brace);
        SendEditor(Sci::SCI_SETHIGHLIGHTGUIDE, GetColumn());
    }
}

void clsScintilla::ToggleFoldAt(const NotifyRecord &scn)
{
    const long line = SendEditor(Sci::SCI_LINEFROMPOSITION, scn.position);
    if (scn.margin == 1)
        SendEditor(Sci::SCI_TOGGLEFOLD, line);
}
