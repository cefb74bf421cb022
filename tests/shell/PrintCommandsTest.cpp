#include "MainWindowFixture.h"
#include "PdfPrinter.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PrintCommandsTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        QByteArray text;
        for (int i = 0; i < 150; ++i)
            text += "// 第 " + QByteArray::number(i) + " 行\n";
        Editor().SetTextBytes(text);
    }
    const QString pdf = Path(QStringLiteral("printed.pdf"));
};

TEST_F(PrintCommandsTest, PrintAsksThroughTheDialogThenPrintsTheChosenPages)
{
    PdfPrinter printer(pdf);
    Actions().mnuPrint->trigger();
    EXPECT_EQ(printer.dialogsShown, 1);
    const int all = PdfPrinter::PageCount(pdf);
    EXPECT_GE(all, 3);
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    printer.fromPage = 2;
    printer.toPage = 2;
    QTest::keyClick(Editor().Editor(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printer.dialogsShown, 2);
    EXPECT_EQ(PdfPrinter::PageCount(pdf), 1);

    QFile::remove(pdf);
    printer.cancelDialog = true;
    Actions().mnuPrint->trigger();
    EXPECT_EQ(printer.dialogsShown, 3);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// No printer installed (as on this machine): the dialog still comes and
// prints to a PDF file.
TEST_F(PrintCommandsTest, WithoutAPrinterTheDialogPrintsToAFile)
{
    PdfPrinter printer(pdf);
    printer.nullPrinter = true;
    Actions().mnuPrint->trigger();
    EXPECT_EQ(printer.dialogsShown, 1);
    EXPECT_GE(PdfPrinter::PageCount(pdf), 3);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(PrintCommandsTest, ThePreviewDrawsThePagesThePrintWould)
{
    PdfPrinter printer(pdf);
    Actions().mnuPrint->trigger();
    const int printed = PdfPrinter::PageCount(pdf);
    QFile::remove(pdf);

    Actions().mnuPrintPreview->trigger();
    EXPECT_EQ(printer.previewsShown, 1);
    EXPECT_EQ(printer.dialogsShown, 1); // no print dialog for a preview
    EXPECT_EQ(PdfPrinter::PageCount(pdf), printed);
}

TEST_F(PrintCommandsTest, AFailedPrintIsExplained)
{
    PdfPrinter printer(Path(QStringLiteral("no-folder/printed.pdf")));
    Actions().mnuPrint->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("打印"));
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("打印失败。")));
}

} // namespace
