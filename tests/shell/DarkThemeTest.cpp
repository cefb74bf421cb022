#include "MainWindowFixture.h"
#include "highlight/ColourScheme.h"
#include "platform/SettingsStore.h"
#include "shell/ColourSchemeMenu.h"
#include "shell/MainToolbar.h"
#include "shell/ToolbarIcons.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPalette>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

constexpr long White = 0xFFFFFF;

QPalette DarkPalette()
{
    QPalette dark(QColor(60, 60, 64), QColor(40, 40, 44));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    return dark;
}

QPalette LightPalette()
{
    QPalette light(QColor(239, 239, 239), QColor(239, 239, 239));
    light.setColor(QPalette::WindowText, Qt::black);
    light.setColor(QPalette::ButtonText, Qt::black);
    return light;
}

// Opaque pixels lighter and darker than the middle, in a 16 x 16 image.
std::pair<int, int> LightAndDarkPixels(const QIcon &icon)
{
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    int light = 0, dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 160)
                continue;
            (c.lightness() > 170 ? light : dark) += c.lightness() > 170 || c.lightness() < 90;
        }
    return {light, dark};
}

// The application's palette for one test, put back afterwards.
class PaletteScope
{
public:
    explicit PaletteScope(const QPalette &palette) : m_before(QApplication::palette())
    {
        QApplication::setPalette(palette);
        QApplication::processEvents();
    }
    ~PaletteScope()
    {
        QApplication::setPalette(m_before);
        QApplication::processEvents();
    }

private:
    QPalette m_before;
};

// Letters and lines are all ink: light ink on a dark palette, dark on a light one.
TEST(ToolbarIconInk, TheDrawnImagesTakeTheirInkFromThePalette)
{
    for (const char *key : {"Bold", "Italic", "Underline", "Align-Left", "Align-Centre", "Align-Right", "Cut"}) {
        const auto [lightOnDark, darkOnDark] = LightAndDarkPixels(ToolbarIcons::Drawn(key, DarkPalette()));
        EXPECT_GT(lightOnDark, 5) << key;
        EXPECT_EQ(darkOnDark, 0) << key;
        const auto [lightOnLight, darkOnLight] = LightAndDarkPixels(ToolbarIcons::Drawn(key, LightPalette()));
        EXPECT_EQ(lightOnLight, 0) << key;
        EXPECT_GT(darkOnLight, 5) << key;
    }
}

class DarkThemeTest : public MainWindowFixture
{
protected:
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        ColourScheme::SetMode(ColourMode::Automatic);
    }

    ColourSchemeMenu &Menu() const
    {
        auto *menu = window->findChild<ColourSchemeMenu *>();
        EXPECT_NE(menu, nullptr);
        return *menu;
    }

    static long Back(clsScintilla &sci, int style = 32) { return sci.SendEditor(Sci::SCI_STYLEGETBACK, style); }
    static long Fore(clsScintilla &sci, int style) { return sci.SendEditor(Sci::SCI_STYLEGETFORE, style); }

    static QString StoredChoice()
    {
        return SettingsStore::GetSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"),
                                         QStringLiteral("ColourScheme"));
    }
};

TEST_F(DarkThemeTest, TheToolbarDrawsItsImagesAgainWhenThePaletteTurnsDark)
{
    Start();
    QList<QAction *> drawn;
    for (QAction *action : window->Toolbar()->actions())
        if (!action->isSeparator() && !action->property("toolbarIconKey").toString().isEmpty())
            drawn << action;
    ASSERT_EQ(drawn.size(), 13);
    if (QIcon::hasThemeIcon(QStringLiteral("format-text-bold")))
        GTEST_SKIP() << "the desktop's icon theme draws these images";

    EXPECT_EQ(LightAndDarkPixels(Actions().tbBold->icon()).first, 0);
    {
        PaletteScope dark(DarkPalette());
        for (QAction *action : {Actions().tbBold, Actions().tbAlignLeft, Actions().mnuCut})
            EXPECT_GT(LightAndDarkPixels(action->icon()).first, 5) << action->objectName().toStdString();
    }
    EXPECT_EQ(LightAndDarkPixels(Actions().tbBold->icon()).first, 0);
}

TEST_F(DarkThemeTest, TheColourMenuOffersAutomaticLightAndDarkAndStartsOnAutomatic)
{
    Start();
    ColourSchemeMenu &menu = Menu();
    QStringList items;
    for (QAction *item : menu.mnuColours->actions())
        items << item->text();
    EXPECT_EQ(items, QStringList({"自动(&A)", "浅色(&L)", "深色(&D)"}));
    EXPECT_TRUE(menu.mnuColoursAuto->isChecked());
    EXPECT_TRUE(menu.mnuColours->isEnabled());

    menu.mnuColoursDark->trigger();
    EXPECT_EQ(StoredChoice(), "dark");
    EXPECT_FALSE(menu.mnuColoursAuto->isChecked());

    // A new start takes the stored choice.
    ColourScheme::SetMode(ColourMode::Automatic);
    Start();
    EXPECT_TRUE(Menu().mnuColoursDark->isChecked());
    EXPECT_EQ(ColourScheme::Mode(), ColourMode::Dark);
    EXPECT_NE(Back(Editor()), White);
}

// Styles change; the text, its undo history and the modified mark do not.
TEST_F(DarkThemeTest, SwitchingRecoloursEveryOpenDocumentAndKeepsItsState)
{
    Start();
    const QString cpp = Write(QStringLiteral("a.cpp"), "int main() { return 0; } // x\n");
    const QString py = Write(QStringLiteral("b.py"), "def f():\n    return 'x'\n");
    window->OpenFiles(FilesAt({cpp, py}));
    const QList<clsScintilla *> editors = window->Editors();
    ASSERT_GE(editors.size(), 2);
    clsScintilla &typed = *window->FindDocument(cpp)->sciMain;
    clsScintilla &untouched = *window->FindDocument(py)->sciMain;
    typed.SendEditor(Sci::SCI_GOTOPOS, 0);
    typed.SendEditor(Sci::SCI_ADDTEXT, 4, QStringLiteral("/**/"));
    const QByteArray text = typed.Text();
    ASSERT_TRUE(typed.SendEditor(Sci::SCI_GETMODIFY));
    const long comment = Fore(typed, 2); // CPP: a line comment
    for (clsScintilla *sci : editors)
        ASSERT_EQ(Back(*sci), White);

    Menu().mnuColoursDark->trigger();
    for (clsScintilla *sci : editors) {
        EXPECT_NE(Back(*sci), White);
        EXPECT_LT(QColor(QRgb(Back(*sci))).lightness(), 64);
    }
    EXPECT_NE(Fore(typed, 2), comment);
    EXPECT_EQ(typed.Text(), text);
    EXPECT_TRUE(typed.SendEditor(Sci::SCI_GETMODIFY));
    EXPECT_FALSE(untouched.SendEditor(Sci::SCI_GETMODIFY));
    ASSERT_TRUE(typed.SendEditor(Sci::SCI_CANUNDO));
    typed.SendEditor(Sci::SCI_UNDO);
    EXPECT_EQ(typed.Text(), QByteArray("int main() { return 0; } // x\n"));
    EXPECT_FALSE(typed.SendEditor(Sci::SCI_GETMODIFY));

    Menu().mnuColoursLight->trigger();
    for (clsScintilla *sci : editors)
        EXPECT_EQ(Back(*sci), White);
    EXPECT_EQ(Fore(typed, 2), comment);
}

TEST_F(DarkThemeTest, AutomaticFollowsAPaletteThatChangesWhileTheProgramRuns)
{
    Start();
    ASSERT_EQ(Back(Editor()), White);
    {
        PaletteScope dark(DarkPalette());
        EXPECT_NE(Back(Editor()), White);
        Menu().mnuColoursLight->trigger();
        EXPECT_EQ(Back(Editor()), White);
        Menu().mnuColoursAuto->trigger();
        EXPECT_NE(Back(Editor()), White);
    }
    EXPECT_EQ(Back(Editor()), White);
}

} // namespace
