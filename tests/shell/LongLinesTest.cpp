#include "MainWindowFixture.h"
#include "editor/clsScintilla.h"
#include "shell/StatusBarPanels.h"

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
