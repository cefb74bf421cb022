#include "LanguageFolder.h"
#include "ScriptedColourChooser.h"
#include "ScriptedMessageBox.h"
#include "dialogs/frmNewLang.h"
#include "highlight/modIni.h"

#include <Qsci/qsciscintillabase.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class NewLangTest : public ::testing::Test, protected LanguageFolder
{
protected:
    void SetUp() override
    {
        ResetHighlighterTable();
        QDir(dir.path()).mkdir("langs");
        langs = Path("langs");
        dialog = std::make_unique<frmNewLang>();
        dialog->strDir = langs;
        dialog->show();
        name = Child<QLineEdit>(dialog.get(), "txtName");
        lexer = Child<QComboBox>(dialog.get(), "cmbLexer");
    }
    void TearDown() override { ResetHighlighterTable(); }

    void ClickOK() { Child<QPushButton>(dialog.get(), "cmdOK")->click(); }

    QStringList FilesWritten() const { return QDir(langs).entryList(QDir::Files | QDir::Hidden); }

    QString langs;
    ScriptedMessageBox boxes;
    ScriptedColourChooser colours;
    std::unique_ptr<frmNewLang> dialog;
    QLineEdit *name = nullptr;
    QComboBox *lexer = nullptr;
};

TEST_F(NewLangTest, OkAtOnceMakesTheCppLanguage)
{
    EXPECT_EQ(name->text(), "CPP");
    EXPECT_EQ(lexer->currentIndex(), 3);
    EXPECT_EQ(Child<QComboBox>(dialog.get(), "cmbFont")->currentText(), "Courier New");
    EXPECT_EQ(Child<QLineEdit>(dialog.get(), "txtSize")->text(), "10");
    QSignalSpy added(dialog.get(), &frmNewLang::LanguageAdded);

    ClickOK();
    const QString path = langs + "/CPP.CHL";
    const QByteArray written = Read(path);
    const qsizetype langName = written.indexOf("LangName=CPP");
    const qsizetype language = written.indexOf("Language=3");
    const qsizetype style = written.indexOf("Style[32]=:::V:C:::Courier New:10:0:16777215::");
    EXPECT_TRUE(written.startsWith("[data]")) << written.data();
    EXPECT_TRUE(0 < langName && langName < language && language < style) << written.data();
    EXPECT_EQ(written.count('='), 3);

    ASSERT_EQ(HighlighterCount, 1);
    EXPECT_EQ(HighlighterTable[0].LangName, "CPP");
    EXPECT_EQ(HighlighterTable[0].Lexer, 3);
    EXPECT_EQ(HighlighterTable[0].Font[0], "Courier New");
    EXPECT_EQ(HighlighterTable[0].Back[0], 16777215);
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0][0].toString(), path);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(NewLangTest, TheLexerListSkipsTwentyNineAndThirty)
{
    const QStringList &items = frmNewLang::LexerItems();
    ASSERT_EQ(items.size(), 74);
    ASSERT_EQ(lexer->count(), 74);
    for (int i = 0; i < 74; ++i) {
        EXPECT_EQ(lexer->itemText(i), items[i]);
        EXPECT_EQ(items[i].endsWith(' '), i >= 20 && i <= 71) << i;
    }
    const std::pair<int, int> telling[] = {
        {3, Sci::SCLEX_CPP},     {28, Sci::SCLEX_VBSCRIPT}, {29, Sci::SCLEX_BAAN}, {35, Sci::SCLEX_F77},
        {56, Sci::SCLEX_GUI4CLI}, {58, Sci::SCLEX_AU3},     {61, Sci::SCLEX_ASN1}, {68, Sci::SCLEX_TADS3},
        {73, Sci::SCLEX_FREEBASIC}, {0, Sci::SCLEX_CONTAINER}, {47, Sci::SCLEX_TEX},
    };
    for (const auto &[index, number] : telling)
        EXPECT_EQ(frmNewLang::LexerNumber(index), number) << index;
    EXPECT_EQ(items[29], "BAAN ");
    EXPECT_EQ(items[73], "FREEBASIC");
}

// The box takes the item with its blank; the name is used without it.
TEST_F(NewLangTest, AnEmptyNameTakesTheLexerATypedOneStays)
{
    name->clear();
    lexer->setCurrentIndex(29);
    EXPECT_EQ(name->text(), "BAAN ");
    ClickOK();
    const QString path = langs + "/BAAN.CHL";
    ASSERT_EQ(FilesWritten(), QStringList{"BAAN.CHL"});
    EXPECT_EQ(ReadIniValue("data", "Language", path), "31");
    EXPECT_EQ(Read(path).count("LangName=BAAN\n"), 1);
    EXPECT_EQ(HighlighterTable[0].LangName, "BAAN");

    frmNewLang second;
    auto *typed = Child<QLineEdit>(&second, "txtName");
    typed->clear();
    QTest::keyClicks(typed, "Mine");
    Child<QComboBox>(&second, "cmbLexer")->setCurrentIndex(4);
    EXPECT_EQ(typed->text(), "Mine");
}

TEST_F(NewLangTest, UnusableNamesAreRefusedAndNothingIsWritten)
{
    const QString tooLong(300, QChar(u'名'));
    const QStringList names = {"", "   ", "../outside", "a/b", "a\\b", ".", "..", "tab\there", "line\nbreak", tooLong};
    for (const QString &refused : names) {
        boxes.shown.clear();
        name->setText(refused);
        ClickOK();
        ASSERT_EQ(boxes.shown.size(), 1) << refused.toStdString();
        EXPECT_TRUE(dialog->isVisible()) << refused.toStdString();
    }
    name->clear();
    ClickOK();
    EXPECT_EQ(boxes.shown.last().text, "Please enter a valid name for this language");
    EXPECT_EQ(boxes.shown.last().buttons, QMessageBox::Ok);
    EXPECT_TRUE(FilesWritten().isEmpty()) << FilesWritten().join(',').toStdString();
    EXPECT_FALSE(QFile::exists(Path("outside.CHL")));
    EXPECT_EQ(HighlighterCount, 0);

    name->setText(QString(200, QChar(u'x'))); // long, but a file name can hold it
    ClickOK();
    EXPECT_EQ(FilesWritten().size(), 1);
}

// Two entries of the menu must not look alike: characters that do not show
// are refused with the message for control characters, blanks around the
// name are dropped.
TEST_F(NewLangTest, NamesWithCharactersThatDoNotShowAreRefusedAndBlanksTrimmed)
{
    const QStringList hidden = {
        QString::fromUtf16(u"C\u202E++"),    // right-to-left override
        QString::fromUtf16(u"C\u200B"),      // zero-width space
        QChar(0xFEFF) + QString("C"),        // zero-width no-break space
        QString::fromUtf16(u"C\u2066x\u2069"), // isolates
        QString::fromUtf16(u"C\u00AD"),      // soft hyphen
        QString::fromUcs4(U"C\U000E0041"),   // a tag character, outside the first plane
    };
    for (const QString &refused : hidden) {
        boxes.shown.clear();
        name->setText(refused);
        ClickOK();
        ASSERT_EQ(boxes.shown.size(), 1) << refused.toUtf8().toHex().toStdString();
        EXPECT_EQ(boxes.shown[0].text, "语言名称不能包含控制字符（如换行或制表符）。");
    }
    EXPECT_TRUE(FilesWritten().isEmpty()) << FilesWritten().join(',').toStdString();

    name->setText(QString::fromUtf16(u" \u3000Lua\t "));
    ClickOK();
    EXPECT_EQ(FilesWritten(), QStringList{"Lua.CHL"});
    ASSERT_EQ(HighlighterCount, 1);
    EXPECT_EQ(HighlighterTable[0].LangName, "Lua");
}

TEST_F(NewLangTest, TheColourButtonsChooseTheDefaultColours)
{
    Child<QLineEdit>(dialog.get(), "txtSize")->setText("12");
    Child<QComboBox>(dialog.get(), "cmbFont")->setCurrentText("Liberation Mono");
    colours.Answer(0xFFFFFF);
    Child<QPushButton>(dialog.get(), "cmdFore")->click();
    colours.Answer(0x000080); // dark red
    Child<QPushButton>(dialog.get(), "cmdBack")->click();
    EXPECT_EQ(colours.opened, (QList<std::int32_t>{0, 16777215}));
    ClickOK();
    EXPECT_EQ(ReadIniValue("data", "Style[32]", langs + "/CPP.CHL"), ":::V:C:::Liberation Mono:12:16777215:128::");
    EXPECT_EQ(HighlighterTable[0].Back[40], 128);
}

TEST_F(NewLangTest, AnExistingFileIsReplacedOnlyWhenTheUserAgrees)
{
    const QString path = Write("langs/CPP.CHL", "[data]\r\nLangName=Old\r\nLanguage=4\r\nKeywords[0]=keep\r\n"
                                                "Style[32]=B:::V:C:::Arial:9:0:0::\r\n");
    const QByteArray before = Read(path);
    boxes.Answer(QMessageBox::No);
    ClickOK();
    EXPECT_EQ(Read(path), before);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(HighlighterCount, 0);

    boxes.Answer(QMessageBox::Yes);
    ClickOK();
    EXPECT_EQ(ReadIniValue("data", "LangName", path), "CPP");
    EXPECT_EQ(ReadIniValue("data", "Language", path), "3");
    EXPECT_EQ(ReadIniValue("data", "Keywords[0]", path), "keep");
    EXPECT_EQ(ReadIniValue("data", "Style[32]", path), ":::V:C:::Courier New:10:0:16777215::");
    EXPECT_EQ(HighlighterCount, 1);
}

TEST_F(NewLangTest, AFolderThatCannotBeWrittenIsReported)
{
    // A missing folder is made; one under a plain file cannot be.
    Write("plain", "x");
    dialog->strDir = Path("plain/folder");
    ClickOK();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains("plain/folder")) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(HighlighterCount, 0);
}

// In an installed program strDir is the user's folder: a new language is
// written there (the folder made on the way), and a language of the same
// name among the installed ones is replaced only in the user's copy.
TEST_F(NewLangTest, NewLanguagesGoToTheUsersFolderAndLeaveInstalledOnesAlone)
{
    QDir(dir.path()).mkdir("installed");
    const QByteArray shipped = "[data]\r\nLangName=Lua\r\nLanguage=15\r\nKeywords[0]=local end\r\n";
    const QString installed = Write("installed/Lua.CHL", shipped);
    dialog->strDir = Path("user/highlighters");
    dialog->strLookup = {Path("user/highlighters"), Path("installed")};

    name->setText("Mine");
    ClickOK();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(ReadIniValue("data", "LangName", Path("user/highlighters/Mine.CHL")), "Mine");

    dialog->show();
    name->setText("Lua");
    boxes.Answer(QMessageBox::Yes);
    ClickOK();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(installed)) << boxes.shown[0].text.toStdString();
    EXPECT_EQ(Read(installed), shipped);
    const QString mine = Path("user/highlighters/Lua.CHL");
    EXPECT_EQ(ReadIniValue("data", "Language", mine), "3");
    EXPECT_EQ(ReadIniValue("data", "Keywords[0]", mine), "local end") << "the rest of the copy stays";
    EXPECT_EQ(HighlighterTable.back().FilePath, mine);
}

} // namespace
