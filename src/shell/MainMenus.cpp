#include "MainMenus.h"

#include "MainActions.h"
#include "editor/TextEncoding.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

// A menu of the menu bar with these items; nullptr stands for a separator.
QMenu *AddTopMenu(QMainWindow *window, const char *name, const char *caption, std::initializer_list<QAction *> items)
{
    QMenu *menu = window->menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    for (QAction *item : items) {
        if (item)
            menu->addAction(item);
        else
            menu->addSeparator();
    }
    return menu;
}

QMenu *AddSubmenu(QMenu *parent, const char *name, const char *caption)
{
    auto *menu = new QMenu(QString::fromUtf8(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(menu->objectName());
    return menu;
}

} // namespace

MainMenus::MainMenus(QMainWindow *window, MainActions *a)
    : QObject(window),
      mnuFile(AddTopMenu(window, "mnuFile", "文件(&F)",
                         {a->mnuNew, a->mnuOpen, a->mnuReload, nullptr, a->mnuSave, a->mnuSaveAs, a->mnuSaveAll,
                          a->mnuExportHTML, nullptr, a->mnuClose, a->mnuCloseAll, nullptr, a->mnuPrint, a->mnuPrintPreview,
                          nullptr, a->mnuReloadQuietly, a->mnuRestoreSession, nullptr, a->mnuExit})),
      mnuRecentFiles(AddSubmenu(mnuFile, "mnuRecentFiles", "最近打开的文件(&R)")),
      // Reading a file again as another encoding and converting a document
      // are two commands, so that one is never taken for the other.
      mnuReopenEncoding(AddEncodingMenu(a, "mnuReopenEncoding", "以其他编码重新打开", TextEncoding::MenuGroups(TextEncoding::Menu::Reopen),
                                        &MainMenus::ReopenEncodingChosen)),
      mnuConvertEncoding(AddEncodingMenu(a, "mnuConvertEncoding", "转换编码", TextEncoding::MenuGroups(TextEncoding::Menu::Convert),
                                         &MainMenus::ConvertEncodingChosen)),
      mnuEdit(AddTopMenu(window, "mnuEdit", "编辑(&E)",
                         {a->mnuUndo, a->mnuRedo, nullptr, a->mnuCut, a->mnuCopy, a->mnuPaste, nullptr, a->mnuSelAll,
                          nullptr, a->mnuSyntax, nullptr, a->mnuTimeDate})),
      mnuSearch(AddTopMenu(window, "mnuSearch", "搜索(&S)",
                           {a->mnuFind, a->mnuReplace, nullptr, a->mnuFindNext, a->mnuFindPrevious, nullptr,
                            a->mnuGoto, nullptr, a->mnuFindInFiles, a->mnuNextHit, a->mnuPreviousHit})),
      mnuHighlighters(AddTopMenu(window, "mnuHighlighters", "高亮(&L)", {})),
      mnuWindows(AddTopMenu(window, "mnuWindows", "窗口(&W)",
                            {a->mnuHor, a->mnuVertical, a->mnuArrange, a->mnuCascade, nullptr})),
      mnuWindowList(AddSubmenu(mnuWindows, "mnuWindowList", "窗口列表(&W)")),
      mnuHelp(AddTopMenu(window, "mnuHelp", "帮助(&H)", {a->help, nullptr, a->sj, a->zy, a->mnuAbout})),
      m_actions(a)
{
    // The recent files follow Open.
    const QList<QAction *> fileItems = mnuFile->actions();
    mnuFile->insertMenu(fileItems.value(fileItems.indexOf(a->mnuOpen) + 1), mnuRecentFiles);
    // The two encoding submenus sit between Save as and a separator.
    mnuFile->insertMenu(a->mnuExportHTML, mnuReopenEncoding);
    mnuFile->insertMenu(a->mnuExportHTML, mnuConvertEncoding);
    mnuFile->insertSeparator(a->mnuExportHTML);
    mnuWindows->addMenu(mnuWindowList);
    AddMenu(QStringLiteral("高亮语法"), QString(), 0);
}

// A submenu of the File menu, the encodings in groups (Unicode, 中文, ...);
// the whole submenu needs a document.
QMenu *MainMenus::AddEncodingMenu(MainActions *actions, const char *name, const char *caption,
                                  const QList<EncodingGroup> &groups, void (MainMenus::*chosen)(const QString &))
{
    QMenu *menu = AddSubmenu(mnuFile, name, caption);
    actions->needsDocument->addAction(menu->menuAction());
    auto *marks = new QActionGroup(menu); // one current encoding: radio marks
    marks->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    AddEncodingItems(menu, groups, marks, chosen);
    return menu;
}

void MainMenus::AddEncodingItems(QMenu *menu, const QList<EncodingGroup> &groups, QActionGroup *marks,
                                 void (MainMenus::*chosen)(const QString &))
{
    for (const EncodingGroup &group : groups) {
        QMenu *submenu = menu->addMenu(group.title);
        AddEncodingItems(submenu, group.groups, marks, chosen);
        for (const TextEncoding &encoding : group.encodings) {
            QAction *item = submenu->addAction(encoding.Name());
            item->setData(encoding.Name());
            item->setCheckable(true);
            marks->addAction(item);
            connect(item, &QAction::triggered, this, [this, chosen, encodingName = encoding.Name()] {
                emit(this->*chosen)(encodingName);
            });
        }
    }
}

void MainMenus::AddMenu(const QString &sCaption, const QString &sTag, int iIndex)
{
    if (iIndex < 0)
        return;
    while (m_highlighterItems.size() <= iIndex) {
        const int index = int(m_highlighterItems.size());
        QAction *item = mnuHighlighters->addAction(QString());
        item->setObjectName(QStringLiteral("mnuHighlighter"));
        item->setVisible(false);
        item->setCheckable(true); // the active document's language
        m_actions->needsDocument->addAction(item);
        connect(item, &QAction::triggered, this, [this, index] { emit HighlighterChosen(index); });
        m_highlighterItems.append(item);
    }
    QAction *item = m_highlighterItems.at(iIndex);
    item->setText(QString(sCaption).replace(QLatin1Char('&'), QStringLiteral("&&"))); // a name, not a mnemonic
    item->setVisible(true);
    item->setEnabled(true); // as far as the item goes: the group decides while no document is open
    item->setData(sTag);
}
