#include "WindowArranger.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

QList<QMdiSubWindow *> OpenWindows(QMdiArea *area, bool minimized)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area->subWindowList(QMdiArea::CreationOrder))
        if (window->isVisible() && window->isMinimized() == minimized)
            windows.append(window);
    return windows;
}

void Tile(QMdiArea *area, bool stacked)
{
    const QList<QMdiSubWindow *> windows = OpenWindows(area, false);
    if (windows.isEmpty())
        return;
    const QRect client = area->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        if (stacked) {
            const int top = client.height() * i / count, bottom = client.height() * (i + 1) / count;
            window->setGeometry(0, top, client.width(), bottom - top);
        } else {
            const int left = client.width() * i / count, right = client.width() * (i + 1) / count;
            window->setGeometry(left, 0, right - left, client.height());
        }
    }
}

} // namespace

void WindowArranger::Cascade(QMdiArea *area)
{
    area->cascadeSubWindows();
}

void WindowArranger::TileHorizontally(QMdiArea *area)
{
    Tile(area, true);
}

void WindowArranger::TileVertically(QMdiArea *area)
{
    Tile(area, false);
}

void WindowArranger::ArrangeIcons(QMdiArea *area)
{
    const QRect client = area->viewport()->rect();
    int left = 0, bottom = client.height();
    for (QMdiSubWindow *window : OpenWindows(area, true)) {
        const QSize size = window->size();
        if (left > 0 && left + size.width() > client.width()) { // a new row above the last
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        left += size.width();
    }
}
