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

namespace {

// What an open shows of a big file while the rest of it is read.
struct SeenWhileReading
{
    qsizetype length = -1;
    QByteArray text;
    bool enabled = true;
    int firstStyle = 0;
};

SeenWhileReading WatchOpening(frmMain &window, const QString &path, frmDoc *&opened)
{
    SeenWhileReading seen;
    const auto before = window.findChildren<frmDoc *>();
    const auto pause = std::exchange(BackgroundLoad::PauseAfterChunk(), std::chrono::milliseconds(300));
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (frmDoc *doc : window.findChildren<frmDoc *>())
            if (!before.contains(doc) && doc->sciMain && doc->sciMain->IsLoading() && seen.length < 0
                && doc->sciMain->Editor()->isVisible()) {
                clsScintilla &sci = *doc->sciMain;
                seen.length = sci.GetLen();
                seen.text = sci.GetText();
                seen.enabled = sci.Editor()->isEnabled();
                seen.firstStyle = int(sci.SendEditor(QsciScintillaBase::SCI_GETSTYLEAT, 0));
            }
    });
    watch.start();
    opened = window.OpenDocument(path);
    watch.stop();
    BackgroundLoad::PauseAfterChunk() = pause;
    return seen;
}

// A big file's window is up while the file is read, showing the file's
// start coloured by its language, and takes no input until all of it is in.
TEST_F(StatusProgressTest, ABigFilesStartIsShownColouredWhileTheRestIsRead)
{
    const QByteArray text = ManyLines(150000); // about 5 MB
    const QString path = Write(QStringLiteral("big.cpp"), text);
    frmDoc *doc = nullptr;
    const SeenWhileReading seen = WatchOpening(*window, path, doc);

    ASSERT_GT(seen.length, 0) << "the start was shown";
    EXPECT_LE(seen.length, clsScintilla::PreviewBytes);
    EXPECT_TRUE(text.startsWith(seen.text));
    EXPECT_TRUE(seen.text.endsWith('\n')) << "whole lines only";
    EXPECT_FALSE(seen.enabled);
    EXPECT_NE(seen.firstStyle, 0) << "\"int\" is a keyword of the file's language";

    ASSERT_NE(doc, nullptr);
    clsScintilla &sci = *doc->sciMain;
    EXPECT_EQ(sci.GetLen(), text.size());
    EXPECT_TRUE(sci.Editor()->isEnabled());
    EXPECT_FALSE(sci.Modified());
    EXPECT_EQ(sci.SendEditor(QsciScintillaBase::SCI_CANUNDO), 0);
    EXPECT_EQ(int(window->findChildren<frmDoc *>().count(doc)), 1);
}

// Text that may not be UTF-8 is not guessed at: nothing shows before the
// whole file is read and its encoding decided.
TEST_F(StatusProgressTest, ABigFileInALegacyEncodingShowsOnlyWhenRead)
{
    QByteArray text;
    while (text.size() < 5 * 1000 * 1000)
        text += "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7 hello\n"; // 你好，世界 in GB18030
    const QString path = Write(QStringLiteral("big.txt"), text);
    frmDoc *doc = nullptr;
    const SeenWhileReading seen = WatchOpening(*window, path, doc);

    EXPECT_EQ(seen.length, 0);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->sciMain->Encoding().Name(), QStringLiteral("GB18030"));
    EXPECT_TRUE(doc->sciMain->GetText().startsWith("\xE4\xBD\xA0\xE5\xA5\xBD")); // 你好 in UTF-8
}

} // namespace
