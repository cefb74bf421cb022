#include "SmallFilesystem.h"
#include "TestFiles.h"
#include "UnprivilegedScope.h"
#include "platform/SafeFileWriter.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

class SafeFileWriterTest : public ::testing::Test, protected TestFiles
{
protected:
    FileWriteResult WriteWhole(const QString &path, const QByteArray &bytes, qint64 piece = 1 << 20)
    {
        SafeFileWriter writer(path);
        if (const FileWriteResult opened = writer.Open(); !opened)
            return opened;
        for (qint64 at = 0; at < bytes.size(); at += piece)
            writer.Write(bytes.constData() + at, std::min(piece, bytes.size() - at));
        return writer.Commit();
    }

};

TEST_F(SafeFileWriterTest, AWholeWriteReplacesTheFileAndAnAbandonedOneLeavesIt)
{
    const QString path = Write(QStringLiteral("f.txt"), "old");
    ASSERT_TRUE(WriteWhole(path, "new bytes", 4));
    EXPECT_EQ(Read(path), QByteArray("new bytes"));

    {
        SafeFileWriter writer(path);
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write(QByteArrayView("never committed")));
    }
    {
        SafeFileWriter writer(path);
        ASSERT_TRUE(writer.Open());
        writer.Write(QByteArrayView("cancelled"));
        writer.Cancel();
        EXPECT_FALSE(writer.Commit());
    }
    EXPECT_EQ(Read(path), QByteArray("new bytes"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("f.txt")});
}

TEST_F(SafeFileWriterTest, WhatCannotBeOpenedSaysWhy)
{
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const FileWriteResult folder = WriteWhole(Path(QStringLiteral("folder")), "x");
    EXPECT_FALSE(folder);
    EXPECT_EQ(folder.reason, QStringLiteral("这个名字已被一个文件夹占用。"));

    const FileWriteResult nowhere = WriteWhole(Path(QStringLiteral("no/such/x.txt")), "x");
    EXPECT_FALSE(nowhere);
    EXPECT_TRUE(nowhere.reason.contains(qt_error_string(ENOENT))) << nowhere.reason.toStdString();
}

// Small, medium and large writes onto a disk that is full or nearly so: each
// fails with the real reason and leaves the old file and nothing else.
TEST_F(SafeFileWriterTest, AFullDiskFailsEveryWriteAndKeepsTheOldFile)
{
    for (const FullDiskCase &c : FullDiskCases) {
        SCOPED_TRACE(c.what);
        const QString mount = Path(QStringLiteral("disk"));
        SmallFilesystem disk(mount, c.diskKiB);
        if (!disk.mounted())
            GTEST_SKIP() << "no privilege to mount a small file system here";
        const QString path = Write(QStringLiteral("disk/doc.txt"), "old content");
        const qint64 free = disk.FillLeaving(c.free);
        ASSERT_GE(free, 0);
        ASSERT_LT(free, c.size);

        for (const qint64 piece : {c.size, qint64(1000)}) {
            const FileWriteResult result = WriteWhole(path, RandomBytes(int(c.size), 5), piece);
            EXPECT_FALSE(result);
            EXPECT_EQ(result.systemError, ENOSPC);
            EXPECT_EQ(result.reason, QStringLiteral("磁盘空间不足。"));
            EXPECT_EQ(Read(path), QByteArray("old content"));
            EXPECT_EQ(QDir(mount).entryList(QDir::Files), QStringList{QStringLiteral("doc.txt")});
            EXPECT_EQ(disk.FreeBytes(), free); // the temporary file is gone
        }
    }
}

// The new file cannot take the old one's place: in a folder with the sticky
// bit, an ordinary user may not replace a file that someone else owns, even
// one they may write.
TEST_F(SafeFileWriterTest, ACommitThatFailsIsReportedAndKeepsTheOldFile)
{
    QDir(dir.path()).mkdir(QStringLiteral("shared"));
    const QString shared = Path(QStringLiteral("shared"));
    const QString path = Write(QStringLiteral("shared/theirs.txt"), "old content");
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFileDevice::ExeOther);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                    | QFileDevice::WriteOther);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);

    UnprivilegedScope user;
    ASSERT_TRUE(user.active());
    SafeFileWriter writer(path);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write(QByteArrayView("new content")));
    const FileWriteResult result = writer.Commit();
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, QStringLiteral("写入时出错（%1）。").arg(qt_error_string(EPERM)));
    EXPECT_EQ(Read(path), QByteArray("old content"));
    EXPECT_EQ(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("theirs.txt")});
}

// A file its owner made read-only stays as it is for everyone, root too
// (root passes every permission check, so only the mode bits can tell);
// a folder without write permission keeps an ordinary user out and lets
// root in, as the system does. Whatever happens, no file is ever cut.
TEST_F(SafeFileWriterTest, ReadOnlyFilesAndFoldersAsRootAndAsAUser)
{
    const QString locked = Write(QStringLiteral("locked.txt"), "old content");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QDir(dir.path()).mkdir(QStringLiteral("ro"));
    const QString inside = Write(QStringLiteral("ro/file.txt"), "old content");
    QFile::setPermissions(inside, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                      | QFileDevice::WriteOther);
    QFile::setPermissions(Path(QStringLiteral("ro")), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                          | QFileDevice::ReadOther | QFileDevice::ExeOther);
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFileDevice::ExeOther);
    const QString readOnlyReason = QStringLiteral("这个文件是只读的。");

    {
        UnprivilegedScope user;
        ASSERT_TRUE(user.active());
        const FileWriteResult file = WriteWhole(locked, "new content");
        EXPECT_FALSE(file);
        EXPECT_EQ(file.reason, readOnlyReason);
        const FileWriteResult folder = WriteWhole(inside, "new content");
        EXPECT_FALSE(folder);
        EXPECT_EQ(folder.reason, QStringLiteral("没有写入这个位置的权限。"));
    }
    EXPECT_EQ(Read(locked), QByteArray("old content"));
    EXPECT_EQ(Read(inside), QByteArray("old content"));

    if (::geteuid() != 0)
        GTEST_SKIP() << "the rest is root's part";
    const FileWriteResult file = WriteWhole(locked, "new content");
    EXPECT_FALSE(file);
    EXPECT_EQ(file.reason, readOnlyReason);
    EXPECT_EQ(Read(locked), QByteArray("old content"));
    EXPECT_TRUE(WriteWhole(inside, "new content"));
    EXPECT_EQ(Read(inside), QByteArray("new content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("locked.txt")});
}

} // namespace
