#pragma once

#include <QList>
#include <QObject>

class MainActions;
class MainMenus;
class QAction;
class QMenu;
class clsScintilla;
class frmMain;

// The 视图 menu, between 搜索 and 高亮: zoom, and the view switches of the
// active document (wrap, white space, line ends, line numbers, folding, tab
// width, tabs as spaces). Every setting belongs to one document; the check
// marks show the active document's.
class ViewMenu : public QObject
{
    Q_OBJECT

public:
    ViewMenu(frmMain *main, MainActions *actions, MainMenus *menus);

    QMenu *const mnuView;
    QAction *const mnuZoomIn;
    QAction *const mnuZoomOut;
    QAction *const mnuZoomReset;
    QAction *const mnuWordWrap;
    QAction *const mnuWhiteSpace;
    QAction *const mnuEndOfLine;
    QAction *const mnuLineNumbers;
    QAction *const mnuFolding;
    QMenu *const mnuTabs;
    QAction *const mnuTabsAsSpaces;
    // 其他…: asks for any width from MinTabWidth to MaxTabWidth.
    QAction *const mnuTabWidthOther;
    static constexpr int MinTabWidth = 1;
    static constexpr int MaxTabWidth = 16;
    // 制表符宽度 2, 4 and 8, in that order.
    QList<QAction *> TabWidthItems() const { return m_tabWidths; }

    // The check marks from the active document (nothing checked without one).
    void ShowActiveDocument();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *Make(const char *name, const char *caption, std::initializer_list<const char *> keys = {});
    QAction *MakeSwitch(const char *name, const char *caption, void (*apply)(clsScintilla &, bool));
    void Zoom(int step);
    static void SetWordWrap(clsScintilla &sci, bool on);
    static void SetWhiteSpace(clsScintilla &sci, bool on);
    static void SetEndOfLine(clsScintilla &sci, bool on);
    static void SetLineNumbers(clsScintilla &sci, bool on);
    static void SetFolding(clsScintilla &sci, bool on);
    static void SetTabsAsSpaces(clsScintilla &sci, bool on);
    void SetTabWidth(int width);
    void AskTabWidth();
    clsScintilla *ActiveEditor() const;

    frmMain *m_main;
    QList<QAction *> m_tabWidths;
};
