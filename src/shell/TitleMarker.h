#pragma once

#include <QObject>

class QMdiSubWindow;
class frmDoc;
class frmMain;

// A modified document's window shows " *" after its title until it is
// saved. Only the frame of the document window carries the marker: the
// document's own title (the window list, the close prompt) stays the plain
// name.
class TitleMarker : public QObject
{
    Q_OBJECT

public:
    static const QString Marker;

    explicit TitleMarker(frmMain *main);

private:
    void Follow(QMdiSubWindow *window, frmDoc *doc);
    static void Show(QMdiSubWindow *window, frmDoc *doc);
};
