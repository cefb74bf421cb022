#include "MainWindowFixture.h"
#include "ScriptedNumberInput.h"
#include "shell/MainMenus.h"
#include "shell/ViewMenu.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class ViewMenuTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        view = window->findChild<ViewMenu *>();
        ASSERT_NE(view, nullptr);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(Editor().Editor(), Qt::Key(key), modifiers);
    }
    long Zoom() const { return Editor().GetZoom(); }
    long Send(int message) const { return Editor().SendEditor(message); }
    QStringList CheckedItems() const
    {
        view->mnuView->aboutToShow(); // as when the user opens it
        QStringList checked;
        for (QMenu *menu : {view->mnuView, view->mnuTabs})
            for (QAction *item : menu->actions())
                if (item->isChecked())
                    checked << item->objectName();
        return checked;
    }

    ViewMenu *view = nullptr;
};

TEST_F(ViewMenuTest, TheViewMenuSitsBetweenSearchAndHighlighting)
{
    QStringList titles;
    for (QAction *top : window->menuBar()->actions())
        titles << top->text();
    EXPECT_EQ(titles, QStringList({"文件(&F)", "编辑(&E)", "搜索(&S)", "视图(&V)", "高亮(&L)", "窗口(&W)", "帮助(&H)"}));
    QStringList items;
    for (QAction *item : view->mnuView->actions())
        items << (item->isSeparator() ? QStringLiteral("-") : item->text() + u'\t' + item->shortcut().toString());
    EXPECT_EQ(items, QStringList({"放大(&I)\tCtrl++", "缩小(&O)\tCtrl+-", "恢复默认大小(&D)\tCtrl+0", "-",
                                  "自动换行(&W)\t", "显示空白(&S)\t", "显示行尾符(&E)\t", "显示行号(&L)\t",
                                  "代码折叠(&F)\t", "-", "制表符(&T)\t", "-", "配色(&C)\t"}));
}

// The component would type "+", "=", "-" and "0" for some of these.
TEST_F(ViewMenuTest, ZoomKeysZoomAndTypeNothing)
{
    ASSERT_EQ(Zoom(), 0);
    Key(Qt::Key_Plus);
    EXPECT_EQ(Zoom(), 1);
    Key(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier); // Ctrl+Shift+= on most keyboards
    EXPECT_EQ(Zoom(), 2);
    Key(Qt::Key_Equal);
    EXPECT_EQ(Zoom(), 3);
    Key(Qt::Key_Minus);
    EXPECT_EQ(Zoom(), 2);
    Key(Qt::Key_0);
    EXPECT_EQ(Zoom(), 0);
    Key(Qt::Key_Minus);
    EXPECT_EQ(Zoom(), -1);
    EXPECT_EQ(Editor().Text(), QByteArray());

    view->mnuZoomIn->trigger();
    view->mnuZoomIn->trigger();
    EXPECT_EQ(Zoom(), 1);
    view->mnuZoomOut->trigger();
    EXPECT_EQ(Zoom(), 0);
    view->mnuZoomIn->trigger();
    view->mnuZoomReset->trigger();
    EXPECT_EQ(Zoom(), 0);
}

TEST_F(ViewMenuTest, CtrlWheelZoomsTheDocumentUnderTheMouseAndAPlainWheelDoesNot)
{
    frmDoc *under = Active();
    window->OpenDocument(QStringLiteral("New Document"));
    QWidget *viewport = under->sciMain->Editor()->viewport();
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(20, 20), viewport->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    wheel(120, Qt::ControlModifier);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(under->sciMain->GetZoom(), 2);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(under->sciMain->GetZoom(), 1);
    wheel(-120, Qt::NoModifier);
    EXPECT_EQ(under->sciMain->GetZoom(), 1);
    EXPECT_EQ(Zoom(), 0); // the active document is another
}

// Each switch changes the active document only, and the marks follow the
// document that is active.
TEST_F(ViewMenuTest, SwitchesBelongToTheDocumentAndTheirMarksFollowWindowSwitches)
{
    frmDoc *first = Active();
    const QStringList fresh = {"mnuLineNumbers", "mnuFolding", "mnuTabWidth8"};
    EXPECT_EQ(CheckedItems(), fresh);

    for (QAction *item : {view->mnuWordWrap, view->mnuWhiteSpace, view->mnuEndOfLine, view->mnuLineNumbers,
                          view->mnuFolding, view->mnuTabsAsSpaces})
        item->trigger();
    view->TabWidthItems()[1]->trigger();
    EXPECT_EQ(CheckedItems(), QStringList({"mnuWordWrap", "mnuWhiteSpace", "mnuEndOfLine", "mnuTabWidth4",
                                           "mnuTabsAsSpaces"}));
    EXPECT_EQ(Editor().WordWrap(), vbTrue);
    EXPECT_EQ(Send(Sci::SCI_GETWRAPMODE), 1);
    EXPECT_EQ(Send(Sci::SCI_GETVIEWWS), 1);
    EXPECT_EQ(Send(Sci::SCI_GETVIEWEOL), 1);
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETMARGINWIDTHN, 0), 0);
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETMARGINWIDTHN, 1), 0);

    // Tab now indents by four spaces.
    QTest::keyClick(Editor().Editor(), Qt::Key_Tab);
    EXPECT_EQ(Editor().Text(), QByteArray("    "));

    frmDoc *second = window->OpenDocument(QStringLiteral("New Document"));
    EXPECT_EQ(CheckedItems(), fresh);
    EXPECT_EQ(second->sciMain->SendEditor(Sci::SCI_GETVIEWWS), 0);
    window->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    EXPECT_EQ(CheckedItems().size(), 5);

    // Back on: the margins as a new document has them.
    view->mnuLineNumbers->trigger();
    view->mnuFolding->trigger();
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETMARGINWIDTHN, 0), second->sciMain->SendEditor(Sci::SCI_GETMARGINWIDTHN, 0));
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETMARGINWIDTHN, 1), 20);
}

// 其他… asks for any width from 1 to 16, offering the present one; a
// cancelled question changes nothing and leaves the mark where it was.
TEST_F(ViewMenuTest, AnyOtherTabWidthIsAskedForAndMarkedAsOther)
{
    ScriptedNumberInput input;
    input.Answer(3);
    view->mnuTabWidthOther->trigger();
    ASSERT_EQ(input.asked.size(), 1);
    EXPECT_EQ(input.asked[0].value, 8);
    EXPECT_EQ(input.asked[0].minimum, 1);
    EXPECT_EQ(input.asked[0].maximum, 16);
    EXPECT_EQ(Send(Sci::SCI_GETTABWIDTH), 3);
    EXPECT_TRUE(CheckedItems().contains("mnuTabWidthOther"));
    EXPECT_FALSE(CheckedItems().contains("mnuTabWidth8"));

    input.Answer(std::nullopt);
    view->TabWidthItems()[0]->trigger(); // 2
    view->mnuTabWidthOther->trigger();
    EXPECT_EQ(input.asked[1].value, 2);
    EXPECT_EQ(Send(Sci::SCI_GETTABWIDTH), 2);
    EXPECT_TRUE(CheckedItems().contains("mnuTabWidth2"));
    EXPECT_FALSE(CheckedItems().contains("mnuTabWidthOther"));

    // A width given some other way beyond the range is offered clamped.
    Editor().SendEditor(Sci::SCI_SETTABWIDTH, 40);
    input.Answer(16);
    view->mnuTabWidthOther->trigger();
    EXPECT_EQ(input.asked[2].value, 16);
    EXPECT_EQ(Send(Sci::SCI_GETTABWIDTH), 16);
    QTest::keyClick(Editor().Editor(), Qt::Key_Tab);
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETCOLUMN, Editor().SendEditor(Sci::SCI_GETCURRENTPOS)), 16);
}

TEST_F(ViewMenuTest, WithoutADocumentTheViewCommandsAreOff)
{
    Actions().mnuCloseAll->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(window->Documents().isEmpty());
    for (QAction *item : view->mnuView->actions()) {
        if (item->isSeparator())
            continue;
        // The colour set is the program's, not a document's.
        if (item->menu() && item->menu()->objectName() == "mnuColours")
            EXPECT_TRUE(item->isEnabled());
        else
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    }
    EXPECT_TRUE(CheckedItems().isEmpty());
}

} // namespace
