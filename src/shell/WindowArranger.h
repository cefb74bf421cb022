#pragma once

class QMdiArea;

// The four arrangements of the document windows inside the main window. The
// minimized windows keep their rows along the bottom, in front of the others,
// and the other arrangements keep to the area above them.
class WindowArranger
{
public:
    // Every title bar shows; the current window comes last, in front.
    static void Cascade(QMdiArea *area);
    // Stacked one above another, each as wide as the area.
    static void TileHorizontally(QMdiArea *area);
    // Side by side, each as tall as the area above the minimized windows.
    static void TileVertically(QMdiArea *area);
    // The minimized windows in rows along the bottom of the area.
    static void ArrangeIcons(QMdiArea *area);
};
