#include "TestEditorHost.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

struct Sent
{
    int msg;
    long wParam;
    long lParam;
    QByteArray text;
};

class EditorPropertiesTest : public ::testing::Test
{
protected:
    void Record()
    {
        sent.clear();
        sci().ObserveMessages([this](int msg, long w, long l, const char *text) {
            const bool carriesText = msg == Sci::SCI_SETPROPERTY;
            sent.push_back({msg, w, l, carriesText ? QByteArray(reinterpret_cast<const char *>(w)) + '=' + text : QByteArray()});
        });
    }

    clsScintilla &sci() { return host.sci(); }
    long Ask(int msg, long w = 0) { return sci().SendEditor(msg, w); }

    TestEditorHost host;
    std::vector<Sent> sent;
};

TEST_F(EditorPropertiesTest, KeptPropertiesStartOffAndSendNothingUntilSet)
{
    Record();
    clsScintilla fresh;
    EXPECT_EQ(fresh.LineBreak(), 0);
    EXPECT_EQ(fresh.IgnoreAutoCCase(), vbFalse);
    EXPECT_EQ(fresh.LineNumbers(), vbFalse);
    EXPECT_EQ(fresh.Folding(), vbFalse);
    EXPECT_EQ(fresh.AutoIndent(), vbFalse);
    EXPECT_EQ(fresh.ShowCallTips(), vbFalse);
    EXPECT_TRUE(sent.empty());
}

TEST_F(EditorPropertiesTest, LineNumbersSetTheFirstMargin)
{
    sci().LineNumbers(vbTrue);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINWIDTHN, 0), 30);
    sci().LineNumbers(vbFalse);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINWIDTHN, 0), 0);
    sci().SetMarginWidth(0, 50);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINWIDTHN, 0), 50);
}

TEST_F(EditorPropertiesTest, FoldingSendsTheBoxMarginInItsOrder)
{
    Record();
    sci().Folding(vbTrue);
    std::vector<std::tuple<int, long, long>> expected = {
        {Sci::SCI_SETMARGINWIDTHN, 1, 0}, {Sci::SCI_SETMARGINTYPEN, 1, 0}, {Sci::SCI_SETMARGINMASKN, 1, 0xFE000000L},
        {Sci::SCI_SETMARGINWIDTHN, 1, 20}, {Sci::SCI_MARKERDEFINE, 30, 12}, {Sci::SCI_MARKERDEFINE, 31, 14},
        {Sci::SCI_MARKERDEFINE, 25, 13}, {Sci::SCI_MARKERDEFINE, 26, 15}, {Sci::SCI_MARKERDEFINE, 27, 11},
        {Sci::SCI_MARKERDEFINE, 29, 9}, {Sci::SCI_MARKERDEFINE, 28, 10},
    };
    const int F = Sci::SCI_MARKERSETFORE, B = Sci::SCI_MARKERSETBACK;
    for (const auto &[m, n] : std::vector<std::pair<int, int>>{{F, 30}, {B, 30}, {F, 31}, {B, 31}, {B, 27}, {B, 29},
                                                                {B, 28}, {F, 31}, {F, 27}, {F, 29}, {F, 28}, {B, 26},
                                                                {F, 26}, {B, 25}, {F, 25}})
        expected.emplace_back(m, n, m == F ? 0xFFFFFF : 0);
    expected.emplace_back(Sci::SCI_SETMARGINSENSITIVEN, 1, 1);
    expected.emplace_back(Sci::SCI_SETFOLDFLAGS, 16, 0);

    std::vector<QByteArray> properties;
    std::vector<std::tuple<int, long, long>> others;
    for (const Sent &s : sent) {
        if (s.msg == Sci::SCI_SETPROPERTY)
            properties.push_back(s.text);
        else
            others.emplace_back(s.msg, s.wParam, s.lParam);
    }
    EXPECT_EQ(properties, (std::vector<QByteArray>{"fold=1", "fold.compact=0", "fold.html=1"}));
    EXPECT_EQ(others, expected);
    ASSERT_EQ(sent.front().msg, Sci::SCI_SETPROPERTY); // properties go first

    const size_t once = sent.size();
    Record();
    sci().Folding(vbTrue);
    EXPECT_EQ(sent.size(), once); // the whole sequence again

    sci().Folding(vbFalse);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINWIDTHN, 1), 0);
    EXPECT_EQ(Ask(Sci::SCI_MARKERSYMBOLDEFINED, 30), 12); // markers stay defined
}

TEST_F(EditorPropertiesTest, OnlyMinusOneCountsAsTrue)
{
    sci().WordWrap(1);
    EXPECT_EQ(sci().WordWrap(), 1);
    EXPECT_EQ(Ask(Sci::SCI_GETWRAPMODE), 0);
    sci().WordWrap(vbTrue);
    EXPECT_EQ(Ask(Sci::SCI_GETWRAPMODE), 1);

    sci().ViewWhiteSpace(vbTrue);
    EXPECT_EQ(sci().ViewWhiteSpace(), vbTrue);
    sci().ViewWhiteSpace(1);
    EXPECT_EQ(sci().ViewWhiteSpace(), vbFalse);

    sci().ReadOnly(vbTrue);
    EXPECT_EQ(sci().ReadOnly(), vbTrue);
    sci().ReadOnly(1);
    EXPECT_EQ(sci().ReadOnly(), vbFalse);

    sci().IgnoreAutoCCase(vbTrue);
    EXPECT_EQ(Ask(Sci::SCI_AUTOCGETIGNORECASE), 1);
}

TEST_F(EditorPropertiesTest, LineBreakSetsTheModeButLeavesExistingLineEnds)
{
    sci().SetText(QStringLiteral("a\r\nb\r\n"));
    sci().LineBreak(Sci::SC_EOL_LF);
    EXPECT_EQ(sci().LineBreak(), Sci::SC_EOL_LF);
    EXPECT_EQ(Ask(Sci::SCI_GETEOLMODE), Sci::SC_EOL_LF);
    EXPECT_EQ(sci().Text(), QByteArray("a\r\nb\r\n"));
}

TEST_F(EditorPropertiesTest, AFixedFontReachesEveryStyle)
{
    sci().SetFixedFont(QStringLiteral("Liberation Mono"), 13);
    for (long style : {0L, 32L, 64L, 127L}) {
        EXPECT_EQ(Ask(Sci::SCI_STYLEGETSIZE, style), 13) << style;
        QByteArray font(64, '\0');
        host.sci().Editor()->SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(style), font.data());
        EXPECT_EQ(QByteArray(font.constData()), QByteArray("Liberation Mono"));
    }
}

TEST_F(EditorPropertiesTest, ViewSettingsReachTheComponent)
{
    sci().ScrollWidth(10000);
    EXPECT_EQ(sci().ScrollWidth(), 10000);
    const long zoom = sci().GetZoom();
    sci().ZoomIn();
    sci().ZoomIn();
    sci().ZoomOut();
    EXPECT_EQ(sci().GetZoom(), zoom + 1);

    sci().SetProperty(QStringLiteral("fold"), QStringLiteral("1"));
    QByteArray value(8, '\0');
    host.sci().Editor()->SendScintilla(Sci::SCI_GETPROPERTY, "fold", value.data());
    EXPECT_EQ(QByteArray(value.constData()), QByteArray("1"));

    sci().SetText(QStringLiteral("a\nb\n"));
    sci().MarkerSet(1, 3);
    EXPECT_EQ(Ask(Sci::SCI_MARKERGET, 1), 1 << 3);

    sci().SendEditor(Sci::SCI_ADDTEXT, 1, QStringLiteral("z"));
    sci().ClearUndoBuffer();
    EXPECT_EQ(Ask(Sci::SCI_CANUNDO), 0);
}

// Whatever the count of lines, the largest line number fits the margin; the
// width asked for is the least it gets.
TEST_F(EditorPropertiesTest, TheLineNumberMarginWidensWithTheLineCount)
{
    host.show();
    const auto margin = [this] {
        QApplication::processEvents();
        return Ask(Sci::SCI_GETMARGINWIDTHN, 0);
    };
    const auto digitsWidth = [this](const char *digits) {
        return sci().SendEditor(Sci::SCI_TEXTWIDTH, Sci::STYLE_LINENUMBER, QString::fromLatin1(digits));
    };
    sci().SetStyleFont(Sci::STYLE_LINENUMBER, QStringLiteral("Courier New")); // as the shipped languages have it
    sci().SetStyleSize(Sci::STYLE_LINENUMBER, 8);
    sci().LineNumbers(vbTrue);
    sci().SetMarginWidth(0, 50);
    sci().SetTextBytes(QByteArray(999998, '\n')); // 999,999 lines
    EXPECT_EQ(margin(), 50);

    sci().SetFocus();
    sci().SendEditor(Sci::SCI_DOCUMENTEND);
    QTest::keyClick(sci().Editor(), Qt::Key_Return); // line 1,000,000
    const long sevenDigits = margin();
    EXPECT_GT(sevenDigits, 50);
    EXPECT_GE(sevenDigits, digitsWidth("1000000") + 3);

    sci().SendEditor(Sci::SCI_ZOOMIN);
    sci().SendEditor(Sci::SCI_ZOOMIN);
    EXPECT_GT(margin(), sevenDigits); // bigger digits
    sci().SendEditor(Sci::SCI_SETZOOM, 0);
    EXPECT_EQ(margin(), sevenDigits);

    sci().SetStyleSize(Sci::STYLE_LINENUMBER, 20);
    EXPECT_GE(margin(), digitsWidth("1000000") + 3); // a larger font for the numbers
    sci().SetStyleSize(Sci::STYLE_LINENUMBER, 8);

    QTest::keyClick(sci().Editor(), Qt::Key_Backspace);
    EXPECT_EQ(margin(), 50); // back to six digits

    sci().SetTextBytes(QByteArray(12345678, '\n'));
    EXPECT_GE(margin(), digitsWidth("12345679") + 3);

    sci().LineNumbers(vbFalse); // no numbers, no margin, whatever the count
    EXPECT_EQ(margin(), 0);
    sci().SetText(QStringLiteral("x"));
    EXPECT_EQ(margin(), 0);
}

} // namespace
