// Printing of the editor wrapper: the whole document on the default printer
// through the component's range formatting.
#include "clsScintilla.h"

#include "PageGeometry.h"
#include "PrintColourScope.h"
#include "platform/LongOperation.h"
#include "platform/PrinterSeam.h"
#include "platform/RuntimeError.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <Qsci/qsciscintillabase.h>
#include <algorithm>

using Sci = QsciScintillaBase;

namespace {

constexpr long OneInch = 1000; // margins are in thousandths of an inch

// The component takes the area as a QRect, whose right and bottom are the
// last pixel inside.
QRect ToQRect(const SciRect &r)
{
    return QRect(QPoint(int(r.left), int(r.top)), QPoint(int(r.right) - 1, int(r.bottom) - 1));
}

} // namespace

PrintResult clsScintilla::PrintDoc()
{
    return PrintSCI(sciHwnd, GetLen(), OneInch, OneInch, OneInch, OneInch);
}

PrintResult clsScintilla::PrintSCI(win::HWND sciHwnd, long txtLen, long LeftMarginWidth, long TopMarginHeight,
                                   long RightMarginWidth, long BottomMarginHeight)
{
    auto *editor = qobject_cast<EditorWindow *>(win::WidgetOf(sciHwnd));
    if (!editor)
        return PrintResult::Failure(QStringLiteral("没有可以打印的编辑器。"));
    std::unique_ptr<QPrinter> printer = PrinterSeam::Current().DefaultPrinter();
    if (!printer)
        return PrintResult::Missing(QStringLiteral("没有找到打印机。\n请在系统中安装一台打印机并把它设为默认打印机，然后再打印。"));

    PageGeometry geometry;
    try {
        geometry = PageGeometry::Compute(PrinterMetrics::Of(*printer), LeftMarginWidth, TopMarginHeight,
                                         RightMarginWidth, BottomMarginHeight);
    } catch (const RuntimeError &) {
        return PrintResult::Failure(QStringLiteral("无法计算打印页面的大小（数值溢出）。"));
    }
    if (geometry.rc.IsEmpty())
        return PrintResult::Failure(QStringLiteral("页边距太宽，页面上没有可以打印文字的地方。"));

    const PrintColourScope paper(*this);
    // Opening the painter starts the job and its first page.
    QPainter painter;
    if (!painter.begin(printer.get()))
        return PrintResult::Failure(QStringLiteral("打印机“%1”无法开始打印。").arg(printer->printerName()));

    auto formatRange = [&](long cpMin) {
        if (m_observer)
            m_observer(Sci::SCI_FORMATRANGE, -1, cpMin, nullptr);
        return editor->SendScintilla(Sci::SCI_FORMATRANGE, 1UL, &painter, ToQRect(geometry.rc), cpMin, txtLen);
    };

    LongOperation operation(QStringLiteral("正在打印"));
    operation.SetTotal(std::max(1L, txtLen));
    PrintResult result;
    long position = 0;
    for (;;) {
        operation.SetDone(position);
        if (!operation.Breathe()) {
            printer->abort();
            result = PrintResult::Cancelled(std::move(result.pageStarts));
            break;
        }
        result.pageStarts.push_back(position);
        const long next = formatRange(position);
        if (next >= txtLen)
            break;
        if (next <= position) {
            // Nothing fitted on the page: another page would not help either.
            result = PrintResult::Failure(QStringLiteral("打印区域放不下一行文字，打印已停止。"),
                                          std::move(result.pageStarts));
            printer->abort();
            break;
        }
        position = next;
        if (!printer->newPage()) {
            result = PrintResult::Failure(QStringLiteral("打印机无法开始新的一页。"), std::move(result.pageStarts));
            break;
        }
    }
    painter.end(); // the job goes to the printer

    // Releases the component's formatting data.
    if (m_observer)
        m_observer(Sci::SCI_FORMATRANGE, 0, 0, nullptr);
    editor->SendScintilla(Sci::SCI_FORMATRANGE, 0UL, 0L);

    if (result.ok() && printer->printerState() == QPrinter::Error)
        return PrintResult::Failure(QStringLiteral("打印机报告了一个错误，文档可能没有打印出来。"),
                                    std::move(result.pageStarts));
    return result;
}

namespace {

// The header band above the text: the title on the left, the page number on
// the right, a rule below.
void DrawHeader(QPainter &painter, const QRect &band, const QString &title, int page, int pages)
{
    const QString number = QStringLiteral("第 %1 页，共 %2 页").arg(page).arg(pages);
    const QFontMetrics metrics(painter.font(), painter.device());
    const int numberWidth = metrics.horizontalAdvance(number);
    const QRect titleRect(band.left(), band.top(), band.width() - numberWidth - metrics.averageCharWidth() * 2,
                          metrics.height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(title, Qt::ElideMiddle, titleRect.width()));
    painter.drawText(QRect(band.right() - numberWidth, band.top(), numberWidth + 1, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, number);
    const int ruleY = band.top() + metrics.height() + metrics.height() / 4;
    painter.drawLine(band.left(), ruleY, band.right(), ruleY);
}

// The pages to draw, in order. A printer that makes no copies itself (a
// PDF file, a printer without a spooler that does) gets each copy drawn:
// collated as whole runs, else each page as often as copies are asked.
std::vector<int> PrintOrder(const QPrinter &printer, int first, int last)
{
    const int copies = printer.supportsMultipleCopies() ? 1 : std::clamp(printer.copyCount(), 1, 999);
    std::vector<int> order;
    const bool collate = printer.collateCopies();
    for (int outer = 0; outer < (collate ? copies : 1); ++outer)
        for (int page = first; page <= last; ++page)
            for (int inner = 0; inner < (collate ? 1 : copies); ++inner)
                order.push_back(page);
    return order;
}

} // namespace

// The pages are laid out once without drawing, so that every header knows
// the page count; then the pages in the printer's range are drawn.
PrintResult clsScintilla::PrintTo(QPrinter &printer, const QString &title)
{
    auto *editor = m_editor.data();
    if (!editor)
        return PrintResult::Failure(QStringLiteral("没有可以打印的编辑器。"));
    PageGeometry geometry;
    try {
        geometry = PageGeometry::Compute(PrinterMetrics::Of(printer), OneInch, OneInch, OneInch, OneInch);
    } catch (const RuntimeError &) {
        return PrintResult::Failure(QStringLiteral("无法计算打印页面的大小（数值溢出）。"));
    }
    const PrintColourScope paper(*this);
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintResult::Failure(QStringLiteral("打印机“%1”无法开始打印。").arg(printer.printerName()));
    QFont headerFont(QStringLiteral("Sans Serif"), 9);
    painter.setFont(headerFont);
    const QFontMetrics metrics(painter.font(), painter.device());
    const int band = metrics.height() * 2;
    SciRect textArea = geometry.rc;
    const QRect headerBand(int(textArea.left), int(textArea.top), int(textArea.right - textArea.left),
                           metrics.height());
    textArea.top += band;
    if (textArea.IsEmpty()) {
        printer.abort();
        return PrintResult::Failure(QStringLiteral("页边距太宽，页面上没有可以打印文字的地方。"));
    }

    const long txtLen = GetLen();
    auto formatRange = [&](bool draw, long cpMin) {
        return editor->SendScintilla(Sci::SCI_FORMATRANGE, draw ? 1UL : 0UL, &painter, ToQRect(textArea), cpMin,
                                     txtLen);
    };
    // Laying out the pages counts as much as drawing them.
    LongOperation operation(QStringLiteral("正在打印"));
    const qint64 half = std::max(1L, txtLen);
    operation.SetTotal(2 * half);
    auto stop = [&](std::vector<long> pages) {
        printer.abort();
        painter.end();
        editor->SendScintilla(Sci::SCI_FORMATRANGE, 0UL, 0L);
        return PrintResult::Cancelled(std::move(pages));
    };
    std::vector<long> starts;
    for (long position = 0;;) {
        operation.SetDone(position);
        if (!operation.Breathe())
            return stop({});
        starts.push_back(position);
        const long next = formatRange(false, position);
        if (next >= txtLen)
            break;
        if (next <= position) {
            printer.abort();
            editor->SendScintilla(Sci::SCI_FORMATRANGE, 0UL, 0L);
            return PrintResult::Failure(QStringLiteral("打印区域放不下一行文字，打印已停止。"));
        }
        position = next;
    }
    const int pages = int(starts.size());
    int first = 1, last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pages, std::max(first, printer.toPage()));
    }

    PrintResult result;
    const std::vector<int> order = PrintOrder(printer, first, last);
    for (size_t i = 0; i < order.size(); ++i) {
        const int page = order[i];
        operation.SetDone(half + half * qint64(i) / qint64(order.size()));
        if (!operation.Breathe())
            return stop(std::move(result.pageStarts));
        if (i > 0 && !printer.newPage()) {
            result = PrintResult::Failure(QStringLiteral("打印机无法开始新的一页。"), std::move(result.pageStarts));
            break;
        }
        painter.setFont(headerFont);
        DrawHeader(painter, headerBand, title, page, pages);
        formatRange(true, starts[size_t(page - 1)]);
        result.pageStarts.push_back(starts[size_t(page - 1)]);
    }
    painter.end();
    editor->SendScintilla(Sci::SCI_FORMATRANGE, 0UL, 0L);
    if (result.ok() && printer.printerState() == QPrinter::Error)
        return PrintResult::Failure(QStringLiteral("打印机报告了一个错误，文档可能没有打印出来。"),
                                    std::move(result.pageStarts));
    return result;
}
