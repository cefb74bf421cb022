// Loading, typing in and saving large documents, against the bare component.
//   bench_text            all figures for 1, 10 and 100 MB
//   bench_text --peak N   (internal) peak memory of loading N MB in this process
#include "BenchSupport.h"
#include "editor/clsScintilla.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <Qsci/qsciscintillabase.h>
#include <memory>

using Sci = QsciScintillaBase;
using namespace bench;

namespace {

// The floor: the component alone, fed 1 MiB appends with no change reports
// and no undo history.
void LoadBare(const QString &path)
{
    QsciScintillaBase editor;
    editor.SendScintilla(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    editor.SendScintilla(Sci::SCI_SETMODEVENTMASK, 0L);
    editor.SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0L);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QByteArray chunk(1 << 20, '\0');
    qint64 got;
    while ((got = file.read(chunk.data(), chunk.size())) > 0)
        editor.SendScintilla(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(got), chunk.data());
}

double TypingSecondsPerChar(clsScintilla &sci, long position)
{
    sci.SetSel(position, position);
    auto type = [&](int count) {
        for (int i = 0; i < count; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(sci.Editor(), &press);
            QApplication::processEvents();
        }
    };
    type(20); // the first edit after a jump moves the component's gap once
    constexpr int measured = 200;
    return Seconds([&] { type(measured); }) / measured;
}

int PeakMode(qint64 megabytes, const QString &path)
{
    EditorHost host;
    const qint64 before = ResidentBytes();
    Require(host.sci.LoadFile(path));
    const double ratio = double(PeakResidentBytes() - before) / double(megabytes * MB);
    std::printf("%.3f\n", ratio);
    return 0;
}

QString PeakOf(qint64 megabytes, const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--peak"), QString::number(megabytes), path});
    child.waitForFinished(-1);
    return QString::fromLatin1(child.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--peak"))
        return PeakMode(args[2].toLongLong(), args[3]);

    QTemporaryDir dir;
    for (const qint64 megabytes : {1, 10, 100}) {
        const QString path =
            WriteFile(dir.filePath(QStringLiteral("doc%1.cpp").arg(megabytes)), CppLikeText(megabytes * MB));
        const double floor = BestOf(3, [&] { LoadBare(path); });
        const double load = BestOf(3, [&] {
            EditorHost host;
            Require(host.sci.LoadFile(path));
        });
        Report(QStringLiteral("load %1 MB: bare component (floor)").arg(megabytes), QStringLiteral("%1 s").arg(floor, 0, 'f', 3));
        Report(QStringLiteral("load %1 MB: LoadFile").arg(megabytes),
               QStringLiteral("%1 s (%2x)").arg(load, 0, 'f', 3).arg(load / floor, 0, 'f', 2), QStringLiteral("goal <= 1.2x floor"));
    }

    const QString big = dir.filePath(QStringLiteral("doc100.cpp"));
    Report(QStringLiteral("peak memory loading 100 MB: LoadFile"), PeakOf(100, big) + QStringLiteral("x file size"),
           QStringLiteral("goal <= 2.6x"));

    EditorHost host;
    host.window.show();
    Require(host.sci.LoadFile(big));
    const double nearEnd = TypingSecondsPerChar(host.sci, host.sci.GetLen() - 100);
    const double nearStart = TypingSecondsPerChar(host.sci, 100);
    Report(QStringLiteral("typing one character near the end of 100 MB"), QStringLiteral("%1 ms").arg(nearEnd * 1e3, 0, 'f', 3),
           QStringLiteral("goal < 1 ms"));
    Report(QStringLiteral("typing one character near the start of 100 MB"), QStringLiteral("%1 ms").arg(nearStart * 1e3, 0, 'f', 3),
           QStringLiteral("goal < 1 ms"));

    const QString saved = dir.filePath(QStringLiteral("saved.cpp"));
    const double save = BestOf(3, [&] { Require(host.sci.SaveToFile(saved)); });
    Report(QStringLiteral("SaveToFile of 100 MB"), QStringLiteral("%1 s").arg(save, 0, 'f', 3));
    return 0;
}
