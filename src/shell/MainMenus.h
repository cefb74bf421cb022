#pragma once

#include <QList>
#include <QObject>
#include <QString>

class MainActions;
class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
struct EncodingGroup;

// The main window's menu bar: File, Edit, Search, Highlighting, Window and
// Help, laid out as the program has always had them from the actions of
// MainActions. Besides those it holds what is made at run time: the
// highlighter items, the two encoding submenus of File and the window list.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    MainMenus(QMainWindow *window, MainActions *actions);

    QMenu *const mnuFile;
    QMenu *const mnuRecentFiles;
    QMenu *const mnuReopenEncoding;
    QMenu *const mnuConvertEncoding;
    QMenu *const mnuEdit;
    QMenu *const mnuSearch;
    QMenu *const mnuHighlighters;
    QMenu *const mnuWindows;
    QMenu *const mnuWindowList;
    QMenu *const mnuHelp;

    // Makes highlighter item iIndex exist (items are only ever added, at the
    // end of the highlighting menu) and show sCaption, with sTag as its tag.
    void AddMenu(const QString &sCaption, const QString &sTag, int iIndex);
    QList<QAction *> HighlighterItems() const { return m_highlighterItems; }

signals:
    void HighlighterChosen(int index);
    // An item of the File menu's two encoding submenus, by encoding name.
    void ReopenEncodingChosen(const QString &encodingName);
    void ConvertEncodingChosen(const QString &encodingName);

private:
    QMenu *AddEncodingMenu(MainActions *actions, const char *name, const char *caption,
                           const QList<EncodingGroup> &groups, void (MainMenus::*chosen)(const QString &));
    void AddEncodingItems(QMenu *menu, const QList<EncodingGroup> &groups, QActionGroup *marks,
                          void (MainMenus::*chosen)(const QString &));

    MainActions *m_actions;
    QList<QAction *> m_highlighterItems;
};
