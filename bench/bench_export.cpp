// HTML export: the export of a coloured 10 MB and 100 MB C++ document, and
// a whole file-to-page run (start, load, colour, export, as one process)
// against GNU source-highlight, pygments and highlight on the same file.
//   bench_export                          all figures
//   bench_export --file-to-page IN OUT    (internal) one file-to-page run
#include "BenchSupport.h"
#include "editor/clsScintilla.h"
#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace bench;

namespace {

QString HighlighterDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters");
}

// What the program does from the Open command to the written page.
int FileToPage(const QString &in, const QString &out)
{
    LoadHighlighters(HighlighterDir());
    EditorHost host;
    if (!host.sci.LoadFile(in).ok())
        return 2;
    ApplyHighlighter(host.sci, HighlighterForFile(in));
    const FileIoResult result = ExportHtml(out, host.sci);
    if (!result.ok())
        std::fprintf(stderr, "%s\n", qPrintable(result.reason));
    return result.ok() ? 0 : 1;
}

void ExportFigures(const QString &dir)
{
    EditorHost host;
    ApplyHighlighter(host.sci, QStringLiteral("CPP"));
    for (const qint64 size : {10 * MB, 100 * MB}) {
        host.sci.SetTextBytes(CppLikeText(size));
        host.sci.Colourise();
        const QString page = QDir(dir).filePath(QStringLiteral("page.html"));
        bool ok = true;
        const double seconds = BestOf(3, [&] { ok = ExportHtml(page, host.sci).ok() && ok; });
        const QString name = QStringLiteral("export of a coloured %1 MB C++ document").arg(size / MB);
        if (!ok) {
            Report(name, QStringLiteral("FAILED"));
            continue;
        }
        Report(name, QStringLiteral("%1 s, %2 MB/s").arg(seconds, 0, 'f', 3).arg(double(size) / MB / seconds, 0, 'f', 0),
               QStringLiteral("goal >= 200 MB/s"));
        const qint64 pageSize = QFileInfo(page).size();
        Report(QStringLiteral("  page size"), QStringLiteral("%1 MB").arg(double(pageSize) / MB, 0, 'f', 1));

        // The two floors under the export: reading the styles back through
        // the component's messages, and writing a file of the page's size.
        std::vector<char> styled(2 * 65536 + 2);
        const long length = host.sci.GetLen();
        const double reading = BestOf(3, [&] {
            for (long start = 0; start < length; start += 65536)
                host.sci.GetStyledText(start, std::min(length, start + 65536), styled.data());
        });
        Report(QStringLiteral("  floor: styles read back (SCI_GETSTYLEDTEXT)"), QStringLiteral("%1 s").arg(reading, 0, 'f', 3));
        QFile::remove(page);
        const QByteArray filler(pageSize, 'x');
        const double writing = BestOf(3, [&] {
            QSaveFile file(page);
            file.open(QIODevice::WriteOnly);
            file.write(filler);
            file.commit();
        });
        Report(QStringLiteral("  floor: writing %1 MB through QSaveFile").arg(double(pageSize) / MB, 0, 'f', 0),
               QStringLiteral("%1 s").arg(writing, 0, 'f', 3));
        QFile::remove(page);
    }
    host.sci.SetTextBytes(QByteArray());
}

struct Tool
{
    QString name;
    QString program;
    QStringList arguments; // {in} and {out} replaced
};

QString Find(const QString &program)
{
    // Debian's own copy before anything a user put on the path.
    const QString system = QStandardPaths::findExecutable(program, {QStringLiteral("/usr/bin")});
    return system.isEmpty() ? QStandardPaths::findExecutable(program) : system;
}

// Wall-clock seconds of a process run, best of `runs`; negative on failure.
double ProcessSeconds(const QString &program, const QStringList &arguments, int runs)
{
    bool ok = true;
    const double seconds = BestOf(runs, [&] {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, arguments);
        ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && ok;
    });
    return ok ? seconds : -1;
}

void FileToPageFigures(const QString &dir)
{
    const QString in = WriteFile(QDir(dir).filePath(QStringLiteral("sample.cpp")), CppLikeText(10 * MB));
    const QString out = QDir(dir).filePath(QStringLiteral("sample.html"));
    constexpr int runs = 2;

    const double ours = ProcessSeconds(QCoreApplication::applicationFilePath(),
                                       {QStringLiteral("--file-to-page"), in, out}, runs);
    Report(QStringLiteral("file to page, 10 MB C++: ferrolan"),
           ours < 0 ? QStringLiteral("FAILED") : QStringLiteral("%1 s").arg(ours, 0, 'f', 3));

    const QList<Tool> tools = {
        {QStringLiteral("GNU source-highlight"), QStringLiteral("source-highlight"),
         {"-s", "cpp", "-f", "html", "-i", "{in}", "-o", "{out}"}},
        {QStringLiteral("pygments"), QStringLiteral("pygmentize"), {"-l", "cpp", "-f", "html", "-O", "full", "-o", "{out}", "{in}"}},
        {QStringLiteral("highlight"), QStringLiteral("highlight"),
         {"-S", "cpp", "-O", "html", "--include-style", "-i", "{in}", "-o", "{out}"}},
    };
    double fastest = -1;
    QString fastestName;
    for (const Tool &tool : tools) {
        const QString program = Find(tool.program);
        const QString name = QStringLiteral("file to page, 10 MB C++: ") + tool.name;
        if (program.isEmpty()) {
            Report(name, QStringLiteral("skipped"), QStringLiteral("(%1 is not installed)").arg(tool.program));
            continue;
        }
        QStringList arguments;
        for (QString argument : tool.arguments)
            arguments << argument.replace(QStringLiteral("{in}"), in).replace(QStringLiteral("{out}"), out + QStringLiteral(".tool.html"));
        const double seconds = ProcessSeconds(program, arguments, runs);
        Report(name, seconds < 0 ? QStringLiteral("FAILED") : QStringLiteral("%1 s").arg(seconds, 0, 'f', 3));
        if (seconds > 0 && (fastest < 0 || seconds < fastest)) {
            fastest = seconds;
            fastestName = tool.name;
        }
    }
    if (ours > 0 && fastest > 0)
        Report(QStringLiteral("  ferrolan against the fastest (%1)").arg(fastestName),
               QStringLiteral("%1x faster").arg(fastest / ours, 0, 'f', 1), QStringLiteral("goal >= 15x"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--file-to-page"))
        return FileToPage(arguments[2], arguments[3]);

    LoadHighlighters(HighlighterDir());
    QTemporaryDir dir;
    ExportFigures(dir.path());
    FileToPageFigures(dir.path());
    return 0;
}
