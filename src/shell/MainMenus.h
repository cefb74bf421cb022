#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
struct EncodingGroup;

// The main window's menu bar: File, Edit, Search, Highlighting, Window and
// Help, with their items named, captioned and bound to keys as the program
// has always had them. Items are found by name ("mnuSave"); what they do is
// connected by the main window.
class MainMenus : public QObject
{
    Q_OBJECT

public:
    explicit MainMenus(QMainWindow *window);

    QAction *Item(const QString &name) const;
    QMenu *Menu(const QString &name) const;

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
    struct Entry
    {
        const char *name;
        const char *caption; // nullptr: a separator
        const char *shortcut;
    };

    QMenu *AddTopMenu(const char *name, const char *caption, std::initializer_list<Entry> entries);
    void AddHighlighterMenu();
    void AddEncodingMenu(const char *name, const char *caption, const QList<EncodingGroup> &groups,
                         void (MainMenus::*chosen)(const QString &));
    void AddEncodingItems(QMenu *menu, const QList<EncodingGroup> &groups, QActionGroup *marks,
                          void (MainMenus::*chosen)(const QString &));

    QMainWindow *m_window;
    QHash<QString, QAction *> m_items;
    QHash<QString, QMenu *> m_menus;
    QList<QAction *> m_highlighterItems;
};
