#pragma once

#include "highlight/ColourScheme.h"

#include <QObject>

class QAction;
class QMenu;
class frmMain;

// 视图 → 配色: 自动 / 浅色 / 深色, the languages' colour set. The choice is
// stored, applies to every open document at once (their text, undo history
// and modified state stay), and 自动 follows the desktop's palette while the
// program runs.
class ColourSchemeMenu : public QObject
{
    Q_OBJECT

public:
    ColourSchemeMenu(frmMain *main, QMenu *viewMenu);

    QMenu *const mnuColours;
    QAction *const mnuColoursAuto;
    QAction *const mnuColoursLight;
    QAction *const mnuColoursDark;

    // Takes the choice, stores it and recolours the open documents.
    void Choose(ColourMode mode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *Make(const char *name, const char *caption, ColourMode mode);
    void ShowChoice();
    // Recolours the documents when the colours in use are not the ones
    // they show.
    void Recolour();

    frmMain *m_main;
    bool m_darkShown;
};
