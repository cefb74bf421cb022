// FindText against the component's own target search: the byte scans, the
// literal lines of regular expressions and the sliced runs must select
// exactly what the component's search selects, for every option, on text
// that mixes scripts, and across the edges where a file came in.
#include "RecordingProgress.h"
#include "TestEditorHost.h"
#include "editor/ComponentCaseRules.h"
#include "editor/TextSearch.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using Sci = QsciScintillaBase;

namespace {

// Words of several scripts, some of them in both cases, the characters whose
// case folding changes their length or makes them ASCII, line ends of every
// kind and a few bytes that are no UTF-8.
const char *const Pieces[] = {
    "total", "Total", "TOTAL", "tOtAl", "sum", "k", "K", "s", "S", "i", "I", "ss", "st", "ff", "fi", "x", "word",
    " ", " ", " ", ", ", "_", "(", ")", "\t", "\n", "\r\n", "\r", "*", ".",
    "中文", "汉字", "总计", "计算",
    "ＡＢＣ", "ａｂｃ", "Ｔｏｔａｌ",
    "Σίσυφος", "σς", "ΑΒΓ", "αβγ",
    "Жук", "жук", "ТОТАЛ", "тотал",
    "Ärger", "ärger", "École", "école", "Ñandú",
    "ſ", "\u212A", "İ", "i\u0307", "ß", "ẞ", "ﬀ", "ﬁ", "µ", "μ",
    "\xff", "\xe4\xb8", "\xc3",
};

constexpr int NotUtf8 = 3; // the last pieces

QByteArray RandomDocument(QRandomGenerator &random, int pieces, bool utf8Only = false)
{
    const int kinds = int(std::size(Pieces)) - (utf8Only ? NotUtf8 : 0);
    QByteArray text;
    for (int i = 0; i < pieces; ++i)
        text += Pieces[random.bounded(kinds)];
    return text;
}

// Puts bytes into a text of valid UTF-8 without cutting a character: the
// characters around them give way to blanks.
void Plant(QByteArray &text, long at, const QByteArray &bytes)
{
    auto continues = [&](long i) { return i < text.size() && (uchar(text.at(qsizetype(i))) & 0xC0) == 0x80; };
    long from = std::max(0L, at - 8);
    long to = std::min(long(text.size()), at + long(bytes.size()) + 8);
    while (from > 0 && continues(from))
        --from;
    while (continues(to))
        ++to;
    for (qsizetype i = from; i < to; ++i)
        text[i] = ' ';
    text.replace(at, bytes.size(), bytes);
}

// A needle made of whole characters of the document (or of the pieces), its
// letters in random cases: ASCII and the other scripts alike.
QString RandomNeedle(QRandomGenerator &random, const QByteArray &document)
{
    QString source = random.bounded(4) == 0 ? QString::fromUtf8(Pieces[random.bounded(int(std::size(Pieces)))])
                                            : QString::fromUtf8(document);
    if (source.isEmpty())
        source = QStringLiteral("x");
    const int start = random.bounded(int(source.size()));
    QString needle = source.mid(start, random.bounded(1, 12));
    QString varied;
    for (const QChar c : needle) {
        switch (random.bounded(3)) {
        case 0:
            varied += QString(c).toUpper();
            break;
        case 1:
            varied += QString(c).toLower();
            break;
        default:
            varied += c;
        }
    }
    return varied.isEmpty() ? QStringLiteral("x") : varied;
}

// A regular expression built on a piece of the document: literal runs with
// sets, classes, repeats, groups and anchors between them; now and then one
// with no literal at all.
QString RandomPattern(QRandomGenerator &random, const QByteArray &document)
{
    static const char *const noLiteral[] = {"[a-z]+", "\\w*", ".", "^", "$", "x*", "[0-9A-Z]", "\\s\\S", "^\\w"};
    if (random.bounded(6) == 0)
        return QString::fromLatin1(noLiteral[random.bounded(int(std::size(noLiteral)))]);
    const QString source = RandomNeedle(random, document);
    QString pattern;
    if (random.bounded(6) == 0)
        pattern += '^';
    for (const QChar c : source) {
        if (QStringLiteral(".[]*+?\\^$").contains(c)) {
            pattern += '\\';
            pattern += c;
            continue;
        }
        switch (random.bounded(14)) {
        case 0:
            pattern += '.';
            break;
        case 1:
            pattern += QStringLiteral("[a-z]");
            break;
        case 2:
            pattern += c + QStringLiteral("*");
            break;
        case 3:
            pattern += c + QStringLiteral("+");
            break;
        case 4:
            pattern += c + QStringLiteral("?");
            break;
        case 5:
            pattern += QStringLiteral("\\(") + c + QStringLiteral("\\)");
            break;
        case 6:
            pattern += QStringLiteral("\\<") + c;
            break;
        case 7:
            pattern += QStringLiteral("\\w");
            break;
        default:
            pattern += c;
        }
    }
    if (random.bounded(6) == 0)
        pattern += '$';
    return pattern;
}

class SearchEquivalenceTest : public ::testing::Test
{
protected:
    clsScintilla &sci() { return host.sci(); }

    struct Found
    {
        bool found = false;
        long start = 0;
        long end = 0;
        bool operator==(const Found &) const = default;
    };

    struct Case
    {
        QString text;
        long selStart = 0;
        long selEnd = 0;
        bool reverse = false;
        bool inRange = false;
        bool wrap = false;
        bool caseSensitive = false;
        bool wordStart = false;
        bool wholeWord = false;
        bool regExp = false;
    };

    long Flags(const Case &c) const
    {
        return (c.caseSensitive ? Sci::SCFIND_MATCHCASE : 0) | (c.wholeWord ? Sci::SCFIND_WHOLEWORD : 0)
               | (c.wordStart ? Sci::SCFIND_WORDSTART : 0) | (c.regExp ? Sci::SCFIND_REGEXP : 0);
    }

    // The component's own search of a target, past the wrapper.
    Found Component(long start, long end, long flags, const QByteArray &text)
    {
        EditorWindow *editor = sci().Editor();
        editor->SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags);
        editor->SendScintilla(Sci::SCI_SETTARGETSTART, start);
        editor->SendScintilla(Sci::SCI_SETTARGETEND, end);
        if (editor->SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()), text.constData())
            < 0)
            return {};
        return {true, editor->SendScintilla(Sci::SCI_GETTARGETSTART), editor->SendScintilla(Sci::SCI_GETTARGETEND)};
    }

    // What FindText selects by its definition: the component's search over
    // the range the options give, then over the whole document to wrap.
    Found Expected(const Case &c)
    {
        const QByteArray text = c.text.toUtf8();
        const long length = sci().GetLen();
        const long selStart = sci().GetSelStart();
        const long selEnd = sci().GetSelEnd();
        long start = selEnd;
        long end = length;
        if (c.inRange) {
            start = selStart;
            end = selEnd;
        } else if (c.reverse) {
            start = selStart;
            end = 0;
        }
        Found found = Component(start, end, Flags(c), text);
        if (!found.found && c.wrap)
            found = c.reverse ? Component(length, 0, Flags(c), text) : Component(0, length, Flags(c), text);
        return found;
    }

    Found Actual(const Case &c)
    {
        const bool found = sci().FindText(c.text, VbBool(c.reverse), VbBool(c.inRange), VbBool(c.wrap),
                                          VbBool(c.caseSensitive), VbBool(c.wordStart), VbBool(c.wholeWord),
                                          VbBool(c.regExp));
        return {found, sci().GetSelStart(), sci().GetSelEnd()};
    }

    // Runs the case both ways from the same selection; answers whether they agree.
    void Compare(const Case &c, const char *what)
    {
        sci().SetSel(c.selStart, c.selEnd);
        Found expected = Expected(c);
        sci().SetSel(c.selStart, c.selEnd);
        if (!expected.found) // a miss leaves the selection
            expected = {false, sci().GetSelStart(), sci().GetSelEnd()};
        const Found actual = Actual(c);
        ASSERT_EQ(actual, expected) << what << ": \"" << c.text.toStdString() << "\" from " << c.selStart << ".."
                                    << c.selEnd << (c.reverse ? " up" : "") << (c.inRange ? " in range" : "")
                                    << (c.wrap ? " wrap" : "") << (c.caseSensitive ? " case" : "")
                                    << (c.wholeWord ? " whole" : "") << (c.wordStart ? " start" : "")
                                    << (c.regExp ? " regexp" : "") << " near: "
                                    << sci().GetText().mid(std::max(0L, c.selStart - 8), 16).toHex(' ').toStdString();
        ++compared;
        matched += expected.found;
    }

    Case RandomCase(QRandomGenerator &random, const QByteArray &document, bool regExp)
    {
        Case c;
        c.text = regExp ? RandomPattern(random, document) : RandomNeedle(random, document);
        const long length = long(document.size());
        c.selStart = random.bounded(int(length) + 1);
        c.selEnd = random.bounded(4) == 0 ? c.selStart : random.bounded(int(c.selStart), int(length) + 1);
        c.reverse = random.bounded(2);
        c.inRange = random.bounded(4) == 0;
        c.wrap = random.bounded(2);
        c.caseSensitive = random.bounded(2);
        c.wholeWord = random.bounded(4) == 0;
        c.wordStart = random.bounded(4) == 0;
        c.regExp = regExp;
        return c;
    }

    // Random documents, random searches, some of them in slices of a few
    // bytes so that slice edges fall everywhere.
    void RandomRounds(quint32 seed, int documents, int casesEach, bool regExp)
    {
        QRandomGenerator random(seed);
        for (int d = 0; d < documents; ++d) {
            const QByteArray document = RandomDocument(random, random.bounded(1, 400));
            host.SetTextRaw(document);
            std::optional<QuickSlices> slices;
            if (d % 3 == 0)
                slices.emplace(random.bounded(1, 64));
            for (int i = 0; i < casesEach; ++i) {
                const Case c = RandomCase(random, document, regExp);
                Compare(c, regExp ? "regular expression" : "plain text");
                if (HasFatalFailure())
                    return;
            }
        }
    }

    TestEditorHost host;
    int compared = 0;
    int matched = 0;
};

TEST_F(SearchEquivalenceTest, TheComponentFoldsAsciiLettersOnly)
{
    EXPECT_TRUE(ComponentCaseRules::PlainFoldsAsciiOnly());
    EXPECT_TRUE(ComponentCaseRules::RegexFoldsAsciiOnly());
}

// Every character of Unicode against its partners in case (Qt's lower,
// upper and folded forms, the long ones included): outside ASCII the
// component takes none of them for it, so a byte scan that folds ASCII
// letters only misses nothing the component finds.
TEST_F(SearchEquivalenceTest, NoCharacterBeyondAsciiMatchesItsCasePartners)
{
    QByteArray document;
    std::vector<std::pair<long, char32_t>> places;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        places.emplace_back(long(document.size()), c);
        document += QString::fromUcs4(&c, 1).toUtf8();
        document += ' ';
    }
    host.SetTextRaw(document);
    int partners = 0;
    for (const auto &[at, c] : places) {
        const QString self = QString::fromUcs4(&c, 1);
        const long end = at + long(self.toUtf8().size());
        for (const QString &partner : {self.toLower(), self.toUpper(), self.toCaseFolded()}) {
            if (partner == self)
                continue;
            ++partners;
            for (const long flags : {0L, long(Sci::SCFIND_REGEXP)})
                ASSERT_FALSE(Component(at, end, flags, partner.toUtf8()).found)
                    << "U+" << std::hex << unsigned(c) << " taken for " << partner.toStdString();
        }
    }
    EXPECT_GT(partners, 2000); // the sweep did meet the cased characters
    host.SetTextRaw("aBc");
    EXPECT_TRUE(Component(0, 3, 0, "AbC").found); // and ASCII letters do fold
}

TEST_F(SearchEquivalenceTest, PlainTextMatchesTheComponentForEveryOption)
{
    RandomRounds(11, 40, 100, false);
    EXPECT_GT(matched, compared / 5); // enough of the cases do find something
}

TEST_F(SearchEquivalenceTest, RegularExpressionsMatchTheComponentForEveryOption)
{
    RandomRounds(23, 40, 60, true);
    EXPECT_GT(matched, compared / 5);
}

// The component's own way, in slices, the way searches without a literal
// (and plain ones, were the component to fold more than ASCII) are made.
TEST_F(SearchEquivalenceTest, TheComponentsOwnWayInSlicesMatchesIt)
{
    TextSearch::ComponentOnly() = true;
    RandomRounds(37, 15, 60, false);
    RandomRounds(41, 15, 40, true);
    TextSearch::ComponentOnly() = false;
}

// Sets that hold brackets and dashes, escapes, lazy and doubled repeats,
// groups, word edges, anchors in and out of place, repeated bytes of
// characters: every search of each, both ways, from every place.
TEST_F(SearchEquivalenceTest, ThePatternsHardestToReadMatchTheComponent)
{
    const char *const patterns[] = {"[^-]]q", "[]]ab", "[A-\\]]xyz", "\\x41b", "a\\(b\\)c", "a+?b", "ab*?c",
                                    "ab+*c", "\\<to", "al\\>", "^total", "total$", "a$b", "x^y", "中文+",
                                    "中文*x", "\\(t\\)o\\1", "[^-]q", "\\.\\*", "a\\"};
    host.SetTextRaw("total ]q -q ]ab xyz \\xyz Ab abc aab abbc ac to al a$b x^y\n中文文 中文x 中x toto tot .* a\\\n"
                    "TOTAL Total ]Q ]AB AB ABC ABBC AC TO AL A$B X^Y TOTO\naq");
    const long length = sci().GetLen();
    for (const char *pattern : patterns)
        for (const bool caseSensitive : {false, true})
            for (long caret = 0; caret <= length; caret += 3) {
                Case c;
                c.text = QString::fromUtf8(pattern);
                c.regExp = true;
                c.caseSensitive = caseSensitive;
                c.selStart = c.selEnd = caret;
                c.wrap = true;
                Compare(c, "pattern");
                c.reverse = true;
                Compare(c, "pattern");
            }
    EXPECT_GT(matched, compared / 2);
}

TEST_F(SearchEquivalenceTest, MatchesAtTheDocumentsEnds)
{
    host.SetTextRaw("Total middle TOTAL");
    for (const bool reverse : {false, true})
        for (const bool caseSensitive : {false, true})
            for (const bool regExp : {false, true})
                for (const long caret : {0L, 5L, 13L, 18L}) {
                    Case c;
                    c.text = regExp ? QStringLiteral("t.tal") : QStringLiteral("total");
                    c.selStart = c.selEnd = caret;
                    c.reverse = reverse;
                    c.wrap = true;
                    c.caseSensitive = caseSensitive;
                    c.regExp = regExp;
                    Compare(c, "ends");
                }
    EXPECT_GT(matched, 0);
}

// A file of about 30 MB comes in by chunks of 10,000,001 bytes; matches lie
// across both chunk edges and at the document's ends. Searches close to an
// edge, and over the whole document both ways, find what the component finds.
TEST_F(SearchEquivalenceTest, MatchesAcrossTheEdgesOfTheChunksAFileCameInBy)
{
    constexpr long Chunk = 10000001;
    QRandomGenerator random(5);
    QByteArray filler;
    while (filler.size() < 1 << 20)
        filler += RandomDocument(random, 50, true).replace("TOTAL", "T0TAL").replace("Total", "Tot4l");
    QByteArray text;
    while (text.size() < 3 * Chunk)
        text += filler;
    text.truncate(3 * Chunk);
    const QByteArray planted[] = {"ToTaL中文", "TOTAL中文", "total中文"};
    const long size = long(planted[0].size());
    const std::vector<long> places = {0,         Chunk - 40,     Chunk - 10,    Chunk + 20,
                                      2 * Chunk - 25, 2 * Chunk - 1, 2 * Chunk + 30, 3 * Chunk - size};
    text.truncate(3 * Chunk - 16);
    text += QByteArray(16, ' ');
    for (std::size_t i = 0; i < places.size(); ++i)
        Plant(text, places[i], planted[i % 3]);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    ASSERT_TRUE(sci().LoadFile(path).ok());
    ASSERT_EQ(sci().GetLen(), long(text.size()));

    for (const QString &needle : {QStringLiteral("total中文"), QStringLiteral("TOTAL中文"), QStringLiteral("tal中"),
                                  QStringLiteral("to[a-z]al中文")})
        for (const bool caseSensitive : {false, true})
            for (const long place : places)
                for (const bool reverse : {false, true}) {
                    Case c;
                    c.text = needle;
                    c.regExp = needle.contains('[');
                    c.caseSensitive = caseSensitive;
                    c.inRange = true;
                    c.reverse = reverse;
                    c.selStart = std::max(0L, place - 30);
                    c.selEnd = std::min(long(text.size()), place + 30);
                    Compare(c, "near a chunk edge");
                }
    for (const bool reverse : {false, true})
        for (const bool caseSensitive : {false, true}) {
            Case c;
            c.text = QStringLiteral("TOTAL中文");
            c.caseSensitive = caseSensitive;
            c.reverse = reverse;
            c.selStart = c.selEnd = reverse ? long(text.size()) - 100 : 100;
            Compare(c, "whole document");
        }
    EXPECT_GT(matched, compared / 2);
}

} // namespace
