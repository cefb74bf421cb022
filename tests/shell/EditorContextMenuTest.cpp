#include "MainWindowFixture.h"
#include "shell/EditorContextMenu.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class EditorContextMenuTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }
    void TearDown() override
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        MainWindowFixture::TearDown();
    }

    // A right click as the window system delivers it, to the editor's viewport.
    QMenu *RightClick(frmDoc *doc)
    {
        QWidget *viewport = doc->sciMain->Editor()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10), viewport->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(viewport, &event);
        QApplication::processEvents();
        auto *menu = window->findChild<QMenu *>(QStringLiteral("mnuEditorContext"));
        return menu && menu->isVisible() ? menu : nullptr;
    }
    static QAction *Item(QMenu *menu, const QString &caption)
    {
        for (QAction *action : menu->actions())
            if (action->text().startsWith(caption))
                return action;
        return nullptr;
    }
    static void Choose(QMenu *menu, const char *caption)
    {
        QAction *action = Item(menu, QString::fromUtf8(caption));
        ASSERT_NE(action, nullptr) << caption;
        ASSERT_TRUE(action->isEnabled()) << caption;
        menu->hide();
        action->trigger();
    }
};

TEST_F(EditorContextMenuTest, TheRightClickShowsOurChineseMenuWithItemsThatFitTheDocument)
{
    QMenu *menu = RightClick(Active());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), menu); // and not the component's own
    QStringList captions;
    for (QAction *action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions, QStringList({"撤销(&U)", "重做(&R)", "-", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&D)", "-",
                                     "全选(&A)"}));
    // An empty, untouched document: nothing to undo, cut or select.
    for (const char *caption : {"撤销", "重做", "剪切", "复制", "删除", "全选"})
        EXPECT_FALSE(Item(menu, QString::fromUtf8(caption))->isEnabled()) << caption;
    menu->hide();

    Editor().SetText(QStringLiteral("abc"));
    Editor().SetSel(0, 1);
    menu = RightClick(Active());
    ASSERT_NE(menu, nullptr);
    for (const char *caption : {"撤销", "剪切", "复制", "删除", "全选"})
        EXPECT_TRUE(Item(menu, QString::fromUtf8(caption))->isEnabled()) << caption;
    EXPECT_FALSE(Item(menu, QStringLiteral("重做"))->isEnabled());
}

TEST_F(EditorContextMenuTest, ItsItemsEditTheDocumentThatWasClicked)
{
    frmDoc *clicked = Active();
    clicked->sciMain->SetText(QStringLiteral("one two"));
    frmDoc *other = window->OpenDocument(QStringLiteral("New Document"));
    ASSERT_EQ(Active(), other);

    clicked->sciMain->SetSel(3, 7);
    QMenu *menu = RightClick(clicked);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Active(), clicked);
    Choose(menu, "删除");
    EXPECT_EQ(clicked->sciMain->Text(), QByteArray("one"));

    Choose(RightClick(clicked), "撤销");
    EXPECT_EQ(clicked->sciMain->Text(), QByteArray("one two"));
    Choose(RightClick(clicked), "全选");
    Choose(RightClick(clicked), "复制");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("one two"));
    Choose(RightClick(clicked), "剪切");
    EXPECT_EQ(clicked->sciMain->Text(), QByteArray());
    Choose(RightClick(clicked), "粘贴");
    Choose(RightClick(clicked), "粘贴");
    EXPECT_EQ(clicked->sciMain->Text(), QByteArray("one twoone two"));
    Choose(RightClick(clicked), "撤销");
    Choose(RightClick(clicked), "重做");
    EXPECT_EQ(clicked->sciMain->Text(), QByteArray("one twoone two"));
    EXPECT_EQ(other->sciMain->Text(), QByteArray());
}

} // namespace
