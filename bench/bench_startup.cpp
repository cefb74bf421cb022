// The real program's start, and a file handed to a program already running.
//   start to first window   from starting the process until it answers on
//                           its single-instance socket, which it does once
//                           its window is up with its files open: with no
//                           file (the bare start-up), 1 file and 20 files
//   hand-over               from starting a second process with a file until
//                           it ends (it ends once the running program has
//                           the file), against `ferrolan --version`, the
//                           bare process start without a window
// Each figure is the median of several runs, the best beside it.
#include "BenchSupport.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

using namespace bench;

namespace {

constexpr int Runs = 7;

QString Program()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ferrolan");
}

struct Figures
{
    double median = 0;
    double best = 0;
};

Figures Of(std::vector<double> seconds)
{
    std::sort(seconds.begin(), seconds.end());
    return {seconds[seconds.size() / 2], seconds.front()};
}

QString Ms(const Figures &f)
{
    return QStringLiteral("%1 ms (best %2 ms)").arg(f.median * 1000, 0, 'f', 1).arg(f.best * 1000, 0, 'f', 1);
}

// Waits until the program behind the socket has its window up; answers the
// seconds since the timer started, or a negative number if it never did.
double UntilWindow(const QProcess &process, const QElapsedTimer &timer)
{
    const QString name = SingleInstance::ServerName();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < 60000) {
        if (SingleInstance::HandOver(name, QStringLiteral("/"), {}) == SingleInstance::HandOverResult::Taken)
            return double(timer.nsecsElapsed()) / 1e9;
        QThread::usleep(500);
    }
    return -1;
}

double StartToWindow(const QStringList &files)
{
    QElapsedTimer timer;
    QProcess process;
    process.setProgram(Program());
    process.setArguments(files);
    timer.start();
    process.start();
    const double seconds = UntilWindow(process, timer);
    process.kill();
    process.waitForFinished();
    if (seconds < 0)
        qFatal("the program did not come up");
    return seconds;
}

double Run(const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(Program(), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("ferrolan %s failed", qPrintable(arguments.join(' ')));
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The programs started here and this one share their folders, none of
    // them the user's; the runtime folder is where the socket lies.
    QTemporaryDir config, data, runtime;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QApplication app(argc, argv); // the socket's name depends on the platform

    QTemporaryDir dir;
    QStringList files;
    for (int n = 0; n < 20; ++n)
        files.append(WriteFile(dir.filePath(QStringLiteral("file%1.cpp").arg(n)), CppLikeText(20000)));

    std::vector<double> bare, one, twenty;
    StartToWindow({}); // the first start also fills the system's caches
    for (int run = 0; run < Runs; ++run) {
        bare.push_back(StartToWindow({}));
        one.push_back(StartToWindow(files.mid(0, 1)));
        twenty.push_back(StartToWindow(files));
    }
    const Figures bareStart = Of(bare);
    Report(QStringLiteral("start to first window, no file (bare start-up)"), Ms(bareStart));
    for (const auto &[label, seconds] : {std::pair{QStringLiteral("1 file"), one}, {QStringLiteral("20 files"), twenty}}) {
        const Figures f = Of(seconds);
        Report(QStringLiteral("start to first window, %1 of 20 KB").arg(label),
               Ms(f) + QStringLiteral(", %1 ms over the bare start-up").arg((f.median - bareStart.median) * 1000, 0, 'f', 1));
    }

    // A running program (it stays up), then second starts that hand it a file.
    QProcess running;
    running.setProgram(Program());
    QElapsedTimer timer;
    timer.start();
    running.start();
    if (UntilWindow(running, timer) < 0)
        qFatal("the program did not come up");
    std::vector<double> handOver, version;
    Run({QStringLiteral("--version")});
    for (int run = 0; run < Runs; ++run) {
        version.push_back(Run({QStringLiteral("--version")}));
        handOver.push_back(Run({dir.filePath(QStringLiteral("handed%1.txt").arg(run))}));
    }
    running.kill();
    running.waitForFinished();
    const Figures bareProcess = Of(version);
    Report(QStringLiteral("bare process start (ferrolan --version)"), Ms(bareProcess));
    Report(QStringLiteral("a file handed to the running program"), Ms(Of(handOver)), QStringLiteral("< 50 ms"));
    return 0;
}
