// Lines counted and shown the editor's way, whatever the pieces a file is
// read in.
#include "findinfiles/HitCollector.h"

#include <gtest/gtest.h>

namespace {

QStringList Collect(const QList<QByteArray> &pieces, const QString &needle = QStringLiteral("x"))
{
    TextQuery query{needle, true, false, false};
    auto matcher = TextMatcher::Make(query, ComponentWordRules(QChar::currentUnicodeVersion()), nullptr);
    HitCollector collector(*matcher);
    for (const QByteArray &piece : pieces)
        collector.Append(piece);
    collector.Finish();
    QStringList found;
    for (const LineHit &hit : collector.Hits())
        found << QStringLiteral("%1@%2-%3:%4").arg(hit.line).arg(hit.start).arg(hit.end).arg(hit.text);
    return found;
}

TEST(HitCollectorTest, LineEndsOfEveryKindCountOnceEvenWhenSplitAcrossPieces)
{
    const QStringList whole = Collect({"x\r\n\tx\r\rx\n\nx"});
    EXPECT_EQ(whole, (QStringList{"0@0-1:x", "1@4-5:x", "3@7-8:x", "5@10-11:x"}));
    // The same text in pieces cut everywhere, a CR LF among them.
    const QByteArray text = "x\r\n\tx\r\rx\n\nx";
    for (int cut = 1; cut < text.size(); ++cut)
        EXPECT_EQ(Collect({text.left(cut), text.mid(cut)}), whole) << "cut at " << cut;
    EXPECT_EQ(Collect({"ab\r", "\nx"}), QStringList{"1@4-5:x"});
}

TEST(HitCollectorTest, ALongLineIsShownAroundItsMatch)
{
    const QByteArray line = QByteArray(1000, 'a') + "needle" + QByteArray(1000, 'b');
    TextQuery query{QStringLiteral("needle"), true, false, false};
    auto matcher = TextMatcher::Make(query, ComponentWordRules(QChar::currentUnicodeVersion()), nullptr);
    HitCollector collector(*matcher);
    collector.Append(line);
    collector.Finish();
    ASSERT_EQ(collector.Hits().size(), 1);
    const LineHit &hit = collector.Hits().front();
    EXPECT_LT(hit.text.size(), 600);
    EXPECT_TRUE(hit.text.startsWith(QStringLiteral("…")));
    EXPECT_TRUE(hit.text.endsWith(QStringLiteral("…")));
    EXPECT_EQ(hit.text.mid(hit.highlightFrom, hit.highlightLength), QStringLiteral("needle"));
    EXPECT_EQ(hit.start, 1000);
}

TEST(HitCollectorTest, NulBytesMakeAFileNoTextButNotAnOpenDocument)
{
    TextQuery query{QStringLiteral("x"), true, false, false};
    auto matcher = TextMatcher::Make(query, ComponentWordRules(QChar::currentUnicodeVersion()), nullptr);
    HitCollector file(*matcher);
    file.Append(QByteArray("x\0x", 3));
    file.Finish();
    EXPECT_TRUE(file.SawNul());
    EXPECT_TRUE(file.Hits().isEmpty());
    HitCollector open(*matcher, HitCollector::Nul::Allowed);
    open.Append(QByteArray("x\0x", 3));
    open.Finish();
    EXPECT_EQ(open.Hits().size(), 2);
}

TEST(HitCollectorTest, QueriesThatCannotBeSearchedSayWhy)
{
    const ComponentWordRules words(QChar::currentUnicodeVersion());
    QString why;
    EXPECT_FALSE(TextMatcher::Make({QString(), false, false, false}, words, &why));
    EXPECT_FALSE(why.isEmpty());
    why.clear();
    EXPECT_FALSE(TextMatcher::Make({QStringLiteral("a\nb"), false, false, false}, words, &why));
    EXPECT_FALSE(why.isEmpty());
    why.clear();
    EXPECT_FALSE(TextMatcher::Make({QStringLiteral("a(b"), false, false, true}, words, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("正规表达式")));
}

} // namespace
