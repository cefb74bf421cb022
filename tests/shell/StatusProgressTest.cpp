#include "MainWindowFixture.h"
#include "PdfPrinter.h"
#include "RecordingProgress.h"
#include "editor/BackgroundLoad.h"
#include "editor/clsScintilla.h"
#include "shell/StatusBarPanels.h"
#include "shell/StatusProgress.h"
#include "shell/MainActions.h"
#include "shell/frmDoc.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QDir>
#include <QStatusBar>
#include <QTimer>

namespace {

class StatusProgressTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }

    StatusProgress *Progress() const { return window->stb->findChild<StatusProgress *>(); }

    // Clicks 取消 once the status bar shows `percent` or more; notes the
    // highest percentage seen.
    void StopAt(int percent)
    {
        m_stopAt = percent;
        m_highest = -1;
        m_watch.setInterval(0);
        m_watch.disconnect();
        QObject::connect(&m_watch, &QTimer::timeout, [this] {
            StatusProgress *progress = Progress();
            if (!progress || !progress->isVisible())
                return;
            m_highest = std::max(m_highest, progress->barDone->value());
            if (m_stopAt >= 0 && m_highest >= m_stopAt)
                QTest::mouseClick(progress->cmdStop, Qt::LeftButton);
        });
        m_watch.start();
    }

    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    static QByteArray ManyLines(int count)
    {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "int line" + QByteArray::number(i) + " = " + QByteArray::number(i) + "; // <" +
                    QByteArray::number(i) + ">\n";
        return text;
    }

    int m_stopAt = -1;
    int m_highest = -1;
    QTimer m_watch;
};

// The main window's status bar holds the progress piece, hidden until long
// work shows it: the task, its percentage, and 取消, which stops the work.
TEST_F(StatusProgressTest, ALongSearchShowsItsProgressAndStopsOn取消)
{
    auto *progress = window->stb->findChild<StatusProgress *>();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(ProgressIndicator::Current(), progress);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->cmdStop->text(), QStringLiteral("取消"));

    clsScintilla &sci = *window->ActiveDocument()->sciMain;
    sci.SetTextBytes(QByteArray(400000, 'x') + "needle");
    sci.SetSel(0, 0);
    QuickSlices slices(4096);
    bool shown = false;
    QString task;
    int percent = 0;
    QTimer watch; // looks at the status bar between slices, and clicks 取消 half way
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!progress->isVisible())
            return;
        shown = true;
        task = progress->lblTask->text();
        percent = progress->barDone->value();
        if (percent >= 50)
            QTest::mouseClick(progress->cmdStop, Qt::LeftButton);
    });
    watch.start();

    EXPECT_FALSE(sci.FindText(QStringLiteral("NEEDLE"), vbFalse, vbFalse, vbFalse, vbFalse, vbFalse, vbFalse, vbFalse));
    EXPECT_TRUE(sci.WasStopped());
    EXPECT_TRUE(shown);
    EXPECT_EQ(task, QStringLiteral("正在查找…"));
    EXPECT_GE(percent, 50);
    EXPECT_LT(percent, 100);
    EXPECT_EQ(sci.GetSelEnd(), 0); // nothing selected
    EXPECT_FALSE(progress->isVisible());

    watch.stop(); // left alone, the same search finds it
    EXPECT_TRUE(sci.FindText(QStringLiteral("NEEDLE"), vbFalse, vbFalse, vbFalse, vbFalse, vbFalse, vbFalse, vbFalse));
    EXPECT_FALSE(sci.WasStopped());
    EXPECT_EQ(sci.SelText(), QStringLiteral("needle"));
}

// Taking back a replace-all cannot stop half way: 取消 is not offered.
TEST_F(StatusProgressTest, WorkThatCannotStopOffersNo取消)
{
    auto *progress = window->stb->findChild<StatusProgress *>();
    ASSERT_NE(progress, nullptr);
    LongOperation::Tuning().showAfter = std::chrono::milliseconds(0);
    {
        LongOperation operation(QStringLiteral("正在撤消全部替换"));
        operation.FinishUnstoppable();
        operation.ShowNow();
        EXPECT_TRUE(progress->isVisible());
        EXPECT_FALSE(progress->cmdStop->isEnabled());
        operation.Retitle(QStringLiteral("x"));
        EXPECT_FALSE(progress->cmdStop->isEnabled());
    }
    LongOperation::Tuning() = LongOperation::Timing{};
    LongOperation stoppable(QStringLiteral("正在查找"));
    stoppable.ShowNow();
    EXPECT_TRUE(progress->cmdStop->isEnabled());
    EXPECT_EQ(progress->lblTask->text(), QStringLiteral("正在查找…"));
}

// 取消 during an export: the old page keeps its bytes, nothing is left
// beside it, the status bar says it was cancelled and no box appears; the
// next export writes the page.
TEST_F(StatusProgressTest, AnExportStoppedBy取消KeepsTheOldPage)
{
    Editor().SetTextBytes(ManyLines(20000));
    const QString page = Write(QStringLiteral("page.html"), "old page");
    QuickSlices slices(8192);
    StopAt(60);
    dialogs.Answer(page);
    Actions().mnuExportHTML->trigger();
    EXPECT_GE(m_highest, 60);
    EXPECT_EQ(Read(page), QByteArray("old page"));
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("page.html")});
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("已取消导出为HTML，文件没有写入。"));
    EXPECT_FALSE(Progress()->isVisible());

    StopAt(-1);
    dialogs.Answer(page);
    Actions().mnuExportHTML->trigger();
    EXPECT_GE(m_highest, 99);
    EXPECT_TRUE(Read(page).contains("line19999"));
    EXPECT_TRUE(Read(page).endsWith("</HTML>\r\n"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// 取消 during printing to a PDF file: the old file keeps its bytes and no
// half-written file is left or reported as printed; printed through, the
// file holds every page.
TEST_F(StatusProgressTest, APrintToPdfStoppedBy取消WritesNoFile)
{
    const QString pdf = Path(QStringLiteral("doc.pdf"));
    PdfPrinter printer(pdf);
    Editor().SetTextBytes(ManyLines(4000));
    Write(QStringLiteral("doc.pdf"), "old pdf");
    QuickSlices slices(1);
    StopAt(70);
    Actions().mnuPrint->trigger();
    EXPECT_EQ(printer.dialogsShown, 1);
    EXPECT_GE(m_highest, 70);
    EXPECT_EQ(Read(pdf), QByteArray("old pdf"));
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("doc.pdf")});
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("已取消打印，PDF 文件没有写入。"));

    StopAt(-1);
    Actions().mnuPrint->trigger();
    EXPECT_GT(PdfPrinter::PageCount(pdf), 40);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("doc.pdf")});
    EXPECT_TRUE(boxes.shown.isEmpty());
}

} // namespace

namespace {

// Opening a big file shows its progress in the status bar; 取消 ends the
// open: no window is left for the file, nothing is bound to it, and no
// message box says it failed.
TEST_F(StatusProgressTest, 取消WhileABigFileOpensLeavesNoWindowForIt)
{
    auto *progress = window->stb->findChild<StatusProgress *>();
    ASSERT_NE(progress, nullptr);
    const QString path = Write(QStringLiteral("big.cpp"), QByteArray(30 * 1000 * 1000, 'x'));
    const int windowsBefore = int(window->findChildren<frmDoc *>().size());
    const auto pause = std::exchange(BackgroundLoad::PauseAfterChunk(), std::chrono::milliseconds(20));
    QuickSlices quick(0);
    QString task;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (progress->isVisible() && task.isEmpty()) {
            task = progress->lblTask->text();
            QTest::mouseClick(progress->cmdStop, Qt::LeftButton);
        }
    });
    watch.start();
    frmDoc *doc = window->OpenDocument(path);
    watch.stop();
    BackgroundLoad::PauseAfterChunk() = pause;

    EXPECT_EQ(doc, nullptr);
    EXPECT_EQ(task, QStringLiteral("正在打开“big.cpp”…"));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(window->stb->currentMessage(), QStringLiteral("已取消打开“%1”").arg(path));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(int(window->findChildren<frmDoc *>().size()), windowsBefore);
}

} // namespace
