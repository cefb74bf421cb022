#include "editor/LineEnds.h"

#include <Qsci/qsciscintillabase.h>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

std::tuple<qint64, qint64, qint64> Counted(QByteArrayView text)
{
    const LineEnds::Counts counts = LineEnds::Count(text);
    return {counts.crlf, counts.cr, counts.lf};
}

TEST(LineEndsTest, EachKindIsCountedOnce)
{
    EXPECT_EQ(Counted(""), std::make_tuple(0, 0, 0));
    EXPECT_EQ(Counted("no line end"), std::make_tuple(0, 0, 0));
    EXPECT_EQ(Counted("a\r\nb\r\n"), std::make_tuple(2, 0, 0));
    EXPECT_EQ(Counted("\n\r"), std::make_tuple(0, 1, 1)); // LF then CR is no pair
    EXPECT_EQ(Counted("\r\r\n\n"), std::make_tuple(1, 1, 1));
    EXPECT_EQ(Counted("one\r\ntwo\nthree\rfour\r\n\r"), std::make_tuple(2, 2, 1)); // a CR at the very end
    EXPECT_EQ(Counted(QByteArrayView("a\0\r\n\0b\n", 7)), std::make_tuple(1, 0, 1));
}

// A text read in pieces counts as the whole text, wherever it is cut (a CR
// ending one piece and an LF starting the next are one CR LF).
TEST(LineEndsTest, ATextInPiecesCountsAsTheWhole)
{
    const QByteArray text = "a\r\nb\rc\nd\r\r\n\n\re\r\n";
    for (qsizetype first = 0; first <= text.size(); ++first)
        for (qsizetype second = first; second <= text.size(); ++second) {
            LineEnds::Tally tally;
            tally.Add(QByteArrayView(text).first(first));
            tally.Add(QByteArrayView(text).sliced(first, second - first));
            tally.Add(QByteArrayView(text).sliced(second));
            const LineEnds::Counts counts = tally.Total();
            EXPECT_EQ(std::make_tuple(counts.crlf, counts.cr, counts.lf), Counted(text)) << first << ", " << second;
        }
}

TEST(LineEndsTest, TheKindUsedMostDecidesAndLfWinsTies)
{
    const auto mode = [](qint64 crlf, qint64 cr, qint64 lf) { return LineEnds::MostUsedMode({crlf, cr, lf}); };
    EXPECT_EQ(mode(0, 0, 0), Sci::SC_EOL_LF);
    EXPECT_EQ(mode(3, 1, 2), Sci::SC_EOL_CRLF);
    EXPECT_EQ(mode(1, 2, 0), Sci::SC_EOL_CR);
    EXPECT_EQ(mode(0, 0, 1), Sci::SC_EOL_LF);
    EXPECT_EQ(mode(2, 2, 2), Sci::SC_EOL_LF);
    EXPECT_EQ(mode(2, 2, 1), Sci::SC_EOL_CRLF);
}

// A conversion never joins two lines: every line end, whatever its kind,
// gives exactly one line end of the mode.
TEST(LineEndsTest, EveryLineEndBecomesTheModesAndNoLineIsJoined)
{
    const QByteArray mixed("one\r\ntwo\nthree\rfour\r\n\r\n\n\rlast");
    EXPECT_EQ(LineEnds::Converted(mixed, Sci::SC_EOL_LF), QByteArray("one\ntwo\nthree\nfour\n\n\n\nlast"));
    EXPECT_EQ(LineEnds::Converted(mixed, Sci::SC_EOL_CR), QByteArray("one\rtwo\rthree\rfour\r\r\r\rlast"));
    EXPECT_EQ(LineEnds::Converted(mixed, Sci::SC_EOL_CRLF),
              QByteArray("one\r\ntwo\r\nthree\r\nfour\r\n\r\n\r\n\r\nlast"));
    EXPECT_EQ(LineEnds::Converted("\r", Sci::SC_EOL_LF), QByteArray("\n"));
    EXPECT_EQ(LineEnds::Converted("", Sci::SC_EOL_CR), QByteArray(""));
    const QByteArray binary("\0\xff\x80\r\n", 5); // other bytes pass untouched
    EXPECT_EQ(LineEnds::Converted(binary, Sci::SC_EOL_LF), QByteArray("\0\xff\x80\n", 4));
}

} // namespace

#include "TestEditorHost.h"
#include "editor/LineEndSurvey.h"

#include <QApplication>

namespace {

// A huge document's line ends are counted in slices between events, read
// where the component keeps the text (its gap stays where the last edit left
// it), and the count is dropped as soon as the text changes.
TEST(LineEndSurveyTest, CountsInSlicesWithoutMovingTheGapAndForgetsOnChange)
{
    const qint64 saved = std::exchange(LineEndSurvey::SliceBytes(), 1000);
    QByteArray text;
    for (int i = 0; i < 3000; ++i)
        text += i % 7 == 0 ? "line\r\n" : i % 11 == 0 ? "line\r" : "line\n";
    TestEditorHost host;
    clsScintilla &sci = host.sci();
    host.SetTextRaw(text);
    sci.SetSel(9000, 9000);
    sci.ReplaceSel(QStringLiteral("\n")); // the gap is here now
    text.insert(9000, '\n');
    const long gap = sci.SendEditor(Sci::SCI_GETGAPPOSITION);
    ASSERT_GT(gap, 0);
    ASSERT_LT(gap, sci.GetLen());

    int counted = 0;
    QObject::connect(&sci, &clsScintilla::LineEndsCounted, [&] { ++counted; });
    sci.CountLineEnds();
    EXPECT_FALSE(sci.LineEndCounts()) << "a document of many slices is not counted at once";
    while (!sci.LineEndCounts())
        QApplication::processEvents();
    EXPECT_EQ(counted, 1);
    const LineEnds::Counts counts = *sci.LineEndCounts();
    EXPECT_EQ(std::make_tuple(counts.crlf, counts.cr, counts.lf), Counted(text));
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETGAPPOSITION), gap);

    sci.SetSel(0, 0);
    sci.ReplaceSel(QStringLiteral("\r"));
    EXPECT_FALSE(sci.LineEndCounts());
    sci.CountLineEnds();
    while (!sci.LineEndCounts())
        QApplication::processEvents();
    EXPECT_EQ(sci.LineEndCounts()->cr, counts.cr + 1);
    LineEndSurvey::SliceBytes() = saved;
}

} // namespace
