#include "PageGeometry.h"

#include "platform/RuntimeError.h"

#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr std::int64_t Min32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Max32 = std::numeric_limits<std::int32_t>::max();

long Checked(std::int64_t value)
{
    if (value < Min32 || value > Max32)
        throw RuntimeError(RuntimeError::Overflow, QStringLiteral("PrintSCI"), QStringLiteral("溢出"));
    return long(value);
}

long Pixels(double value)
{
    return Checked(std::llround(value));
}

// Thousandths of an inch to pixels as MulDiv does it: a 64-bit product,
// rounded to the nearest pixel (halves away from zero).
long MarginPixels(long thousandths, long dpi)
{
    const std::int64_t product = std::int64_t(Checked(thousandths)) * Checked(dpi);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + 500) / 1000;
    return Checked(product < 0 ? -magnitude : magnitude);
}

} // namespace

PrinterMetrics PrinterMetrics::Of(const QPrinter &printer)
{
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    PrinterMetrics m;
    m.dpiX = printer.logicalDpiX();
    m.dpiY = printer.logicalDpiY();
    m.physW = Pixels(paper.width());
    m.physH = Pixels(paper.height());
    m.offX = Pixels(page.left() - paper.left());
    m.offY = Pixels(page.top() - paper.top());
    m.horz = Pixels(page.width());
    m.vert = Pixels(page.height());
    return m;
}

PageGeometry PageGeometry::Compute(const PrinterMetrics &p, long LeftMarginWidth, long TopMarginHeight,
                                   long RightMarginWidth, long BottomMarginHeight)
{
    // The unprintable edges on the right and at the bottom.
    const long rightEdge = Checked(std::int64_t(p.physW) - p.horz - p.offX);
    const long bottomEdge = Checked(std::int64_t(p.physH) - p.vert - p.offY);

    const long L = std::max(p.offX, MarginPixels(LeftMarginWidth, p.dpiX));
    const long T = std::max(p.offY, MarginPixels(TopMarginHeight, p.dpiY));
    const long R = std::max(rightEdge, MarginPixels(RightMarginWidth, p.dpiX));
    const long B = std::max(bottomEdge, MarginPixels(BottomMarginHeight, p.dpiY));

    PageGeometry g;
    g.rc.left = Checked(std::int64_t(L) - p.offX);
    g.rc.top = Checked(std::int64_t(T) - p.offY);
    g.rc.right = Checked(std::int64_t(p.physW) - R - p.offX);
    g.rc.bottom = Checked(std::int64_t(p.physH) - B - p.offY);
    g.rcPage.right = Checked(std::int64_t(p.physW) - p.offX - rightEdge - 1);
    g.rcPage.bottom = Checked(std::int64_t(p.physH) - p.offY - bottomEdge - 1);
    return g;
}
