#include "TestEditorHost.h"
#include "TestFiles.h"
#include "editor/PrintColourScope.h"
#include "highlight/ColourScheme.h"
#include "highlight/DarkColourFile.h"
#include "highlight/HighlighterFile.h"
#include "highlight/modHighlighter.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cmath>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

constexpr std::int32_t White = 0xFFFFFF;
constexpr std::int32_t Black = 0x000000;
constexpr std::int32_t Red = 0x0000FF;      // COLORREF: 0x00BBGGRR
constexpr std::int32_t Yellow = 0x00FFFF;
constexpr std::int32_t DarkBack = 0x25211F; // #1F2125
constexpr std::int32_t LightText = 0xD6D6D6;

// The relative luminance and contrast ratio of the web's accessibility rules.
double Luminance(std::int32_t colour)
{
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double c = ((colour >> (8 * i)) & 0xFF) / 255.0;
        sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double Contrast(std::int32_t a, std::int32_t b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString ShippedFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/highlighters");
}

// A light language and, when given, its dark file beside it in dark/.
class DarkColoursTest : public ::testing::Test, protected TestFiles
{
protected:
    void SetUp() override { ResetHighlighterTable(); }
    void TearDown() override
    {
        ResetHighlighterTable();
        ColourScheme::SetMode(ColourMode::Automatic);
    }

    QString WriteLanguage(const QString &name)
    {
        return Write(name + QStringLiteral(".CHL"),
                     "[data]\nLangName=" + name.toUtf8()
                         + "\nLanguage=3\n"
                           "Style[32]=:::V:C:::Courier New:10:0:16777215:默认:\n"
                           "Style[1]=:::V:C:::Courier New:10:255:16777215:红字:\n"
                           "Style[2]=:::V:C:::Courier New:10:0:65535:黄底:\n"
                           "Style[3]=B:::V:C:::Courier New:10:255:65535:红字黄底:\n");
    }

    QString WriteDark(const QString &name, const QByteArray &keys)
    {
        QDir(dir.path()).mkpath(QStringLiteral("dark"));
        return Write(QStringLiteral("dark/") + name + QStringLiteral(".colours"),
                     "; 深色\n[dark]\nFore[32]=#D6D6D6\nBack[32]=#1F2125\n" + keys);
    }

    static long StyleColour(clsScintilla &sci, int message, int style) { return sci.SendEditor(message, style); }
};

TEST(DarkColourFileText, ColoursAreHashRrggbbAndNothingElse)
{
    EXPECT_EQ(DarkColourFile::ParseColour(u"#1F2125"), DarkBack);
    EXPECT_EQ(DarkColourFile::ParseColour(u" #1f2125 "), DarkBack);
    EXPECT_EQ(DarkColourFile::ParseColour(u"#FF0000"), Red);
    for (const char16_t *bad : {u"", u"1F2125", u"#1F212", u"#1F21255", u"#GG2125", u"#-12345", u"0xFF0000"})
        EXPECT_EQ(DarkColourFile::ParseColour(bad), std::nullopt) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(DarkColourFile::ColourText(DarkBack), "#1F2125");
    EXPECT_EQ(DarkColourFile::ColourText(Red), "#FF0000");
}

// A style without a key takes the dark default where its light colour was
// the light default, and keeps its own light colour otherwise.
TEST_F(DarkColoursTest, StylesWithoutKeysFollowTheDarkDefaultOrKeepTheirOwnColour)
{
    const QString chl = WriteLanguage(QStringLiteral("Mini"));
    WriteDark(QStringLiteral("Mini"), "Fore[3]=#FFFF00\nBack[3]=#303000\n");
    LoadHighlighters(dir.path());
    ASSERT_EQ(HighlighterCount, 1);
    const Highlighter &h = HighlighterTable[0];
    ASSERT_TRUE(h.Dark.has_value());
    EXPECT_EQ(h.Dark->FilePath, Path(QStringLiteral("dark/Mini.colours")));

    EXPECT_EQ(h.Dark->Fore[32], LightText);
    EXPECT_EQ(h.Dark->Back[32], DarkBack);
    EXPECT_EQ(h.Dark->Fore[1], Red);       // its own colour
    EXPECT_EQ(h.Dark->Back[1], DarkBack);  // was the default background
    EXPECT_EQ(h.Dark->Fore[2], LightText); // was the default text
    EXPECT_EQ(h.Dark->Back[2], Yellow);    // its own background
    EXPECT_EQ(h.Dark->Fore[3], 0x00FFFF);
    EXPECT_EQ(h.Dark->Back[3], 0x003030);
    EXPECT_EQ(h.Dark->Fore[77], LightText); // no line: style 32
    EXPECT_EQ(h.Dark->Back[77], DarkBack);

    // The light colours are the CHL file's, dark file or not.
    Highlighter plain = HighlighterFile::ReadFile(chl);
    plain.FilePath = chl;
    Highlighter loaded = h;
    loaded.Dark.reset();
    EXPECT_EQ(loaded, plain);
}

TEST_F(DarkColoursTest, TheFirstLookupFolderWithADarkFileWinsAndNamesMatchWithoutCase)
{
    const QString chl = WriteLanguage(QStringLiteral("Mini"));
    QDir(dir.path()).mkpath(QStringLiteral("user/dark"));
    Write(QStringLiteral("user/dark/mini.COLOURS"), "[dark]\nBack[32]=#000000\n");
    WriteDark(QStringLiteral("Mini"), "");
    EXPECT_EQ(DarkColourFile::Find(chl, {Path(QStringLiteral("user")), dir.path()}),
              Path(QStringLiteral("user/dark/mini.COLOURS")));
    EXPECT_EQ(DarkColourFile::Find(chl, {}), Path(QStringLiteral("dark/Mini.colours")));
    EXPECT_EQ(DarkColourFile::Find(Path(QStringLiteral("Other.CHL")), {dir.path()}), QString());
}

TEST_F(DarkColoursTest, ApplyingSendsTheSetTheSchemeChooses)
{
    WriteLanguage(QStringLiteral("Mini"));
    WriteDark(QStringLiteral("Mini"), "Fore[1]=#FF8080\n");
    WriteLanguage(QStringLiteral("Own")); // no dark file: a language the user made
    LoadHighlighters(dir.path());
    TestEditorHost host;
    clsScintilla &sci = host.sci();

    ColourScheme::SetMode(ColourMode::Light);
    ApplyHighlighter(sci, QStringLiteral("Mini"));
    for (int n : {1, 2, 3, 32})
        EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETFORE, n), HighlighterTable[0].Fore[n]) << n;
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETBACK, 32), White);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETCARETFORE), Black);

    ColourScheme::SetMode(ColourMode::Dark);
    ApplyHighlighter(sci, QStringLiteral("Mini"));
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETFORE, 1), 0x8080FF);
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETBACK, 1), DarkBack);
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETBACK, 32), DarkBack);
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETBACK, 2), Yellow);
    // The caret would be black on black.
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETCARETFORE), LightText);

    ApplyHighlighter(sci, QStringLiteral("Own"));
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETBACK, 32), White);
    EXPECT_EQ(StyleColour(sci, Sci::SCI_STYLEGETFORE, 1), Red);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETCARETFORE), Black);
}

// Paper is white: a dark set prints with its lightness inverted, and the
// editor's own mode comes back afterwards; light colours print as they are.
TEST_F(DarkColoursTest, ADarkSetPrintsInvertedOnWhitePaper)
{
    WriteLanguage(QStringLiteral("Mini"));
    WriteDark(QStringLiteral("Mini"), "");
    LoadHighlighters(dir.path());
    TestEditorHost host;
    clsScintilla &sci = host.sci();
    sci.SendEditor(Sci::SCI_SETPRINTCOLOURMODE, Sci::SC_PRINT_COLOURONWHITE);

    ColourScheme::SetMode(ColourMode::Dark);
    ApplyHighlighter(sci, QStringLiteral("Mini"));
    {
        const PrintColourScope paper(sci);
        EXPECT_EQ(sci.SendEditor(Sci::SCI_GETPRINTCOLOURMODE), Sci::SC_PRINT_INVERTLIGHT);
    }
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETPRINTCOLOURMODE), Sci::SC_PRINT_COLOURONWHITE);

    ColourScheme::SetMode(ColourMode::Light);
    ApplyHighlighter(sci, QStringLiteral("Mini"));
    {
        const PrintColourScope paper(sci);
        EXPECT_EQ(sci.SendEditor(Sci::SCI_GETPRINTCOLOURMODE), Sci::SC_PRINT_COLOURONWHITE);
    }
}

TEST(ColourSchemeChoice, AutomaticFollowsTheWindowBackground)
{
    QPalette light(QColor(240, 240, 240));
    light.setColor(QPalette::Window, QColor(239, 239, 239));
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    EXPECT_FALSE(ColourScheme::WantsDark(ColourMode::Automatic, light));
    EXPECT_TRUE(ColourScheme::WantsDark(ColourMode::Automatic, dark));
    EXPECT_TRUE(ColourScheme::WantsDark(ColourMode::Dark, light));
    EXPECT_FALSE(ColourScheme::WantsDark(ColourMode::Light, dark));

    const QPalette before = QGuiApplication::palette();
    ColourScheme::SetMode(ColourMode::Automatic);
    QGuiApplication::setPalette(dark);
    EXPECT_TRUE(ColourScheme::DarkInUse());
    QGuiApplication::setPalette(light);
    EXPECT_FALSE(ColourScheme::DarkInUse());
    QGuiApplication::setPalette(before);
}

TEST_F(DarkColoursTest, WritingKeepsOnlyWhatDiffersAndReadsBackTheSameSet)
{
    WriteLanguage(QStringLiteral("Mini"));
    const QString shipped = WriteDark(QStringLiteral("Mini"), "Fore[1]=#FF8080\nFore[3]=#FFFF00\n");
    LoadHighlighters(dir.path());
    Highlighter h = HighlighterTable[0];
    h.Dark->Fore[2] = 0x123456;         // a key of its own now
    h.Dark->Fore[3] = h.Dark->Fore[32]; // no longer different from what it follows...
    h.Fore[3] = h.Fore[32];             // ...now that its light colour is the default's
    const QString mine = Path(QStringLiteral("user/dark/Mini.colours"));

    ASSERT_TRUE(DarkColourFile::Write(h, mine));
    const QByteArray bytes = Read(mine);
    EXPECT_TRUE(bytes.startsWith("; 深色\n")) << bytes.toStdString(); // made from the shipped file
    EXPECT_TRUE(bytes.contains("Fore[2]=#563412\n"));
    EXPECT_TRUE(bytes.contains("Fore[1]=#FF8080\n"));
    EXPECT_FALSE(bytes.contains("Fore[3]"));
    DarkColourSet readBack = DarkColourFile::Read(IniFile::Load(mine), h);
    EXPECT_EQ(readBack.Fore, h.Dark->Fore);
    EXPECT_EQ(readBack.Back, h.Dark->Back);
    EXPECT_EQ(Read(shipped), "; 深色\n[dark]\nFore[32]=#D6D6D6\nBack[32]=#1F2125\nFore[1]=#FF8080\nFore[3]=#FFFF00\n");
}

// Every shipped language has a dark set in which every style's text reads
// on its background, on a background that is dark.
TEST_F(DarkColoursTest, EveryShippedLanguageHasAReadableDarkSet)
{
    LoadHighlighterFolders({ShippedFolder()});
    ASSERT_GT(HighlighterCount, 10);
    for (const Highlighter &h : HighlighterTable) {
        const std::string name = QFileInfo(h.FilePath).fileName().toStdString();
        ASSERT_TRUE(h.Dark.has_value()) << name;
        EXPECT_LT(QColor(h.Dark->Back[32] & 0xFF, (h.Dark->Back[32] >> 8) & 0xFF, h.Dark->Back[32] >> 16).lightness(),
                  64)
            << name;
        for (int n = 0; n < Highlighter::StyleCount; ++n)
            EXPECT_GE(Contrast(h.Dark->Fore[n], h.Dark->Back[n]), 3.0)
                << name << " style " << n << " " << h.Description[n].toStdString() << " "
                << DarkColourFile::ColourText(h.Dark->Fore[n]).toStdString() << " on "
                << DarkColourFile::ColourText(h.Dark->Back[n]).toStdString();
    }
}

} // namespace
