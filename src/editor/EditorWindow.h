#pragma once

#include "NotifyRecord.h"
#include "subclass/WindowLayer.h"

#include <Qsci/qsciscintillabase.h>

// The editing component as one child window of its host. It has a window
// handle of its own, runs in UTF-8, and hands every notification of the
// component to its host as WM_NOTIFY with a NotifyRecord, the way a native
// control talks to its parent.
class EditorWindow : public QsciScintillaBase
{
    Q_OBJECT

public:
    explicit EditorWindow(QWidget *host);
    ~EditorWindow() override;

    win::HWND Handle() const { return m_hWnd; }

    // While a bulk operation runs (loading, replacing all), the component is
    // not asked to report each insertion and deletion: QScintilla answers
    // every such report with an accessibility update whose cost grows with
    // the position of the change.
    void BeginBulkOperation();
    void EndBulkOperation();
    bool InBulkOperation() const { return m_bulkDepth > 0; }

    // Which change reports the component sends, for the current state of
    // accessibility and bulk work.
    void ApplyModEventMask();

    // The component's signals carry positions as int: in a text beyond 2 GiB
    // they arrive cut to their low 32 bits. Of the positions with those low
    // bits, the one meant is taken to be the nearest to `near` (a position
    // on the screen, where clicks and typing happen).
    static long WidenedPosition(int cut, long length, long near);

private:
    void UseLargeDocument();
    void ConnectNotifications();
    template <typename Signal, typename Fill>
    void Forward(Signal signal, int code, Fill fill);
    void Notify(NotifyRecord record);

    win::HWND m_hWnd = 0;
    int m_bulkDepth = 0;
};
