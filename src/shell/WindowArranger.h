#pragma once

class QMdiArea;

// The four arrangements of the document windows inside the main window.
class WindowArranger
{
public:
    static void Cascade(QMdiArea *area);
    // Stacked one above another, each as wide as the area.
    static void TileHorizontally(QMdiArea *area);
    // Side by side, each as tall as the area.
    static void TileVertically(QMdiArea *area);
    // The minimized windows in a row along the bottom of the area.
    static void ArrangeIcons(QMdiArea *area);
};
