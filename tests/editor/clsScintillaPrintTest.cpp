#include "PdfPrinter.h"
#include "RecordingProgress.h"
#include "TestEditorHost.h"
#include "TestFiles.h"
#include "TextRecordingPrinter.h"
#include "editor/PageGeometry.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QPrinter>
#include <algorithm>
#include <memory>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class PrintTest : public ::testing::Test, protected TestFiles
{
protected:
    clsScintilla &sci() { return host.sci(); }

    // Numbered lines, each ending in a line feed when `lastEnds`.
    static QByteArray Lines(int count, bool lastEnds = true)
    {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "line " + QByteArray::number(i) + (i + 1 < count || lastEnds ? "\n" : "");
        return text;
    }

    // How many lines of text fill one page of this printer.
    int LinesPerPage(PdfPrinter &)
    {
        sci().SetTextBytes(Lines(1000));
        const PrintResult probe = sci().PrintDoc();
        EXPECT_TRUE(probe.ok()) << probe.reason.toStdString();
        EXPECT_GT(probe.Pages(), 1);
        return probe.Pages() > 1 ? int(sci().SendEditor(Sci::SCI_LINEFROMPOSITION, probe.pageStarts[1])) : 0;
    }

    TestEditorHost host;
};

// Every page printed through the dialog's path carries the title and its
// number out of the count; the page range prints only its pages, still
// numbered out of the whole document.
TEST_F(PrintTest, EachPageHeaderNamesTheFileAndItsNumberOutOfAll)
{
    sci().SetTextBytes(Lines(300));
    TextRecordingPrinter printer;
    const PrintResult all = sci().PrintTo(printer, QStringLiteral("报告.txt"));
    ASSERT_TRUE(all.ok()) << all.reason.toStdString();
    const int pages = all.Pages();
    ASSERT_GE(pages, 3);
    ASSERT_EQ(printer.Pages().size(), pages);
    for (int page = 1; page <= pages; ++page) {
        const QString text = printer.Pages()[page - 1];
        EXPECT_TRUE(text.startsWith(QStringLiteral("报告.txt"))) << text.left(60).toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("第 %1 页，共 %2 页").arg(page).arg(pages))) << page;
        EXPECT_EQ(text.count(QStringLiteral("页，共")), 1) << page;
    }
    EXPECT_TRUE(printer.Pages()[0].contains(QStringLiteral("line 0")));
    EXPECT_TRUE(printer.Pages().last().contains(QStringLiteral("line 299")));

    TextRecordingPrinter second;
    second.setPrintRange(QPrinter::PageRange);
    second.setFromTo(2, 2);
    const PrintResult one = sci().PrintTo(second, QStringLiteral("报告.txt"));
    ASSERT_TRUE(one.ok()) << one.reason.toStdString();
    ASSERT_EQ(second.Pages().size(), 1);
    EXPECT_TRUE(second.Pages()[0].contains(QStringLiteral("第 2 页，共 %1 页").arg(pages)));
    EXPECT_FALSE(second.Pages()[0].contains(QStringLiteral("line 0")));
}

// The recording printer makes no copies itself (as a PDF file does not), so
// the pages are drawn once per copy: whole runs when collated.
TEST_F(PrintTest, CopiesTheRecordingPrinterCannotMakeAreDrawnCollatedOrNot)
{
    sci().SetTextBytes(Lines(300));
    auto numbers = [](const QStringList &pages) {
        QList<int> found;
        for (const QString &page : pages)
            for (int n = 1; n <= 20; ++n)
                if (page.contains(QStringLiteral("第 %1 页，").arg(n)))
                    found << n;
        return found;
    };
    TextRecordingPrinter collated;
    collated.setPrintRange(QPrinter::PageRange);
    collated.setFromTo(1, 2);
    collated.setCopyCount(2);
    collated.setCollateCopies(true);
    ASSERT_FALSE(collated.supportsMultipleCopies());
    ASSERT_TRUE(sci().PrintTo(collated, QStringLiteral("a")).ok());
    EXPECT_EQ(numbers(collated.Pages()), QList<int>({1, 2, 1, 2}));

    TextRecordingPrinter grouped;
    grouped.setPrintRange(QPrinter::PageRange);
    grouped.setFromTo(1, 2);
    grouped.setCopyCount(3);
    grouped.setCollateCopies(false);
    ASSERT_TRUE(sci().PrintTo(grouped, QStringLiteral("a")).ok());
    EXPECT_EQ(numbers(grouped.Pages()), QList<int>({1, 1, 1, 2, 2, 2}));

    TextRecordingPrinter single;
    single.setPrintRange(QPrinter::PageRange);
    single.setFromTo(2, 2);
    ASSERT_TRUE(sci().PrintTo(single, QStringLiteral("a")).ok());
    EXPECT_EQ(numbers(single.Pages()), QList<int>({2}));
}

TEST_F(PrintTest, AnEmptyDocumentPrintsOnePage)
{
    const QString pdf = Path(QStringLiteral("empty.pdf"));
    PdfPrinter printer(pdf);
    const PrintResult result = sci().PrintDoc();
    ASSERT_TRUE(result.ok()) << result.reason.toStdString();
    EXPECT_EQ(result.Pages(), 1);
    EXPECT_EQ(PdfPrinter::PageCount(pdf), 1);
}

TEST_F(PrintTest, ADocumentEndingAtAPageBoundaryGetsNoExtraPage)
{
    const QString pdf = Path(QStringLiteral("doc.pdf"));
    PdfPrinter printer(pdf);
    const int perPage = LinesPerPage(printer);
    ASSERT_GT(perPage, 10);
    EXPECT_EQ(PdfPrinter::PageCount(pdf), int(1000 / perPage) + (1000 % perPage ? 1 : 0)) << perPage;

    for (bool lastEnds : {false, true}) {
        sci().SetTextBytes(Lines(perPage, lastEnds));
        const PrintResult exact = sci().PrintDoc();
        ASSERT_TRUE(exact.ok());
        EXPECT_EQ(exact.Pages(), 1) << "last line ends: " << lastEnds;
        EXPECT_EQ(PdfPrinter::PageCount(pdf), 1);
    }

    sci().SetTextBytes(Lines(perPage) + "x");
    const PrintResult over = sci().PrintDoc();
    ASSERT_TRUE(over.ok());
    ASSERT_EQ(over.Pages(), 2);
    EXPECT_EQ(over.pageStarts[1], sci().GetLen() - 1); // the one line that did not fit
    EXPECT_EQ(PdfPrinter::PageCount(pdf), 2);
}

TEST_F(PrintTest, AnUnprintableEdgeWiderThanTheMarginBecomesTheMargin)
{
    const QString pdf = Path(QStringLiteral("doc.pdf"));
    int plain = 0;
    {
        PdfPrinter printer(pdf);
        plain = LinesPerPage(printer);
    }
    PdfPrinter printer(pdf, QMarginsF(0.25, 2.5, 0.25, 0.25)); // a 2.5-inch top edge
    std::unique_ptr<QPrinter> probe = printer.DefaultPrinter();
    const PrinterMetrics metrics = PrinterMetrics::Of(*probe);
    EXPECT_EQ(metrics.dpiY, 600);
    EXPECT_EQ(metrics.offY, 1500);
    EXPECT_EQ(metrics.offX, 150);

    // A4 is 11.69 inches high: 9.69 inches of text under one-inch margins,
    // 8.19 under the wide top edge.
    const int wide = LinesPerPage(printer);
    EXPECT_NEAR(double(wide) / plain, 8.19 / 9.69, 0.02) << wide << " of " << plain;
}

TEST_F(PrintTest, PageGeometryKeepsEveryMarginOutsideTheUnprintableEdge)
{
    PrinterMetrics p;
    p.dpiX = p.dpiY = 600;
    p.physW = 4960;
    p.physH = 7016;
    p.offX = 100;  // left edge narrower than an inch
    p.offY = 1500; // top edge of 2.5 inches
    p.horz = 4000; // right edge 860 pixels, wider than an inch
    p.vert = 4916; // bottom edge exactly one inch
    const PageGeometry g = PageGeometry::Compute(p, 1000, 1000, 1000, 1000);
    EXPECT_EQ(g.rc, (SciRect{500, 0, 4000, 4916}));
    EXPECT_EQ(g.rcPage, (SciRect{0, 0, 3999, 4915}));

    // Margins count in thousandths of an inch, rounded to the nearest pixel.
    const PageGeometry half = PageGeometry::Compute(p, 1501, 0, 0, 0);
    EXPECT_EQ(half.rc.left, 901 - 100);
    EXPECT_EQ(half.rc.top, 0);
    EXPECT_EQ(half.rc.right, p.horz);
    EXPECT_EQ(half.rc.bottom, p.vert);

    p.dpiX = 2147483647;
    EXPECT_THROW(PageGeometry::Compute(p, 2000, 1000, 1000, 1000), RuntimeError);
}

TEST_F(PrintTest, MarginsThatLeaveNoRoomEndTheRunWithAReason)
{
    const QString pdf = Path(QStringLiteral("none.pdf"));
    PdfPrinter printer(pdf);
    sci().SetTextBytes(Lines(5));
    const PrintResult squeezed = sci().PrintSCI(sci().sciHwnd, sci().GetLen(), 5000, 1000, 5000, 1000);
    EXPECT_EQ(squeezed.outcome, PrintResult::Failed);
    EXPECT_FALSE(squeezed.reason.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));

    // Room for the margins but not for one line of this size.
    sci().SetStyleSize(Sci::STYLE_DEFAULT, 200);
    sci().SendEditor(Sci::SCI_STYLECLEARALL);
    const PrintResult tall = sci().PrintSCI(sci().sciHwnd, sci().GetLen(), 1000, 5200, 1000, 5200);
    EXPECT_EQ(tall.outcome, PrintResult::Failed) << tall.Pages();
    EXPECT_LE(tall.Pages(), 1);
}

TEST_F(PrintTest, ProblemsWithThePrinterAreReported)
{
    PdfPrinter printer(Path(QStringLiteral("missing-folder/doc.pdf")));
    sci().SetTextBytes("text");
    const PrintResult unwritable = sci().PrintDoc();
    EXPECT_EQ(unwritable.outcome, PrintResult::Failed);
    EXPECT_FALSE(unwritable.reason.isEmpty());

    printer.nullPrinter = true;
    const PrintResult none = sci().PrintDoc();
    EXPECT_EQ(none.outcome, PrintResult::NoPrinter);
    EXPECT_TRUE(none.reason.contains(QStringLiteral("没有找到打印机")));
}

TEST_F(PrintTest, FormattingDataIsReleasedAfterTheLastPage)
{
    PdfPrinter printer(Path(QStringLiteral("doc.pdf")));
    sci().SetTextBytes(Lines(300));
    QList<std::pair<long, long>> formatting;
    sci().ObserveMessages([&](int msg, long wParam, long lParam, const char *) {
        if (msg == Sci::SCI_FORMATRANGE)
            formatting.append({wParam, lParam});
    });
    const PrintResult result = sci().PrintDoc();
    sci().ObserveMessages(nullptr);
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(formatting.size(), result.Pages() + 1);
    for (int i = 0; i < result.Pages(); ++i)
        EXPECT_EQ(formatting[i], (std::pair<long, long>{-1, result.pageStarts[std::size_t(i)]}));
    EXPECT_EQ(formatting.last(), (std::pair<long, long>{0, 0}));
}

// Laying out and drawing show their progress up to the end; stopped while
// laying out, no page is drawn; stopped while drawing, the pages drawn so
// far are named; a print after that prints every page.
TEST_F(PrintTest, APrintShowsItsProgressAndStopsWhenAsked)
{
    PdfPrinter pdf(Path(QStringLiteral("doc.pdf")));
    sci().SetTextBytes(Lines(3000));
    RecordingProgress progress;
    QuickSlices slices(1);

    std::unique_ptr<QPrinter> printer = pdf.DefaultPrinter();
    const PrintResult whole = sci().PrintTo(*printer, QStringLiteral("doc"));
    ASSERT_TRUE(whole.ok()) << whole.reason.toStdString();
    ASSERT_GT(whole.Pages(), 20);
    EXPECT_EQ(progress.tasks, QStringList{QStringLiteral("正在打印")});
    EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));
    EXPECT_GE(progress.percents.size(), std::size_t(whole.Pages()));
    EXPECT_GE(progress.percents.back(), 95);
    EXPECT_FALSE(progress.visible);

    progress.stopAt = 25;
    printer = pdf.DefaultPrinter();
    const PrintResult laidOut = sci().PrintTo(*printer, QStringLiteral("doc"));
    EXPECT_EQ(laidOut.outcome, PrintResult::Stopped);
    EXPECT_EQ(laidOut.Pages(), 0);

    progress.stopAt = 75;
    printer = pdf.DefaultPrinter();
    const PrintResult drawn = sci().PrintTo(*printer, QStringLiteral("doc"));
    EXPECT_EQ(drawn.outcome, PrintResult::Stopped);
    EXPECT_GT(drawn.Pages(), 0);
    EXPECT_LT(drawn.Pages(), whole.Pages());
    EXPECT_FALSE(progress.visible);

    progress.stopAt = -1;
    printer = pdf.DefaultPrinter();
    const PrintResult again = sci().PrintTo(*printer, QStringLiteral("doc"));
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.pageStarts, whole.pageStarts);
    EXPECT_EQ(PdfPrinter::PageCount(Path(QStringLiteral("doc.pdf"))), whole.Pages());
}

} // namespace

namespace {

// The default printer's path shows its progress too and stops where asked,
// naming the pages it drew; the job is given up, and a print after that
// prints every page.
TEST_F(PrintTest, TheDefaultPrinterShowsItsProgressAndStopsWhenAsked)
{
    PdfPrinter pdf(Path(QStringLiteral("doc.pdf")));
    sci().SetTextBytes(Lines(3000));
    RecordingProgress progress;
    QuickSlices slices(1);

    const PrintResult whole = sci().PrintDoc();
    ASSERT_TRUE(whole.ok()) << whole.reason.toStdString();
    ASSERT_GT(whole.Pages(), 20);
    EXPECT_EQ(progress.tasks, QStringList{QStringLiteral("正在打印")});
    EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));
    EXPECT_GE(progress.percents.size(), std::size_t(whole.Pages()));
    EXPECT_FALSE(progress.visible);

    progress.stopAt = 50;
    const PrintResult stopped = sci().PrintDoc();
    EXPECT_EQ(stopped.outcome, PrintResult::Stopped);
    EXPECT_GT(stopped.Pages(), 0);
    EXPECT_LT(stopped.Pages(), whole.Pages());
    EXPECT_FALSE(progress.visible);

    progress.stopAt = -1;
    const PrintResult again = sci().PrintDoc();
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.pageStarts, whole.pageStarts);
    EXPECT_EQ(PdfPrinter::PageCount(Path(QStringLiteral("doc.pdf"))), whole.Pages());
}

} // namespace
