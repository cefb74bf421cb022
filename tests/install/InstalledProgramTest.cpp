// Runs from an installed tree, beside the installed program (bin/), as an
// ordinary user whose installed files are read-only: InstalledReadOnly.sh
// puts it there. It starts the main window as the program does and changes a
// colour through 语法设置; a second run (a restart) finds the change.
#include "ScriptedColourChooser.h"
#include "dialogs/frmOptions.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "shell/MainActions.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <Qsci/qsciscintillabase.h>
#include <gtest/gtest.h>

namespace {

constexpr std::int32_t Chosen = 0x2060C0; // COLORREF: red 0xC0, green 0x60, blue 0x20

QString Source() { return QDir::home().filePath("hello.cpp"); }
QString UserCopy()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Ferrolan/highlighters/CPP.CHL";
}
QString Installed() { return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/ferrolan/highlighters"); }

long StyleZeroFore(frmMain &window)
{
    frmDoc *doc = window.ActiveDocument();
    return doc ? doc->sciMain->SendEditor(QsciScintillaBase::SCI_STYLEGETFORE, 0) : -1;
}

TEST(InstalledProgram, ChangesAColourInTheUsersCopy)
{
    ASSERT_FALSE(QFile::exists(UserCopy())) << "a fresh user";
    frmMain window(nullptr, {{Source()}});
    window.show();
    ASSERT_EQ(window.Documents().size(), 1);
    const int cpp = FindHighlighter("CPP");
    EXPECT_EQ(HighlighterTable[size_t(cpp)].FilePath, Installed() + "/CPP.CHL");
    ASSERT_TRUE(HighlighterTable[size_t(cpp)].Dark.has_value()) << "the dark colours are installed too";
    EXPECT_EQ(HighlighterTable[size_t(cpp)].Dark->FilePath, Installed() + "/dark/CPP.colours");
    EXPECT_EQ(window.ActiveDocument()->sciMain->lHighlighterNum, cpp);
    ASSERT_NE(StyleZeroFore(window), Chosen);

    ScriptedColourChooser colours;
    colours.Answer(Chosen);
    bool changed = false;
    QTimer::singleShot(0, [&] {
        auto *options = qobject_cast<frmOptions *>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        auto *languages = options->findChild<QListWidget *>("lstLang");
        const QList<QListWidgetItem *> found = languages->findItems("CPP", Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        languages->setCurrentItem(found[0]);
        options->findChild<QPushButton *>("cmdFore")->click();
        options->findChild<QPushButton *>("cmdOK")->click();
        changed = true;
    });
    window.Actions()->mnuSyntax->trigger();
    ASSERT_TRUE(changed);
    EXPECT_EQ(StyleZeroFore(window), Chosen) << "the open document is coloured anew";
    EXPECT_TRUE(QFile::exists(UserCopy()));
    window.close();
}

TEST(InstalledProgram, KeepsTheChangeAfterARestart)
{
    frmMain window(nullptr, {{Source()}});
    window.show();
    const int cpp = FindHighlighter("CPP");
    EXPECT_EQ(HighlighterTable[size_t(cpp)].FilePath, UserCopy());
    EXPECT_EQ(HighlighterTable[size_t(cpp)].Fore[0], Chosen);
    EXPECT_EQ(StyleZeroFore(window), Chosen);
    // Every other language still comes from the installed folder.
    EXPECT_EQ(HighlighterTable[size_t(FindHighlighter("Python"))].FilePath, Installed() + "/Python.CHL");
    window.close();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
