// A child for the kill test: saves two large documents over one file, one
// after the other, for ever, through the editor's own save. It prints
// "saving" once it is under way, and is meant to die by SIGKILL.
//
// usage: save_in_loop FILE
#include "DocumentPair.h"
#include "TestEditorHost.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[1]);

    TestEditorHost first;
    TestEditorHost second;
    first.sci().SetTextBytes(DocumentPair::First());
    second.sci().SetTextBytes(DocumentPair::Second());
    std::puts("saving");
    std::fflush(stdout);
    for (;;) {
        for (TestEditorHost *host : {&first, &second})
            if (!host->sci().SaveToFile(path).ok())
                return 1;
    }
}
