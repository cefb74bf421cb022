#include "WindowArranger.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>

namespace {

QList<QMdiSubWindow *> OpenWindows(QMdiArea *area, bool minimized,
                                   QMdiArea::WindowOrder order = QMdiArea::CreationOrder)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area->subWindowList(order))
        if (window->isVisible() && window->isMinimized() == minimized)
            windows.append(window);
    return windows;
}

// The minimized windows in rows along the bottom of the area; answers the
// part of the area above the rows, which the other arrangements keep to.
QRect LineUpIcons(QMdiArea *area)
{
    const QRect client = area->viewport()->rect();
    int left = 0, bottom = client.height(), top = client.height();
    for (QMdiSubWindow *window : OpenWindows(area, true)) {
        const QSize size = window->size();
        if (left > 0 && left + size.width() > client.width()) { // a new row above the last
            left = 0;
            bottom = top;
        }
        window->move(left, bottom - size.height());
        top = std::min(top, bottom - size.height());
        left += size.width();
    }
    return QRect(0, 0, client.width(), std::max(1, top));
}

// In front of every other window, so that no icon hides behind one.
void RaiseIcons(QMdiArea *area)
{
    for (QMdiSubWindow *window : OpenWindows(area, true))
        window->raise();
}

void Tile(QMdiArea *area, bool stacked)
{
    const QRect free = LineUpIcons(area);
    const QList<QMdiSubWindow *> windows = OpenWindows(area, false);
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        if (stacked) {
            const int top = free.height() * i / count, bottom = free.height() * (i + 1) / count;
            window->setGeometry(0, top, free.width(), bottom - top);
        } else {
            const int left = free.width() * i / count, right = free.width() * (i + 1) / count;
            window->setGeometry(left, 0, right - left, free.height());
        }
    }
    RaiseIcons(area);
}

// How far each window of a cascade sits below the one before: its title bar.
int TitleBarStep(QMdiSubWindow *window)
{
    QStyleOptionTitleBar options;
    options.initFrom(window);
    return std::max(1, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &options, window));
}

} // namespace

// Each window is brought to the front in turn, so each covers only the body
// of the one before and every title bar shows; the windows keep their order
// from back to front, the current one last. The windows shrink, down to a
// few title bars, so that one run from the top left holds them all; beyond
// that a new run starts at the top.
void WindowArranger::Cascade(QMdiArea *area)
{
    const QRect free = LineUpIcons(area);
    QList<QMdiSubWindow *> windows = OpenWindows(area, false, QMdiArea::StackingOrder);
    if (QMdiSubWindow *current = area->currentSubWindow(); windows.removeOne(current))
        windows.append(current);

    for (QMdiSubWindow *window : windows)
        if (window->isMaximized())
            window->showNormal();
    const int count = int(windows.size());
    const int step = count ? TitleBarStep(windows.first()) : 1;
    const int smallest = 4 * step;
    const int perRun = std::clamp((free.height() - smallest) / step + 1, 1, std::max(count, 1));
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = windows[i];
        const QSize hint = window->sizeHint();
        const QSize size(std::max(smallest, std::min(hint.width(), free.width() - (perRun - 1) * step)),
                         std::max(smallest, std::min(hint.height(), free.height() - (perRun - 1) * step)));
        const int left = std::min(i * step, std::max(0, free.width() - size.width()));
        window->setGeometry(QRect(QPoint(left, i % perRun * step), size));
        window->raise();
    }
    RaiseIcons(area);
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
    LineUpIcons(area);
    RaiseIcons(area);
}
