#pragma once

#include <QRect>
#include <QString>
#include <optional>

class QWidget;

// The main window's state and placement in the settings store (application
// "ScintillaMDI", section "Settings"), in twips, as text.
class WindowPlacement
{
public:
    static const QString AppName;
    static const QString Section;

    // State first; then left, top, width and height, each from its key or
    // its centring default. A maximized or minimized window keeps its initial
    // placement. A value that does not convert is skipped. Answers the outer
    // rectangle the window was given (none when it was not placed).
    static std::optional<QRect> Restore(QWidget *window);

    // Places the window's outer rectangle, frame included. Some window
    // systems only know the frame once the window is on screen, so the main
    // window applies the restored rectangle again when it is first shown.
    static void ApplyFrame(QWidget *window, const QRect &frame);

    // Minimized counts as its restored state; the placement written is always
    // that of the normal (restored) window.
    static void Save(QWidget *window);

private:
    static void RestoreState(QWidget *window);
    static QRect RestoreEdges(QWidget *window);
    static void KeepOnScreen(QWidget *window);
    static double ReadTwips(const QString &key, double fallback, bool *ok);
};
