#include "EditorWindow.h"

#include "EditorAccessibility.h"

#include <QUrl>
#include <cstdint>
#include <cstdlib>
#include <limits>


namespace {

win::LRESULT EditorBaseProc(win::HWND, std::int32_t, win::WPARAM, win::LPARAM)
{
    return 0;
}

} // namespace

EditorWindow::EditorWindow(QWidget *host)
    : QsciScintillaBase(host)
{
    m_hWnd = win::CreateWindowHandle(this, &EditorBaseProc, this);
    EditorAccessibility::Register(this);
    UseLargeDocument();
    SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
    ApplyModEventMask();
    ConnectNotifications();
}

EditorWindow::~EditorWindow()
{
    EditorAccessibility::Unregister(this);
    win::DestroyWindow(m_hWnd);
}

// The component's own document counts lines in 32 bits; a large-text one
// holds texts beyond 2 GiB. It is made before anything is set on the
// document (code page, tabs, lexer), which all belong to it.
void EditorWindow::UseLargeDocument()
{
    const long document = SendScintilla(SCI_CREATEDOCUMENT, 0UL, long(SC_DOCUMENTOPTION_TEXT_LARGE));
    if (!document)
        return;
    SendScintilla(SCI_SETDOCPOINTER, 0UL, document);
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document); // the editor holds it now
}

void EditorWindow::BeginBulkOperation()
{
    ++m_bulkDepth;
    ApplyModEventMask();
}

void EditorWindow::EndBulkOperation()
{
    if (m_bulkDepth > 0)
        --m_bulkDepth;
    ApplyModEventMask();
}

// Changes are reported before they happen (which is enough to raise the
// editor's OnModified event); the after-the-fact insert and delete reports
// are only wanted when assistive technology listens and no bulk work runs.
// Undo and redo reaching an action of the wrapper's own (a replace-all) are
// always reported.
void EditorWindow::ApplyModEventMask()
{
    long mask = SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE | SC_MOD_CONTAINER;
    if (EditorAccessibility::Listening() && m_bulkDepth == 0)
        mask |= SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT;
    SendScintilla(SCI_SETMODEVENTMASK, mask);
}

long EditorWindow::WidenedPosition(int cut, long length, long near)
{
    constexpr long Span = 1L << 32;
    if (length <= std::numeric_limits<int>::max())
        return cut;
    long best = long(std::uint32_t(cut));
    for (long candidate = best + Span; candidate <= length; candidate += Span)
        if (std::abs(candidate - near) < std::abs(best - near))
            best = candidate;
    return best;
}

void EditorWindow::Notify(NotifyRecord record)
{
    const long length = SendScintilla(SCI_GETLENGTH);
    if (length > std::numeric_limits<int>::max()) {
        const long firstShown = SendScintilla(SCI_DOCLINEFROMVISIBLE, SendScintilla(SCI_GETFIRSTVISIBLELINE));
        record.position = WidenedPosition(int(record.position), length,
                                          SendScintilla(SCI_POSITIONFROMLINE, firstShown));
    }
    record.hwndFrom = m_hWnd;
    const win::HWND host = win::HandleOf(parentWidget());
    if (host)
        win::SendMessage(host, win::WM_NOTIFY, record.idFrom, reinterpret_cast<win::LPARAM>(&record));
}

// Each notification becomes a record: its code plus the fields it carries.
template <typename Signal, typename Fill>
void EditorWindow::Forward(Signal signal, int code, Fill fill)
{
    connect(this, signal, this, [this, code, fill](auto... args) {
        NotifyRecord record;
        record.code = code;
        fill(record, args...);
        Notify(record);
    });
}

void EditorWindow::ConnectNotifications()
{
    using B = QsciScintillaBase;
    using R = NotifyRecord;
    const auto nothing = [](R &) {};
    const auto positioned = [](R &r, int position, int modifiers) {
        r.position = position;
        r.modifiers = modifiers;
    };
    const auto atPoint = [](R &r, int position, int x, int y) {
        r.position = position;
        r.x = x;
        r.y = y;
    };
    const auto marginClick = [](R &r, int position, int modifiers, int margin) {
        r.position = position;
        r.modifiers = modifiers;
        r.margin = margin;
    };
    const auto chosen = [](R &r, const char *text, int position, int ch, int) {
        r.text = text;
        r.position = position;
        r.ch = ch;
    };

    Forward(&B::SCN_STYLENEEDED, scn::STYLENEEDED, [](R &r, int position) { r.position = position; });
    Forward(&B::SCN_CHARADDED, scn::CHARADDED, [](R &r, int ch) { r.ch = ch; });
    Forward(&B::SCN_SAVEPOINTREACHED, scn::SAVEPOINTREACHED, nothing);
    Forward(&B::SCN_SAVEPOINTLEFT, scn::SAVEPOINTLEFT, nothing);
    Forward(&B::SCN_MODIFYATTEMPTRO, scn::MODIFYATTEMPTRO, nothing);
    Forward(&B::SCN_DOUBLECLICK, scn::DOUBLECLICK, [](R &r, int position, int line, int modifiers) {
        r.position = position;
        r.line = line;
        r.modifiers = modifiers;
    });
    Forward(&B::SCN_UPDATEUI, scn::UPDATEUI, [](R &r, int updated) { r.updated = updated; });
    Forward(&B::SCN_MODIFIED, scn::MODIFIED,
            [](R &r, int position, int type, const char *text, int length, int linesAdded, int line, int foldNow,
               int foldPrev, int token, int) {
                r.position = position;
                r.modificationType = type;
                r.text = text;
                r.length = length;
                r.linesAdded = linesAdded;
                r.line = line;
                r.foldLevelNow = foldNow;
                r.foldLevelPrev = foldPrev;
                r.token = token;
            });
    Forward(&B::SCN_MACRORECORD, scn::MACRORECORD, [](R &r, unsigned int message, unsigned long wParam, void *lParam) {
        r.message = int(message);
        r.wParam = std::intptr_t(wParam);
        r.lParam = reinterpret_cast<std::intptr_t>(lParam);
    });
    Forward(&B::SCN_MARGINCLICK, scn::MARGINCLICK, marginClick);
    Forward(&B::SCN_MARGINRIGHTCLICK, scn::MARGINRIGHTCLICK, marginClick);
    Forward(&B::SCN_NEEDSHOWN, scn::NEEDSHOWN, [](R &r, int position, int length) {
        r.position = position;
        r.length = length;
    });
    Forward(&B::SCN_PAINTED, scn::PAINTED, nothing);
    Forward(QOverload<const char *, int, int, int, int>::of(&B::SCN_USERLISTSELECTION), scn::USERLISTSELECTION,
            [](R &r, const char *text, int id, int ch, int, int position) {
                r.text = text;
                r.listType = id;
                r.ch = ch;
                r.position = position;
            });
    Forward(&B::SCN_DWELLSTART, scn::DWELLSTART, atPoint);
    Forward(&B::SCN_DWELLEND, scn::DWELLEND, atPoint);
    Forward(&B::SCN_ZOOM, scn::ZOOM, nothing);
    Forward(&B::SCN_HOTSPOTCLICK, scn::HOTSPOTCLICK, positioned);
    Forward(&B::SCN_HOTSPOTDOUBLECLICK, scn::HOTSPOTDOUBLECLICK, positioned);
    Forward(&B::SCN_HOTSPOTRELEASECLICK, scn::HOTSPOTRELEASECLICK, positioned);
    Forward(&B::SCN_INDICATORCLICK, scn::INDICATORCLICK, positioned);
    Forward(&B::SCN_INDICATORRELEASE, scn::INDICATORRELEASE, positioned);
    Forward(&B::SCN_CALLTIPCLICK, scn::CALLTIPCLICK, [](R &r, int direction) { r.position = direction; });
    Forward(QOverload<const char *, int, int, int>::of(&B::SCN_AUTOCSELECTION), scn::AUTOCSELECTION, chosen);
    Forward(&B::SCN_AUTOCCOMPLETED, scn::AUTOCCOMPLETED, chosen);
    Forward(&B::SCN_AUTOCCANCELLED, scn::AUTOCCANCELLED, nothing);
    Forward(&B::SCN_AUTOCCHARDELETED, scn::AUTOCCHARDELETED, nothing);
    Forward(&B::SCN_AUTOCSELECTIONCHANGE, scn::AUTOCSELECTIONCHANGE, [](R &r, const char *text, int id, int position) {
        r.text = text;
        r.listType = id;
        r.position = position;
    });
    // A file dropped on the editor comes as its URI, the record's text.
    connect(this, &B::SCN_URIDROPPED, this, [this](const QUrl &url) {
        const QByteArray uri = url.toEncoded();
        NotifyRecord record;
        record.code = scn::URIDROPPED;
        record.text = uri.constData();
        Notify(record);
    });
    Forward(&B::SCN_FOCUSIN, scn::FOCUSIN, nothing);
    Forward(&B::SCN_FOCUSOUT, scn::FOCUSOUT, nothing);
}
