// Documents and their files on disk: other programs rewriting, appending,
// replacing and deleting them while they are open, the prompt about it, a
// save that meets a change, and 文件 → 重新载入.
#include "MainWindowFixture.h"
#include "recovery/DiskChangeGuard.h"
#include "recovery/FileStamp.h"
#include "editor/TextEncoding.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int WatchTimeoutMs = 5000;

class DiskChangeTest : public MainWindowFixture
{
protected:
    frmDoc *OpenFile(const QString &name, const QByteArray &bytes)
    {
        Start();
        return window->OpenDocument(Write(name, bytes));
    }

    // Another program writing the file where it is.
    static void Overwrite(const QString &path, const QByteArray &bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(mode));
        file.write(bytes);
    }

    // Another program saving by writing a new file and renaming it over.
    void ReplaceByRename(const QString &path, const QByteArray &bytes)
    {
        const QString fresh = Write(QStringLiteral("fresh.tmp"), bytes);
        ASSERT_EQ(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()), 0);
    }

    bool WaitForText(const QByteArray &expected)
    {
        return QTest::qWaitFor([&] { return Editor().Text() == expected; }, WatchTimeoutMs);
    }

    bool WaitForBoxes(int count)
    {
        return QTest::qWaitFor([&] { return boxes.shown.size() >= count; }, WatchTimeoutMs);
    }

    // Another program writing the file where it is, leaving its time stamp
    // as it was to the nanosecond (a write within the clock's tick).
    static void OverwriteKeepingTime(const QString &path, const QByteArray &bytes)
    {
        struct stat before = {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
        Overwrite(path, bytes);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }

    // Lets any late report of the watcher arrive.
    static void Settle() { QTest::qWait(400); }
};

// An unmodified document follows its file, however the file changes, and
// keeps following it after the file was replaced.
TEST_F(DiskChangeTest, UnmodifiedDocumentFollowsItsFileQuietly)
{
    const QString path = Path(QStringLiteral("a.txt"));
    OpenFile(QStringLiteral("a.txt"), "first\n");

    Overwrite(path, "second, longer\n");
    EXPECT_TRUE(WaitForText("second, longer\n"));
    Overwrite(path, "appended\n", QIODevice::Append);
    EXPECT_TRUE(WaitForText("second, longer\nappended\n"));
    ReplaceByRename(path, "renamed over\n");
    EXPECT_TRUE(WaitForText("renamed over\n"));
    ReplaceByRename(path, "and again\n"); // the watch came back after the rename
    EXPECT_TRUE(WaitForText("and again\n"));

    EXPECT_FALSE(Editor().Modified());
    Settle();
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// Another window holds the user (a dialog, a prompt): the reload waits for
// it to close.
TEST_F(DiskChangeTest, NoReloadWhileAnotherWindowHoldsTheUser)
{
    const QString path = Path(QStringLiteral("w.txt"));
    OpenFile(QStringLiteral("w.txt"), "before\n");
    QDialog blocker(window.get());
    blocker.setModal(true);
    blocker.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &blocker);

    Overwrite(path, "after\n");
    Settle();
    EXPECT_EQ(Editor().Text(), QByteArray("before\n"));
    blocker.close();
    EXPECT_TRUE(WaitForText("after\n"));
}

// Same size, same time stamp: only the content tells (a write in the same
// second as the read).
TEST_F(DiskChangeTest, RewriteThatKeepsSizeAndTimeIsStillNoticed)
{
    const QString path = Path(QStringLiteral("a.txt"));
    OpenFile(QStringLiteral("a.txt"), "abc\n");
    OverwriteKeepingTime(path, "xyz\n");
    window->DiskGuard()->Check(&Editor());

    EXPECT_EQ(Editor().Text(), QByteArray("xyz\n"));
}

TEST_F(DiskChangeTest, ModifiedDocumentAsksWithThreeAnswersNamingTheFile)
{
    const QString path = Path(QStringLiteral("b.txt"));
    OpenFile(QStringLiteral("b.txt"), "disk\n");
    Editor().SetText(QStringLiteral("mine\n"));

    boxes.Answer(QMessageBox::Cancel);
    Overwrite(path, "theirs\n");
    ASSERT_TRUE(WaitForBoxes(1));
    const auto &asked = boxes.shown.first();
    EXPECT_TRUE(asked.text.contains(QFileInfo(path).absoluteFilePath()));
    QStringList captions;
    for (const ButtonCaption &caption : asked.captions)
        captions << caption.caption;
    EXPECT_EQ(captions, (QStringList{QStringLiteral("重新载入"), QStringLiteral("保留我的版本"), QStringLiteral("取消")}));
    EXPECT_EQ(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    // 取消: nothing changes, and that change is not asked about again (the
    // window's activation after the box closes included); the next one is.
    Settle();
    window->DiskGuard()->Check(&Editor());
    EXPECT_EQ(Editor().Text(), QByteArray("mine\n"));
    EXPECT_EQ(boxes.shown.size(), 1); // one prompt for one change
    boxes.Answer(QMessageBox::No);
    Overwrite(path, "theirs, second\n");
    ASSERT_TRUE(WaitForBoxes(2));

    // 保留我的版本: the document stays, modified, and this change is not
    // asked about again.
    EXPECT_EQ(Editor().Text(), QByteArray("mine\n"));
    EXPECT_TRUE(Editor().Modified());
    window->DiskGuard()->Check(&Editor());
    EXPECT_EQ(boxes.shown.size(), 2);

    // 重新载入 on the next change: the file's text, not modified.
    boxes.Answer(QMessageBox::Yes);
    Overwrite(path, "theirs again\n");
    EXPECT_TRUE(WaitForText("theirs again\n"));
    EXPECT_FALSE(Editor().Modified());
    EXPECT_EQ(boxes.shown.size(), 3);
}

// A modified document is never reloaded behind the user's back, whether the
// file is replaced or deleted.
TEST_F(DiskChangeTest, ModifiedDocumentSurvivesReplacementAndDeletion)
{
    const QString path = Path(QStringLiteral("m.txt"));
    OpenFile(QStringLiteral("m.txt"), "disk\n");
    Editor().SetText(QStringLiteral("mine\n"));

    boxes.Answer(QMessageBox::No); // 保留我的版本
    ReplaceByRename(path, "renamed over\n");
    ASSERT_TRUE(WaitForBoxes(1));
    EXPECT_EQ(boxes.shown.first().captions.size(), 3);

    // Modified already: nothing to tell when the file goes.
    ASSERT_TRUE(QFile::remove(path));
    Settle();
    EXPECT_EQ(Editor().Text(), QByteArray("mine\n"));
    EXPECT_TRUE(Editor().Modified());
    EXPECT_EQ(boxes.shown.size(), 1);

    // A file made again later (nothing left to watch but the folder) is a
    // change like any other.
    boxes.Answer(QMessageBox::No);
    Overwrite(path, "back again\n");
    ASSERT_TRUE(WaitForBoxes(2));
    ASSERT_TRUE(window->SaveDoc(Active()));
    EXPECT_EQ(Read(path), QByteArray("mine\n"));
    EXPECT_EQ(boxes.shown.size(), 2);
}

// Switched off in the File menu, and so for the next start as well.
TEST_F(DiskChangeTest, UnmodifiedDocumentAsksWhenQuietReloadIsOff)
{
    Start();
    ASSERT_TRUE(Actions().mnuReloadQuietly->isChecked());
    Actions().mnuReloadQuietly->trigger();
    const QString path = Path(QStringLiteral("c.txt"));
    OpenFile(QStringLiteral("c.txt"), "disk\n");
    EXPECT_FALSE(Actions().mnuReloadQuietly->isChecked());

    boxes.Answer(QMessageBox::Yes);
    Overwrite(path, "changed\n");
    EXPECT_TRUE(WaitForText("changed\n"));
    EXPECT_EQ(boxes.shown.size(), 1);
}

// The text exists only in the window now: it stays, counts as modified, and
// Save puts the file back.
TEST_F(DiskChangeTest, DeletedFileKeepsTheDocumentOpenAndModified)
{
    const QString path = Path(QStringLiteral("d.txt"));
    OpenFile(QStringLiteral("d.txt"), "keep me\n");
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_TRUE(QTest::qWaitFor([&] { return Editor().Modified(); }, WatchTimeoutMs));
    Settle();
    EXPECT_EQ(boxes.shown.size(), 1); // told once
    EXPECT_EQ(Editor().Text(), QByteArray("keep me\n"));
    ASSERT_EQ(window->Documents().size(), 2);

    ASSERT_TRUE(window->SaveDoc(Active()));
    EXPECT_EQ(Read(path), QByteArray("keep me\n"));
    EXPECT_FALSE(Editor().Modified());
}

TEST_F(DiskChangeTest, SaveOverAChangedFileAsksFirst)
{
    DiskChangeGuard::SetReloadsQuietly(false);
    const QString path = Path(QStringLiteral("e.txt"));
    OpenFile(QStringLiteral("e.txt"), "disk\n");
    Editor().SetText(QStringLiteral("mine\n"));
    boxes.Answer(QMessageBox::Cancel); // the watcher's prompt: not now
    Overwrite(path, "theirs\n");
    ASSERT_TRUE(WaitForBoxes(1));

    boxes.Answer(QMessageBox::No);
    EXPECT_FALSE(window->SaveDoc(Active()));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(boxes.shown.last().text.contains(QStringLiteral("覆盖")));
    EXPECT_EQ(Read(path), QByteArray("theirs\n"));

    boxes.Answer(QMessageBox::Yes);
    EXPECT_TRUE(window->SaveDoc(Active()));
    EXPECT_EQ(Read(path), QByteArray("mine\n"));

    // Our own save is no change from outside.
    Settle();
    EXPECT_TRUE(window->SaveDoc(Active()));
    EXPECT_EQ(boxes.shown.size(), 3);
}

// 文件 → 重新载入 reads the file in the document's encoding (GB18030 for
// plain ASCII, which detection would never pick) and leaves the caret on
// its line.
TEST_F(DiskChangeTest, ReloadKeepsEncodingAndCaretLineAndAsksWhenModified)
{
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    const TextEncoding gb = *TextEncoding::FromName(QStringLiteral("GB18030"));
    const QString path = Write(QStringLiteral("gb.txt"), text);
    DiskChangeGuard::SetReloadsQuietly(false);
    Start();
    frmDoc *doc = window->OpenDocument(path);
    ASSERT_TRUE(window->ReopenDocument(doc, gb));
    Editor().GotoLine(25);

    Editor().ReplaceSel(QStringLiteral("x"));
    boxes.Answer(QMessageBox::No);
    Actions().mnuReload->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(Editor().Modified()); // declined: nothing read

    boxes.Answer(QMessageBox::Yes);
    Actions().mnuReload->trigger();
    EXPECT_EQ(Editor().Text(), text);
    EXPECT_FALSE(Editor().Modified());
    EXPECT_EQ(Editor().Encoding(), gb);
    EXPECT_EQ(Editor().GetCurLine(), 25);
}

} // namespace

namespace {

// The same for a big file, whose content is compared on a thread of its own.
TEST_F(DiskChangeTest, RewriteOfABigFileThatKeepsSizeAndTimeIsStillNoticed)
{
    QByteArray before;
    while (before.size() < FileStamp::AsideFrom + 1000)
        before += "a line of a big file\n";
    QByteArray after = before;
    after[after.size() / 2] = 'X';
    const QString path = Path(QStringLiteral("big.txt"));
    OpenFile(QStringLiteral("big.txt"), before);
    OverwriteKeepingTime(path, after);
    window->DiskGuard()->Check(&Editor());

    EXPECT_TRUE(Editor().Text() == after);
}

} // namespace
