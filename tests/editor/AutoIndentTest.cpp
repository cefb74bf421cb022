#include "TestEditorHost.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Real typing: the component reports each added character and the wrapper
// indents the new line.
class AutoIndentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.show();
        sci().AutoIndent(vbTrue);
        sci().SetFocus();
    }

    void Type(const QString &text, long caret)
    {
        sci().SetText(text);
        sci().SetSel(caret, caret);
    }

    void PressEnter() { QTest::keyClick(sci().Editor(), Qt::Key_Return); }

    clsScintilla &sci() { return host.sci(); }
    TestEditorHost host;
};

TEST_F(AutoIndentTest, ANewLineTakesTheIndentationAbove)
{
    Type(QStringLiteral("    int x;\nbelow\n"), 10);
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("    int x;\n    \nbelow\n"));
    EXPECT_EQ(sci().GetCurLine(), 1);
    EXPECT_EQ(sci().GetColumn(), 4);
}

TEST_F(AutoIndentTest, AtTheEndOfTheDocumentAndWithCrLfLineEnds)
{
    sci().LineBreak(QsciScintillaBase::SC_EOL_CRLF);
    Type(QStringLiteral("\tif (a)"), 7);
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("\tif (a)\r\n\t"));
    EXPECT_EQ(sci().GetColumn(), 8);
}

TEST_F(AutoIndentTest, EmptyLinesBetweenAreSkipped)
{
    Type(QStringLiteral("  a\n\n\n"), 5); // on the second empty line
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("  a\n\n\n  \n"));
}

TEST_F(AutoIndentTest, ALineOfBlanksLendsItsIndentation)
{
    Type(QStringLiteral("        x\n   \n"), 13);
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("        x\n   \n   \n"));
}

TEST_F(AutoIndentTest, NothingChangesWithoutIndentationToTake)
{
    Type(QStringLiteral("  ab"), 3); // Enter inside a line: the new line holds text
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("  a\nb"));

    Type(QStringLiteral("plain"), 5);
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("plain\n"));

    Type(QString(), 0);
    sci().MaintainIndentation(); // an empty first line
    EXPECT_EQ(sci().Text(), QByteArray());
}

TEST_F(AutoIndentTest, OnlyMinusOneSwitchesItOn)
{
    sci().AutoIndent(1);
    Type(QStringLiteral("    x"), 5);
    PressEnter();
    EXPECT_EQ(sci().Text(), QByteArray("    x\n"));
}

} // namespace
