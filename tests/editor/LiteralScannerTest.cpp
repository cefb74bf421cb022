#include "editor/LiteralScanner.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using Letters = LiteralScanner::Letters;

char Folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c | 0x20) : c;
}

bool Equal(const char *at, const QByteArray &literal, Letters letters)
{
    for (qsizetype i = 0; i < literal.size(); ++i)
        if (letters == Letters::Exact ? at[i] != literal[i] : Folded(at[i]) != Folded(literal[i]))
            return false;
    return true;
}

qsizetype NaiveForward(const QByteArray &text, const QByteArray &literal, Letters letters, qsizetype from, qsizetype to)
{
    for (qsizetype p = from; p < to && p + literal.size() <= text.size(); ++p)
        if (Equal(text.constData() + p, literal, letters))
            return p;
    return -1;
}

qsizetype NaiveBackward(const QByteArray &text, const QByteArray &literal, Letters letters, qsizetype from, qsizetype to)
{
    for (qsizetype p = std::min(to, text.size() - literal.size() + 1) - 1; p >= from; --p)
        if (Equal(text.constData() + p, literal, letters))
            return p;
    return -1;
}

// Letters of both cases, the neighbours of letters that or-ing 0x20 takes
// along ('@' and '`', '[' and '{'), and bytes of multi-byte characters.
QByteArray RandomText(QRandomGenerator &random, qsizetype size)
{
    static const char alphabet[] = "aAbBzZ@`[{_ \n\x80\xc3\xa4\xe4\xb8\xad";
    QByteArray text(size, ' ');
    for (char &c : text)
        c = alphabet[random.bounded(int(sizeof alphabet - 1))];
    return text;
}

// Every run found, forwards and backwards, in any part of the text, is the
// one a plain comparison at every position finds: across block edges,
// at both ends of the text, whichever pair was chosen to scan for.
TEST(LiteralScannerTest, FindsWhatAComparisonAtEveryPlaceFinds)
{
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        const QByteArray text = RandomText(random, random.bounded(1, 200));
        const Letters letters = random.bounded(2) ? Letters::Exact : Letters::EitherCase;
        const qsizetype start = random.bounded(int(text.size()));
        QByteArray literal = text.mid(start, random.bounded(1, 6));
        for (char &c : literal) // flip the case of some letters
            if (random.bounded(3) == 0 && ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))
                c ^= 0x20;
        LiteralScanner scanner(literal, letters);
        scanner.ChooseAnchor(random.bounded(2) ? text : QByteArray());
        const qsizetype from = random.bounded(int(text.size()) + 1);
        const qsizetype to = random.bounded(int(from), int(text.size()) + 2);
        SCOPED_TRACE(testing::Message() << "round " << round << " literal " << literal.toHex().constData()
                                        << " range " << from << ".." << to);
        EXPECT_EQ(scanner.Forward(text.constData(), text.size(), from, to),
                  NaiveForward(text, literal, letters, from, to));
        EXPECT_EQ(scanner.Backward(text.constData(), text.size(), from, to),
                  NaiveBackward(text, literal, letters, from, to));
    }
}

TEST(LiteralScannerTest, EitherCaseFoldsAsciiLettersOnly)
{
    const QByteArray text = "[x] {X} @Ä @ä";
    LiteralScanner brackets("[X]", Letters::EitherCase);
    EXPECT_EQ(brackets.Forward(text.constData(), text.size(), 0, text.size()), 0);
    EXPECT_EQ(brackets.Forward(text.constData(), text.size(), 1, text.size()), -1); // '{' is not '['
    LiteralScanner umlaut("@ä", Letters::EitherCase);
    EXPECT_EQ(umlaut.Forward(text.constData(), text.size(), 0, text.size()), text.indexOf("@ä"));
    EXPECT_EQ(umlaut.Backward(text.constData(), text.size(), 0, text.indexOf("@ä")), -1); // "@Ä" differs
    LiteralScanner exact("x", Letters::Exact);
    EXPECT_EQ(exact.Forward(text.constData(), text.size(), 2, text.size()), -1);
}

// The pair scanned for is the rarest of the run in the sample: in a text
// full of "to", "totally_absent" is looked for by a pair that never occurs.
TEST(LiteralScannerTest, ScansForThePairRarestInTheText)
{
    const QByteArray text = QByteArray("int total = tot + to;\n").repeated(200);
    LiteralScanner scanner("totally_absent", Letters::EitherCase);
    EXPECT_EQ(scanner.ChooseAnchor(text), 0);
    LiteralScanner common("total", Letters::Exact);
    EXPECT_EQ(common.ChooseAnchor(text), 200); // "al" and "ta": once a line
}

} // namespace
