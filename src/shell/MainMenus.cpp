#include "MainMenus.h"

#include "editor/TextEncoding.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

MainMenus::MainMenus(QMainWindow *window)
    : QObject(window), m_window(window)
{
    AddTopMenu("mnuFile", "文件(&F)",
               {{"mnuNew", "新建文档(&N)", "Ctrl+N"},
                {"mnuOpen", "打开文件(&O)", "Ctrl+O"},
                {"mnuSep0", nullptr, nullptr},
                {"mnuSave", "保存文档(&S)", "Ctrl+S"},
                {"mnuSaveAs", "另存为(&A)....", "Ctrl+F12"},
                {"mnuSep9", nullptr, nullptr},
                {"mnuExportHTML", "导出为HTML(&D)", nullptr},
                {"mnuSep5", nullptr, nullptr},
                {"mnuPrint", "打印(&P)", "Ctrl+P"},
                {"mnuSep6", nullptr, nullptr},
                {"mnuExit", "退出(&E)", nullptr}});
    // Reading a file again as another encoding and converting a document are
    // two commands, so that one is never taken for the other.
    AddEncodingMenu("mnuReopenEncoding", "以其他编码重新打开", TextEncoding::MenuGroups(TextEncoding::Menu::Reopen),
                    &MainMenus::ReopenEncodingChosen);
    AddEncodingMenu("mnuConvertEncoding", "转换编码", TextEncoding::MenuGroups(TextEncoding::Menu::Convert),
                    &MainMenus::ConvertEncodingChosen);
    AddTopMenu("mnuEdit", "编辑(&E)",
               {{"mnuUndo", "撤消(&U)", "Ctrl+Z"},
                {"mnuRedo", "重做(&R)", "Ctrl+Y"},
                {"mnuSep1", nullptr, nullptr},
                {"mnuCut", "剪切(&T)", "Ctrl+X"},
                {"mnuCopy", "复制(&C)", "Ctrl+C"},
                {"mnuPaste", "粘贴(&P)", "Ctrl+V"},
                {"mnuSep4", nullptr, nullptr},
                {"mnuSelAll", "全选(&A)", nullptr},
                {"mnuSep7", nullptr, nullptr},
                {"mnuSyntax", "语法设置(&S)", nullptr},
                {"mnuSep10", nullptr, nullptr},
                {"mnuTimeDate", "日期时间(&T)", nullptr}});
    AddTopMenu("mnuSearch", "搜索(&S)",
               {{"mnuFind", "查找(&F)", "Ctrl+F"},
                {"mnuReplace", "替换(&R)", "Ctrl+H"},
                {"mnuSep3", nullptr, nullptr},
                {"mnuFindNext", "查找下一个(&N)", "F3"},
                {"mnuFindPrevious", "查找上一个", "Ctrl+F3"},
                {"mnuSep2", nullptr, nullptr},
                {"mnuGoto", "转到(&G)", "Ctrl+G"}});
    AddHighlighterMenu();
    AddTopMenu("mnuWindows", "窗口(&W)",
               {{"mnuHor", "水平平铺(&H)", nullptr},
                {"mnuVertical", "垂直平铺(&V)", nullptr},
                {"mnuArrange", "排列图标(&A)", nullptr},
                {"mnuCascade", "层叠(&C)", nullptr},
                {"mnuSep8", nullptr, nullptr}});
    QMenu *windowList = m_menus.value(QStringLiteral("mnuWindows"))->addMenu(QStringLiteral("窗口列表(&W)"));
    windowList->setObjectName(QStringLiteral("mnuWindowList"));
    m_menus.insert(windowList->objectName(), windowList);
    AddTopMenu("mnuHelp", "帮助(&H)",
               {{"help", "发行与帮助手册(&F)", nullptr},
                {"h", nullptr, nullptr},
                {"sj", "升级(&S)", nullptr},
                {"zy", "Ferrolan主页(&Z)", nullptr},
                {"mnuAbout", "关于(&A)", nullptr}});
}

QMenu *MainMenus::AddTopMenu(const char *name, const char *caption, std::initializer_list<Entry> entries)
{
    QMenu *menu = m_window->menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    m_menus.insert(menu->objectName(), menu);
    for (const Entry &entry : entries) {
        QAction *item = entry.caption ? menu->addAction(QString::fromUtf8(entry.caption)) : menu->addSeparator();
        item->setObjectName(QString::fromLatin1(entry.name));
        if (entry.shortcut)
            item->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        m_items.insert(item->objectName(), item);
    }
    return menu;
}

// A submenu of the File menu after Save as, one submenu per group of
// encodings. One action group spans them all: one current encoding.
void MainMenus::AddEncodingMenu(const char *name, const char *caption, const QList<EncodingGroup> &groups,
                                void (MainMenus::*chosen)(const QString &))
{
    QMenu *file = Menu(QStringLiteral("mnuFile"));
    auto *menu = new QMenu(QString::fromUtf8(caption), file);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(menu->objectName());
    file->insertMenu(Item(QStringLiteral("mnuSep9")), menu);
    m_menus.insert(menu->objectName(), menu);
    m_items.insert(menu->objectName(), menu->menuAction());
    auto *marks = new QActionGroup(menu);
    marks->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    AddEncodingItems(menu, groups, marks, chosen);
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

void MainMenus::AddHighlighterMenu()
{
    QMenu *menu = m_window->menuBar()->addMenu(QStringLiteral("高亮(&L)"));
    menu->setObjectName(QStringLiteral("mnuHighlighters"));
    m_menus.insert(menu->objectName(), menu);
    AddMenu(QStringLiteral("高亮语法"), QString(), 0);
}

QAction *MainMenus::Item(const QString &name) const
{
    return m_items.value(name);
}

QMenu *MainMenus::Menu(const QString &name) const
{
    return m_menus.value(name);
}

void MainMenus::AddMenu(const QString &sCaption, const QString &sTag, int iIndex)
{
    if (iIndex < 0)
        return;
    QMenu *menu = Menu(QStringLiteral("mnuHighlighters"));
    while (m_highlighterItems.size() <= iIndex) {
        const int index = int(m_highlighterItems.size());
        QAction *item = menu->addAction(QString());
        item->setObjectName(QStringLiteral("mnuHighlighter"));
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, index] { emit HighlighterChosen(index); });
        m_highlighterItems.append(item);
    }
    QAction *item = m_highlighterItems.at(iIndex);
    item->setText(QString(sCaption).replace(QLatin1Char('&'), QStringLiteral("&&"))); // a name, not a mnemonic
    item->setVisible(true);
    item->setEnabled(true);
    item->setData(sTag);
}
