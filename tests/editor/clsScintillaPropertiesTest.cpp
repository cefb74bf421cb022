#include "TestEditorHost.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

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

// Folding: a clickable margin of boxes, and the lexer asked to fold.
TEST_F(EditorPropertiesTest, FoldingSetsUpTheBoxMargin)
{
    Record();
    sci().Folding(vbTrue);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINWIDTHN, 1), 20);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINTYPEN, 1), Sci::SC_MARGIN_SYMBOL);
    EXPECT_EQ(std::uint32_t(Ask(Sci::SCI_GETMARGINMASKN, 1)), std::uint32_t(Sci::SC_MASK_FOLDERS));
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINSENSITIVEN, 1), 1);
    const std::pair<long, long> symbols[] = {
        {Sci::SC_MARKNUM_FOLDEROPEN, Sci::SC_MARK_BOXMINUS},     {Sci::SC_MARKNUM_FOLDER, Sci::SC_MARK_BOXPLUS},
        {Sci::SC_MARKNUM_FOLDERSUB, Sci::SC_MARK_VLINE},         {Sci::SC_MARKNUM_FOLDERTAIL, Sci::SC_MARK_LCORNER},
        {Sci::SC_MARKNUM_FOLDEREND, Sci::SC_MARK_BOXPLUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDEROPENMID, Sci::SC_MARK_BOXMINUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDERMIDTAIL, Sci::SC_MARK_TCORNER}};
    for (const auto &[marker, symbol] : symbols)
        EXPECT_EQ(Ask(Sci::SCI_MARKERSYMBOLDEFINED, marker), symbol) << marker;
    for (const char *property : {"fold", "fold.compact", "fold.html"}) {
        char value[8] = {};
        sci().Editor()->SendScintilla(Sci::SCI_GETPROPERTY, property, value);
        EXPECT_EQ(QByteArray(value), property == std::string("fold.compact") ? "0" : "1") << property;
    }

    // What the component cannot tell: white signs in black boxes, a line
    // under folded text.
    std::map<long, std::pair<long, long>> colours; // marker: fore, back
    long foldFlags = -1;
    for (const Sent &s : sent) {
        if (s.msg == Sci::SCI_MARKERSETFORE)
            colours[s.wParam].first = s.lParam;
        else if (s.msg == Sci::SCI_MARKERSETBACK)
            colours[s.wParam].second = s.lParam;
        else if (s.msg == Sci::SCI_SETFOLDFLAGS)
            foldFlags = s.wParam;
    }
    EXPECT_EQ(colours.size(), 7u);
    for (const auto &[marker, foreBack] : colours)
        EXPECT_EQ(foreBack, std::make_pair(0xFFFFFFL, 0L)) << marker;
    EXPECT_EQ(foldFlags, 16);

    sci().Folding(vbFalse);
    EXPECT_EQ(Ask(Sci::SCI_GETMARGINWIDTHN, 1), 0);
    EXPECT_EQ(Ask(Sci::SCI_MARKERSYMBOLDEFINED, Sci::SC_MARKNUM_FOLDER), Sci::SC_MARK_BOXPLUS); // markers stay defined
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
