#include "MessageLog.h"
#include "TestEditorHost.h"
#include "editor/EditorWindow.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

using Sci = QsciScintillaBase;

namespace {

using Sent = MessageLog::Sent;

class StylesTest : public ::testing::Test
{
protected:
    clsScintilla &sci() { return host.sci(); }
    long Get(int msg, long style = 0) { return sci().Editor()->SendScintilla(msg, static_cast<unsigned long>(style)); }

    QByteArray Font(long style)
    {
        QByteArray name(64, '\0');
        sci().Editor()->SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(style), name.data());
        return QByteArray(name.constData());
    }

    std::vector<Sent> Of(int msg) const { return log.Of(msg); }

    // The messages a built-in set sent after its cleared base and start.
    std::vector<Sent> SetMessages() const
    {
        auto it = std::find_if(sent.begin(), sent.end(), [](const Sent &s) { return s.msg == Sci::SCI_STARTSTYLING; });
        return std::vector<Sent>(it + 1, sent.end());
    }

    std::set<long> StylesTouched() const
    {
        std::set<long> styles;
        for (const Sent &s : SetMessages())
            if (s.msg >= Sci::SCI_STYLESETFORE && s.msg <= Sci::SCI_STYLESETVISIBLE)
                styles.insert(s.wParam);
        return styles;
    }

    void ExpectClearedLook(long style)
    {
        EXPECT_EQ(Get(Sci::SCI_STYLEGETFORE, style), 0) << style;
        EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, style), 0xFFFFFF) << style;
        EXPECT_EQ(Get(Sci::SCI_STYLEGETSIZE, style), 10) << style;
        EXPECT_EQ(Get(Sci::SCI_STYLEGETBOLD, style), 0) << style;
        EXPECT_EQ(Get(Sci::SCI_STYLEGETITALIC, style), 0) << style;
        EXPECT_EQ(Get(Sci::SCI_STYLEGETUNDERLINE, style), 0) << style;
        EXPECT_EQ(Font(style), "Courier New") << style;
    }

    TestEditorHost host;
    MessageLog log{host.sci()};
    std::vector<Sent> &sent = log.all;
};

TEST_F(StylesTest, EachSetterReachesTheComponent)
{
    sci().SetStyleFore(40, 0x123456);
    sci().SetStyleBack(40, long(std::int32_t(0xFFFF8080u)));
    sci().SetStyleBold(40, -1);
    sci().SetStyleItalic(40, 1);
    sci().SetStyleUnderline(40, -1);
    sci().SetStyleSize(40, 17);
    sci().SetStyleFont(40, QStringLiteral("文泉驿微米黑"));
    sci().SetStyleEOLFilled(40, -1);
    sci().SetStyleVisible(40, 0);
    sci().SetLexer(3);
    EXPECT_EQ(sent.size(), 10u); // one message each
    EXPECT_EQ(Get(Sci::SCI_STYLEGETFORE, 40), 0x123456);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 40), std::int32_t(0xFFFF8080u)); // high bytes intact
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBOLD, 40) + Get(Sci::SCI_STYLEGETITALIC, 40) + Get(Sci::SCI_STYLEGETUNDERLINE, 40)
                  + Get(Sci::SCI_STYLEGETEOLFILLED, 40),
              4);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETSIZE, 40), 17);
    EXPECT_EQ(Font(40), QByteArray("文泉驿微米黑")); // as UTF-8
    EXPECT_EQ(Get(Sci::SCI_STYLEGETVISIBLE, 40), 0);
    EXPECT_EQ(Get(Sci::SCI_GETLEXER), 3);
    sci().StartStyle();
    EXPECT_EQ(sent.back().msg, Sci::SCI_STARTSTYLING);
    EXPECT_EQ(sent.back().lParam, 31);
}

TEST_F(StylesTest, StyleClearAllResetsEveryStyleAndTheLexer)
{
    sci().SetLexer(3);
    for (long style : {0L, 32L, 40L, 127L}) {
        sci().SetStyleFore(style, 0xFF);
        sci().SetStyleBack(style, 0x00FF00);
        sci().SetStyleSize(style, 20);
        sci().SetStyleBold(style, -1);
        sci().SetStyleItalic(style, -1);
        sci().SetStyleUnderline(style, -1);
        sci().SetStyleFont(style, QStringLiteral("Arial"));
    }
    sci().StyleClearALL();

    EXPECT_EQ(Get(Sci::SCI_GETLEXER), 0);
    // SCI_STYLECLEARALL gives the line numbers and call tips their own
    // colours; everything else has the cleared look.
    for (long style = 0; style < 128; ++style)
        if (style != 33 && style != 38)
            ExpectClearedLook(style);
}

TEST_F(StylesTest, OtherSetNumbersLeaveTheClearedStyles)
{
    for (long number : {4L, -1L}) {
        sci().SetHighlighter(1);
        sent.clear();
        sci().SetHighlighter(number);
        EXPECT_EQ(Get(Sci::SCI_GETLEXER), 0);
        // SCI_STYLECLEARALL gives the line numbers and call tips their own
        // colours; everything else is the cleared look.
        for (long style = 0; style < 128; ++style)
            if (style != 33 && style != 38)
                ExpectClearedLook(style);
        const std::vector<Sent> after = SetMessages();
        ASSERT_EQ(after.size(), 2u); // the document length, then the restyle
        EXPECT_EQ(after.back().msg, Sci::SCI_COLOURISE);
    }
}

TEST_F(StylesTest, TheCppSetKeepsItsSizesKeywordsAndLexer)
{
    host.SetTextRaw("int x; // 中文注释");
    sci().SetHighlighter(1);
    EXPECT_EQ(Get(Sci::SCI_GETLEXER), 3);
    EXPECT_EQ(Font(17), "Comic Sans MS");
    EXPECT_EQ(Get(Sci::SCI_STYLEGETSIZE, 17), 10);
    for (long style : {1L, 2L, 3L, 15L, 18L})
        EXPECT_EQ(Get(Sci::SCI_STYLEGETSIZE, style), 9) << style;
    EXPECT_EQ(Get(Sci::SCI_STYLEGETFORE, 11), 0x20000000);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETUNDERLINE, 7), 1);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 13), 0xE0FFE0);

    const std::vector<Sent> lists = Of(Sci::SCI_SETKEYWORDS);
    ASSERT_EQ(lists.size(), 4u); // set, then handed to the new lexer
    EXPECT_EQ(lists[0].wParam, 0);
    EXPECT_EQ(lists[0].text.size(), 254u);
    EXPECT_TRUE(lists[0].text.ends_with(" register rei"));
    EXPECT_EQ(lists[1].wParam, 2);
    EXPECT_TRUE(lists[1].text.ends_with(" htmlinclude htmlon"));

    // Keywords, lexer, restyle: in that order, at the end.
    const std::vector<Sent> tail(sent.end() - 7, sent.end());
    EXPECT_EQ(tail[0].msg, Sci::SCI_SETKEYWORDS);
    EXPECT_EQ(tail[2].msg, Sci::SCI_SETLEXER);
    EXPECT_EQ(tail[2].wParam, 3);
    EXPECT_EQ(tail[6].msg, Sci::SCI_COLOURISE);
    EXPECT_EQ(tail[6].lParam, 22);

    // Styled to the last byte of the multi-byte comment.
    EXPECT_EQ(sci().GetStyleAt(0), 5);
    EXPECT_EQ(sci().GetStyleAt(21), 2);
    EXPECT_EQ(Get(Sci::SCI_GETENDSTYLED), 22);
}

TEST_F(StylesTest, TheHtmlSetTouchesItsHundredAndThreeStyles)
{
    sci().SetHighlighter(2);
    std::set<long> expected;
    for (long n = 0; n <= 127; ++n)
        if (!((n >= 53 && n <= 70) || (n >= 78 && n <= 80) || n == 88 || n == 89 || n == 103 || n == 104))
            expected.insert(n);
    EXPECT_EQ(expected.size(), 103u);
    EXPECT_EQ(StylesTouched(), expected);

    EXPECT_EQ(Get(Sci::SCI_STYLEGETFORE, 9), std::int32_t(0xFFFF8080u));
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 15), -1); // 0xFFFFFFFF
    EXPECT_EQ(Get(Sci::SCI_STYLEGETFORE, 120), std::int32_t(0xFFFF9F00u));
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 86), 0xCFCFEF);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 87), 0xBF7F7F);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 105), 0xFFFFFF);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 106), 0xCFEFCF);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBACK, 115), 0xEFFFEF);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBOLD, 115), 1);
    EXPECT_EQ(Font(72), "Comic Sans MS");
    EXPECT_EQ(Font(82), "Comic Sans MS");
    EXPECT_EQ(Font(73), "Lucida Sans Unicode");
    EXPECT_EQ(Get(Sci::SCI_STYLEGETSIZE, 34), 11);
    ExpectClearedLook(60); // the ASP JavaScript block stays cleared
    EXPECT_EQ(Get(Sci::SCI_GETLEXER), 4);

    const std::vector<Sent> lists = Of(Sci::SCI_SETKEYWORDS);
    ASSERT_EQ(lists.size(), 12u); // the first six are the set's own
    const std::pair<size_t, const char *> ends[] = {{254, " kbd lab"}, {254, " protected p"}, {254, " then to tr"},
                                                    {160, " while yield"}, {254, "http_cookie_vars "},
                                                    {39, "ENTITY NOTATION"}};
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(lists[k].wParam, long(k));
        EXPECT_EQ(lists[k].text.size(), ends[k].first) << k;
        EXPECT_TRUE(lists[k].text.ends_with(ends[k].second)) << k;
    }
}

TEST_F(StylesTest, TheVbAndPascalSetsLoadTheirListsAndLexers)
{
    sci().SetHighlighter(0);
    EXPECT_EQ(Get(Sci::SCI_GETLEXER), 8);
    EXPECT_EQ(Font(1), "Comic Sans MS");
    std::vector<long> order;
    for (const Sent &s : SetMessages())
        if (s.msg == Sci::SCI_STYLESETFORE)
            order.push_back(s.wParam);
    EXPECT_EQ(order, (std::vector<long>{1, 2, 3, 4, 32, 35, 34}));
    EXPECT_EQ(Of(Sci::SCI_SETKEYWORDS).front().text.size(), 539u);

    sent.clear();
    sci().SetHighlighter(3);
    EXPECT_EQ(Get(Sci::SCI_GETLEXER), 18);
    EXPECT_EQ(Get(Sci::SCI_STYLEGETBOLD, 8), 1);
    const std::vector<Sent> pascal = Of(Sci::SCI_SETKEYWORDS);
    ASSERT_EQ(pascal.size(), 4u); // set, then handed to the new lexer
    EXPECT_EQ(pascal[1].text, "write read default public protected private property published stored");
    EXPECT_EQ(pascal[2].text, pascal[0].text); // VB's list 0 is gone from the editor
}

// Properties live in the lexer like the lists: each new lexer gets the last
// value of every property set so far.
TEST_F(StylesTest, LexerPropertiesReachEveryNewLexer)
{
    const auto isHeader = [this](long line) {
        return (sci().SendEditor(Sci::SCI_GETFOLDLEVEL, line) & Sci::SC_FOLDLEVELHEADERFLAG) != 0;
    };
    sci().SetProperty(QStringLiteral("fold"), QStringLiteral("1"));
    sci().SetHighlighter(1);
    sci().SetText(QStringLiteral("f()\n{\n}\n"));
    sci().Colourise();
    EXPECT_TRUE(isHeader(1));

    sci().SetProperty(QStringLiteral("fold"), QStringLiteral("0"));
    sci().SetHighlighter(1);
    sci().SetText(QStringLiteral("{\n}\n"));
    sci().Colourise();
    EXPECT_FALSE(isHeader(0));

    std::vector<std::string> handedOn;
    sci().ObserveMessages([&](int msg, long key, long, const char *value) {
        if (msg == Sci::SCI_SETPROPERTY)
            handedOn.push_back(std::string(reinterpret_cast<const char *>(key)) + '=' + value);
    });
    sci().SetProperty(QStringLiteral("fold.compact"), QStringLiteral("1"));
    sci().SetLexer(3);
    EXPECT_EQ(handedOn, (std::vector<std::string>{"fold.compact=1", "fold=0", "fold.compact=1"}));
}

} // namespace
