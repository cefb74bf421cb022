#include "RecordingProgress.h"
#include "TestEditorHost.h"
#include "SmallFilesystem.h"
#include "TestFiles.h"
#include "UnprivilegedScope.h"
#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

using Sci = QsciScintillaBase;

namespace {

using Runs = std::vector<std::pair<int, int>>; // (length in bytes, style)

const QByteArray BodyOpen = "  <BODY BGCOLOR=#FFFFFF TEXT=#000000>";
const QByteArray BodyClose = "\r\n  </BODY>\r\n</HTML>\r\n";

class HtmlExportTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        ResetHighlighterTable();
        SettingsStore::SaveSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"),
                                   QStringLiteral("SiteAddress"), QString());
    }

    clsScintilla &sci() { return host.sci(); }

    // The text with exactly these styles; the container lexer leaves them be.
    static void Styled(clsScintilla &editor, const QByteArray &text, const Runs &runs)
    {
        editor.SetLexer(0);
        editor.SetTextBytes(text);
        editor.Editor()->SendScintilla(Sci::SCI_STARTSTYLING, 0UL, 0xFFL);
        for (const auto &[length, style] : runs)
            editor.Editor()->SendScintilla(Sci::SCI_SETSTYLING, static_cast<unsigned long>(length), long(style));
    }

    static int AddHighlighter(const std::function<void(Highlighter &)> &fill)
    {
        Highlighter entry;
        fill(entry);
        HighlighterTable.push_back(entry);
        HighlighterCount = std::int16_t(HighlighterTable.size());
        return int(HighlighterTable.size()) - 1;
    }

    QByteArray Export(clsScintilla &editor, const QString &name = QStringLiteral("page.html"))
    {
        const FileIoResult result = ExportHtml(Path(name), editor);
        EXPECT_TRUE(result.ok()) << result.reason.toStdString();
        return Read(Path(name));
    }

    static QByteArray Body(const QByteArray &page)
    {
        const qsizetype start = page.indexOf(BodyOpen);
        const qsizetype end = page.lastIndexOf(BodyClose);
        if (start < 0 || end < start)
            return "<no body>";
        return page.mid(start + BodyOpen.size(), end - start - BodyOpen.size());
    }

    static QByteArray Rules(const QByteArray &page)
    {
        const QByteArray open = "<style type=\"text/css\">\r\n";
        const qsizetype start = page.indexOf(open);
        const qsizetype end = page.indexOf("</style>\r\n");
        if (start < 0 || end < start)
            return "<no style block>";
        return page.mid(start + open.size(), end - start - open.size());
    }

    TestEditorHost host;
};

TEST_F(HtmlExportTest, AnEmptyDocumentGivesTheFrameAlone)
{
    EXPECT_EQ(Export(sci()), QByteArray("<HTML>\r\n"
                                        "  <HEAD>\r\n"
                                        "    <Meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
                                        "    <Meta Generator=\"CScintilla Class (https://www.ferrolan.example)\">\r\n"
                                        "<style type=\"text/css\">\r\n"
                                        "</style>\r\n"
                                        "  </HEAD>\r\n"
                                        "  <BODY BGCOLOR=#FFFFFF TEXT=#000000>\r\n"
                                        "  </BODY>\r\n"
                                        "</HTML>\r\n"));
}

TEST_F(HtmlExportTest, TheGeneratorLineNamesTheSiteSafely)
{
    SettingsStore::SaveSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"), QStringLiteral("SiteAddress"),
                               QStringLiteral("https://other.example/a\"><script>&"));
    const QByteArray page = Export(sci());
    EXPECT_TRUE(page.contains("    <Meta Generator=\"CScintilla Class (https://other.example/a&quot;&gt;&lt;script&gt;&amp;)\">\r\n"))
        << page.constData();
    EXPECT_FALSE(page.contains("<script>"));
}

TEST_F(HtmlExportTest, BodiesWriteOneSpanPerStyleRunAndEscapeMarkup)
{
    struct Case
    {
        const char *what;
        QByteArray text;
        Runs runs;
        QByteArray body;
    };
    const std::vector<Case> cases = {
        {"blank", "a b", {{3, 0}}, "<span class=c0>a&nbsp;b</span>"},
        {"CR LF", "x\r\ny", {{4, 3}}, "<span class=c3>x<BR>\ny</span>"},
        {"LF alone", "x\ny\n", {{4, 0}}, "<span class=c0>x<BR>\ny<BR>\n</span>"},
        {"CR alone", "x\ry", {{3, 0}}, "<span class=c0>x<BR>y</span>"},
        {"runs", "int a;", {{3, 5}, {1, 0}, {1, 11}, {1, 10}},
         "<span class=c5>int</span><span class=c0>&nbsp;</span><span class=c11>a</span><span class=c10>;</span>"},
        {"markup", "<script>alert(\"a&b's\")</script>", {{31, 6}},
         "<span class=c6>&lt;script&gt;alert(&quot;a&amp;b&#39;s&quot;)&lt;/script&gt;</span>"},
        {"style past 127", "ab", {{1, 200}, {1, 0}}, "<span class=c200>a</span><span class=c0>b</span>"},
        // A character whose later bytes carry another style stays whole.
        {"Chinese", "\xE6\xB3\xA8\xE9\x87\x8A", {{1, 1}, {2, 4}, {3, 1}}, "<span class=c1>\xE6\xB3\xA8\xE9\x87\x8A</span>"},
        {"broken UTF-8", QByteArray("a\xFF\xE6\xB3z\0", 6), {{6, 0}},
         "<span class=c0>a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz\xEF\xBF\xBD</span>"},
        {"cut at the end", "a\xE6\xB3", {{3, 0}}, "<span class=c0>a\xEF\xBF\xBD\xEF\xBF\xBD</span>"},
    };
    for (const Case &c : cases) {
        Styled(sci(), c.text, c.runs);
        EXPECT_EQ(Body(Export(sci())), c.body) << c.what;
    }
}

// A browser collapses a raw tab; the page shows the blanks up to the
// editor's next tab stop instead.
TEST_F(HtmlExportTest, TabsBecomeBlanksUpToTheNextTabStop)
{
    auto blanks = [](int n) { return QByteArray("&nbsp;").repeated(n); };
    sci().SendEditor(Sci::SCI_SETTABWIDTH, 4);
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {"\tx", blanks(4) + "x"},
        {"ab\tc", "ab" + blanks(2) + "c"},
        {"abcd\te\t\t", "abcd" + blanks(4) + "e" + blanks(3) + blanks(4)},
        {"\xE4\xB8\xAD\tx", "\xE4\xB8\xAD" + blanks(3) + "x"}, // a character is one column
        {"abc\r\n\tx\r\ty", "abc<BR>\n" + blanks(4) + "x<BR>" + blanks(4) + "y"}, // line ends start over
        {"a<\t", "a&lt;" + blanks(2)},
    };
    for (const auto &[text, body] : cases) {
        Styled(sci(), text, {{int(text.size()), 0}});
        EXPECT_EQ(Body(Export(sci())), "<span class=c0>" + body + "</span>") << text.constData();
    }

    // The column goes on across style runs; blocks of wide tab stops stay whole.
    sci().SendEditor(Sci::SCI_SETTABWIDTH, 1000);
    const QByteArray text = "a\tb" + QByteArray(1500, '\t');
    Styled(sci(), text, {{2, 1}, {int(text.size()) - 2, 2}});
    const QByteArray body = Body(Export(sci()));
    EXPECT_TRUE(body.startsWith("<span class=c1>a" + blanks(999) + "</span><span class=c2>b" + blanks(999) + "&nbsp;"))
        << body.left(100).constData();
    EXPECT_EQ(body.size(), QByteArray("<span class=c1>a</span><span class=c2>b</span>").size()
                               + 6 * (999 + 999 + 1499 * 1000));
}

TEST_F(HtmlExportTest, EachStyleInUseGetsOneRuleFromItsLook)
{
    sci().lHighlighterNum = AddHighlighter([](Highlighter &h) {
        h.Font[5] = QStringLiteral("Courier New");
        h.Fore[5] = 255;
        h.Back[5] = 16777215;
        h.Size[5] = 10;
        h.Bold[5] = 1;
        h.Italic[2] = 1;
        h.Underline[2] = 1;
        h.Underline[3] = 1;
        h.Font[9] = QStringLiteral("Odd'Font</style>");
        h.Fore[100] = 0x123456; // never used: no rule
    });
    Styled(sci(), "abcdefgh", {{1, 5}, {1, 0}, {1, 2}, {1, 3}, {1, 9}, {1, 5}, {1, 150}, {1, 0}});
    EXPECT_EQ(Rules(Export(sci())), QByteArray(".c0 {\r\nfont-weight: 400;\r\n}\r\n"
                                               ".c2 {\r\nfont-weight: 400;\r\nfont-style: italic;\r\n"
                                               "text-decoration: underline;\r\n}\r\n"
                                               ".c3 {\r\nfont-weight: 400;\r\ntext-decoration: underline;\r\n}\r\n"
                                               ".c5 {\r\nfont-family: 'Courier New';\r\ncolor: #FF0000;\r\n"
                                               "background: #FFFFFF;\r\nfont-size: 10pt;\r\nfont-weight: 700;\r\n}\r\n"
                                               ".c9 {\r\nfont-family: 'Odd\\'Font\\3C /style>';\r\nfont-weight: 400;\r\n}\r\n"));
}

// CSS ends a string at a form feed as at a line end: no control character
// reaches the page raw.
TEST_F(HtmlExportTest, ControlCharactersInAFontNameAreEscaped)
{
    sci().lHighlighterNum = AddHighlighter([](Highlighter &h) {
        h.Font[0] = QString::fromUtf16(u"A\fB\r\n\t") + QChar(0) + QString::fromUtf16(u"\x7F\u0085中'");
    });
    Styled(sci(), "x", {{1, 0}});
    const QByteArray rules = Rules(Export(sci()));
    EXPECT_TRUE(rules.contains("font-family: 'A\\C B\\D \\A \\9 \\0 \\7F \\85 中\\'';\r\n")) << rules.constData();
    for (int c = 0; c < 0x20; ++c) {
        if (c != '\r' && c != '\n') {
            EXPECT_FALSE(rules.contains(char(c))) << c;
        }
    }
}

TEST_F(HtmlExportTest, HtmlColourWritesRedGreenBlue)
{
    EXPECT_EQ(HtmlColour(0x00FF8000), QStringLiteral("#0080FF"));
    EXPECT_EQ(HtmlColour(1), QStringLiteral("#010000"));
    EXPECT_EQ(HtmlColour(255), QStringLiteral("#FF0000"));
    EXPECT_EQ(HtmlColour(0), QStringLiteral("#000000"));
    EXPECT_EQ(HtmlColour(0x7FABCDEF), QStringLiteral("#EFCDAB")); // only the colour bits
}

TEST_F(HtmlExportTest, ReadingInBlocksMissesNothing)
{
    // Blocks are 64 KiB: a character straddles the first boundary and a
    // style turns up only far beyond it.
    QByteArray text(65535, 'a');
    text += "\xE4\xB8\xAD";
    text += QByteArray(70000, 'b');
    text += "z";
    Styled(sci(), text, {{65535 + 3 + 70000, 0}, {1, 7}});
    const QByteArray page = Export(sci());
    EXPECT_TRUE(Rules(page).contains(".c7 {\r\n"));
    EXPECT_EQ(Body(page), "<span class=c0>" + QByteArray(65535, 'a') + "\xE4\xB8\xAD" + QByteArray(70000, 'b')
                              + "</span><span class=c7>z</span>");
}

TEST_F(HtmlExportTest, TwoExportsInARowGiveTwoCompletePages)
{
    Styled(sci(), "first", {{5, 1}});
    const QByteArray one = Export(sci(), QStringLiteral("one.html"));
    Styled(sci(), "second", {{6, 2}});
    const QByteArray two = Export(sci(), QStringLiteral("two.html"));
    EXPECT_EQ(Body(one), "<span class=c1>first</span>");
    EXPECT_EQ(Body(two), "<span class=c2>second</span>");
    EXPECT_TRUE(two.startsWith("<HTML>\r\n"));
    EXPECT_TRUE(two.endsWith(BodyClose));
    EXPECT_EQ(two.count("<HTML>"), 1);
    EXPECT_FALSE(Rules(two).contains(".c1 {"));
}

TEST_F(HtmlExportTest, StylesComeFromTheExportedEditorsOwnHighlighter)
{
    const int red = AddHighlighter([](Highlighter &h) { h.Fore[1] = 0x0000FF; });
    const int blue = AddHighlighter([](Highlighter &h) { h.Fore[1] = 0xFF0000; });
    sci().lHighlighterNum = red;
    TestEditorHost other;
    other.sci().lHighlighterNum = blue;
    CurrentHighlighter = std::int16_t(blue); // applied last, to the other editor
    Styled(sci(), "x", {{1, 1}});
    EXPECT_TRUE(Rules(Export(sci())).contains("color: #FF0000;"));

    sci().lHighlighterNum = 99; // an index the table does not have
    EXPECT_EQ(Rules(Export(sci())), QByteArray(".c1 {\r\nfont-weight: 400;\r\n}\r\n"));
}

TEST_F(HtmlExportTest, TextTheLexerHasNotReachedIsColouredFirst)
{
    LoadHighlighter(QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters/CPP.CHL"));
    ASSERT_EQ(HighlighterCount, 1);
    ApplyHighlighter(sci(), QStringLiteral("CPP"));
    sci().SetTextBytes("// \xE6\xB3\xA8\xE9\x87\x8A\n");
    sci().Colourise();
    const QByteArray more = "int n = 1;\n";
    sci().Editor()->SendScintilla(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(more.size()), more.constData());
    ASSERT_LT(sci().SendEditor(Sci::SCI_GETENDSTYLED), sci().GetLen());

    const QByteArray page = Export(sci());
    EXPECT_EQ(Body(page), "<span class=c2>//&nbsp;\xE6\xB3\xA8\xE9\x87\x8A<BR>\n</span><span class=c5>int</span>"
                          "<span class=c0>&nbsp;</span><span class=c11>n</span><span class=c0>&nbsp;</span>"
                          "<span class=c10>=</span><span class=c0>&nbsp;</span><span class=c4>1</span>"
                          "<span class=c10>;</span><span class=c0><BR>\n</span>");
    EXPECT_TRUE(Rules(page).contains(".c5 {\r\nfont-family: 'Courier New';\r\ncolor: #000080;\r\n"
                                     "background: #FFFFFF;\r\nfont-size: 10pt;\r\nfont-weight: 700;\r\n}\r\n"));
}

TEST_F(HtmlExportTest, AFailedExportSaysWhyAndLeavesTheOldFileWhole)
{
    Styled(sci(), "text", {{4, 0}});
    const FileIoResult nowhere = ExportHtml(Path(QStringLiteral("no/such/folder/page.html")), sci());
    EXPECT_EQ(nowhere.outcome, FileIoResult::Failed);
    EXPECT_FALSE(nowhere.reason.isEmpty());

    QDir(dir.path()).mkdir(QStringLiteral("ro"));
    const QString old = Write(QStringLiteral("ro/page.html"), "old page");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ExeOther);
    QFile::setPermissions(Path(QStringLiteral("ro")), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                          | QFileDevice::ReadOther | QFileDevice::ExeOther);
    QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                   | QFileDevice::WriteOther);
    {
        UnprivilegedScope user;
        ASSERT_TRUE(user.active());
        const FileIoResult locked = ExportHtml(old, sci());
        EXPECT_EQ(locked.outcome, FileIoResult::Failed);
        EXPECT_FALSE(locked.reason.isEmpty());
    }
    EXPECT_EQ(Read(old), QByteArray("old page"));
}

// Small, medium and large pages onto a disk that is full or nearly so.
TEST_F(HtmlExportTest, AFullDiskFailsTheExportAndKeepsTheOldPage)
{
    for (const FullDiskCase &c : FullDiskCases) {
        SCOPED_TRACE(c.what);
        const int length = int(c.size) - 300; // the page's frame is about 300 bytes
        Styled(sci(), QByteArray(length, 'a'), {{length, 0}});
        SmallFilesystem disk(Path(QStringLiteral("disk")), c.diskKiB);
        if (!disk.mounted())
            GTEST_SKIP() << "no privilege to mount a small file system here";
        const QString old = Write(QStringLiteral("disk/page.html"), "old page");
        ASSERT_LT(disk.FillLeaving(c.free), c.size);

        const FileIoResult result = ExportHtml(old, sci());
        EXPECT_EQ(result.outcome, FileIoResult::Failed);
        EXPECT_EQ(result.reason, QStringLiteral("磁盘空间不足。"));
        EXPECT_EQ(Read(old), QByteArray("old page"));
    }
}

// A C++ text long enough for many slices, not coloured yet.
QByteArray SourceLines(int lines)
{
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += "int value" + QByteArray::number(i) + " = " + QByteArray::number(i * 7) + "; // \xE6\xB3\xA8 <" +
                QByteArray::number(i) + ">\r\n";
    return text;
}

class HtmlExportProgressTest : public HtmlExportTest
{
protected:
    void SetUp() override
    {
        HtmlExportTest::SetUp();
        LoadHighlighter(QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters/CPP.CHL"));
        ASSERT_EQ(HighlighterCount, 1);
    }

    static void Uncoloured(clsScintilla &editor, const QByteArray &text)
    {
        ApplyHighlighter(editor, QStringLiteral("CPP"));
        editor.SetTextBytes(text);
        ASSERT_LT(editor.SendEditor(Sci::SCI_GETENDSTYLED), editor.GetLen());
    }

    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }
};

// Colouring, reading styles and writing the body in slices shows its
// progress up to the end and gives the same page as in one go.
TEST_F(HtmlExportProgressTest, ProgressRunsToTheEndAndSlicesChangeNothing)
{
    const QByteArray text = SourceLines(12000);
    Uncoloured(sci(), text);
    TestEditorHost whole;
    Uncoloured(whole.sci(), text);
    const QByteArray expected = Export(whole.sci(), QStringLiteral("whole.html"));

    RecordingProgress progress;
    QuickSlices slices(8192);
    const QByteArray page = Export(sci());
    EXPECT_EQ(page, expected);
    EXPECT_EQ(progress.tasks, QStringList{QStringLiteral("正在导出为HTML")});
    ASSERT_GT(progress.percents.size(), 50u);
    EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));
    EXPECT_LT(progress.percents.front(), 5);
    EXPECT_GE(progress.percents.back(), 99);
    EXPECT_FALSE(progress.visible);
}

// Stopped while colouring, while reading styles or while writing, the
// export reports it, the old page keeps its bytes and nothing is left
// beside it; an export after that writes the whole page.
TEST_F(HtmlExportProgressTest, AStoppedExportLeavesTheOldPageAndTheNextOneWorks)
{
    Uncoloured(sci(), SourceLines(8000));
    RecordingProgress progress;
    QuickSlices slices(8192);
    const QString page = Write(QStringLiteral("page.html"), "old page");
    for (const int stopAt : {10, 50, 90}) {
        SCOPED_TRACE(stopAt);
        progress.stopAt = stopAt;
        const FileIoResult result = ExportHtml(page, sci());
        EXPECT_EQ(result.outcome, FileIoResult::Stopped);
        EXPECT_EQ(Read(page), QByteArray("old page"));
        EXPECT_EQ(Entries(), QStringList{QStringLiteral("page.html")});
        EXPECT_FALSE(progress.visible);
    }
    // Stopped with no page there before, none is made.
    const FileIoResult fresh = ExportHtml(Path(QStringLiteral("new.html")), sci());
    EXPECT_EQ(fresh.outcome, FileIoResult::Stopped);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("new.html"))));

    progress.stopAt = -1;
    const QByteArray whole = Export(sci());
    EXPECT_TRUE(whole.startsWith("<HTML>\r\n"));
    EXPECT_TRUE(whole.endsWith(BodyClose));
    EXPECT_TRUE(Body(whole).contains("value7999"));
}

// A page with a second name is written in place; stopped half way, both
// names still hold the old bytes.
TEST_F(HtmlExportProgressTest, AStoppedExportInPlacePutsTheOldBytesBack)
{
    Uncoloured(sci(), SourceLines(8000));
    const QByteArray old = "old page, " + QByteArray(1000, 'o');
    const QString page = Write(QStringLiteral("page.html"), old);
    const QString other = Path(QStringLiteral("other.html"));
    ASSERT_EQ(::link(QFile::encodeName(page).constData(), QFile::encodeName(other).constData()), 0);
    RecordingProgress progress;
    progress.stopAt = 90;
    QuickSlices slices(8192);
    EXPECT_EQ(ExportHtml(page, sci()).outcome, FileIoResult::Stopped);
    EXPECT_EQ(Read(page), old);
    EXPECT_EQ(Read(other), old);
}

} // namespace
