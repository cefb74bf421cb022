#include "MainWindowFixture.h"
#include "app/ProgramStart.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The program as a user starts it, with this test's settings, data and
// runtime folders (its environment) and the offscreen platform.
class Program : public QProcess
{
public:
    Program(const QStringList &arguments, const QString &workingDir)
    {
        setProgram(QCoreApplication::applicationDirPath() + "/ferrolan");
        setArguments(arguments);
        setWorkingDirectory(workingDir);
        setProcessChannelMode(QProcess::ForwardedChannels);
        start();
    }
    ~Program() override
    {
        if (state() != QProcess::NotRunning) {
            kill();
            waitForFinished(5000);
        }
    }
    // Waits with the event loop running (the window under test must answer).
    bool Ended(int milliseconds = 20000)
    {
        if (state() == QProcess::NotRunning)
            return true;
        QSignalSpy finished(this, &QProcess::finished);
        return finished.wait(milliseconds);
    }
};

// A socket file with no one behind it, as a program that crashed leaves it.
void LeaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(size_t(name.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo(path).exists());
}

class LaterStartTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        QDir(dir.path()).mkpath("project");
        project = QDir(Path("project"));
    }
    QString InProject(const QString &name) const { return project.filePath(name); }

    const QString serverName = SingleInstance::ServerName();
    QDir project;
};

TEST_F(LaterStartTest, ASecondStartHandsItsFilesToTheRunningWindowAndEnds)
{
    SingleInstance instance;
    ASSERT_TRUE(instance.Listen(serverName));
    Start();
    ProgramStart::ReceiveLaterStarts(instance, *window);
    window->showMinimized();
    Write("project/a.c", "int a;\nint b;\nint c;\n");

    // Relative names as the second start's own working directory means them.
    Program second({"a.c:2:5", "sub/new.txt"}, project.path());
    ASSERT_TRUE(second.Ended());
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    frmDoc *a = window->FindDocument(InProject("a.c"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->sciMain->GetText(), "int a;\nint b;\nint c;\n");
    EXPECT_EQ(a->sciMain->GetCurLine(), 1);
    EXPECT_EQ(a->sciMain->GetColumn(), 4);
    frmDoc *created = window->FindDocument(InProject("sub/new.txt"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(window->ActiveDocument(), created); // the last one in front
    EXPECT_FALSE(window->isMinimized()) << "the running window comes forward";
    EXPECT_EQ(window->Documents().size(), 3);
}

TEST_F(LaterStartTest, ASocketLeftByACrashDoesNotStopTheNextStart)
{
    LeaveStaleSocket(serverName);
    Program first({}, project.path());
    // The first start removed the stale socket and listens: a hand-over
    // reaches it once its window is up.
    bool listening = false;
    for (int tries = 0; tries < 400 && !listening && first.state() != QProcess::NotRunning; ++tries) {
        listening = SingleInstance::HandOver(serverName, project.path(), {}, 20000)
                    == SingleInstance::HandOverResult::Taken;
        if (!listening)
            QTest::qWait(50);
    }
    ASSERT_TRUE(listening);

    Program second({"notes.txt"}, project.path());
    ASSERT_TRUE(second.Ended());
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running) << "the first program took the file and runs on";
}

TEST_F(LaterStartTest, NewInstanceStartsApartAndHandsNothingOver)
{
    SingleInstance instance;
    ASSERT_TRUE(instance.Listen(serverName));
    QSignalSpy arrived(&instance, &SingleInstance::Arrived);
    Program separate({"--new-instance", "x.txt"}, project.path());
    ASSERT_TRUE(separate.waitForStarted());
    EXPECT_FALSE(arrived.wait(1500));
    EXPECT_EQ(separate.state(), QProcess::Running);

    // Without it the same start is handed over (so the wait above could see it).
    Program handed({"x.txt"}, project.path());
    ASSERT_TRUE(arrived.wait(20000));
    EXPECT_EQ(arrived.front().at(1).toStringList(), QStringList{"x.txt"});
    EXPECT_EQ(arrived.front().at(0).toString(), project.path());
}

TEST_F(LaterStartTest, AMessageThatIsNotAStartIsDropped)
{
    SingleInstance instance;
    ASSERT_TRUE(instance.Listen(serverName));
    QSignalSpy arrived(&instance, &SingleInstance::Arrived);

    // A well-formed message of another program (another tag), and a length
    // no command line reaches.
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << QStringLiteral("other-program/1") << QStringLiteral("/") << QStringList{"a"};
    QByteArray foreign(4, '\0');
    qToBigEndian(quint32(payload.size()), foreign.data());
    foreign += payload;
    QByteArray huge(4, '\0');
    qToBigEndian(quint32(1) << 30, huge.data());
    for (const QByteArray &message : {foreign, huge}) {
        QLocalSocket socket;
        socket.connectToServer(serverName);
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(message);
        QSignalSpy closed(&socket, &QLocalSocket::disconnected);
        ASSERT_TRUE(closed.wait(5000));
        EXPECT_EQ(socket.readAll(), QByteArray()) << "no answer";
    }
    EXPECT_TRUE(arrived.isEmpty());

    // The listener still takes a real start.
    Program start({"b.txt"}, project.path());
    ASSERT_TRUE(arrived.wait(20000));
    EXPECT_TRUE(start.Ended());
    EXPECT_EQ(start.exitCode(), 0);
}

} // namespace
