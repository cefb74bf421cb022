#pragma once

class QPrinter;

// What a printer tells about its page, in its device pixels: resolution,
// the whole sheet, and the printable area (its size and its offset from the
// sheet's top-left corner).
struct PrinterMetrics
{
    long dpiX = 0, dpiY = 0;
    long physW = 0, physH = 0;
    long offX = 0, offY = 0;
    long horz = 0, vert = 0;

    static PrinterMetrics Of(const QPrinter &printer);
};

// A rectangle as the component's range formatting takes it: right and
// bottom are the first pixel outside.
struct SciRect
{
    long left = 0, top = 0, right = 0, bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const SciRect &) const = default;
};

// Where the text goes on each page, in coordinates whose origin is the
// top-left corner of the printable area: rc the area to print into, rcPage
// the whole printable area.
struct PageGeometry
{
    SciRect rc;
    SciRect rcPage;

    // Margins in thousandths of an inch; each side keeps at least the
    // printer's unprintable edge. Raises a run-time error (overflow) when a
    // figure leaves 32 bits.
    static PageGeometry Compute(const PrinterMetrics &printer, long LeftMarginWidth, long TopMarginHeight,
                                long RightMarginWidth, long BottomMarginHeight);
};
