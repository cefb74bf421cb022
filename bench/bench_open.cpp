// Opening a file in the main window as the Open command does: a new document
// window, its editor, the file read in and coloured by the file's language.
//   bench_open    the figures for a 10 MB C++ file, a 10 MB text file and a
//                 small C++ file (where setting up the editor is most of it)
#include "BenchSupport.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QTemporaryDir>

using namespace bench;

namespace {

// Opens the file in a fresh document window and closes the window again;
// answers the seconds the opening took.
double OpenOnce(frmMain &window, const QString &path)
{
    frmDoc *doc = nullptr;
    const double seconds = Seconds([&] { doc = window.OpenDocument(path); });
    if (doc && doc->parentWidget())
        doc->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    PrivateDesktop desktop;
    QApplication app(argc, argv);

    QTemporaryDir dir;
    frmMain window; // the shipped languages beside the program
    window.show();
    QApplication::processEvents();

    for (const char *name : {"doc10.cpp", "doc10.txt"}) {
        const QString path = WriteFile(dir.filePath(QString::fromLatin1(name)), CppLikeText(10 * MB));
        OpenOnce(window, path); // the first open also fills caches (fonts, converters)
        double best = 1e30;
        for (int run = 0; run < 5; ++run)
            best = std::min(best, OpenOnce(window, path));
        Report(QStringLiteral("open a 10 MB file (%1) in a document window").arg(QString::fromLatin1(name)),
               QStringLiteral("%1 s").arg(best, 0, 'f', 3));
    }

    // A small file: the colouring costs nothing, the setting up is all.
    const QString small = WriteFile(dir.filePath(QStringLiteral("small.cpp")), CppLikeText(4000));
    OpenOnce(window, small);
    double best = 1e30;
    for (int run = 0; run < 50; ++run)
        best = std::min(best, OpenOnce(window, small));
    Report(QStringLiteral("open a 4 KB file (small.cpp) in a document window"),
           QStringLiteral("%1 ms").arg(best * 1e3, 0, 'f', 2));
    return 0;
}
