#include "EditorContextMenu.h"

#include "MainActions.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "frmMain.h"
#include "platform/VbBool.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

EditorContextMenu::EditorContextMenu(frmMain *main, MainActions *actions)
    : QObject(main), m_main(main), m_actions(actions)
{
    connect(main, &frmMain::DocumentOpened, this, &EditorContextMenu::TakeOver);
}

// The component's popup is switched off; the right click reaches its
// viewport, where ours answers it.
void EditorContextMenu::TakeOver(QMdiSubWindow *, frmDoc *doc)
{
    if (!doc->sciMain || !doc->sciMain->Editor())
        return;
    doc->sciMain->ContextMenu(vbFalse);
    doc->sciMain->Editor()->viewport()->installEventFilter(this);
    doc->sciMain->Editor()->viewport()->setProperty("ferrolanDocument", QVariant::fromValue<QObject *>(doc));
}

bool EditorContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu)
        return false;
    auto *doc = qobject_cast<frmDoc *>(watched->property("ferrolanDocument").value<QObject *>());
    if (!doc || !doc->sciMain)
        return false;
    Show(doc, static_cast<QContextMenuEvent *>(event)->globalPos());
    return true;
}

void EditorContextMenu::Build()
{
    m_menu = new QMenu(m_main);
    m_menu->setObjectName(QStringLiteral("mnuEditorContext"));
    auto item = [this](const char *caption, QAction *command) {
        QAction *action = m_menu->addAction(QString::fromUtf8(caption));
        if (command)
            connect(action, &QAction::triggered, command, &QAction::trigger);
        return action;
    };
    m_undo = item("撤销(&U)", m_actions->mnuUndo);
    m_redo = item("重做(&R)", m_actions->mnuRedo);
    m_menu->addSeparator();
    m_cut = item("剪切(&T)", m_actions->mnuCut);
    m_copy = item("复制(&C)", m_actions->mnuCopy);
    m_paste = item("粘贴(&P)", m_actions->mnuPaste);
    m_delete = item("删除(&D)", nullptr);
    connect(m_delete, &QAction::triggered, this, &EditorContextMenu::Delete);
    m_menu->addSeparator();
    m_selectAll = item("全选(&A)", m_actions->mnuSelAll);
}

// Items that would do nothing here are greyed, as the component's were.
void EditorContextMenu::Show(frmDoc *doc, const QPoint &globalPos)
{
    if (auto *window = qobject_cast<QMdiSubWindow *>(doc->parentWidget()))
        m_main->MdiArea()->setActiveSubWindow(window);
    if (!m_menu)
        Build();
    const clsScintilla &sci = *doc->sciMain;
    const bool idle = !sci.IsLoading();
    const bool selection = sci.GetSelStart() != sci.GetSelEnd();
    const bool writable = !sci.GetReadOnly();
    m_undo->setEnabled(idle && sci.SendEditor(Sci::SCI_CANUNDO));
    m_redo->setEnabled(idle && sci.SendEditor(Sci::SCI_CANREDO));
    m_cut->setEnabled(idle && writable && selection);
    m_copy->setEnabled(idle && selection);
    m_paste->setEnabled(idle && sci.SendEditor(Sci::SCI_CANPASTE));
    m_delete->setEnabled(idle && writable && selection);
    m_selectAll->setEnabled(idle && sci.GetLen() > 0);
    m_menu->popup(globalPos);
}

void EditorContextMenu::Delete()
{
    frmDoc *doc = m_main->ActiveDocument();
    if (doc && doc->sciMain && !doc->sciMain->IsLoading()) {
        doc->sciMain->SendEditor(Sci::SCI_CLEAR);
        doc->sciMain->SetFocus();
    }
}
