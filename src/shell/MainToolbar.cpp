#include "MainToolbar.h"

#include "MainActions.h"
#include "ToolbarIcons.h"

#include <QAction>
#include <QEvent>

MainToolbar::MainToolbar(MainActions *a, QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("tbToolBar"));
    setIconSize(QSize(16, 16));
    setMovable(false);

    const QList<QList<QAction *>> groups = {
        {a->mnuNew, a->mnuOpen, a->mnuSave, a->mnuPrint},
        {a->mnuCut, a->mnuCopy, a->mnuPaste},
        {a->tbBold, a->tbItalic, a->tbUnderline},
        {a->tbAlignLeft, a->tbAlignCentre, a->tbAlignRight},
    };
    for (const QList<QAction *> &group : groups) {
        if (!actions().isEmpty())
            addSeparator();
        addActions(group);
    }
}

void MainToolbar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        ToolbarIcons::Redraw(actions(), palette());
    QToolBar::changeEvent(event);
}
