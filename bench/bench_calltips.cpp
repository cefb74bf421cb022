// Call tips from API files with very long lines: loading the file, the "("
// that opens a tip and the "," that moves its highlight, each as a user
// types it, with peak memory.
#include "BenchSupport.h"
#include "subclass/WindowLayer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

using namespace bench;

namespace {

win::LRESULT HostProc(win::HWND, std::int32_t, win::WPARAM, win::LPARAM)
{
    return 0;
}

void TypeChar(clsScintilla &sci, QChar ch)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(sci.Editor(), &press);
    QApplication::processEvents();
}

void Run(const QTemporaryDir &dir, qint64 lineBytes, const QString &label)
{
    const QByteArray api = "Big(" + QByteArray(lineBytes, 'p') + ",b);\nSmall(a, b);\n";
    const QString path = WriteFile(dir.filePath(QStringLiteral("long.api")), api);

    EditorHost host;
    const win::HWND hWnd = win::CreateWindowHandle(&host.window, &HostProc, &host.window);
    host.sci.Attach(&host.window);
    host.sci.ShowCallTips(vbTrue);
    host.window.show();
    host.sci.SetFocus();

    const qint64 before = ResidentBytes();
    const double load = Seconds([&] { Require(host.sci.LoadAPIFile(path)); });
    for (const QChar ch : QStringLiteral("x = Big"))
        TypeChar(host.sci, ch);
    const double open = Seconds([&] { TypeChar(host.sci, QLatin1Char('(')); });
    if (!host.sci.CallTipActive())
        Report(QStringLiteral("API line of %1").arg(label), QStringLiteral("no tip shown"));
    TypeChar(host.sci, QLatin1Char('1'));
    const double comma = Seconds([&] { TypeChar(host.sci, QLatin1Char(',')); });
    for (const QChar ch : QStringLiteral(") + Small"))
        TypeChar(host.sci, ch);
    // A name after the long line: the search reads all of it.
    const double past = Seconds([&] { TypeChar(host.sci, QLatin1Char('(')); });
    const double extra = double(PeakResidentBytes() - before) / double(lineBytes);

    Report(QStringLiteral("API line of %1: LoadAPIFile").arg(label), QStringLiteral("%1 ms").arg(load * 1e3, 0, 'f', 1));
    Report(QStringLiteral("API line of %1: typing \"(\"").arg(label), QStringLiteral("%1 ms").arg(open * 1e3, 0, 'f', 1),
           QStringLiteral("goal < 50 ms"));
    Report(QStringLiteral("API line of %1: typing \",\"").arg(label), QStringLiteral("%1 ms").arg(comma * 1e3, 0, 'f', 1),
           QStringLiteral("goal < 5 ms"));
    Report(QStringLiteral("API line of %1: typing \"(\" for the next entry").arg(label),
           QStringLiteral("%1 ms").arg(past * 1e3, 0, 'f', 1), QStringLiteral("goal < 50 ms"));
    if (lineBytes >= 10 * MB) // smaller runs measure the interface's own start
        Report(QStringLiteral("API line of %1: peak memory added").arg(label),
               QStringLiteral("%1x line size").arg(extra, 0, 'f', 2), QStringLiteral("goal <= 3x"));
    win::DestroyWindow(hWnd);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    Run(dir, 850 * 1000, QStringLiteral("850 KB"));
    Run(dir, 50 * MB, QStringLiteral("50 MB"));
    return 0;
}
