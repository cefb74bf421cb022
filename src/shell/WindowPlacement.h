#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>

class QWidget;

// The main window's state and placement in the settings store (application
// "ScintillaMDI", section "Settings"), in twips, as text. The stored
// rectangle is the outer one, frame included. A window manager adds the frame
// only when it maps the window, and a maximized window's frame is not the
// normal one, so the placement watches the window for the frame's edges.
class WindowPlacement : public QObject
{
public:
    static const QString AppName;
    static const QString Section;

    explicit WindowPlacement(QWidget *window);

    // State first; then left, top, width and height, each from its key or
    // its centring default. A maximized or minimized window keeps its initial
    // placement. A value that does not convert is skipped. Call before the
    // window is first shown; the placement is made again when the window is
    // first exposed, framed by then.
    void Restore();

    // Minimized counts as its restored state; the placement written is always
    // that of the normal (restored) window, with the normal window's frame.
    void Save();

    // The frame's edges between an outer and an inner rectangle; none while
    // any edge would be negative (a frame not yet known).
    static QMargins MarginsBetween(const QRect &outer, const QRect &inner);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void RestoreState();
    void PlaceFromSettings();
    QRect RestoreEdges() const;
    void ApplyFrame(const QRect &frame);
    void KeepOnScreen();
    bool IsNormal() const;
    QMargins FrameMargins() const;
    void NoteNormalFrame();
    void AwaitFrame();
    void CheckForFrame();

    QWidget *m_window;
    QTimer m_frameWatch;   // looks for a frame announced after the first exposure
    int m_frameChecks = 0;
    bool m_placeWhenExposed = false;
    QMargins m_normalFrame; // the frame's edges last seen in the normal state
};
