#include "MainWindowFixture.h"
#include "editor/clsScintilla.h"
#include "shell/StatusBarPanels.h"

#include <QLabel>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

class LongLinesTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_saved = std::exchange(clsScintilla::LongLineBytes(), 4000);
        Start();
    }
    void TearDown() override
    {
        clsScintilla::LongLineBytes() = m_saved;
        MainWindowFixture::TearDown();
    }

private:
    qint64 m_saved = 0;
};

// A file with a line from the threshold on opens as plain text, unwrapped,
// with the layouts of the page kept, and says so; the 高亮 menu still
// colours it. Shorter lines open in their language as ever.
TEST_F(LongLinesTest, AFileWithAVeryLongLineOpensAsPlainTextUnwrapped)
{
    const QString longPath = Write(QStringLiteral("min.js"), "var a = 1;\n" + QByteArray(5000, 'x') + "\nint b;\n");
    const QString shortPath = Write(QStringLiteral("short.js"), "var a = 1;\n" + QByteArray(3000, 'x') + "\n");

    ASSERT_NE(window->OpenDocument(shortPath), nullptr);
    EXPECT_EQ(window->stb->PanelText(5), QStringLiteral("JavaScript"));
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETLAYOUTCACHE), Sci::SC_CACHE_CARET);

    ASSERT_NE(window->OpenDocument(longPath), nullptr);
    EXPECT_EQ(Editor().LongestLoadedLine(), 5000);
    EXPECT_EQ(window->stb->PanelText(5), QStringLiteral("Text"));
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETLAYOUTCACHE), Sci::SC_CACHE_PAGE);
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETWRAPMODE), 0);
    EXPECT_TRUE(window->stb->currentMessage().contains(QStringLiteral("很长的行"))) << window->stb->currentMessage().toStdString();

    ApplyHighlighter(Editor(), QStringLiteral("JavaScript")); // as the 高亮 menu does
    Editor().ColouriseRest();
    EXPECT_EQ(window->stb->PanelText(5), QStringLiteral("JavaScript"));
    EXPECT_NE(Editor().GetStyleAt(0), 0); // "var" is coloured again
}

} // namespace

namespace {

QByteArray StylesOf(clsScintilla &sci)
{
    QByteArray styles;
    for (long at = 0; at < sci.GetLen(); ++at)
        styles += char(sci.GetStyleAt(at));
    return styles;
}

// Shown as plain text, long lines are styled in two styles of the same look
// taking turns every few bytes (the component lays out short runs far
// faster); the turns fall between ASCII bytes only, and a language chosen
// from the 高亮 menu styles the text itself again.
TEST_F(LongLinesTest, PlainLongLinesAreStyledInShortRunsOfOneLook)
{
    QByteArray line;
    while (line.size() < 6000)
        line += "var total = count; /* 计算 */ ";
    const QString path = Write(QStringLiteral("min.js"), line + "\n");
    ASSERT_NE(window->OpenDocument(path), nullptr);
    ASSERT_EQ(window->stb->PanelText(5), QStringLiteral("Text"));
    Editor().ColouriseRest();

    const QByteArray styles = StylesOf(Editor());
    const QByteArray text = Editor().GetText();
    ASSERT_EQ(styles.size(), text.size());
    int turns = 0;
    for (qsizetype at = 1; at < styles.size(); ++at) {
        ASSERT_TRUE(styles[at] == 0 || styles[at] == 1) << "at " << at;
        if (styles[at] != styles[at - 1]) {
            ++turns;
            ASSERT_TRUE(uchar(text[at]) < 0x80 && uchar(text[at - 1]) < 0x80) << "a turn inside a character at " << at;
        }
    }
    EXPECT_GT(turns, text.size() / 40);
    for (const int message : {Sci::SCI_STYLEGETFORE, Sci::SCI_STYLEGETBACK, Sci::SCI_STYLEGETSIZE, Sci::SCI_STYLEGETBOLD})
        EXPECT_EQ(Editor().SendEditor(message, 1), Editor().SendEditor(message, 0)) << "message " << message;
    // The plain style changed (dark colours, say) and the language applied
    // again: the twin follows it.
    Editor().SendEditor(Sci::SCI_STYLESETFORE, 0, 0x123456);
    Editor().SetLexer(Sci::SCLEX_NULL);
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_STYLEGETFORE, 1), 0x123456);

    // Typing in the line keeps the runs going.
    Editor().SetCurrentPosition(100);
    Editor().SendEditor(Sci::SCI_SETSEL, 100, 100);
    Editor().ReplaceSel(QStringLiteral("abc"));
    Editor().ColouriseRest();
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_GETENDSTYLED), Editor().GetLen());

    ApplyHighlighter(Editor(), QStringLiteral("JavaScript"));
    Editor().ColouriseRest();
    EXPECT_NE(Editor().SendEditor(Sci::SCI_GETLEXER), long(Sci::SCLEX_CONTAINER));
    EXPECT_NE(Editor().GetStyleAt(0), 0); // "var" is a keyword again
}

} // namespace

namespace {

// A message shown before the window is (the note on long lines of a file
// named at start) hides the panels it would be drawn over, until it goes.
TEST(StatusBarMessageTest, AMessageShownBeforeTheWindowHidesThePanels)
{
    StatusBarPanels bar;
    bar.SetPanelText(1, QStringLiteral("当前行: 0"));
    bar.showMessage(QStringLiteral("有很长的行"));
    bar.show();
    EXPECT_FALSE(bar.Panel(1)->isVisible());
    bar.clearMessage();
    EXPECT_TRUE(bar.Panel(1)->isVisible());
}

} // namespace
