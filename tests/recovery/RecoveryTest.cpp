// Backups of unsaved documents and recovering them after a crash: when they
// are written and removed, a recovery folder that cannot be written, sets of
// running instances left alone, and a real kill -9 of a running editor.
#include "MainWindowFixture.h"
#include "recovery/DocumentBackups.h"
#include "recovery/RecoveryPrompt.h"
#include "recovery/frmRecover.h"
#include "editor/TextEncoding.h"
#include "platform/StateFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QStringEncoder>
#include <QTest>
#include <iostream>

namespace {

constexpr int WaitMs = 10000;

class ScriptedRecoveryPrompt : public SeamDouble<RecoveryPrompt>
{
public:
    Answer answer = Answer::Later;
    QList<QList<RecoverableDocument>> asked;

    Answer Ask(QWidget *, const QList<RecoverableDocument> &documents) override
    {
        asked.append(documents);
        return answer;
    }
};

QStringList SetFolders()
{
    return QDir(RecoveryFolder()).entryList({QStringLiteral("set-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

class RecoveryTest : public MainWindowFixture
{
protected:
    frmMain &StartQuick()
    {
        Start();
        window->Backups()->SetDelays(50, 5000);
        return *window;
    }

    QString BackupOf(int id) const
    {
        return window->Backups()->Store().SetFolder() + QStringLiteral("/%1.text").arg(id);
    }

    // The backup with this text is on disk.
    bool WaitForBackup(int id, const QByteArray &text)
    {
        return QTest::qWaitFor(
            [&] {
                window->Backups()->Store().WaitForWrites();
                return Read(BackupOf(id)) == text;
            },
            WaitMs);
    }

    bool WaitForNoBackup(int id)
    {
        return QTest::qWaitFor(
            [&] {
                window->Backups()->Store().WaitForWrites();
                return !QFileInfo::exists(BackupOf(id));
            },
            WaitMs);
    }

    ScriptedRecoveryPrompt recovery;
};

TEST_F(RecoveryTest, BackupFollowsTypingAndGoesOnSaveCloseAndExit)
{
    StartQuick();
    Editor().ReplaceSel(QStringLiteral("未保存的文字"));
    ASSERT_TRUE(WaitForBackup(1, QStringLiteral("未保存的文字").toUtf8()));
    Editor().ReplaceSel(QStringLiteral("+"));
    ASSERT_TRUE(WaitForBackup(1, QStringLiteral("未保存的文字+").toUtf8()));

    // Saved: gone.
    dialogs.Answer(Path(QStringLiteral("saved.txt")));
    ASSERT_TRUE(window->SaveDoc(Active()));
    EXPECT_TRUE(WaitForNoBackup(1));

    // Closed without saving: gone.
    frmDoc *other = window->OpenDocument(QStringLiteral("新建文档"));
    Editor().ReplaceSel(QStringLiteral("throwaway"));
    ASSERT_TRUE(WaitForBackup(2, "throwaway"));
    boxes.Answer(QMessageBox::No);
    other->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_TRUE(WaitForNoBackup(2));

    // A normal exit leaves no set behind.
    window->OpenDocument(QStringLiteral("新建文档"));
    Editor().ReplaceSel(QStringLiteral("at exit"));
    ASSERT_TRUE(WaitForBackup(3, "at exit"));
    ASSERT_EQ(SetFolders().size(), 1);
    boxes.Answer(QMessageBox::No);
    window->close();
    EXPECT_TRUE(SetFolders().isEmpty());
}

// A backup asked for while the last one is still being written (or waits
// to be) holds off instead of copying the text a second time; it is taken
// after a pause.
TEST_F(RecoveryTest, ABackupWaitsForTheOneStillBeingWritten)
{
    StartQuick();
    window->Backups()->SetDelays(200, 5000);
    // A big document's backup goes first: the small one's waits behind it.
    clsScintilla &big = Editor();
    big.SetTextBytes(QByteArray("short line\n").repeated(6 << 20)); // 66 MB
    big.ReplaceSel(QStringLiteral("big"));
    window->OpenDocument(QStringLiteral("新建文档"));
    window->Backups()->BackUp(&big);
    Editor().ReplaceSel(QStringLiteral("a"));
    window->Backups()->BackUp(&Editor());
    Editor().ReplaceSel(QStringLiteral("b"));
    window->Backups()->BackUp(&Editor());
    window->Backups()->Store().WaitForWrites();
    EXPECT_EQ(Read(BackupOf(2)), "a") << "the second waited";
    EXPECT_TRUE(WaitForBackup(2, "ab"));
}

// Typing that never pauses is still backed up, at the longest wait.
TEST_F(RecoveryTest, TypingWithoutPauseIsBackedUpAtTheLongestWait)
{
    Start();
    window->Backups()->SetDelays(60000, 300);
    QElapsedTimer typing;
    typing.start();
    bool backedUp = false;
    while (!backedUp && typing.elapsed() < 3000) {
        Editor().ReplaceSel(QStringLiteral("x"));
        QTest::qWait(40);
        window->Backups()->Store().WaitForWrites();
        backedUp = QFileInfo::exists(BackupOf(1));
    }
    EXPECT_TRUE(backedUp);
}

// No backups can be made: the user hears of it once and goes on editing.
TEST_F(RecoveryTest, UnwritableRecoveryFolderIsReportedOnceAndEditingGoesOn)
{
    QDir().mkpath(QFileInfo(StateFolder()).path());
    QDir(StateFolder()).removeRecursively(); // what earlier tests in this process left
    Write(QStringLiteral("blocker"), "a file where the folder should be");
    ASSERT_TRUE(QFile::copy(Path(QStringLiteral("blocker")), StateFolder()));

    StartQuick();
    Editor().ReplaceSel(QStringLiteral("one"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.shown.size() == 1; }, WaitMs));
    EXPECT_TRUE(boxes.shown.first().text.contains(QStringLiteral("备份")));
    Editor().ReplaceSel(QStringLiteral(" two"));
    QTest::qWait(300);
    Editor().ReplaceSel(QStringLiteral(" three"));
    QTest::qWait(300);
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(Editor().Text(), QByteArray("one two three"));
    QFile::remove(StateFolder());
}

// Another instance's backups are its own while it runs.
TEST_F(RecoveryTest, SetsOfRunningInstancesAreNotOffered)
{
    BackupStore otherInstance;
    otherInstance.Save(1, "theirs", BackupInfo{QString(), QStringLiteral("新建文档 1"), QStringLiteral("UTF-8"),
                                              QDateTime::currentDateTime(), 6});
    otherInstance.WaitForWrites();
    ASSERT_EQ(SetFolders().size(), 1);

    recovery.answer = RecoveryPrompt::Answer::Discard;
    Start();
    QTest::qWait(100); // the offer at start
    EXPECT_TRUE(recovery.asked.isEmpty());
    EXPECT_EQ(SetFolders().size(), 1);
    otherInstance.RemoveAll();
}

// The child side of the crash test: a real editor types into two files and
// waits, backed up, to be killed.
TEST_F(RecoveryTest, CrashChild)
{
    const QByteArray state = qgetenv("FERROLAN_CRASH_STATE");
    if (state.isEmpty())
        GTEST_SKIP() << "runs only as the child of CrashedEditorIsRecoveredByteForByte";
    qputenv("XDG_STATE_HOME", state);
    StartQuick();
    for (const auto &[name, encoding] : {std::pair{"FERROLAN_CRASH_GB", "GB18030"}, std::pair{"FERROLAN_CRASH_UTF8", "UTF-8"}}) {
        frmDoc *doc = window->OpenDocument(QString::fromLocal8Bit(qgetenv(name)));
        ASSERT_NE(doc, nullptr);
        ASSERT_TRUE(window->ReopenDocument(doc, *TextEncoding::FromName(QString::fromLatin1(encoding))));
        Editor().SetSel(0, Editor().GetLen());
        Editor().ReplaceSel(QString::fromUtf8(qgetenv("FERROLAN_CRASH_TEXT")) + QString::fromLocal8Bit(name));
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            window->Backups()->Store().WaitForWrites();
            return QFileInfo::exists(BackupOf(2)) && QFileInfo::exists(BackupOf(3))
                   && Read(window->Backups()->Store().SetFolder() + QStringLiteral("/index.json")).contains("UTF-8");
        },
        WaitMs));
    std::cout << "BACKED-UP" << std::endl;
    QTest::qWait(60000); // killed long before
}

TEST_F(RecoveryTest, CrashedEditorIsRecoveredByteForByte)
{
    const QString text = QStringLiteral("恢复的文字：汉字、標點與符號「」\n第二行 ¥€\n");
    const QString gbPath = Write(QStringLiteral("gb.txt"), QStringEncoder("GB18030").encode(QStringLiteral("旧的内容\n")));
    const QString utf8Path = Write(QStringLiteral("utf8.txt"), QStringLiteral("旧的内容 ✓\n").toUtf8());
    QDir().mkpath(RecoveryFolder());

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FERROLAN_CRASH_STATE"), qEnvironmentVariable("XDG_STATE_HOME"));
    environment.insert(QStringLiteral("FERROLAN_CRASH_GB"), gbPath);
    environment.insert(QStringLiteral("FERROLAN_CRASH_UTF8"), utf8Path);
    environment.insert(QStringLiteral("FERROLAN_CRASH_TEXT"), text);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=RecoveryTest.CrashChild")});
    ASSERT_TRUE(child.waitForStarted());
    QByteArray output;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            child.waitForReadyRead(100);
            output += child.readAllStandardOutput();
            return output.contains("BACKED-UP") || child.state() == QProcess::NotRunning;
        },
        60000));
    ASSERT_TRUE(output.contains("BACKED-UP")) << output.constData();
    child.kill(); // SIGKILL: no chance to tidy up
    ASSERT_TRUE(child.waitForFinished());
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);

    recovery.answer = RecoveryPrompt::Answer::Recover;
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Documents().size() == 3; }, WaitMs));
    ASSERT_EQ(recovery.asked.size(), 1);
    EXPECT_EQ(recovery.asked.first().size(), 2);

    const QList<frmDoc *> documents = window->Documents();
    struct Expected
    {
        QString path;
        const char *encoding;
        QByteArray bytes;
    };
    const Expected expected[] = {
        {gbPath, "GB18030", QStringEncoder("GB18030").encode(text + QStringLiteral("FERROLAN_CRASH_GB"))},
        {utf8Path, "UTF-8", (text + QStringLiteral("FERROLAN_CRASH_UTF8")).toUtf8()},
    };
    for (int i = 0; i < 2; ++i) {
        frmDoc *doc = documents[i + 1];
        EXPECT_EQ(doc->strFile, expected[i].path);
        EXPECT_TRUE(doc->sciMain->Modified());
        EXPECT_EQ(doc->sciMain->Encoding().Name(), TextEncoding::FromName(QString::fromLatin1(expected[i].encoding))->Name());
        ASSERT_TRUE(window->SaveDoc(doc));
        EXPECT_EQ(Read(expected[i].path), expected[i].bytes) << expected[i].encoding;
    }
    // Recovered: the crashed run's set is gone.
    EXPECT_TRUE(QTest::qWaitFor([&] { return SetFolders().size() <= 1; }, WaitMs));
}

TEST_F(RecoveryTest, LaterKeepsTheBackupsAndDiscardRemovesThem)
{
    {
        // A run that died: its lock names a process that no longer exists.
        const QString folder = RecoveryFolder() + QStringLiteral("/set-dead");
        QDir().mkpath(folder);
        QFile(folder + QStringLiteral("/1.text")).open(QIODevice::WriteOnly);
        QFile index(folder + QStringLiteral("/index.json"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(BackupStore::IndexBytes({{1, BackupInfo{QString(), QStringLiteral("新建文档 1"),
                                                          QStringLiteral("UTF-8"), QDateTime::currentDateTime(), 0}}}));
        QFile lock(folder + QStringLiteral("/lock"));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("999999999\nferrolan\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    recovery.answer = RecoveryPrompt::Answer::Later;
    Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recovery.asked.size() == 1; }, WaitMs));
    EXPECT_EQ(recovery.asked.first().first().info.title, QStringLiteral("新建文档 1"));
    EXPECT_EQ(SetFolders(), QStringList{QStringLiteral("set-dead")});

    recovery.answer = RecoveryPrompt::Answer::Discard;
    window->OfferRecovery();
    EXPECT_EQ(recovery.asked.size(), 2);
    EXPECT_TRUE(SetFolders().isEmpty());
    EXPECT_EQ(window->Documents().size(), 1);
}

// The dialog itself: one row per document, and the button pressed is the
// answer.
TEST(RecoveryDialogTest, ListsNameTimeAndSizeAndAnswersByItsButtons)
{
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6));
    const QList<RecoverableDocument> documents{
        {BackupInfo{QStringLiteral("/home/u/a.cpp"), QStringLiteral("/home/u/a.cpp"), QStringLiteral("UTF-8"), when, 2048},
         QString()},
        {BackupInfo{QString(), QStringLiteral("新建文档 3"), QStringLiteral("GB18030"), when, 10}, QString()}};
    for (const auto &[caption, answer] : {std::pair{"恢复", RecoveryPrompt::Answer::Recover},
                                          std::pair{"丢弃", RecoveryPrompt::Answer::Discard},
                                          std::pair{"以后再说", RecoveryPrompt::Answer::Later}}) {
        frmRecover dialog(nullptr, documents);
        auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("lstDocuments"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("/home/u/a.cpp"));
        EXPECT_EQ(list->topLevelItem(1)->text(0), QStringLiteral("新建文档 3"));
        EXPECT_EQ(list->topLevelItem(0)->text(1), QLocale().toString(when, QLocale::ShortFormat));
        EXPECT_EQ(list->topLevelItem(0)->text(2), QLocale().formattedDataSize(2048));
        QPushButton *button = nullptr;
        for (QPushButton *candidate : dialog.findChildren<QPushButton *>())
            if (candidate->text() == QString::fromUtf8(caption))
                button = candidate;
        ASSERT_NE(button, nullptr) << caption;
        button->click();
        EXPECT_EQ(dialog.Choice(), answer) << caption;
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

} // namespace
