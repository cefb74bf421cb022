#include "TestFiles.h"
#include "UnprivilegedScope.h"
#include "platform/SmallFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class SmallFileReaderTest : public ::testing::Test, protected TestFiles
{
};

TEST_F(SmallFileReaderTest, ARegularFileIsReadWholeUpToTheLimit)
{
    const QByteArray bytes = RandomBytes(100, 3);
    const QString path = Write(QStringLiteral("f.bin"), bytes);
    const SmallFileRead whole = ReadSmallFile(path, 100);
    EXPECT_EQ(whole.outcome, SmallFileRead::Done);
    EXPECT_EQ(whole.bytes, bytes);

    const SmallFileRead over = ReadSmallFile(path, 99);
    EXPECT_EQ(over.outcome, SmallFileRead::TooLarge);
    EXPECT_FALSE(over.reason.isEmpty());
    EXPECT_TRUE(over.bytes.isEmpty());

    ASSERT_TRUE(QFile::link(path, Path(QStringLiteral("link.bin"))));
    EXPECT_EQ(ReadSmallFile(Path(QStringLiteral("link.bin")), 1000).bytes, bytes); // links are followed
    EXPECT_EQ(ReadSmallFile(Write(QStringLiteral("empty"), QByteArray()), 10).outcome, SmallFileRead::Done);

    EXPECT_EQ(ReadSmallFile(Path(QStringLiteral("missing")), 10).outcome, SmallFileRead::Missing);
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("missing")), Path(QStringLiteral("dangling"))));
    EXPECT_EQ(ReadSmallFile(Path(QStringLiteral("dangling")), 10).outcome, SmallFileRead::Missing);
}

// A pipe would block the reader, a device or a file under /proc claims a
// size of 0 and may never end.
TEST_F(SmallFileReaderTest, SpecialFilesAreRefusedAndTheSizeTheyClaimIsNotTrusted)
{
    const QString fifo = Path(QStringLiteral("pipe.api"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), Path(QStringLiteral("zero.api"))));
    QDir(dir.path()).mkdir(QStringLiteral("folder.api"));
    for (const char *name : {"pipe.api", "zero.api", "folder.api"}) {
        const SmallFileRead read = ReadSmallFile(Path(QLatin1String(name)), 1 << 20);
        EXPECT_EQ(read.outcome, SmallFileRead::NotRegular) << name;
        EXPECT_EQ(read.reason, QStringLiteral("这不是一个普通文件。")) << name;
    }

    // A regular file whose size reads as 0 but whose text goes on.
    const QString maps = QStringLiteral("/proc/self/maps");
    ASSERT_EQ(QFileInfo(maps).size(), 0);
    EXPECT_EQ(ReadSmallFile(maps, 64).outcome, SmallFileRead::TooLarge);
    const SmallFileRead all = ReadSmallFile(maps, 1 << 24);
    EXPECT_EQ(all.outcome, SmallFileRead::Done);
    EXPECT_TRUE(all.bytes.contains("[stack]"));
}

TEST_F(SmallFileReaderTest, AFileThatMayNotBeReadSaysSo)
{
    const QString path = Write(QStringLiteral("secret"), "no");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFileDevice::ExeOther);
    UnprivilegedScope user;
    ASSERT_TRUE(user.active());
    const SmallFileRead read = ReadSmallFile(path, 10);
    EXPECT_EQ(read.outcome, SmallFileRead::Failed);
    EXPECT_EQ(read.reason, QStringLiteral("没有读取这个文件的权限。"));
}

} // namespace
