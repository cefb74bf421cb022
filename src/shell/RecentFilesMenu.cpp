#include "RecentFilesMenu.h"

#include "RecentFiles.h"
#include "frmMain.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(frmMain *main, QMenu *menu, QAction *clear)
    : QObject(main), m_main(main), m_menu(menu), m_clear(clear)
{
    connect(menu, &QMenu::aboutToShow, this, &RecentFilesMenu::Fill);
    connect(clear, &QAction::triggered, this, [] { RecentFiles::Clear(); });
    connect(main, &frmMain::FileNamed, this, [](const QString &path) { RecentFiles::Add(path); });
    Fill();
}

void RecentFilesMenu::Fill()
{
    m_menu->clear();
    const QStringList paths = RecentFiles::List();
    for (int i = 0; i < paths.size(); ++i) {
        // "&1" to "&9", then "1&0"; a "&" of the path is no mnemonic.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *item = m_menu->addAction(number + QLatin1Char(' ')
                                          + QString(paths[i]).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setObjectName(QStringLiteral("mnuRecentFile"));
        item->setData(paths[i]);
        item->setEnabled(QFileInfo(paths[i]).isFile());
        connect(item, &QAction::triggered, m_main, [main = m_main, path = paths[i]] { main->OpenFiles(FilesAt({path})); });
    }
    if (paths.isEmpty())
        m_menu->addAction(QStringLiteral("（无）"))->setEnabled(false);
    m_menu->addSeparator();
    m_menu->addAction(m_clear);
    m_clear->setEnabled(!paths.isEmpty());
}
