#pragma once

#include <QList>
#include <QObject>
#include <QString>

class MainActions;
class MainMenus;
class QAction;
class QMenu;
class clsScintilla;
class frmMain;

// The 编辑 menu's 转换行尾符 submenu: every line end of the active document
// written as one kind, in one undoable step. The item of the kind the
// document holds is checked.
class LineEndMenu : public QObject
{
    Q_OBJECT

public:
    LineEndMenu(frmMain *main, MainActions *actions, MainMenus *menus);

    QMenu *const mnuLineEnds;
    // CRLF, LF, CR, in that order; each item's data is the component's mode.
    QList<QAction *> Items() const { return m_items; }

    // What the document's line ends are: "CRLF", "LF", "CR", or "混合" for
    // more than one kind. A text without any shows the kind Enter adds.
    static QString KindName(clsScintilla &sci);
    // Every line end as the mode's kind, one undo step; new ones follow it.
    static void Convert(clsScintilla &sci, long mode);

private:
    void MarkActiveDocument();
    clsScintilla *ActiveEditor() const;

    frmMain *m_main;
    QList<QAction *> m_items;
};
