#include "TitleMarker.h"

#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "frmMain.h"

#include <QMdiSubWindow>
#include <QPointer>

const QString TitleMarker::Marker = QStringLiteral(" *");

TitleMarker::TitleMarker(frmMain *main)
    : QObject(main)
{
    connect(main, &frmMain::DocumentOpened, this, &TitleMarker::Follow);
}

// The frame copies the document's title whenever it changes; the marker is
// put back right after.
void TitleMarker::Follow(QMdiSubWindow *window, frmDoc *doc)
{
    if (!doc->sciMain)
        return;
    const QPointer<QMdiSubWindow> frame(window);
    auto show = [frame, doc] {
        if (frame)
            Show(frame, doc);
    };
    clsScintilla *sci = doc->sciMain.get();
    connect(sci, &clsScintilla::SavePointLeft, window, show);
    connect(sci, &clsScintilla::SavePointReached, window, show);
    connect(sci, &clsScintilla::EncodingChanged, window, show); // a conversion is a change
    connect(doc, &QWidget::windowTitleChanged, window, show);
    Show(window, doc);
}

void TitleMarker::Show(QMdiSubWindow *window, frmDoc *doc)
{
    const bool modified = doc->sciMain && doc->sciMain->Modified();
    window->setWindowTitle(doc->windowTitle() + (modified ? Marker : QString()));
}
