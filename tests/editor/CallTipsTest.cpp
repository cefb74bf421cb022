#include "MessageLog.h"
#include "TestEditorHost.h"
#include "TestFiles.h"

#include <QApplication>
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
    LoadApi("CheckSum(x);\nSum(a,b);\nSum2(q,r);\n");
    Type(QStringLiteral("Sum(")); // the first entry holding "Sum" has it inside a longer name
    EXPECT_FALSE(TipShowing());
    Type(QStringLiteral(") Sum2(")); // the digit ends the word: the word is empty
    EXPECT_FALSE(TipShowing());
    sci().SetText(QString());
    Type(QStringLiteral("(")); // at the start of a line
    EXPECT_FALSE(TipShowing());
    EXPECT_TRUE(log.Of(Sci::SCI_CALLTIPSHOW).empty());
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

TEST_F(CallTipsTest, LongEntriesAndBinaryFilesAreHandled)
{
    const QByteArray longParam(100000, 'p');
    LoadApi("Big(" + longParam + ",b);\n");
    Type(QStringLiteral("Big(x,"));
    EXPECT_EQ(Highlight(), (std::pair<long, long>{5 + 100000, 5 + 100001}));

    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919) % 256);
    LoadApi(binary);
    EXPECT_GT(sci().APIEntryCount(), 100);
    Type(QStringLiteral(") a(b,c) ((, x(")); // whatever the entries hold, typing goes on
    EXPECT_TRUE(sci().Editor()->isVisible());
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
