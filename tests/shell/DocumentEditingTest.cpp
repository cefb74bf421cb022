#include "MainWindowFixture.h"
#include "editor/clsScintilla.h"
#include "shell/frmDoc.h"

#include <QSignalSpy>
#include <QTest>

using Sci = QsciScintillaBase;

namespace {

// Editing as a user meets it: a file opened in a document window with the
// shipped language definitions, real keys and real clicks in the margins.
class DocumentEditingTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }

    frmDoc *Open(const QString &name, const QByteArray &text)
    {
        frmDoc *doc = window->OpenDocument(Write(name, text));
        if (doc)
            doc->parentWidget()->showMaximized();
        QApplication::processEvents();
        return doc;
    }

    static bool IsFoldHeader(clsScintilla &sci, long line)
    {
        return (sci.SendEditor(Sci::SCI_GETFOLDLEVEL, line) & Sci::SC_FOLDLEVELHEADERFLAG) != 0;
    }

    static bool IsVisible(clsScintilla &sci, long line) { return sci.SendEditor(Sci::SCI_GETLINEVISIBLE, line) != 0; }

    // A left click in the middle of a margin, on the line's first row.
    static void ClickMargin(clsScintilla &sci, int margin, long line)
    {
        int x = 0;
        for (int m = 0; m < margin; ++m)
            x += int(sci.SendEditor(Sci::SCI_GETMARGINWIDTHN, m));
        x += int(sci.SendEditor(Sci::SCI_GETMARGINWIDTHN, margin)) / 2;
        const long position = sci.PositionFromLine(line);
        const int y = int(sci.SendEditor(Sci::SCI_POINTYFROMPOSITION, 0, position)
                          + sci.SendEditor(Sci::SCI_TEXTHEIGHT, line) / 2);
        QTest::mouseClick(sci.Editor()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        QApplication::processEvents();
    }
};

TEST_F(DocumentEditingTest, ABraceBlockOfACppFileFoldsAndUnfoldsByMarginClicks)
{
    frmDoc *doc = Open(QStringLiteral("main.cpp"), "int main()\n{\n    return 0;\n}\n");
    ASSERT_NE(doc, nullptr);
    clsScintilla &sci = *doc->sciMain;
    ASSERT_EQ(HighlighterTable[sci.lHighlighterNum].LangName, QStringLiteral("CPP"));
    EXPECT_TRUE(IsFoldHeader(sci, 1)); // the line with "{"
    EXPECT_FALSE(IsFoldHeader(sci, 2));

    QSignalSpy clicks(&sci, &clsScintilla::MarginClick);
    ClickMargin(sci, 1, 1);
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETFOLDEXPANDED, 1), 0);
    EXPECT_FALSE(IsVisible(sci, 2));
    ClickMargin(sci, 1, 1);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETFOLDEXPANDED, 1), 1);
    EXPECT_TRUE(IsVisible(sci, 2));
    EXPECT_EQ(clicks.size(), 2);
}

TEST_F(DocumentEditingTest, HtmlTagsFold)
{
    frmDoc *doc = Open(QStringLiteral("page.html"), "<html>\n<body>\n<p>text</p>\n</body>\n</html>\n");
    ASSERT_NE(doc, nullptr);
    clsScintilla &sci = *doc->sciMain;
    ASSERT_EQ(HighlighterTable[sci.lHighlighterNum].LangName, QStringLiteral("HTML"));
    EXPECT_TRUE(IsFoldHeader(sci, 0));
    EXPECT_TRUE(IsFoldHeader(sci, 1));
    ClickMargin(sci, 1, 1);
    EXPECT_FALSE(IsVisible(sci, 2));
    EXPECT_TRUE(IsVisible(sci, 4));
}

// Switching languages keeps folding: each new lexer gets the fold switches.
TEST_F(DocumentEditingTest, FoldingSurvivesAChangeOfLanguage)
{
    frmDoc *doc = Open(QStringLiteral("main.c"), "void f(void)\n{\n}\n");
    ASSERT_NE(doc, nullptr);
    clsScintilla &sci = *doc->sciMain;
    ApplyHighlighter(sci, QStringLiteral("HTML"));
    sci.SetText(QStringLiteral("int g()\n{\n}\n"));
    ApplyHighlighter(sci, QStringLiteral("CPP"));
    EXPECT_TRUE(IsFoldHeader(sci, 1));
}

// A Windows file stays a Windows file: the new lines match, and every byte
// not typed comes back as it was.
TEST_F(DocumentEditingTest, EnterInACrLfFileAddsCrLfAndSavingKeepsTheRest)
{
    const QByteArray text("#include <x.h>\r\nint a;\nint b;\r\n");
    frmDoc *doc = Open(QStringLiteral("win.cpp"), text);
    ASSERT_NE(doc, nullptr);
    clsScintilla &sci = *doc->sciMain;
    sci.SetFocus();
    sci.SendEditor(Sci::SCI_GOTOPOS, sci.GetLineEndPosition(0));
    QTest::keyClick(sci.Editor(), Qt::Key_Return);
    QTest::keyClick(sci.Editor(), Qt::Key_Return);
    ASSERT_TRUE(window->SaveDoc(doc));
    EXPECT_EQ(Read(doc->strFile), QByteArray("#include <x.h>\r\n\r\n\r\nint a;\nint b;\r\n"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

} // namespace
