#include "TestEditorHost.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class EditorTextTest : public ::testing::Test
{
protected:
    clsScintilla &sci() { return host.sci(); }
    TestEditorHost host;
};

TEST_F(EditorTextTest, TheTextIsExactlyTheDocument)
{
    sci().Text(QStringLiteral("abc"));
    EXPECT_EQ(sci().Text(), QByteArray("abc"));
    EXPECT_EQ(sci().GetLen(), 3);
    EXPECT_EQ(sci().GetDocLen(), 3);

    sci().SetText(QStringLiteral("中文"));
    EXPECT_EQ(sci().GetLen(), 6); // lengths are bytes
    sci().SetTextBytes(QByteArray("a\0b", 3));
    EXPECT_EQ(sci().GetText(), QByteArray("a\0b", 3));
}

TEST_F(EditorTextTest, AnEmptyDocumentHasOneLine)
{
    sci().SetText(QString());
    EXPECT_EQ(sci().GetLineCount(), 1);
    EXPECT_EQ(sci().GetLastLine(), 1);
    EXPECT_EQ(sci().GetCharAt(5), QByteArray(1, '\0'));
    EXPECT_EQ(sci().GetCharAtLong(5), 0);
    EXPECT_TRUE(sci().GetLine(0).isEmpty());
}

TEST_F(EditorTextTest, LinesPositionsAndCharacters)
{
    sci().SetText(QStringLiteral("ab\r\n\tcd\r\nlast"));
    EXPECT_EQ(sci().GetLineCount(), 3);
    EXPECT_EQ(sci().PositionFromLine(1), 4);
    EXPECT_EQ(sci().GetLineEndPosition(1), 7);
    EXPECT_EQ(sci().GetLine(1), QByteArray("\tcd\r\n"));
    EXPECT_EQ(sci().GetLine(2), QByteArray("last"));
    EXPECT_EQ(sci().GetLineIndentation(1), 8); // a tab reaches the next tab stop
    EXPECT_EQ(sci().GetLineIndentPosition(1), 5);

    sci().SetCurrentPosition(6);
    sci().SetSel(6, 6);
    EXPECT_EQ(sci().GetCurPos(), 6);
    EXPECT_EQ(sci().GetCurLine(), 1);
    EXPECT_EQ(sci().GetCaretInLine(), 2);
    EXPECT_EQ(sci().GetColumn(), 9);
    EXPECT_EQ(sci().GetCharAt(5), QByteArray("c"));

    sci().SetLineIndentation(2, 4);
    EXPECT_EQ(sci().GetLine(2), QByteArray("    last"));

    sci().SetText(QStringLiteral("é"));
    EXPECT_EQ(sci().CharAtPos(0), -61); // 0xC3 arrives as a signed byte
    EXPECT_EQ(sci().GetCharAtLong(1), -87);
}

TEST_F(EditorTextTest, SelectionReplacementAndUndo)
{
    sci().SetText(QStringLiteral("hello 世界 world"));
    sci().SetSel(6, 12);
    EXPECT_EQ(sci().GetSelStart(), 6);
    EXPECT_EQ(sci().GetSelEnd(), 12);
    EXPECT_EQ(sci().SelText(), QStringLiteral("世界"));

    sci().SelText(QStringLiteral("地球"));
    EXPECT_EQ(sci().Text(), QByteArray("hello 地球 world"));
    sci().Undo();
    EXPECT_EQ(sci().Text(), QByteArray("hello 世界 world"));
    sci().Redo();
    EXPECT_EQ(sci().Text(), QByteArray("hello 地球 world"));

    sci().SelectAll();
    EXPECT_EQ(sci().GetSelEnd(), sci().GetLen());
    sci().SetSel(0, 0);
    EXPECT_EQ(sci().SelText(), QString());
}

TEST_F(EditorTextTest, ClipboardCommands)
{
    sci().SetText(QStringLiteral("cut me"));
    sci().SetSel(0, 4);
    sci().Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("cut "));
    sci().Cut();
    EXPECT_EQ(sci().Text(), QByteArray("me"));
    sci().SetSel(2, 2);
    sci().Paste();
    EXPECT_EQ(sci().Text(), QByteArray("mecut "));
}

TEST_F(EditorTextTest, BytesAndStringsConvertAsUtf8)
{
    EXPECT_EQ(clsScintilla::StrToBytes(QStringLiteral("中a")), QByteArray("中a"));
    EXPECT_EQ(clsScintilla::Byte2Str(QByteArray("中a")), QStringLiteral("中a"));
    EXPECT_EQ(clsScintilla::Byte2Str(QByteArray()), QString());
}

} // namespace
