#include "MessageLog.h"
#include "TestEditorHost.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class EditorSearchTest : public ::testing::Test
{
protected:
    clsScintilla &sci() { return host.sci(); }

    void Use(const QString &text, long caret = 0)
    {
        sci().SetText(text);
        sci().SetSel(caret, caret);
    }

    // A plain search with the given direction and wrap, case-sensitive unless
    // told otherwise.
    bool Find(const QString &text, bool reverse, bool wrap, int caseSensitive = vbTrue)
    {
        return sci().FindText(text, VbBool(reverse), vbFalse, VbBool(wrap), caseSensitive, vbFalse, vbFalse, vbFalse);
    }

    std::pair<long, long> Sel() { return {sci().GetSelStart(), sci().GetSelEnd()}; }

    qint64 ReplaceAll(const QString &find, const QString &with, int regExp = vbFalse, int caseSensitive = vbTrue)
    {
        return sci().ReplaceAll(find, with, caseSensitive, vbFalse, vbFalse, regExp);
    }

    TestEditorHost host;
};

using Range = std::pair<long, long>;

TEST_F(EditorSearchTest, RepeatedSearchesWalkFromMatchToMatch)
{
    for (const int caseSensitive : {vbTrue, vbFalse}) { // the byte scan and the component's own search
        SCOPED_TRACE(caseSensitive);
        Use(QStringLiteral("one two one two one"));
        EXPECT_TRUE(Find("one", false, false, caseSensitive));
        EXPECT_EQ(Sel(), Range(0, 3));
        EXPECT_TRUE(Find("one", false, false, caseSensitive));
        EXPECT_EQ(Sel(), Range(8, 11));
        EXPECT_TRUE(Find("one", false, false, caseSensitive));
        EXPECT_EQ(Sel(), Range(16, 19));
        EXPECT_FALSE(Find("one", false, false, caseSensitive)); // nothing after the last one, no wrap
        EXPECT_EQ(Sel(), Range(16, 19));

        // Backwards never selects the match it stands on.
        EXPECT_TRUE(Find("one", true, false, caseSensitive));
        EXPECT_EQ(Sel(), Range(8, 11));
        EXPECT_TRUE(Find("one", true, false, caseSensitive));
        EXPECT_EQ(Sel(), Range(0, 3));
        EXPECT_FALSE(Find("one", true, false, caseSensitive));
        EXPECT_TRUE(Find("one", true, true, caseSensitive)); // wraps to the last one
        EXPECT_EQ(Sel(), Range(16, 19));
    }
}

TEST_F(EditorSearchTest, WrapAroundStartsOverAtTheTop)
{
    Use(QStringLiteral("abc abc xyz"), 11);
    EXPECT_FALSE(Find("abc", false, false));
    EXPECT_EQ(sci().GetCurPos(), 11); // a miss leaves the caret
    EXPECT_TRUE(Find("abc", false, true));
    EXPECT_EQ(Sel(), Range(0, 3));
    EXPECT_FALSE(Find("absent", false, true));
    EXPECT_EQ(Sel(), Range(0, 3));
}

TEST_F(EditorSearchTest, InRangeSearchStaysInTheSelectionUnlessItWraps)
{
    Use(QStringLiteral("key xxxx key xxxx key"));
    sci().SetSel(9, 21); // " key xxxx" holds one
    EXPECT_TRUE(sci().FindText("key", vbFalse, vbTrue, vbFalse, vbTrue, vbFalse, vbFalse, vbFalse));
    EXPECT_EQ(Sel(), Range(9, 12));

    sci().SetSel(4, 8); // "xxxx": none inside
    EXPECT_FALSE(sci().FindText("key", vbFalse, vbTrue, vbFalse, vbTrue, vbFalse, vbFalse, vbFalse));
    EXPECT_EQ(Sel(), Range(4, 8));
    EXPECT_TRUE(sci().FindText("key", vbFalse, vbTrue, vbTrue, vbTrue, vbFalse, vbFalse, vbFalse));
    EXPECT_EQ(Sel(), Range(0, 3)); // the wrapped search covers the whole document
}

TEST_F(EditorSearchTest, OptionsAreHonouredOnEveryPath)
{
    Use(QStringLiteral("total subtotal Totals total"));
    // whole word, case-sensitive: candidates inside words are passed over, both ways
    auto whole = [&](bool reverse) {
        return sci().FindText("total", VbBool(reverse), vbFalse, vbFalse, vbTrue, vbFalse, vbTrue, vbFalse);
    };
    EXPECT_TRUE(whole(false));
    EXPECT_EQ(Sel(), Range(0, 5));
    EXPECT_TRUE(whole(false));
    EXPECT_EQ(Sel(), Range(22, 27));
    EXPECT_TRUE(whole(true));
    EXPECT_EQ(Sel(), Range(0, 5));

    sci().SetSel(1, 1); // word start, case ignored: "Totals" counts, "subtotal" does not
    EXPECT_TRUE(sci().FindText("total", vbFalse, vbFalse, vbFalse, vbFalse, vbTrue, vbFalse, vbFalse));
    EXPECT_EQ(Sel(), Range(15, 20));

    sci().SetSel(0, 0);
    EXPECT_TRUE(sci().FindText("T[a-z]+s", vbFalse, vbFalse, vbFalse, vbTrue, vbFalse, vbFalse, vbTrue));
    EXPECT_EQ(Sel(), Range(15, 21));
    sci().SetSel(0, 0); // a regular expression searched as plain text finds nothing
    EXPECT_FALSE(sci().FindText("T[a-z]+s", vbFalse, vbFalse, vbTrue, vbTrue, vbFalse, vbFalse, vbFalse));
}

TEST_F(EditorSearchTest, ChineseTextIsFoundAsWholeCharacters)
{
    Use(QStringLiteral("汉字 中国 中文 中文"));
    MessageLog log(sci());
    for (const int caseSensitive : {vbTrue, vbFalse}) {
        sci().SetSel(0, 0);
        EXPECT_TRUE(Find(QStringLiteral("中文"), false, false, caseSensitive));
        EXPECT_EQ(sci().SelText(), QStringLiteral("中文"));
        EXPECT_EQ(Sel(), Range(14, 20)); // byte positions: three bytes a character
        EXPECT_TRUE(Find(QStringLiteral("中文"), false, false, caseSensitive));
        EXPECT_EQ(Sel(), Range(21, 27));
    }
    const auto searches = log.Of(Sci::SCI_SEARCHINTARGET);
    ASSERT_FALSE(searches.empty());
    EXPECT_EQ(searches.back().wParam, 6);
    EXPECT_EQ(searches.back().text, std::string("中文"));
}

TEST_F(EditorSearchTest, FindNextAndFindPrevRepeatTheLastSearch)
{
    Use(QStringLiteral("Cat cat CAT cat"), 4);
    EXPECT_FALSE(sci().FindNext()); // no search yet: nothing happens
    EXPECT_FALSE(sci().FindPrev());
    EXPECT_EQ(Sel(), Range(4, 4));

    EXPECT_TRUE(Find("cat", false, false)); // case-sensitive, no wrap
    EXPECT_EQ(Sel(), Range(4, 7));
    EXPECT_FALSE(sci().FindText(QString(), vbFalse, vbFalse, vbTrue, vbFalse, vbFalse, vbFalse, vbFalse));
    EXPECT_TRUE(sci().FindNext()); // the empty search was not remembered
    EXPECT_EQ(Sel(), Range(12, 15));
    EXPECT_FALSE(sci().FindNext());
    EXPECT_TRUE(sci().FindPrev());
    EXPECT_EQ(Sel(), Range(4, 7));
    EXPECT_FALSE(sci().FindPrev()); // "Cat" differs in case
}

TEST_F(EditorSearchTest, ReplaceAllNeverSearchesTheTextItInserted)
{
    Use(QStringLiteral("aaaa"));
    EXPECT_EQ(ReplaceAll("a", "bb"), 4);
    EXPECT_EQ(sci().Text(), QByteArray("bbbbbbbb"));

    Use(QStringLiteral("aaa"));
    EXPECT_EQ(ReplaceAll("a", "aa"), 3);
    EXPECT_EQ(sci().Text(), QByteArray("aaaaaa"));

    Use(QStringLiteral("x, y, z"));
    EXPECT_EQ(ReplaceAll(", ", ""), 2);
    EXPECT_EQ(sci().Text(), QByteArray("xyz"));

    Use(QStringLiteral("中文和中文"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("中文"), QStringLiteral("汉语"), vbFalse, vbFalse), 2);
    EXPECT_EQ(sci().Text(), QStringLiteral("汉语和汉语").toUtf8());
}

TEST_F(EditorSearchTest, ReplaceAllWithAnEmptyTextOrNoMatchChangesNothing)
{
    Use(QStringLiteral("abc"));
    sci().SetSavePoint();
    QSignalSpy modified(&sci(), &clsScintilla::OnModified);
    MessageLog log(sci());
    EXPECT_EQ(ReplaceAll(QString(), "x"), 0);
    EXPECT_TRUE(log.all.empty());
    EXPECT_EQ(ReplaceAll("q", "x"), 0);
    EXPECT_EQ(sci().Text(), QByteArray("abc"));
    EXPECT_FALSE(sci().Modified());
    EXPECT_EQ(modified.count(), 0);

    sci().ReadOnly(vbTrue);
    EXPECT_EQ(ReplaceAll("b", "x"), 0); // nothing replaced is never reported as done
    EXPECT_EQ(sci().Text(), QByteArray("abc"));
}

TEST_F(EditorSearchTest, EmptyRegularExpressionMatchesEndTheLoop)
{
    struct Case
    {
        QString text, find, with, expected;
        qint64 count;
    };
    const Case cases[] = {
        // (the component finds no empty match in the empty range at the end)
        {"abc", "x*", "-", "-a-b-c", 3},
        {"axxb", "x*", "-", "-a-b", 2}, // no second empty match where "xx" ended
        {"ab\ncd", "^", "> ", "> ab\n> cd", 2},
        {"ab\ncd", "$", ";", "ab;\ncd;", 2},
        {"abc", "x*", "", "abc", 3},
        {"中文", "x*", "-", "-中-文", 2}, // between characters, never inside one
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.find.toStdString() + " in " + c.text.toStdString());
        Use(c.text);
        EXPECT_EQ(ReplaceAll(c.find, c.with, vbTrue), c.count);
        EXPECT_EQ(sci().Text(), c.expected.toUtf8());
    }
}

// A text big enough that matches are replaced in stretches, with matches
// close together, far apart, at both ends and around multi-byte characters.
QByteArray ManyMatches()
{
    QByteArray text = "total";
    for (int i = 0; i < 40000; ++i) {
        text += (i % 7 == 0) ? "int total = 中文;\n" : "sum += total;\n";
        if (i % 5000 == 0)
            text += QByteArray(3000, 'z') + '\n';
    }
    return text + "total";
}

TEST_F(EditorSearchTest, ReplaceAllIsOneUndoStepAndKeepsTheView)
{
    const QByteArray original = ManyMatches();
    QByteArray expected = original;
    expected.replace("total", "sum_of_all");
    const qint64 matches = original.count("total");

    MessageLog log(sci());
    for (const bool folded : {false, true}) { // a contracted fold makes each match go alone
        SCOPED_TRACE(folded);
        host.SetTextRaw(original);
        sci().ClearUndoBuffer();
        sci().Folding(vbTrue);
        if (folded) {
            sci().SendEditor(Sci::SCI_SETFOLDLEVEL, 30000, Sci::SC_FOLDLEVELBASE | Sci::SC_FOLDLEVELHEADERFLAG);
            sci().SendEditor(Sci::SCI_SETFOLDEXPANDED, 30000, 0);
        }
        const long marked = sci().PositionFromLine(20000) + sci().GetLine(20000).indexOf("total");
        sci().SetSel(marked - 2, marked);
        sci().SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, 10000);
        QSignalSpy modified(&sci(), &clsScintilla::OnModified);
        log.clear();

        EXPECT_EQ(ReplaceAll("total", "sum_of_all"), matches);
        EXPECT_EQ(sci().Text(), expected);
        EXPECT_EQ(modified.count(), 1);
        const auto requests = qint64(log.Of(Sci::SCI_REPLACETARGET).size());
        if (folded)
            EXPECT_EQ(requests, matches);
        else
            EXPECT_LT(requests, matches / 100); // stretches of matches go together
        // The caret stays before the same word, the view on the same line.
        EXPECT_EQ(sci().GetCurLine(), 20000);
        EXPECT_EQ(sci().GetSelEnd() - sci().GetSelStart(), 2);
        EXPECT_EQ(sci().GetLine(20000).mid(sci().GetCaretInLine(), 10), QByteArray("sum_of_all"));
        EXPECT_EQ(sci().SendEditor(Sci::SCI_GETFIRSTVISIBLELINE), 10000);

        sci().Undo();
        EXPECT_EQ(sci().Text(), original);
        EXPECT_FALSE(sci().SendEditor(Sci::SCI_CANUNDO));
        sci().Redo();
        EXPECT_EQ(sci().Text(), expected);
    }
}

// Replacing a stretch of matches at once must leave caret and anchor where
// the component leaves them when each match is replaced on its own (a
// marker makes it do so), wherever they are: before, inside, at either end
// of or between matches.
TEST_F(EditorSearchTest, ReplaceAllPutsTheCaretWhereEachMatchAloneWouldLeaveIt)
{
    const QString text = QStringLiteral("one total two total\ntotal three total");
    const long length = long(text.size());
    MessageLog log(sci());
    for (const char *with : {"sum_of_all", "S", ""}) {
        for (long caret = 0; caret <= length; ++caret) {
            const long anchor = length - caret;
            std::pair<long, long> alone, together;
            for (const bool marked : {true, false}) {
                Use(text);
                if (marked)
                    sci().MarkerSet(1, 1);
                sci().SetSel(anchor, caret);
                log.clear();
                ASSERT_EQ(ReplaceAll("total", with), 4);
                EXPECT_EQ(log.Of(Sci::SCI_REPLACETARGET).size(), marked ? 4u : 1u);
                (marked ? alone : together) = {sci().SendEditor(Sci::SCI_GETANCHOR), sci().GetCurPos()};
            }
            EXPECT_EQ(together, alone) << "with \"" << with << "\", caret " << caret;
        }
    }
    // Inside the second match: the caret goes to the start of its
    // replacement, after the first replacement's five more bytes.
    Use(text, 16);
    ReplaceAll("total", "sum_of_all");
    EXPECT_EQ(sci().GetCurPos(), 14 + 5);
}

TEST_F(EditorSearchTest, ReplaceTextReplacesTheNextMatchAndEnds)
{
    Use(QStringLiteral("a1 b22 c333"), 3);
    EXPECT_FALSE(sci().ReplaceText("q", "x", vbFalse, vbTrue, vbFalse, vbFalse, vbFalse));
    EXPECT_TRUE(sci().ReplaceText("[0-9]+", "#", vbFalse, vbTrue, vbFalse, vbFalse, vbTrue));
    EXPECT_EQ(sci().Text(), QByteArray("a1 b# c333"));

    struct Case
    {
        QString text, find, with, expected;
        long caret;
        int regExp;
    };
    const Case cases[] = {
        {"aXa", "a", "aa", "aaXaa", 1, vbFalse},
        {"ab ab ab", "ab", "xaby", "xaby xaby xaby", 4, vbFalse}, // the replacement holds the search text
        {"abab", "ab", "", "", 2, vbFalse},
        {"abc", "x*", "-", "-a-b-c", 0, vbTrue},
        {"ab", "x*", "-", "-a-b", 1, vbTrue}, // from the middle round to where it began
        {"abc", "x*", "", "abc", 2, vbTrue},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.find.toStdString() + " in " + c.text.toStdString());
        Use(c.text, c.caret);
        EXPECT_TRUE(sci().ReplaceText(c.find, c.with, vbTrue, vbTrue, vbFalse, vbFalse, c.regExp));
        EXPECT_EQ(sci().Text(), c.expected.toUtf8());
    }
}

TEST_F(EditorSearchTest, GoingToALineAndColumn)
{
    Use(QStringLiteral("first\nsecond line\nthird"));
    sci().GotoLineColumn(1, 3);
    EXPECT_EQ(sci().GetCurLine(), 1);
    EXPECT_EQ(sci().GetColumn(), 3);
    EXPECT_EQ(Sel(), Range(9, 9));
    sci().GotoLineColumn(0, 99); // beyond the end of the line: its end
    EXPECT_EQ(sci().GetCurPos(), 5);
    sci().GotoLine(2);
    EXPECT_EQ(sci().GetCurPos(), sci().PositionFromLine(2));
}

TEST_F(EditorSearchTest, ReplaceTargetNeverReadsPastItsText)
{
    Use(QStringLiteral("0123456789"));
    sci().SendEditor(Sci::SCI_SETTARGETSTART, 2);
    sci().SendEditor(Sci::SCI_SETTARGETEND, 4);
    sci().ReplaceTarget(100, QStringLiteral("ab"));
    EXPECT_EQ(sci().Text(), QByteArray("01ab456789"));
    sci().SendEditor(Sci::SCI_SETTARGETSTART, 0);
    sci().SendEditor(Sci::SCI_SETTARGETEND, 1);
    sci().ReplaceTarget(1, QStringLiteral("xyz"));
    EXPECT_EQ(sci().Text(), QByteArray("x1ab456789"));
}

} // namespace
