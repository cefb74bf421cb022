#include "ViewMenu.h"

#include "ColourSchemeMenu.h"
#include "MainActions.h"
#include "MainMenus.h"
#include "editor/clsScintilla.h"
#include "frmDoc.h"
#include "frmMain.h"
#include "platform/NumberInputSeam.h"
#include "platform/VbBool.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>
#include <algorithm>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

constexpr int ZoomReset = 0;

QMenu *MakeViewMenu(frmMain *main, MainMenus *menus)
{
    auto *menu = new QMenu(QStringLiteral("视图(&V)"), main);
    menu->setObjectName(QStringLiteral("mnuView"));
    main->menuBar()->insertMenu(menus->mnuHighlighters->menuAction(), menu);
    return menu;
}

} // namespace

ViewMenu::ViewMenu(frmMain *main, MainActions *actions, MainMenus *menus)
    : QObject(main),
      mnuView(MakeViewMenu(main, menus)),
      mnuZoomIn(Make("mnuZoomIn", "放大(&I)", {"Ctrl++", "Ctrl+=", "Ctrl+Shift++"})),
      mnuZoomOut(Make("mnuZoomOut", "缩小(&O)", {"Ctrl+-"})),
      mnuZoomReset(Make("mnuZoomReset", "恢复默认大小(&D)", {"Ctrl+0"})),
      mnuWordWrap(MakeSwitch("mnuWordWrap", "自动换行(&W)", &ViewMenu::SetWordWrap)),
      mnuWhiteSpace(MakeSwitch("mnuWhiteSpace", "显示空白(&S)", &ViewMenu::SetWhiteSpace)),
      mnuEndOfLine(MakeSwitch("mnuEndOfLine", "显示行尾符(&E)", &ViewMenu::SetEndOfLine)),
      mnuLineNumbers(MakeSwitch("mnuLineNumbers", "显示行号(&L)", &ViewMenu::SetLineNumbers)),
      mnuFolding(MakeSwitch("mnuFolding", "代码折叠(&F)", &ViewMenu::SetFolding)),
      mnuTabs(new QMenu(QStringLiteral("制表符(&T)"), mnuView)),
      mnuTabsAsSpaces(MakeSwitch("mnuTabsAsSpaces", "用空格代替制表符(&S)", &ViewMenu::SetTabsAsSpaces)),
      mnuTabWidthOther(Make("mnuTabWidthOther", "其他(&O)…")),
      m_main(main)
{
    connect(mnuZoomIn, &QAction::triggered, this, [this] { Zoom(+1); });
    connect(mnuZoomOut, &QAction::triggered, this, [this] { Zoom(-1); });
    connect(mnuZoomReset, &QAction::triggered, this, [this] { Zoom(ZoomReset); });

    mnuView->addActions({mnuZoomIn, mnuZoomOut, mnuZoomReset});
    mnuView->addSeparator();
    mnuView->addActions({mnuWordWrap, mnuWhiteSpace, mnuEndOfLine, mnuLineNumbers, mnuFolding});
    mnuView->addSeparator();
    mnuTabs->setObjectName(QStringLiteral("mnuTabs"));
    mnuView->addMenu(mnuTabs);

    auto *widths = new QActionGroup(this);
    for (int width : {2, 4, 8}) {
        QAction *item = mnuTabs->addAction(QStringLiteral("宽度 %1").arg(width));
        item->setObjectName(QStringLiteral("mnuTabWidth%1").arg(width));
        item->setCheckable(true);
        widths->addAction(item);
        connect(item, &QAction::triggered, this, [this, width] { SetTabWidth(width); });
        m_tabWidths.append(item);
    }
    mnuTabWidthOther->setCheckable(true);
    widths->addAction(mnuTabWidthOther);
    mnuTabs->addAction(mnuTabWidthOther);
    connect(mnuTabWidthOther, &QAction::triggered, this, &ViewMenu::AskTabWidth);
    mnuTabs->addSeparator();
    mnuTabs->addAction(mnuTabsAsSpaces);

    for (QAction *action : mnuView->actions())
        if (!action->isSeparator())
            actions->needsDocument->addAction(action);
    // The colours apply with no document open as well.
    new ColourSchemeMenu(main, mnuView);

    connect(mnuView, &QMenu::aboutToShow, this, &ViewMenu::ShowActiveDocument);
    connect(main->MdiArea(), &QMdiArea::subWindowActivated, this, &ViewMenu::ShowActiveDocument);
    // Ctrl+wheel zooms the document under the mouse.
    connect(main, &frmMain::DocumentOpened, this, [this](QMdiSubWindow *, frmDoc *doc) {
        if (doc->sciMain && doc->sciMain->Editor())
            doc->sciMain->Editor()->viewport()->installEventFilter(this);
    });
}

QAction *ViewMenu::Make(const char *name, const char *caption, std::initializer_list<const char *> keys)
{
    auto *action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    QList<QKeySequence> sequences;
    for (const char *key : keys)
        sequences << QKeySequence(QString::fromLatin1(key));
    action->setShortcuts(sequences);
    return action;
}

QAction *ViewMenu::MakeSwitch(const char *name, const char *caption, void (*apply)(clsScintilla &, bool))
{
    QAction *action = Make(name, caption);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, apply](bool on) {
        if (clsScintilla *sci = ActiveEditor())
            apply(*sci, on);
        ShowActiveDocument();
    });
    return action;
}

clsScintilla *ViewMenu::ActiveEditor() const
{
    frmDoc *doc = m_main->ActiveDocument();
    return doc && doc->sciMain ? doc->sciMain.get() : nullptr;
}

// step 0 is back to the size the styles give.
void ViewMenu::Zoom(int step)
{
    clsScintilla *sci = ActiveEditor();
    if (!sci)
        return;
    if (step > 0)
        sci->ZoomIn();
    else if (step < 0)
        sci->ZoomOut();
    else
        sci->SetZoom(ZoomReset);
}

bool ViewMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0)
        return false;
    for (frmDoc *doc : m_main->Documents()) {
        if (doc->sciMain && doc->sciMain->Editor() && doc->sciMain->Editor()->viewport() == watched) {
            if (wheel->angleDelta().y() > 0)
                doc->sciMain->ZoomIn();
            else
                doc->sciMain->ZoomOut();
            return true;
        }
    }
    return false;
}

void ViewMenu::ShowActiveDocument()
{
    clsScintilla *sci = ActiveEditor();
    mnuWordWrap->setChecked(sci && sci->WordWrap() == vbTrue);
    mnuWhiteSpace->setChecked(sci && sci->ViewWhiteSpace() == vbTrue);
    mnuEndOfLine->setChecked(sci && sci->SendEditor(Sci::SCI_GETVIEWEOL) != 0);
    mnuLineNumbers->setChecked(sci && sci->SendEditor(Sci::SCI_GETMARGINWIDTHN, 0) > 0);
    mnuFolding->setChecked(sci && sci->Folding() == vbTrue);
    mnuTabsAsSpaces->setChecked(sci && sci->SendEditor(Sci::SCI_GETUSETABS) == 0);
    const long width = sci ? sci->SendEditor(Sci::SCI_GETTABWIDTH) : 0;
    bool listed = false;
    for (QAction *item : m_tabWidths) {
        item->setChecked(item->objectName() == QStringLiteral("mnuTabWidth%1").arg(width));
        listed = listed || item->isChecked();
    }
    mnuTabWidthOther->setChecked(sci && !listed);
}

// Any width the component takes in a sensible range; a cancelled question
// leaves the width (and its check mark) as it was.
void ViewMenu::AskTabWidth()
{
    clsScintilla *sci = ActiveEditor();
    const int current = sci ? int(sci->SendEditor(Sci::SCI_GETTABWIDTH)) : 8;
    const std::optional<int> width = NumberInputSeam::Current().AskNumber(
        m_main, QStringLiteral("制表符宽度"), QStringLiteral("宽度 (%1–%2):").arg(MinTabWidth).arg(MaxTabWidth),
        std::clamp(current, MinTabWidth, MaxTabWidth), MinTabWidth, MaxTabWidth);
    if (width && *width >= MinTabWidth && *width <= MaxTabWidth)
        SetTabWidth(*width);
    else
        ShowActiveDocument();
}

void ViewMenu::SetWordWrap(clsScintilla &sci, bool on) { sci.WordWrap(on ? vbTrue : vbFalse); }
void ViewMenu::SetWhiteSpace(clsScintilla &sci, bool on) { sci.ViewWhiteSpace(on ? vbTrue : vbFalse); }
void ViewMenu::SetEndOfLine(clsScintilla &sci, bool on) { sci.SendEditor(Sci::SCI_SETVIEWEOL, on ? 1 : 0); }
void ViewMenu::SetFolding(clsScintilla &sci, bool on) { sci.Folding(on ? vbTrue : vbFalse); }
void ViewMenu::SetTabsAsSpaces(clsScintilla &sci, bool on) { sci.SendEditor(Sci::SCI_SETUSETABS, on ? 0 : 1); }

// Back on, the margin is as wide as a new document's.
void ViewMenu::SetLineNumbers(clsScintilla &sci, bool on)
{
    sci.LineNumbers(on ? vbTrue : vbFalse);
    if (on)
        sci.SetMarginWidth(0, frmDoc::LineNumberMarginWidth);
}

void ViewMenu::SetTabWidth(int width)
{
    if (clsScintilla *sci = ActiveEditor())
        sci->SendEditor(Sci::SCI_SETTABWIDTH, width);
    ShowActiveDocument();
}
