// A save keeps what the file was: owner, group, mode bits, other names of
// the same data, symbolic links; and refuses what must not be written. Every
// case runs as root and as an ordinary user, since root may write almost
// anything and an ordinary user almost nothing of another's.
#include "SmallFilesystem.h"
#include "TestFiles.h"
#include "UnprivilegedScope.h"
#include "platform/SafeFileWriter.h"
#include "platform/StateFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace {

enum class Runner { Root, OrdinaryUser };

// Somebody else: neither root nor the ordinary user of UnprivilegedScope.
constexpr uid_t Someone = 4321;
constexpr gid_t SomeGroup = 4321;
constexpr uid_t Nobody = 65534;

struct stat Stat(const QString &path)
{
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

class KeepingWhatTheFileWasTest : public ::testing::TestWithParam<Runner>, protected TestFiles
{
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "files of other owners are made by root";
        m_oldState = qgetenv("XDG_STATE_HOME");
        // The ordinary user must reach the folder, and keep spare copies.
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        folder = MakeFolder(QStringLiteral("work"), 0755, Me(), MyGroup());
        const QString state = MakeFolder(QStringLiteral("state"), 0755, Me(), MyGroup());
        qputenv("XDG_STATE_HOME", QFile::encodeName(state));
    }

    void TearDown() override
    {
        if (!m_oldState.isNull())
            qputenv("XDG_STATE_HOME", m_oldState);
    }

    uid_t Me() const { return GetParam() == Runner::Root ? 0 : Nobody; }
    gid_t MyGroup() const { return GetParam() == Runner::Root ? 0 : Nobody; }

    QString MakeFolder(const QString &name, mode_t mode, uid_t owner, gid_t group) const
    {
        const QString path = Path(name);
        QDir().mkpath(path);
        EXPECT_EQ(::chown(QFile::encodeName(path).constData(), owner, group), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        return path;
    }

    // A file made by root, then given its owner and mode.
    QString MakeFile(const QString &name, const QByteArray &bytes, mode_t mode, uid_t owner, gid_t group) const
    {
        const QString path = Write(name, bytes);
        EXPECT_EQ(::chown(QFile::encodeName(path).constData(), owner, group), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        return path;
    }

    // Runs the write as the case's runner.
    FileWriteResult Save(const QString &path, const QByteArray &bytes, bool *inPlace = nullptr) const
    {
        std::optional<UnprivilegedScope> user;
        if (GetParam() == Runner::OrdinaryUser) {
            user.emplace();
            EXPECT_TRUE(user->active());
        }
        SafeFileWriter writer(path);
        if (const FileWriteResult opened = writer.Open(); !opened)
            return opened;
        writer.Write(bytes.left(3));
        writer.Write(bytes.mid(3));
        const FileWriteResult result = writer.Commit();
        if (inPlace)
            *inPlace = writer.WritesInPlace();
        return result;
    }

    static void ExpectOwnerAndMode(const QString &path, uid_t owner, gid_t group, mode_t mode)
    {
        const struct stat info = Stat(path);
        EXPECT_EQ(info.st_uid, owner) << path.toStdString();
        EXPECT_EQ(info.st_gid, group) << path.toStdString();
        EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << (info.st_mode & 07777);
        EXPECT_TRUE(S_ISREG(info.st_mode));
    }

    // Nothing left behind: no temporary file beside it, no spare copy.
    void ExpectNothingLeft(const QString &in, const QStringList &names) const
    {
        EXPECT_EQ(QDir(in).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), names);
        EXPECT_TRUE(QDir(RecoveryFolder() + QStringLiteral("/before-save")).isEmpty(QDir::Files | QDir::Hidden));
    }

    QString folder;

private:
    QByteArray m_oldState;
};

INSTANTIATE_TEST_SUITE_P(AsRootAndAsAnOrdinaryUser, KeepingWhatTheFileWasTest,
                         ::testing::Values(Runner::Root, Runner::OrdinaryUser),
                         [](const auto &info) { return info.param == Runner::Root ? "Root" : "OrdinaryUser"; });

TEST_P(KeepingWhatTheFileWasTest, AnotherOwnersFileKeepsItsOwnerGroupAndMode)
{
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    const QString path = MakeFile(QStringLiteral("work/theirs.txt"), "old text", 0666, Someone, SomeGroup);

    bool inPlace = false;
    ASSERT_TRUE(Save(path, "the new text", &inPlace));
    EXPECT_EQ(Read(path), QByteArray("the new text"));
    ExpectOwnerAndMode(path, Someone, SomeGroup, 0666);
    // Only root can give a new file another owner.
    EXPECT_EQ(inPlace, GetParam() == Runner::OrdinaryUser);
    ExpectNothingLeft(folder, {QStringLiteral("theirs.txt")});
}

TEST_P(KeepingWhatTheFileWasTest, SpecialModeBitsStay)
{
    for (const mode_t mode : {mode_t(02755), mode_t(01644), mode_t(06750), mode_t(0600)}) {
        SCOPED_TRACE(std::to_string(mode));
        const QString path = MakeFile(QStringLiteral("work/tool"), "old", mode, Me(), MyGroup());
        ASSERT_TRUE(Save(path, "#!/bin/sh\nnew\n"));
        EXPECT_EQ(Read(path), QByteArray("#!/bin/sh\nnew\n"));
        ExpectOwnerAndMode(path, Me(), MyGroup(), mode);
        QFile::remove(path);
    }
}

TEST_P(KeepingWhatTheFileWasTest, EveryNameOfTheDataSeesTheNewText)
{
    const QString path = MakeFile(QStringLiteral("work/a.txt"), "shared old text", 0644, Me(), MyGroup());
    const QString other = Path(QStringLiteral("work/b.txt"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    const ino_t inode = Stat(path).st_ino;

    bool inPlace = false;
    ASSERT_TRUE(Save(path, "new", &inPlace));
    EXPECT_TRUE(inPlace);
    EXPECT_EQ(Read(path), QByteArray("new"));
    EXPECT_EQ(Read(other), QByteArray("new"));
    EXPECT_EQ(Stat(path).st_ino, inode);
    EXPECT_EQ(Stat(path).st_nlink, 2u);
    ExpectNothingLeft(folder, {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
}

TEST_P(KeepingWhatTheFileWasTest, ALinkKeepsWorkingAndItsTargetGetsTheText)
{
    MakeFolder(QStringLiteral("work/real"), 0755, Me(), MyGroup());
    const QString target = MakeFile(QStringLiteral("work/real/t.txt"), "old", 0640, Me(), MyGroup());
    const QString near = Path(QStringLiteral("work/near"));
    const QString far = Path(QStringLiteral("work/far"));
    ASSERT_EQ(::symlink("real/t.txt", QFile::encodeName(near).constData()), 0);
    ASSERT_EQ(::symlink("near", QFile::encodeName(far).constData()), 0); // a link to a link

    ASSERT_TRUE(Save(far, "through two links"));
    EXPECT_EQ(Read(target), QByteArray("through two links"));
    EXPECT_TRUE(S_ISLNK(Stat(far).st_mode));
    EXPECT_TRUE(S_ISLNK(Stat(near).st_mode));
    EXPECT_EQ(QFile::symLinkTarget(far), near);
    ExpectOwnerAndMode(target, Me(), MyGroup(), 0640);
}

TEST_P(KeepingWhatTheFileWasTest, ALoopOfLinksIsAnErrorAndStaysALoop)
{
    const QString a = Path(QStringLiteral("work/a"));
    const QString b = Path(QStringLiteral("work/b"));
    ASSERT_EQ(::symlink("b", QFile::encodeName(a).constData()), 0);
    ASSERT_EQ(::symlink("a", QFile::encodeName(b).constData()), 0);

    const FileWriteResult result = Save(a, "text");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, QStringLiteral("这个名字指向一串循环的符号链接，无法保存。"));
    EXPECT_TRUE(S_ISLNK(Stat(a).st_mode));
    EXPECT_TRUE(S_ISLNK(Stat(b).st_mode));
    EXPECT_EQ(SafeFileWriter::Check(a).reason, result.reason);
}

// Root may write any file, but one nobody may write is meant to stay.
TEST_P(KeepingWhatTheFileWasTest, AFileNobodyMayWriteIsRefused)
{
    const QString path = MakeFile(QStringLiteral("work/ro.txt"), "keep me", 0444, Me(), MyGroup());
    const FileWriteResult result = Save(path, "overwritten");
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, QStringLiteral("这个文件是只读的，或者没有写入它的权限。"));
    EXPECT_EQ(Read(path), QByteArray("keep me"));
    ExpectOwnerAndMode(path, Me(), MyGroup(), 0444);
    ExpectNothingLeft(folder, {QStringLiteral("ro.txt")});
}

TEST_P(KeepingWhatTheFileWasTest, AWritableFileInAReadOnlyFolderIsSaved)
{
    const QString sealed = MakeFolder(QStringLiteral("work/sealed"), 0755, Me(), MyGroup());
    const QString path = MakeFile(QStringLiteral("work/sealed/f.txt"), "old text", 0664, Me(), MyGroup());
    ::chmod(QFile::encodeName(sealed).constData(), 0555);

    ASSERT_TRUE(Save(path, "new text"));
    EXPECT_EQ(Read(path), QByteArray("new text"));
    ExpectOwnerAndMode(path, Me(), MyGroup(), 0664);
    ExpectNothingLeft(sealed, {QStringLiteral("f.txt")});
}

// Like /tmp: anyone may make files, only owners may replace them.
TEST_P(KeepingWhatTheFileWasTest, AFileInSomeoneElsesStickyFolderIsSaved)
{
    const QString shared = MakeFolder(QStringLiteral("work/shared"), 01777, Someone, SomeGroup);
    const QString path = MakeFile(QStringLiteral("work/shared/f.txt"), "old text", 0666, Someone + 1, SomeGroup);

    ASSERT_TRUE(Save(path, "new text"));
    EXPECT_EQ(Read(path), QByteArray("new text"));
    ExpectOwnerAndMode(path, Someone + 1, SomeGroup, 0666);
    ExpectNothingLeft(shared, {QStringLiteral("f.txt")});
}

TEST_P(KeepingWhatTheFileWasTest, WhatIsNoRegularFileIsNotWritten)
{
    const QString fifo = Path(QStringLiteral("work/pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    const QString link = Path(QStringLiteral("work/to-pipe"));
    ASSERT_EQ(::symlink("pipe", QFile::encodeName(link).constData()), 0);

    for (const QString &name : {fifo, link}) {
        const FileWriteResult result = Save(name, "text");
        EXPECT_FALSE(result);
        EXPECT_EQ(result.reason, QStringLiteral("这不是一个普通文件（而是设备、管道或套接字），不能写入。"));
    }
    EXPECT_TRUE(S_ISFIFO(Stat(fifo).st_mode));
    EXPECT_TRUE(S_ISLNK(Stat(link).st_mode));
}

// A write in place that runs out of disk half-way gives the file its old
// bytes back from the spare copy.
TEST_P(KeepingWhatTheFileWasTest, AnInPlaceWriteThatFailsHalfWayPutsTheOldBytesBack)
{
    const QString mount = Path(QStringLiteral("work/disk"));
    SmallFilesystem disk(mount, 256);
    if (!disk.mounted())
        GTEST_SKIP() << "no privilege to mount a small file system here";
    ::chown(QFile::encodeName(mount).constData(), Me(), MyGroup());
    const QByteArray old = RandomBytes(40 * 1024, 3);
    const QString path = MakeFile(QStringLiteral("work/disk/a.bin"), old, 0644, Me(), MyGroup());
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(mount + QStringLiteral("/b.bin")).constData()), 0);
    ASSERT_GE(disk.FillLeaving(16 * 1024), 0);

    const FileWriteResult result = Save(path, RandomBytes(200 * 1024, 4));
    EXPECT_FALSE(result);
    EXPECT_EQ(result.reason, QStringLiteral("磁盘空间不足。"));
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(Stat(path).st_nlink, 2u);
    EXPECT_TRUE(QDir(RecoveryFolder() + QStringLiteral("/before-save")).isEmpty(QDir::Files | QDir::Hidden));
}

// No spare copy, no write in place: the file stays as it was.
TEST_P(KeepingWhatTheFileWasTest, WithoutASpareCopyNothingIsWrittenInPlace)
{
    const QString path = MakeFile(QStringLiteral("work/a.txt"), "old", 0644, Me(), MyGroup());
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(Path(QStringLiteral("work/b.txt"))).constData()), 0);
    const QString blocked = Write(QStringLiteral("state-file"), "not a folder");
    qputenv("XDG_STATE_HOME", QFile::encodeName(blocked));

    const FileWriteResult result = Save(path, "new");
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.reason.startsWith(QStringLiteral("这个文件只能在原处改写"))) << result.reason.toStdString();
    EXPECT_EQ(Read(path), QByteArray("old"));
}

} // namespace
