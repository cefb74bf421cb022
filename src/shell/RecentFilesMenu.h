#pragma once

#include <QObject>

class QAction;
class QMenu;
class frmMain;

// File, "最近打开的文件": the recent files (RecentFiles) as items that open
// them, newest first; a file that is gone shows greyed. The list follows
// every file the main window opens or saves under a new name.
class RecentFilesMenu : public QObject
{
    Q_OBJECT

public:
    RecentFilesMenu(frmMain *main, QMenu *menu, QAction *clear);

    // Builds the items; runs whenever the submenu is about to show.
    void Fill();

private:
    frmMain *m_main;
    QMenu *m_menu;
    QAction *m_clear;
};
