#include "EditorWindow.h"

#include "EditorAccessibility.h"


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
    SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
    ApplyModEventMask();
    ConnectNotifications();
}

EditorWindow::~EditorWindow()
{
    EditorAccessibility::Unregister(this);
    win::DestroyWindow(m_hWnd);
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
void EditorWindow::ApplyModEventMask()
{
    long mask = SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE;
    if (EditorAccessibility::Listening() && m_bulkDepth == 0)
        mask |= SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT;
    SendScintilla(SCI_SETMODEVENTMASK, mask);
}

void EditorWindow::Notify(NotifyRecord record)
{
    record.hwndFrom = m_hWnd;
    const win::HWND host = win::HandleOf(parentWidget());
    if (host)
        win::SendMessage(host, win::WM_NOTIFY, record.idFrom, reinterpret_cast<win::LPARAM>(&record));
}

void EditorWindow::ConnectNotifications()
{
    auto simple = [this](int code) {
        return [this, code] {
            NotifyRecord r;
            r.code = code;
            Notify(r);
        };
    };
    auto positioned = [this](int code) {
        return [this, code](int position, int modifiers) {
            NotifyRecord r;
            r.code = code;
            r.position = position;
            r.modifiers = modifiers;
            Notify(r);
        };
    };

    connect(this, &QsciScintillaBase::SCN_STYLENEEDED, this, [this](int position) {
        NotifyRecord r;
        r.code = scn::STYLENEEDED;
        r.position = position;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_CHARADDED, this, [this](int ch) {
        NotifyRecord r;
        r.code = scn::CHARADDED;
        r.ch = ch;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, simple(scn::SAVEPOINTREACHED));
    connect(this, &QsciScintillaBase::SCN_SAVEPOINTLEFT, this, simple(scn::SAVEPOINTLEFT));
    connect(this, &QsciScintillaBase::SCN_MODIFYATTEMPTRO, this, simple(scn::MODIFYATTEMPTRO));
    connect(this, &QsciScintillaBase::SCN_DOUBLECLICK, this, [this](int position, int line, int modifiers) {
        NotifyRecord r;
        r.code = scn::DOUBLECLICK;
        r.position = position;
        r.line = line;
        r.modifiers = modifiers;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        NotifyRecord r;
        r.code = scn::UPDATEUI;
        r.updated = updated;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modificationType, const char *text, int length, int linesAdded, int line,
                   int foldLevelNow, int foldLevelPrev, int, int) {
                NotifyRecord r;
                r.code = scn::MODIFIED;
                r.position = position;
                r.modificationType = modificationType;
                r.text = text;
                r.length = length;
                r.linesAdded = linesAdded;
                r.line = line;
                r.foldLevelNow = foldLevelNow;
                r.foldLevelPrev = foldLevelPrev;
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_MACRORECORD, this,
            [this](unsigned int message, unsigned long wParam, void *lParam) {
                NotifyRecord r;
                r.code = scn::MACRORECORD;
                r.message = int(message);
                r.wParam = std::intptr_t(wParam);
                r.lParam = reinterpret_cast<std::intptr_t>(lParam);
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_MARGINCLICK, this, [this](int position, int modifiers, int margin) {
        NotifyRecord r;
        r.code = scn::MARGINCLICK;
        r.position = position;
        r.modifiers = modifiers;
        r.margin = margin;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_MARGINRIGHTCLICK, this,
            [this](int position, int modifiers, int margin) {
                NotifyRecord r;
                r.code = scn::MARGINRIGHTCLICK;
                r.position = position;
                r.modifiers = modifiers;
                r.margin = margin;
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_NEEDSHOWN, this, [this](int position, int length) {
        NotifyRecord r;
        r.code = scn::NEEDSHOWN;
        r.position = position;
        r.length = length;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_PAINTED, this, simple(scn::PAINTED));
    connect(this,
            QOverload<const char *, int, int, int, int>::of(&QsciScintillaBase::SCN_USERLISTSELECTION), this,
            [this](const char *selection, int id, int ch, int, int position) {
                NotifyRecord r;
                r.code = scn::USERLISTSELECTION;
                r.text = selection;
                r.listType = id;
                r.ch = ch;
                r.position = position;
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_DWELLSTART, this, [this](int position, int x, int y) {
        NotifyRecord r;
        r.code = scn::DWELLSTART;
        r.position = position;
        r.x = x;
        r.y = y;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_DWELLEND, this, [this](int position, int x, int y) {
        NotifyRecord r;
        r.code = scn::DWELLEND;
        r.position = position;
        r.x = x;
        r.y = y;
        Notify(r);
    });
    connect(this, &QsciScintillaBase::SCN_ZOOM, this, simple(scn::ZOOM));
    connect(this, &QsciScintillaBase::SCN_HOTSPOTCLICK, this, positioned(scn::HOTSPOTCLICK));
    connect(this, &QsciScintillaBase::SCN_HOTSPOTDOUBLECLICK, this, positioned(scn::HOTSPOTDOUBLECLICK));
    connect(this, &QsciScintillaBase::SCN_HOTSPOTRELEASECLICK, this, positioned(scn::HOTSPOTRELEASECLICK));
    connect(this, &QsciScintillaBase::SCN_INDICATORCLICK, this, positioned(scn::INDICATORCLICK));
    connect(this, &QsciScintillaBase::SCN_INDICATORRELEASE, this, positioned(scn::INDICATORRELEASE));
    connect(this, &QsciScintillaBase::SCN_CALLTIPCLICK, this, [this](int direction) {
        NotifyRecord r;
        r.code = scn::CALLTIPCLICK;
        r.position = direction;
        Notify(r);
    });
    connect(this, QOverload<const char *, int, int, int>::of(&QsciScintillaBase::SCN_AUTOCSELECTION), this,
            [this](const char *selection, int position, int ch, int) {
                NotifyRecord r;
                r.code = scn::AUTOCSELECTION;
                r.text = selection;
                r.position = position;
                r.ch = ch;
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_AUTOCCANCELLED, this, simple(scn::AUTOCCANCELLED));
    connect(this, &QsciScintillaBase::SCN_AUTOCCHARDELETED, this, simple(scn::AUTOCCHARDELETED));
    connect(this, &QsciScintillaBase::SCN_AUTOCCOMPLETED, this,
            [this](const char *selection, int position, int ch, int) {
                NotifyRecord r;
                r.code = scn::AUTOCCOMPLETED;
                r.text = selection;
                r.position = position;
                r.ch = ch;
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_AUTOCSELECTIONCHANGE, this,
            [this](const char *selection, int id, int position) {
                NotifyRecord r;
                r.code = scn::AUTOCSELECTIONCHANGE;
                r.text = selection;
                r.listType = id;
                r.position = position;
                Notify(r);
            });
    connect(this, &QsciScintillaBase::SCN_FOCUSIN, this, simple(scn::FOCUSIN));
    connect(this, &QsciScintillaBase::SCN_FOCUSOUT, this, simple(scn::FOCUSOUT));
}
