#include "MessageLog.h"
#include "TestEditorHost.h"
#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class CallTipsTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override
    {
        host.show();
        sci().ShowCallTips(vbTrue);
        sci().SetFocus();
    }

    void LoadApi(const QByteArray &text) { ASSERT_TRUE(sci().LoadAPIFile(Write(QStringLiteral("test.api"), text)).ok()); }

    void Type(const QString &text)
    {
        QTest::keyClicks(sci().Editor(), text);
        QApplication::processEvents();
    }

    bool TipShowing() { return sci().CallTipActive() != 0; }

    std::string ShownTip() const
    {
        const auto shows = log.Of(Sci::SCI_CALLTIPSHOW);
        return shows.empty() ? std::string() : shows.back().text;
    }

    std::pair<long, long> Highlight() const
    {
        const auto spans = log.Of(Sci::SCI_CALLTIPSETHLT);
        return spans.empty() ? std::pair<long, long>{-1, -1} : std::pair{spans.back().wParam, spans.back().lParam};
    }

    clsScintilla &sci() { return host.sci(); }

    TestEditorHost host;
    MessageLog log{host.sci()};
};

TEST_F(CallTipsTest, TheHighlightFollowsTheCommasTyped)
{
    for (const QByteArray &lineEnd : {QByteArray("\r\n"), QByteArray("\n")}) {
        sci().SetText(QString());
        LoadApi("Header" + lineEnd + "Sum(a,b,c);" + lineEnd + "Mid(str,start,len);" + lineEnd);
        Type(QStringLiteral("Sum("));
        ASSERT_TRUE(TipShowing());
        EXPECT_EQ(ShownTip(), "Sum(a,b,c)");
        EXPECT_EQ(Highlight(), (std::pair<long, long>{4, 5}));
        Type(QStringLiteral("1"));
        EXPECT_EQ(Highlight(), (std::pair<long, long>{4, 5}));
        Type(QStringLiteral(","));
        EXPECT_EQ(Highlight(), (std::pair<long, long>{6, 7}));
        Type(QStringLiteral("2,3,")); // more arguments than the signature has
        EXPECT_EQ(Highlight(), (std::pair<long, long>{8, 9}));
        Type(QStringLiteral(")"));
        EXPECT_FALSE(TipShowing());
    }
}

TEST_F(CallTipsTest, ParameterSpansCountBytesOfTheTip)
{
    LoadApi("Mid(str,start,len);\n");
    Type(QStringLiteral("x = Mid("));
    EXPECT_EQ(ShownTip(), "Mid(str,start,len)");
    EXPECT_EQ(Highlight(), (std::pair<long, long>{4, 7}));
    Type(QStringLiteral("s,"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{8, 13}));
    Type(QStringLiteral("1,"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{14, 17}));
    Type(QStringLiteral("2,9"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{14, 17}));
    Type(QStringLiteral("(")); // a second "(" closes the tip and opens none
    EXPECT_FALSE(TipShowing());
}

TEST_F(CallTipsTest, NamesThatAreNotWholeWordsShowNothing)
{
    LoadApi("CheckSum(x);\nSum(a,b);\n");
    Type(QStringLiteral("Sum(")); // the first entry holding "Sum" has it inside a longer name
    EXPECT_FALSE(TipShowing());
    sci().SetText(QString());
    Type(QStringLiteral("(")); // at the start of a line
    EXPECT_FALSE(TipShowing());
    EXPECT_TRUE(log.Of(Sci::SCI_CALLTIPSHOW).empty());
}

// Digits belong to a name after its first character: a digit next to a name
// in an entry makes it part of a longer name, and a typed name keeps them.
TEST_F(CallTipsTest, DigitsArePartOfNames)
{
    LoadApi("fill(int a[2], int n);\nexp(double x);\nexp2(double x);\nexpm1(double x);\nlog10(double x);\nSum2(q,r);\n"
            "printf(const char *format, ...);\n");
    const struct
    {
        const char *typed;
        const char *tip; // empty: none
    } cases[] = {
        {"exp(", "exp(double x)"},     // exp2 after it is a longer name: not shown over it
        {"exp2(", "exp2(double x)"},   {"expm1(", "expm1(double x)"},
        {"y = log10(", "log10(double x)"}, {"Sum2(", "Sum2(q,r)"},
        {"printf(", "printf(const char *format, ...)"},
        {"x2printf(", ""}, // another name that ends in printf
        {"x = 2(", ""},    // a number is no name (though "2" stands alone in an entry)
        {"2printf(", ""},  // nor is what starts with a digit
    };
    for (const auto &c : cases) {
        sci().StopCallTip();
        sci().SetText(QString());
        log.clear();
        Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(ShownTip(), c.tip) << c.typed;
        EXPECT_EQ(TipShowing(), *c.tip != 0) << c.typed;
    }

    sci().SetText(QString());
    Type(QStringLiteral("a + x2"));
    sci().ShowAutoComplete(QStringLiteral("x2y x2z"));
    EXPECT_EQ(log.Of(Sci::SCI_AUTOCSHOW).back().wParam, 2);
}

TEST_F(CallTipsTest, AnEntryWithoutACommaCanBeReplacedByALaterOne)
{
    LoadApi("Open(name);\nOpen(name, mode);\n");
    Type(QStringLiteral("Open("));
    EXPECT_EQ(ShownTip(), "Open(name, mode)");
    EXPECT_EQ(Highlight(), (std::pair<long, long>{5, 9}));
}

TEST_F(CallTipsTest, TheLastLineWithoutALineEndIsNeverOffered)
{
    LoadApi("A(x, y);\nB(x, y);");
    EXPECT_EQ(sci().APIEntryCount(), 1);
    Type(QStringLiteral("B("));
    EXPECT_FALSE(TipShowing());
    Type(QStringLiteral(") A("));
    EXPECT_TRUE(TipShowing());
}

TEST_F(CallTipsTest, NothingWithoutAnApiListOrWithTipsSwitchedOff)
{
    Type(QStringLiteral("Sum("));
    EXPECT_FALSE(TipShowing());
    LoadApi("Sum(a,b);\n");
    sci().ShowCallTips(1); // only -1 switches them on
    Type(QStringLiteral(") Sum("));
    EXPECT_FALSE(TipShowing());
    EXPECT_EQ(sci().LoadAPIFile(Path(QStringLiteral("missing.api"))).outcome, FileIoResult::NotFound);
    EXPECT_EQ(sci().APIEntryCount(), 0);
}

// A tip is one line on the screen: a long entry shows its start and "…",
// and a parameter beyond the cut lights up the "…".
TEST_F(CallTipsTest, ALongEntryShowsACutTip)
{
    const QByteArray longParam(850000, 'p');
    LoadApi("Big(" + longParam + ",b);\n");
    Type(QStringLiteral("Big("));
    const std::string tip = ShownTip();
    EXPECT_EQ(tip, "Big(" + std::string(ApiEntry::TipLimit - 4, 'p') + "\xE2\x80\xA6");
    EXPECT_EQ(Highlight(), (std::pair<long, long>{4, ApiEntry::TipLimit}));
    Type(QStringLiteral("x,"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{ApiEntry::TipLimit, ApiEntry::TipLimit + 3}));
    Type(QStringLiteral("y,z")); // past the last parameter: still the last one, still cut off
    EXPECT_EQ(Highlight(), (std::pair<long, long>{ApiEntry::TipLimit, ApiEntry::TipLimit + 3}));

    // Cut between characters, never inside one; a parameter the cut runs
    // through lights up as far as it is shown.
    QByteArray wide;
    for (int i = 0; i < 200; ++i)
        wide += "参";
    LoadApi("Wide(a," + wide + ");\n");
    sci().StopCallTip();
    sci().SetText(QString());
    Type(QStringLiteral("Wide(1,"));
    const QByteArray shown = QByteArray::fromStdString(ShownTip());
    EXPECT_LE(shown.size(), ApiEntry::TipLimit + 3);
    EXPECT_GT(shown.size(), ApiEntry::TipLimit - 3);
    EXPECT_TRUE(shown.endsWith("参\xE2\x80\xA6"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{7, shown.size() - 3}));
}

// Found by the call-tip fuzzer: the component shows a tip up to its first
// NUL, so the highlight of a parameter past it fell outside the tip.
TEST_F(CallTipsTest, ANulInAnEntryCutsTheTipThere)
{
    LoadApi(QByteArray("Nul(int x,int y,z\0\0w);\n", 23));
    Type(QStringLiteral("Nul("));
    EXPECT_EQ(ShownTip(), "Nul(int x,int y,z\xE2\x80\xA6");
    Type(QStringLiteral("1,2,"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{16, 17}));
}

// Found by the call-tip fuzzer: without a ")" the last parameter ran to the
// line's last character, one past the tip.
TEST_F(CallTipsTest, AHighlightNeverPassesTheTipsEnd)
{
    LoadApi("Open(a,b\n");
    Type(QStringLiteral("Open(1,"));
    EXPECT_EQ(ShownTip(), "Open(a,");
    EXPECT_EQ(Highlight(), (std::pair<long, long>{7, 7}));
}

// Found by the call-tip fuzzer: the tip leaves out the line's last
// character, and a Chinese one is three bytes, not one.
TEST_F(CallTipsTest, TheLastCharacterLeftOutIsAWholeOne)
{
    LoadApi("Name(名\nWide(a,参数）\n");
    Type(QStringLiteral("Name("));
    EXPECT_EQ(ShownTip(), "Name(");
    sci().StopCallTip();
    Type(QStringLiteral(") Wide(1,"));
    EXPECT_EQ(ShownTip(), "Wide(a,参数");
    EXPECT_EQ(Highlight(), (std::pair<long, long>{7, 13}));
}

TEST_F(CallTipsTest, BinaryApiFilesAreHandled)
{
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    LoadApi(binary);
    EXPECT_GT(sci().APIEntryCount(), 100);
    Type(QStringLiteral("a(b,c) ((, x(")); // whatever the entries hold, typing goes on
    EXPECT_TRUE(sci().Editor()->isVisible());
}

// The API files the program ships: every name in them, typed with "(",
// shows its own signature.
TEST_F(CallTipsTest, EveryShippedNameShowsItsOwnSignature)
{
    const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters"));
    const QStringList files = shipped.entryList({QStringLiteral("*.api")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 2) << "the shipped API files are copied beside the program";
    for (const QString &name : files) {
        const QString path = shipped.filePath(name);
        ASSERT_TRUE(sci().LoadAPIFile(path).ok()) << path.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        qsizetype checked = 0;
        for (const QByteArray &line : lines) {
            if (line.isEmpty())
                continue;
            const QByteArray function = line.left(line.indexOf('('));
            ASSERT_FALSE(function.isEmpty()) << line.toStdString();
            sci().StopCallTip();
            sci().SetText(QString());
            log.clear();
            Type(QString::fromUtf8(function + '('));
            EXPECT_EQ(ShownTip(), line.chopped(1).toStdString()) << name.toStdString() << ": " << function.toStdString();
            ++checked;
        }
        EXPECT_EQ(checked, sci().APIEntryCount()) << name.toStdString();
    }
}

TEST_F(CallTipsTest, AutoCompletionTakesTheWordBeforeTheCaret)
{
    Type(QStringLiteral("(foo"));
    sci().ShowAutoComplete(QStringLiteral("foobar foobaz"));
    ASSERT_FALSE(log.Of(Sci::SCI_AUTOCSHOW).empty());
    EXPECT_EQ(log.Of(Sci::SCI_AUTOCSHOW).back().wParam, 3);
    EXPECT_EQ(log.Of(Sci::SCI_AUTOCSHOW).back().text, "foobar foobaz");
    EXPECT_NE(sci().SendEditor(Sci::SCI_AUTOCACTIVE), 0);
}

} // namespace
