#include "TestEditorHost.h"
#include "editor/BackgroundColouring.h"
#include "highlight/HighlighterFolders.h"
#include "highlight/modHighlighter.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

// Constructs that run over many lines (comments, strings, tags, here
// documents) are where colouring in slices could go wrong: a slice starting
// inside one must go on as a full colourise would.
QByteArray MixedSource(int blocks)
{
    static const char *const block =
        "#include <stdio.h>\n"
        "/* a comment\n   that runs over\n   three lines */\n"
        "int main(int argc, char **argv) { return printf(\"%d\\n\", argc); }\n"
        "<html><body class=\"x\">\n<!-- a comment\n over two lines -->\n<p>文字 &amp; text</p></body></html>\n"
        "def f(x):\n    \"\"\"a docstring\n    over two lines\"\"\"\n    return x + 1  # comment\n"
        "SELECT name FROM t WHERE id = 'a''b'; -- sql\n"
        "cat <<EOF\nhere document $HOME\nEOF\n"
        "{ \"key\": [1, 2.5, true], 'single': \"double\" }\n"
        "local s = [[a long\nlua string]] -- lua\n"
        "\\begin{document} $x^2$ \\end{document} % tex\n";
    QByteArray text;
    for (int i = 0; i < blocks; ++i)
        text += block;
    return text;
}

QByteArray Styles(clsScintilla &sci)
{
    const long length = sci.GetLen();
    QByteArray styled(2 * length + 2, '\0');
    sci.GetStyledText(0, length, styled.data());
    QByteArray styles(length, '\0');
    for (qsizetype i = 0; i < length; ++i)
        styles[i] = styled[2 * i + 1];
    return styles;
}

// Where two stylings first differ, -1 if they do not: a whole huge
// mismatch says nothing a reader can use.
qsizetype FirstDifference(const QByteArray &a, const QByteArray &b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i)
        if (a[i] != b[i])
            return i;
    return a.size() == b.size() ? -1 : common;
}

void WaitForColouring(clsScintilla &sci)
{
    while (sci.ColouringPending())
        QApplication::processEvents();
}

class BackgroundColouringTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetHighlighterTable();
        LoadHighlighterFolders(HighlighterFolders::ForProgram().lookup);
        m_saved = BackgroundColouring::SliceTime();
        BackgroundColouring::SliceTime() = std::chrono::microseconds(1); // as many slices as can be
        m_savedLines = BackgroundColouring::SizeTablesFromLines();
        BackgroundColouring::SizeTablesFromLines() = 0; // line states sized at once, as in a huge file
    }
    void TearDown() override
    {
        BackgroundColouring::SliceTime() = m_saved;
        BackgroundColouring::SizeTablesFromLines() = m_savedLines;
        ResetHighlighterTable();
    }

private:
    std::chrono::microseconds m_saved{};
    long m_savedLines = 0;
};

QList<long> FoldLevels(clsScintilla &sci)
{
    QList<long> levels;
    for (long line = 0; line < sci.SendEditor(Sci::SCI_GETLINECOUNT); ++line)
        levels << sci.SendEditor(Sci::SCI_GETFOLDLEVEL, line);
    return levels;
}

// Applying a language colours the screen at once and the rest between
// events; once done, every byte carries the style a full colourise gives,
// for every shipped language.
TEST_F(BackgroundColouringTest, EveryShippedLanguageEndsAsAFullColourise)
{
    ASSERT_GT(HighlighterCount, 10);
    const QByteArray text = MixedSource(400); // about 140 KB
    for (const Highlighter &language : HighlighterTable) {
        SCOPED_TRACE(language.LangName.toStdString());
        TestEditorHost sliced, whole;
        sliced.resize(600, 300);
        sliced.sci().SizeScintilla(0, 0, 600, 300);
        sliced.SetTextRaw(text);
        whole.SetTextRaw(text);

        ApplyHighlighter(sliced.sci(), language.LangName);
        const long styledAtOnce = sliced.sci().SendEditor(Sci::SCI_GETENDSTYLED);
        ApplyHighlighter(whole.sci(), language.LangName);
        whole.sci().Colourise();
        WaitForColouring(sliced.sci());

        EXPECT_EQ(FirstDifference(Styles(sliced.sci()), Styles(whole.sci())), -1);
        EXPECT_EQ(FoldLevels(sliced.sci()), FoldLevels(whole.sci()));
        if (sliced.sci().SendEditor(Sci::SCI_GETLEXER) > 1) { // a lexer that styles at all
            EXPECT_LT(styledAtOnce, text.size()) << "the rest was left for the slices";
            EXPECT_GE(styledAtOnce, sliced.sci().PositionFromLine(100)) << "the screen and a margin at once";
        }
    }
}

// Typing while the slices run moves the styled end back; the slices go on
// from there and the end state is the full colourise of the edited text.
TEST_F(BackgroundColouringTest, TypingMeanwhileStillEndsAsAFullColourise)
{
    const QByteArray text = MixedSource(3000); // about 1 MB: many slices
    TestEditorHost sliced, whole;
    sliced.SetTextRaw(text);
    ApplyHighlighter(sliced.sci(), QStringLiteral("CPP"));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(); // some slices
    ASSERT_TRUE(sliced.sci().ColouringPending());
    sliced.sci().SetCurrentPosition(0);
    sliced.sci().SendEditor(Sci::SCI_SETSEL, 0, 0);
    sliced.sci().ReplaceSel(QStringLiteral("/* "));       // an open comment: the whole file changes colour
    WaitForColouring(sliced.sci());

    whole.SetTextRaw("/* " + text);
    ApplyHighlighter(whole.sci(), QStringLiteral("CPP"));
    whole.sci().Colourise();
    EXPECT_EQ(FirstDifference(Styles(sliced.sci()), Styles(whole.sci())), -1);
}

// What reads styles (export, printing) completes the colouring first.
TEST_F(BackgroundColouringTest, ColouriseRestCompletesWhatTheSlicesHaveNotReached)
{
    TestEditorHost host;
    host.SetTextRaw(MixedSource(300));
    ApplyHighlighter(host.sci(), QStringLiteral("CPP"));
    ASSERT_TRUE(host.sci().ColouringPending());
    host.sci().ColouriseRest();
    EXPECT_FALSE(host.sci().ColouringPending());
    EXPECT_EQ(host.sci().SendEditor(Sci::SCI_GETENDSTYLED), host.sci().GetLen());
}

} // namespace

namespace {

// A jump past where the colouring has got (Ctrl+End in a huge file) must
// not colour everything before the screen at once; the screen there takes
// its colours as the colouring reaches it, and the end state is unchanged.
TEST_F(BackgroundColouringTest, AJumpToTheEndDoesNotColourAllBeforeIt)
{
    const QByteArray text = MixedSource(6000); // about 2 MB
    TestEditorHost sliced, whole;
    sliced.resize(600, 300);
    sliced.sci().SizeScintilla(0, 0, 600, 300);
    sliced.show();
    sliced.SetTextRaw(text);
    ApplyHighlighter(sliced.sci(), QStringLiteral("CPP"));
    ASSERT_TRUE(sliced.sci().ColouringPending());

    sliced.sci().SendEditor(Sci::SCI_DOCUMENTEND);
    sliced.sci().Editor()->viewport()->repaint();
    EXPECT_LT(sliced.sci().SendEditor(Sci::SCI_GETENDSTYLED), text.size() / 2);

    WaitForColouring(sliced.sci());
    whole.SetTextRaw(text);
    ApplyHighlighter(whole.sci(), QStringLiteral("CPP"));
    whole.sci().Colourise();
    EXPECT_EQ(FirstDifference(Styles(sliced.sci()), Styles(whole.sci())), -1);
}

} // namespace

namespace {

// In a huge file the line states a lexer keeps are made as long as the
// document once the lexer is seen keeping them, not grown as the slices go
// down it.
TEST_F(BackgroundColouringTest, LineStatesReachTheLastLineBeforeTheSlicesDo)
{
    TestEditorHost host;
    host.resize(600, 300);
    host.sci().SizeScintilla(0, 0, 600, 300);
    host.SetTextRaw(MixedSource(3000));
    ApplyHighlighter(host.sci(), QStringLiteral("HTML"));
    const long lastLine = host.sci().SendEditor(Sci::SCI_GETLINECOUNT) - 1;
    for (int i = 0; i < 3 && host.sci().SendEditor(Sci::SCI_GETMAXLINESTATE) < lastLine; ++i)
        QApplication::processEvents();
    EXPECT_GE(host.sci().SendEditor(Sci::SCI_GETMAXLINESTATE), lastLine);
    EXPECT_TRUE(host.sci().ColouringPending()) << "sized before the slices were done";
}

} // namespace
