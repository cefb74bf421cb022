#include "MainWindowFixture.h"
#include "shell/LineEndMenu.h"
#include "shell/MainMenus.h"
#include "shell/StatusBarPanels.h"
#include "shell/TitleMarker.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

// What the user sees of a document's state: the title marker, the language
// (高亮 menu and panel 5) and the line ends (panel 4 and their submenu).
class DocumentStateTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        lineEnds = window->findChild<LineEndMenu *>();
        ASSERT_NE(lineEnds, nullptr);
    }
    static QMdiSubWindow *Frame(frmDoc *doc) { return qobject_cast<QMdiSubWindow *>(doc->parentWidget()); }
    void Activate(frmDoc *doc) { window->MdiArea()->setActiveSubWindow(Frame(doc)); }
    QString Panel(int n) const { return window->stb->PanelText(n); }
    QString CheckedLanguage() const
    {
        window->Menus()->mnuHighlighters->aboutToShow();
        QStringList checked;
        for (QAction *item : window->Menus()->HighlighterItems())
            if (item->isChecked())
                checked << item->text();
        return checked.join(u',');
    }
    QString CheckedLineEnd() const
    {
        lineEnds->mnuLineEnds->aboutToShow();
        QStringList checked;
        for (QAction *item : lineEnds->Items())
            if (item->isChecked())
                checked << item->text();
        return checked.join(u',');
    }
    void Convert(int item)
    {
        lineEnds->Items()[item]->trigger();
        QTest::qWait(350); // panel 4 follows once edits pause
    }

    LineEndMenu *lineEnds = nullptr;
};

TEST_F(DocumentStateTest, AModifiedDocumentsFrameIsMarkedWhileItsOwnTitleStaysPlain)
{
    frmDoc *doc = window->OpenDocument(Write(QStringLiteral("a.txt"), "text"));
    const QString path = Path(QStringLiteral("a.txt"));
    EXPECT_EQ(Frame(doc)->windowTitle(), path);

    QTest::keyClicks(doc->sciMain->Editor(), "x");
    EXPECT_EQ(Frame(doc)->windowTitle(), path + QStringLiteral(" *"));
    EXPECT_EQ(doc->windowTitle(), path);

    // The window list and the close prompt name the document without it.
    window->Menus()->mnuWindowList->aboutToShow();
    EXPECT_EQ(window->Menus()->mnuWindowList->actions().last()->text(), path);
    doc->close(); // the script answers Cancel
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("文件 [") + path + QStringLiteral("]\r\n")));

    Actions().mnuSave->trigger();
    EXPECT_EQ(Frame(doc)->windowTitle(), path);
    Editor().Undo(); // back before the save point is a change too
    EXPECT_EQ(Frame(doc)->windowTitle(), path + QStringLiteral(" *"));

    // Saved under another name: the new name, still marked until saved.
    const QString other = Path(QStringLiteral("b.txt"));
    QTest::keyClicks(doc->sciMain->Editor(), "y");
    dialogs.Answer(other);
    Actions().mnuSaveAs->trigger();
    EXPECT_EQ(Frame(doc)->windowTitle(), other);
}

TEST_F(DocumentStateTest, TheLanguageMarkAndPanelFiveFollowTheActiveDocument)
{
    frmDoc *fresh = Active();
    EXPECT_EQ(CheckedLanguage(), QStringLiteral("CPP"));
    EXPECT_EQ(Panel(5), QStringLiteral("CPP"));

    frmDoc *page = window->OpenDocument(Write(QStringLiteral("page.html"), "<p>"));
    ASSERT_NE(page, nullptr);
    const QString html = HighlighterTable[page->sciMain->lHighlighterNum].LangName;
    ASSERT_NE(html, QStringLiteral("CPP"));
    EXPECT_EQ(CheckedLanguage(), html);
    EXPECT_EQ(Panel(5), html);

    Activate(fresh);
    EXPECT_EQ(CheckedLanguage(), QStringLiteral("CPP"));
    EXPECT_EQ(Panel(5), QStringLiteral("CPP"));

    // Chosen from the menu: mark and panel change at once.
    window->Menus()->HighlighterItems()[page->sciMain->lHighlighterNum]->trigger();
    EXPECT_EQ(CheckedLanguage(), html);
    EXPECT_EQ(Panel(5), html);
}

TEST_F(DocumentStateTest, PanelFourTellsTheLineEndsAndConvertingIsOneUndoStep)
{
    frmDoc *mixed = window->OpenDocument(Write(QStringLiteral("mixed.txt"), "a\r\nb\nc\rd\r\n"));
    EXPECT_EQ(Panel(4), QStringLiteral("混合"));
    EXPECT_EQ(CheckedLineEnd(), QString());

    Convert(1); // Unix (LF)
    EXPECT_EQ(Editor().Text(), QByteArray("a\nb\nc\nd\n"));
    EXPECT_EQ(Panel(4), QStringLiteral("LF"));
    EXPECT_EQ(CheckedLineEnd(), QStringLiteral("Unix (LF)"));
    EXPECT_TRUE(Editor().Modified());
    Editor().SetSel(Editor().GetLen(), Editor().GetLen());
    QTest::keyClick(Editor().Editor(), Qt::Key_Return); // new line ends follow
    EXPECT_TRUE(Editor().Text().endsWith("\n\n"));
    Editor().Undo();

    Editor().Undo(); // the whole conversion at once
    EXPECT_EQ(Editor().Text(), QByteArray("a\r\nb\nc\rd\r\n"));
    EXPECT_FALSE(Editor().Modified());
    QTest::qWait(350);
    EXPECT_EQ(Panel(4), QStringLiteral("混合"));

    Convert(0);
    EXPECT_EQ(Editor().Text(), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
    EXPECT_EQ(Panel(4), QStringLiteral("CRLF"));
    Convert(2);
    EXPECT_EQ(Editor().Text(), QByteArray("a\rb\rc\rd\r"));
    EXPECT_EQ(Panel(4), QStringLiteral("CR"));
    // The undone conversion stays undone on disk.
    Editor().Undo();
    Actions().mnuSave->trigger();
    EXPECT_EQ(Read(Path(QStringLiteral("mixed.txt"))), QByteArray("a\r\nb\r\nc\r\nd\r\n"));

    frmDoc *lfFile = window->OpenDocument(Write(QStringLiteral("unix.txt"), "one\ntwo\n"));
    EXPECT_EQ(Panel(4), QStringLiteral("LF"));
    Activate(mixed);
    EXPECT_EQ(Panel(4), QStringLiteral("CRLF"));
    (void)lfFile;
}

} // namespace
