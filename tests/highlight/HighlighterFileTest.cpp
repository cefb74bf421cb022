#include "TestFiles.h"
#include "highlight/HighlighterFile.h"
#include "highlight/modIni.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace HighlighterFile;

Highlighter FromText(const QByteArray &text)
{
    return Read(IniFile::FromBytes(text));
}

StyleSpec Parsed(const QString &value)
{
    return ParseStyleValue(value);
}

TEST(ChlReader, AFileWithOnlyStyle32GivesEveryStyleItsLook)
{
    const Highlighter h = FromText("[data]\nLangName=Mini\nLanguage=3\nStyle[32]=:I::V:C:::Arial:12:255:0::\n");
    EXPECT_EQ(h.LangName, "Mini");
    EXPECT_EQ(h.Lexer, 3);
    EXPECT_TRUE(h.Filter.isEmpty());
    EXPECT_TRUE(h.SingleComment.isEmpty());
    EXPECT_TRUE(h.FilePath.isEmpty());
    for (const QString &list : h.Keywords)
        EXPECT_TRUE(list.isEmpty());
    const StyleSpec style32 = h.Style(32);
    EXPECT_EQ(style32.Font, "Arial");
    EXPECT_EQ(style32.Size, 12);
    EXPECT_EQ(style32.Fore, 255);
    EXPECT_EQ(style32.Back, 0); // "0" is not empty, so it is used
    EXPECT_EQ(style32.Italic, 1);
    EXPECT_EQ(style32.Bold, 0);
    for (int n = 0; n < Highlighter::StyleCount; ++n)
        EXPECT_EQ(h.Style(n), style32) << n;
}

TEST(ChlReader, FieldsOverwriteDefaultsOnlyWhereTheyMakeSense)
{
    const StyleSpec all = Parsed("b:i:u:v:C:e:::10:::");
    EXPECT_EQ(all.Bold, 1);
    EXPECT_EQ(all.Italic, 1);
    EXPECT_EQ(all.Underline, 1);
    EXPECT_EQ(all.Visible, 1);
    EXPECT_EQ(all.EolFilled, 1);
    EXPECT_EQ(all.Font, "Courier New");
    EXPECT_EQ(all.Fore, 0);
    EXPECT_EQ(all.Back, 16777215);

    const StyleSpec whole = Parsed("B :BI:U::C:EE:::0:::"); // letters count only alone
    EXPECT_EQ(whole.Bold, 0);
    EXPECT_EQ(whole.Italic, 0);
    EXPECT_EQ(whole.Underline, 1);
    EXPECT_EQ(whole.Visible, 0); // a present but empty field hides the style
    EXPECT_EQ(whole.EolFilled, 0);
    EXPECT_EQ(whole.Size, 10);   // "0" keeps the default

    const StyleSpec cut = Parsed(":::V:C:::Tahoma:9.7:4294934656:-1:注释: 说明::");
    EXPECT_EQ(cut.Size, 9);
    EXPECT_EQ(cut.Fore, std::int32_t(0xFFFF8080u)); // unsigned spelling of a high-bit colour
    EXPECT_EQ(cut.Back, -1);
    EXPECT_EQ(cut.Description, QStringLiteral("注释")); // a colon ends the description

    const StyleSpec junk = Parsed(":::V:C:::X:big:0x10:12abc::");
    EXPECT_EQ(junk.Size, 10);
    EXPECT_EQ(junk.Fore, 0);
    EXPECT_EQ(junk.Back, 16777215);
    EXPECT_EQ(Parsed("B:I").Visible, 1); // too short to say: stays readable
    EXPECT_EQ(Parsed("").Size, 10);
}

TEST(ChlReader, KeysAreReadWithTheirRules)
{
    const QByteArray list = QByteArray("word ").repeated(300).trimmed();
    Highlighter h = FromText("[DATA]\nfilter=C (*.c)|*.c\nlanguage=18.9\nsinglecomment=//\nkeywords[7]=" + list
                             + "\nSTYLE[40]=B:::V:C:::Arial:14:::Forty:\nStyle[32]=:::V:C:::Mono:11:::Default:\n");
    EXPECT_EQ(h.Filter, "C (*.c)|*.c|");
    EXPECT_EQ(h.Lexer, 18);
    EXPECT_EQ(h.SingleComment, "//");
    EXPECT_EQ(h.Keywords[7], QString::fromLatin1(list));
    EXPECT_EQ(h.Font[40], "Arial");
    EXPECT_EQ(h.Bold[40], 1);
    EXPECT_EQ(h.Font[41], "Mono");
    EXPECT_EQ(h.Description[41], "Default");

    EXPECT_EQ(FromText("[data]\nFilter=A|*.a|\n").Filter, "A|*.a|");
    EXPECT_EQ(FromText("[data]\nLanguage=lexer\n").Lexer, 0);
}

TEST(ChlWriter, StyleValuesAreWrittenAsTheDialogsDo)
{
    StyleSpec blue = DefaultLook();
    blue.Bold = 1;
    blue.Visible = 1;
    blue.Fore = 16711680;
    EXPECT_EQ(StyleValueText(blue), "B:::V:C:::Courier New:10:16711680:16777215::");

    StyleSpec black = DefaultLook();
    black.Back = 0;
    black.Italic = black.Underline = black.EolFilled = 1;
    black.Description = "说明";
    EXPECT_EQ(StyleValueText(black), ":I:U::C:E::Courier New:10::0:说明:");
    // A black background survives the trip through the file; an empty field
    // (as older files have it) still reads as white.
    EXPECT_EQ(Parsed(StyleValueText(black)).Back, 0);
    EXPECT_EQ(Parsed(":I:U::C:E::Courier New:10:::说明:").Back, 16777215);
}

class ChlFileTest : public ::testing::Test, protected TestFiles
{
protected:

};

TEST_F(ChlFileTest, TheSettingsWriterTouchesOnlyWhatItOwns)
{
    const QByteArray original = "; hand-made\r\n[data]\r\nLangName=Old\r\nLanguage=3\r\nSingleComment=//\r\n"
                                "Style[5]=:::V:C:::Old Font:8:::Old:\r\nUnknown=keep\r\n"
                                "Style[32]=:::V:C:::Courier New:10:0:16777215::\r\n[other]\r\nx=1\r\n";
    const QString path = Write("w.CHL", original);
    Highlighter h = ReadFile(path);
    h.FilePath = path;
    h.LangName = "New";
    h.Filter = "New (*.new)|*.new|";
    h.SetStyle(5, h.Style(32)); // the default style's look ...
    h.Description[5] = "differs"; // ... with a description of its own
    h.Bold[7] = 1;
    h.Keywords[2] = "alpha beta";
    ASSERT_TRUE(WriteSettings(h));

    const QByteArray written = Read(path);
    EXPECT_TRUE(written.startsWith("; hand-made\r\n[data]\r\nLangName=New\r\nLanguage=3\r\nSingleComment=//\r\n"
                                   "Style[5]=:::V:C:::Courier New:10::16777215:differs:\r\nUnknown=keep\r\n"))
        << written.constData();
    EXPECT_TRUE(written.endsWith("[other]\r\nx=1\r\n"));
    EXPECT_EQ(ReadIniValue("data", "Style[7]", path), "B:::V:C:::Courier New:10::16777215::");
    // New keys in the writer's order: filter, styles, keyword lists.
    const qsizetype filter = written.indexOf("filter=New (*.new)|*.new|");
    const qsizetype style7 = written.indexOf("Style[7]=");
    const qsizetype keywords = written.indexOf("Keywords[2]=alpha beta");
    EXPECT_TRUE(filter > 0 && filter < style7 && style7 < keywords);
    EXPECT_EQ(written.count("Style["), 3); // 5, 7 and 32
    EXPECT_FALSE(written.contains("Keywords[0]"));

    // What was written reads back as the record.
    const Highlighter back = ReadFile(path);
    EXPECT_EQ(back.Style(5), h.Style(5));
    EXPECT_EQ(back.Style(7), h.Style(7));
    EXPECT_EQ(back.Keywords[2], "alpha beta");
    EXPECT_EQ(back.Filter, h.Filter);
}

// Undoing a setting must survive a restart: a list emptied or a style made
// the default style again leaves no old line behind to come back.
TEST_F(ChlFileTest, WhatTheDialogUndidIsUndoneInTheFile)
{
    const QString path = Write("u.CHL", "[data]\nLangName=U\nKeywords[1]=int char\nStyle[5]=B:::V:C:::Arial:12:255::Word:\n"
                                        "; note\nStyle[32]=:::V:C:::Courier New:10:0:16777215:Plain:\n"
                                        "keywords[1]=older duplicate\n[other]\nKeywords[1]=not ours\n");
    Highlighter h = ReadFile(path);
    h.FilePath = path;
    ASSERT_EQ(h.Keywords[1], "int char");
    ASSERT_EQ(h.Font[5], "Arial");
    h.Keywords[1].clear();
    h.SetStyle(5, h.Style(32));
    ASSERT_TRUE(WriteSettings(h));

    EXPECT_EQ(Read(path), QByteArray("[data]\nLangName=U\n; note\nStyle[32]=:::V:C:::Courier New:10::16777215:Plain:\n"
                                     "filter=\n[other]\nKeywords[1]=not ours\n"));
    const Highlighter back = ReadFile(path);
    EXPECT_TRUE(back.Keywords[1].isEmpty());
    EXPECT_EQ(back.Style(5), h.Style(5));
}

// The comment marker edited in the settings dialog must outlive the run,
// without giving files that never had one an empty line.
TEST_F(ChlFileTest, TheCommentMarkerIsWrittenWhenThereIsOne)
{
    const QString none = Write("none.CHL", "[data]\r\nLangName=None\r\nStyle[32]=:::V:C:::Courier New:10:0:16777215::\r\n");
    Highlighter h = ReadFile(none);
    h.FilePath = none;
    ASSERT_TRUE(WriteSettings(h));
    EXPECT_FALSE(Read(none).contains("SingleComment"));

    h.SingleComment = "--";
    ASSERT_TRUE(WriteSettings(h));
    EXPECT_EQ(ReadFile(none).SingleComment, "--");

    h.SingleComment.clear(); // cleared in the dialog: the file follows
    ASSERT_TRUE(WriteSettings(h));
    EXPECT_TRUE(ReadIniValue("data", "SingleComment", none).isEmpty());
    EXPECT_TRUE(Read(none).contains("SingleComment="));
}

TEST_F(ChlFileTest, WriterFailuresAreReported)
{
    Highlighter h;
    EXPECT_FALSE(WriteSettings(h)); // no file
    h.FilePath = dir.filePath("no/such/dir/x.CHL");
    const IniWriteResult result = WriteSettings(h);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.failure.path, h.FilePath);
    EXPECT_FALSE(result.failure.reason.isEmpty());
}

TEST_F(ChlFileTest, HugeAndBinaryFilesLoadWithDefaults)
{
    QByteArray huge("[data]\nLangName=Huge\n");
    huge.append(QByteArray(MaxFileBytes, 'x'));
    const Highlighter big = ReadFile(Write("huge.CHL", huge));
    EXPECT_TRUE(big.LangName.isEmpty());
    EXPECT_EQ(big.Style(0), Parsed(""));

    QByteArray binary("[data]\nLangName=Bin");
    binary.append('\xFF').append('\0').append("ary\nStyle[32]=B").append('\0').append(":::V\n");
    const Highlighter bin = ReadFile(Write("bin.CHL", binary));
    EXPECT_TRUE(bin.LangName.startsWith("Bin"));
    EXPECT_EQ(bin.Font[3], "Courier New");
    EXPECT_EQ(bin.Bold[3], 0); // "B" and a NUL is no flag letter
    EXPECT_EQ(bin.Visible[3], 1);
}

// Random and truncated texts: the reader never crashes, and a style whose
// line did not survive looks exactly like style 32.
TEST(ChlFuzz, RandomAndTruncatedTextsGiveWholeRecords)
{
    QByteArray valid = "[data]\r\nLangName=Fuzz\r\nLanguage=3\r\nFilter=F|*.f\r\nKeywords[0]=int char\r\n";
    for (int n = 0; n < 128; n += 3)
        valid += "Style[" + QByteArray::number(n) + "]=B:I::V:C:E::Font" + QByteArray::number(n) + ":"
                 + QByteArray::number(8 + n % 5) + ":" + QByteArray::number(n * 1000) + ":123:d" + QByteArray::number(n)
                 + ":\r\n";

    auto checkWhole = [](const Highlighter &h, const QByteArray &text) {
        for (int n = 0; n < Highlighter::StyleCount; ++n) {
            ASSERT_FALSE(h.Font[n].isEmpty());
            ASSERT_TRUE(h.Bold[n] == 0 || h.Bold[n] == 1);
            ASSERT_TRUE(h.Visible[n] == 0 || h.Visible[n] == 1);
        }
        ASSERT_TRUE(h.Filter.isEmpty() || h.Filter.endsWith('|')) << text.constData();
    };

    for (qsizetype cut = 0; cut <= valid.size(); cut += 7) {
        const QByteArray text = valid.left(cut);
        const Highlighter h = FromText(text);
        checkWhole(h, text);
        for (int n = 0; n < Highlighter::StyleCount; ++n) {
            if (!text.contains("Style[" + QByteArray::number(n) + "]=B")) {
                ASSERT_EQ(h.Style(n), h.Style(32)) << "cut " << cut << " style " << n;
            }
        }
        if (!text.contains("Style[32]=B")) {
            ASSERT_EQ(h.Style(32), Parsed("")); // no style 32 at all: the defaults, readable
        }
    }

    static const char *const pieces[] = {"[data]", "Style[", "32", "5", "]=", ":", "B", "V", "C", "\r\n", "\n",
                                         "=", "Language", "Filter", "|", "-", "99999999999999999999", "\xFF",
                                         "中", " ", "Keywords[", "LangName"};
    for (quint32 seed : {1u, 2u, 3u, 42u, 4711u}) {
        QRandomGenerator random(seed);
        for (int round = 0; round < 200; ++round) {
            QByteArray text;
            const int count = random.bounded(1, 120);
            for (int i = 0; i < count; ++i) {
                if (random.bounded(8) == 0)
                    text.append(char(random.bounded(256)));
                else
                    text.append(pieces[random.bounded(int(std::size(pieces)))]);
            }
            checkWhole(FromText(text), text);
        }
    }
}

} // namespace
