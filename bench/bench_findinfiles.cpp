// Find in files over a real tree (/usr/include, or the folder given) against
// grep -rn and grep -rnE with the same file pattern, in the same run: the
// time to the first result and to the last, matches found, and the memory
// the search takes beyond the idle program.
#include "findinfiles/FolderSearch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <cstdio>

namespace {

// A field of /proc/self/status, in kB.
qint64 StatusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

struct Run
{
    double firstMs = -1;
    double lastMs = 0;
    qint64 matches = 0;
    qint64 files = 0;
};

Run Search(const QString &folder, const QString &text, bool regex)
{
    FindInFilesRequest request;
    request.query = TextQuery{text, true, false, regex};
    request.folder = folder;
    request.patterns = QStringLiteral("*.h");
    FolderSearch search(request, {});
    Run run;
    QElapsedTimer clock;
    QEventLoop loop;
    QObject::connect(&search, &FolderSearch::Found, [&](const QList<FileHits> &files) {
        if (run.firstMs < 0 && !files.isEmpty())
            run.firstMs = double(clock.nsecsElapsed()) / 1e6;
        for (const FileHits &file : files)
            run.matches += file.hits.size();
    });
    QObject::connect(&search, &FolderSearch::Finished, &loop, &QEventLoop::quit);
    clock.start();
    search.Start();
    loop.exec();
    run.lastMs = double(clock.nsecsElapsed()) / 1e6;
    run.files = search.Result().filesSearched;
    return run;
}

// grep's time to its last line, and the lines it printed.
std::pair<double, qint64> Grep(const QString &folder, const QString &text, bool regex)
{
    QProcess grep;
    QElapsedTimer clock;
    clock.start();
    grep.start(QStringLiteral("grep"), {regex ? QStringLiteral("-rnE") : QStringLiteral("-rn"),
                                        QStringLiteral("--include=*.h"), text, folder});
    grep.waitForFinished(-1);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    return {ms, grep.readAllStandardOutput().count('\n')};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/usr/include");
    const qint64 idleKb = StatusKb("VmRSS:");
    std::printf("find in files over %s, *.h (best of 3; the first run warms the file cache)\n",
                qPrintable(folder));
    const struct { const char *what; QString text; bool regex; } cases[] = {
        {"literal", QStringLiteral("uint32_t"), false},
        {"regular expression", QStringLiteral("struct [a-z_]+_ops"), true},
    };
    for (const auto &c : cases) {
        Run best;
        double grepBest = 1e18;
        qint64 grepLines = 0;
        for (int i = 0; i < 3; ++i) {
            const Run run = Search(folder, c.text, c.regex);
            if (i == 0 || run.lastMs < best.lastMs)
                best = run;
            const auto [ms, lines] = Grep(folder, c.text, c.regex);
            grepBest = std::min(grepBest, ms);
            grepLines = lines;
        }
        std::printf("  %-18s ours: first %.1f ms, last %.0f ms, %lld matches in %lld files | grep: %.0f ms, %lld lines "
                    "| ratio %.2fx\n",
                    c.what, best.firstMs, best.lastMs, static_cast<long long>(best.matches),
                    static_cast<long long>(best.files), grepBest, static_cast<long long>(grepLines),
                    best.lastMs / grepBest);
    }
    std::printf("  peak memory beyond the idle program: %.1f MB\n", double(StatusKb("VmHWM:") - idleKb) / 1024.0);
    return 0;
}
