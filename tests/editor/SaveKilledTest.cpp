#include "DocumentPair.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Whether the stopped process holds a file in the folder other than the
// document: the temporary file of a save under way (unnamed on Linux, so
// only its descriptor shows it).
bool SavingIn(qint64 pid, const QString &folder, const QString &document)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t length = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), target, sizeof target);
        const QString path = length > 0 ? QFile::decodeName(QByteArray(target, int(length))) : QString();
        if (path.startsWith(folder + QLatin1Char('/')) && path != document)
            return true;
    }
    return false;
}

class SaveKilledTest : public ::testing::Test, protected TestFiles
{
};

// A save killed with SIGKILL at any moment (a crash, the power switch of a
// process) leaves the file whole: the old bytes or the new, never a mix or a
// cut. A child saves two large documents over one file in turn; it is killed
// at random moments, and the file is looked at after each.
TEST_F(SaveKilledTest, TheFileIsAlwaysTheOldOrTheNewWhole)
{
    const QString path = Write(QStringLiteral("doc.txt"), DocumentPair::First());
    const QString child = QCoreApplication::applicationDirPath() + QStringLiteral("/save_in_loop");
    QRandomGenerator random(20);
    int killedMidSave = 0;
    for (int run = 0; run < 12; ++run) {
        QProcess saver;
        saver.start(child, {path});
        ASSERT_TRUE(saver.waitForReadyRead(60000)) << "the child did not start: " << saver.errorString().toStdString();
        QThread::msleep(random.bounded(50, 600));
        ::kill(pid_t(saver.processId()), SIGSTOP); // holds it where it is, to look
        killedMidSave += SavingIn(saver.processId(), dir.path(), path);
        saver.kill(); // SIGKILL
        ASSERT_TRUE(saver.waitForFinished(10000));
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << "the child stopped saving: " << saver.exitCode();

        const QByteArray bytes = Read(path);
        EXPECT_TRUE(bytes == DocumentPair::First() || bytes == DocumentPair::Second())
            << "run " << run << ": " << bytes.size() << " bytes, neither document";
    }
    // Nothing is left beside it, but for one case: a kill in the instant
    // between giving the finished new file a name and renaming it over the
    // old one leaves that new file, whole, under its temporary name.
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden)) {
        if (name == QStringLiteral("doc.txt"))
            continue;
        const QByteArray bytes = Read(dir.filePath(name));
        EXPECT_TRUE(name.startsWith(QStringLiteral("doc.txt.")) && name.size() == 14
                    && (bytes == DocumentPair::First() || bytes == DocumentPair::Second()))
            << "left beside the file: " << name.toStdString() << ", " << bytes.size() << " bytes";
    }
    // Without kills inside a save this proved nothing.
    EXPECT_GT(killedMidSave, 0);
}

} // namespace
