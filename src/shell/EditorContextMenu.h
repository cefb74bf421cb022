#pragma once

#include <QObject>
#include <QMenu>
#include <QPointer>

class MainActions;
class QAction;
class QMdiSubWindow;

class frmDoc;
class frmMain;

// The editors' right-click menu, in Chinese, in place of the component's
// own English one. Its items run the Edit menu's commands on the document
// that was clicked (which becomes the active one first).
class EditorContextMenu : public QObject
{
    Q_OBJECT

public:
    EditorContextMenu(frmMain *main, MainActions *actions);

    // The menu, made on the first right click; nullptr before.
    QMenu *Menu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void TakeOver(QMdiSubWindow *window, frmDoc *doc);
    void Show(frmDoc *doc, const QPoint &globalPos);
    void Build();
    void Delete();

    frmMain *m_main;
    MainActions *m_actions;
    QPointer<QMenu> m_menu;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_delete = nullptr;
    QAction *m_selectAll = nullptr;
};
