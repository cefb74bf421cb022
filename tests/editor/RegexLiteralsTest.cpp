#include "editor/RegexLiterals.h"

#include <gtest/gtest.h>

namespace {

QList<QByteArray> Runs(const char *pattern)
{
    return RegexLiterals::Required(QByteArray(pattern));
}

using List = QList<QByteArray>;

TEST(RegexLiteralsTest, RunsEndWhereAnythingButALiteralStands)
{
    EXPECT_EQ(Runs("total"), List({"total"}));
    EXPECT_EQ(Runs("tot[0-9]+ally"), List({"tot", "ally"}));
    EXPECT_EQ(Runs("a.b"), List({"a", "b"}));
    EXPECT_EQ(Runs("x\\dy\\Wz\\sw"), List({"x", "y", "z", "w"}));
    EXPECT_EQ(Runs("\\(ab\\)c\\1d"), List({"abc", "d"})); // a back reference matches any length
    EXPECT_EQ(Runs("[abc]"), List());
    EXPECT_EQ(Runs(".*"), List());
}

TEST(RegexLiteralsTest, RepeatsMakeTheirCharacterOptionalOrRequiredOnce)
{
    EXPECT_EQ(Runs("ab*c"), List({"a", "c"}));
    EXPECT_EQ(Runs("ab?c"), List({"a", "c"}));
    EXPECT_EQ(Runs("ab+c"), List({"ab", "c"})); // one b for sure, then maybe more
    EXPECT_EQ(Runs("ab+?c"), List({"ab", "c"}));
    EXPECT_EQ(Runs("ab*?c"), List({"a", "c"}));
    EXPECT_EQ(Runs("ab+*c"), List({"a", "c"})); // nothing sure about the b any more
    // A repeat takes the byte before it: the last byte of a character.
    EXPECT_EQ(Runs("中文+"), List({QByteArray("中文")}));
    EXPECT_EQ(Runs("中文*x"), List({QByteArray("中文").chopped(1), "x"}));
}

TEST(RegexLiteralsTest, GroupsAndAnchorsKeepTheRunWhole)
{
    EXPECT_EQ(Runs("\\(foo\\)bar"), List({"foobar"}));
    EXPECT_EQ(Runs("^foo$"), List({"foo"}));
    EXPECT_EQ(Runs("\\<word\\>"), List({"word"}));
    EXPECT_EQ(Runs("a^b$c"), List({"a^b$c"})); // only first and last are anchors
    EXPECT_EQ(Runs("(a)|{b}"), List({"(a)|{b}"})); // no POSIX groups, no alternation
}

TEST(RegexLiteralsTest, EscapesStandForTheirBytes)
{
    EXPECT_EQ(Runs("\\x41\\t\\.\\*"), List({"A\t.*"}));
    EXPECT_EQ(Runs("\\x4"), List({"x4"})); // \x without two digits is x
    EXPECT_EQ(Runs("a\\"), List({"a\\"}));
    EXPECT_EQ(Runs("[a-\\]]xyz"), List({"xyz"})); // the escaped bracket belongs to the set
    EXPECT_EQ(Runs("[]]ab"), List({"ab"}));
    EXPECT_EQ(Runs("[^-]]q"), List({"q"}));
}

TEST(RegexLiteralsTest, PatternsTheComponentRefusesGiveNoRuns)
{
    EXPECT_EQ(Runs("*abc"), List());
    EXPECT_EQ(Runs("abc\\(*"), List());
    EXPECT_EQ(Runs("^*abc"), List());
    EXPECT_EQ(Runs("abc[de"), List());
    EXPECT_EQ(Runs("[^-]q"), List()); // the "]" after the dash is in the set, which never closes
    EXPECT_EQ(Runs(""), List());
}

} // namespace
