#include "LanguageFolder.h"
#include "ScriptedColourChooser.h"
#include "ScriptedMessageBox.h"
#include "UnprivilegedScope.h"
#include "dialogs/frmNewLang.h"
#include "dialogs/frmOptions.h"
#include "highlight/ColourScheme.h"
#include "highlight/DarkColourFile.h"
#include "highlight/modIni.h"
#include "platform/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class OptionsTest : public ::testing::Test, protected LanguageFolder
{
protected:
    void SetUp() override
    {
        alpha = WriteChl("A.CHL", QByteArray("LangName=Alpha\r\nLanguage=3\r\nFilter=Alpha (*.a)|*.a|\r\n"
                                             "SingleComment=//\r\nKeywords[0]=if else\r\nKeywords[1]=int char\r\n"
                                             "Style[5]=B:::V:C:::Courier New:10:16711680:16777215:关键字:\r\n")
                                      + Default32
                                      + "Style[127]=:::V:C:::Courier New:12:0:16777215:最后:\r\n");
        alpha = Write("A.CHL", "; alpha by hand\r\n" + Read(alpha));
        beta = WriteChl("B.CHL", "LangName=Beta\r\nLanguage=4\r\nFilter=Beta (*.b)|*.b|\r\n"
                                 "Keywords[0]=begin end\r\nStyle[32]=:::V:C:::Arial:11:255:0::\r\n");
        LoadFolder();
    }
    void TearDown() override { ResetHighlighterTable(); }

    // The settings dialog as the command opens it, but not modal.
    std::unique_ptr<frmOptions> Open()
    {
        auto dialog = std::make_unique<frmOptions>();
        dialog->ListLangs(dir.path());
        dialog->show();
        return dialog;
    }

    static void Retype(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }

    static void ShowStyleNumber(QWidget *dialog, int n)
    {
        Child<QScrollBar>(dialog, "styleScroll")->setValue(n);
    }

    QString alpha, beta;
    ScriptedMessageBox boxes;
    ScriptedColourChooser colours;
};

TEST_F(OptionsTest, TheStyleNumberIsClampedAndFollowsTheScrollBar)
{
    auto dialog = Open();
    auto *style = Child<QLineEdit>(dialog.get(), "txtStyle");
    auto *scroll = Child<QScrollBar>(dialog.get(), "styleScroll");
    auto *description = Child<QLineEdit>(dialog.get(), "txtStyleDesc");
    auto *size = Child<QLineEdit>(dialog.get(), "txtSize");

    Retype(style, "200");
    EXPECT_EQ(style->text(), "127");
    EXPECT_EQ(scroll->value(), 127);
    EXPECT_EQ(description->text(), "最后");
    EXPECT_EQ(size->text(), "12");

    style->selectAll();
    QTest::keyClick(style, Qt::Key_Backspace);
    EXPECT_EQ(style->text(), "0");
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(description->text(), "");
    EXPECT_EQ(size->text(), "10");

    QTest::keyClicks(style, "x5"); // the letter is discarded, "05" shows as 5
    EXPECT_EQ(style->text(), "5");
    EXPECT_EQ(description->text(), "关键字");
    EXPECT_TRUE(Child<QCheckBox>(dialog.get(), "chkBold")->isChecked());
    auto *fore = Child<QFrame>(dialog.get(), "picFore");
    EXPECT_EQ(fore->palette().color(QPalette::Window), QColor(0, 0, 255)); // 16711680 is blue

    scroll->setValue(127);
    EXPECT_EQ(style->text(), "127");
    EXPECT_EQ(description->text(), "最后");
    style->setText("12a"); // pasted, not typed: no number, nothing changes
    EXPECT_EQ(description->text(), "最后");
    EXPECT_EQ(scroll->value(), 127);

    QTest::keyClicks(size, "x");
    EXPECT_EQ(size->text(), "12");
}

TEST_F(OptionsTest, AnotherLanguageShowsItsStyleZeroAndFirstKeywordList)
{
    auto dialog = Open();
    auto *languages = Child<QListWidget>(dialog.get(), "lstLang");
    ASSERT_EQ(languages->count(), 2);
    EXPECT_EQ(languages->item(0)->text(), "Alpha");
    EXPECT_EQ(languages->item(1)->text(), "Beta");
    auto *list = Child<QComboBox>(dialog.get(), "cmbKeyword");
    auto *keywords = Child<QPlainTextEdit>(dialog.get(), "txtKeyword");
    EXPECT_EQ(list->count(), 8);
    EXPECT_EQ(keywords->toPlainText(), "if else");
    ShowStyleNumber(dialog.get(), 5);
    list->setCurrentIndex(1);
    EXPECT_EQ(keywords->toPlainText(), "int char");

    languages->setCurrentRow(1);
    EXPECT_EQ(Child<QLineEdit>(dialog.get(), "txtStyle")->text(), "0");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(keywords->toPlainText(), "begin end");
    EXPECT_EQ(Child<QLineEdit>(dialog.get(), "txtFilter")->text(), "Beta (*.b)|*.b|");
    EXPECT_EQ(Child<QLineEdit>(dialog.get(), "txtComment")->text(), "");
    EXPECT_EQ(Child<QComboBox>(dialog.get(), "cmbFont")->currentText(), "Arial");
    EXPECT_EQ(Child<QLineEdit>(dialog.get(), "txtSize")->text(), "11");
    EXPECT_EQ(Child<QFrame>(dialog.get(), "picFore")->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_FALSE(Child<QCheckBox>(dialog.get(), "chkBold")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(dialog.get(), "chkVisible")->isChecked());

    auto *tabs = Child<QTabWidget>(dialog.get(), "tbsOptions");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "语法");
    EXPECT_EQ(tabs->tabText(1), "关键字");
    tabs->setCurrentIndex(1);
    EXPECT_TRUE(Child<QWidget>(dialog.get(), "picKeywords")->isVisible());
    EXPECT_FALSE(Child<QWidget>(dialog.get(), "picStyles")->isVisible());
}

TEST_F(OptionsTest, ConfirmWritesEachLanguageToItsFileThenToTheTable)
{
    auto dialog = Open();
    ShowStyleNumber(dialog.get(), 5);
    Child<QComboBox>(dialog.get(), "cmbFont")->lineEdit()->setText("Liberation Mono");
    ShowStyleNumber(dialog.get(), 7);
    Child<QCheckBox>(dialog.get(), "chkBold")->click();
    Retype(Child<QLineEdit>(dialog.get(), "txtSize"), "0"); // "0" means the default size
    Retype(Child<QLineEdit>(dialog.get(), "txtComment"), "#");
    Retype(Child<QLineEdit>(dialog.get(), "txtFilter"), "Alpha (*.a)|*.a");
    Child<QComboBox>(dialog.get(), "cmbKeyword")->setCurrentIndex(2);
    QTest::keyClicks(Child<QPlainTextEdit>(dialog.get(), "txtKeyword"), "x y");
    Child<QPushButton>(dialog.get(), "cmdOK")->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty());

    const QByteArray written = Read(alpha);
    EXPECT_TRUE(written.startsWith("; alpha by hand\r\n[data]\r\nLangName=Alpha\r\nLanguage=3\r\n")) << written.data();
    EXPECT_EQ(ReadIniValue("data", "Style[5]", alpha), "B:::V:C:::Liberation Mono:10:16711680:16777215:关键字:");
    EXPECT_EQ(ReadIniValue("data", "Style[7]", alpha), "B:::V:C:::Courier New:0::16777215::");
    EXPECT_EQ(written.count("Style["), 4); // 5, 7, 32 and 127: the others look like style 32
    EXPECT_EQ(ReadIniValue("data", "filter", alpha), "Alpha (*.a)|*.a"); // as typed
    EXPECT_EQ(ReadIniValue("data", "SingleComment", alpha), "#");
    EXPECT_EQ(ReadIniValue("data", "Keywords[2]", alpha), "x y");
    EXPECT_EQ(ReadIniValue("data", "Keywords[1]", alpha), "int char");
    // Beta was written too, and all its styles look like its style 32.
    EXPECT_EQ(Read(beta).count("Style["), 1);
    EXPECT_EQ(ReadIniValue("data", "Language", beta), "4");

    ASSERT_EQ(HighlighterCount, 2);
    const Highlighter &a = HighlighterTable[0];
    EXPECT_EQ(a.Font[5], "Liberation Mono");
    EXPECT_EQ(a.Bold[7], 1);
    EXPECT_EQ(a.Size[7], 0); // held as typed; the file reads back as 10
    EXPECT_EQ(a.Filter, "Alpha (*.a)|*.a");
    EXPECT_EQ(a.SingleComment, "#");
    EXPECT_EQ(a.Keywords[2], "x y");
    EXPECT_EQ(a.Lexer, 3);
    EXPECT_EQ(HighlighterTable[1].LangName, "Beta");
}

TEST_F(OptionsTest, CancelAndClosingWriteNothing)
{
    const QByteArray alphaBefore = Read(alpha), betaBefore = Read(beta);
    for (int way = 0; way < 3; ++way) {
        auto dialog = Open();
        ShowStyleNumber(dialog.get(), 5);
        Child<QCheckBox>(dialog.get(), "chkItalic")->click();
        Retype(Child<QLineEdit>(dialog.get(), "txtComment"), "--");
        colours.Answer(42);
        Child<QPushButton>(dialog.get(), "cmdBack")->click();
        Child<QListWidget>(dialog.get(), "lstLang")->setCurrentRow(1);
        Retype(Child<QLineEdit>(dialog.get(), "txtFilter"), "");
        if (way == 0)
            Child<QPushButton>(dialog.get(), "cmdCancel")->click();
        else if (way == 1)
            dialog->close();
        else
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << way;
        EXPECT_EQ(dialog->result(), QDialog::Rejected) << way;
    }
    EXPECT_EQ(Read(alpha), alphaBefore);
    EXPECT_EQ(Read(beta), betaBefore);
    EXPECT_EQ(HighlighterTable[0].Italic[5], 0);
    EXPECT_EQ(HighlighterTable[0].Back[5], 16777215);
    EXPECT_EQ(HighlighterTable[0].SingleComment, "//");
    EXPECT_EQ(HighlighterTable[1].Filter, "Beta (*.b)|*.b|");
}

TEST_F(OptionsTest, ColourButtonsTakeTheChosenColourAndCancellingKeepsIt)
{
    auto dialog = Open();
    ShowStyleNumber(dialog.get(), 5);
    auto *fore = Child<QFrame>(dialog.get(), "picFore");
    auto *back = Child<QFrame>(dialog.get(), "picBack");
    colours.Answer(0x0000FF); // red: red sits in the low byte
    Child<QPushButton>(dialog.get(), "cmdFore")->click();
    colours.Answer(std::nullopt);
    Child<QPushButton>(dialog.get(), "cmdBack")->click();
    EXPECT_EQ(colours.opened, (QList<std::int32_t>{16711680, 16777215})); // each opens on the current colour
    EXPECT_EQ(fore->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(back->palette().color(QPalette::Window), QColor(255, 255, 255));

    ShowStyleNumber(dialog.get(), 6);
    ShowStyleNumber(dialog.get(), 5); // the working copy holds the choice
    EXPECT_EQ(fore->palette().color(QPalette::Window), QColor(255, 0, 0));
    Child<QPushButton>(dialog.get(), "cmdOK")->click();
    EXPECT_EQ(ReadIniValue("data", "Style[5]", alpha), "B:::V:C:::Courier New:10:255:16777215:关键字:");
    EXPECT_EQ(HighlighterTable[0].Fore[5], 255);
}

TEST_F(OptionsTest, TheDialogReopensWhereItWasClosed)
{
    QPoint where;
    {
        auto dialog = Open();
        dialog->move(dialog->pos() + QPoint(31, 17));
        where = dialog->frameGeometry().topLeft();
        dialog->close();
    }
    EXPECT_EQ(SettingsStore::GetSetting("ScintillaClass", "Settings", "OptLeft"), QString::number(where.x() * 15));
    EXPECT_EQ(SettingsStore::GetSetting("ScintillaClass", "Settings", "OptTop"), QString::number(where.y() * 15));
    auto again = Open();
    EXPECT_EQ(again->frameGeometry().topLeft(), where);
}

// A language made during the run lists before the older ones while it sits
// last in the table: entries must meet their own files all the same.
TEST_F(OptionsTest, ALanguageAddedDuringTheRunIsMatchedByItsFile)
{
    auto dialog = Open();
    Retype(Child<QLineEdit>(dialog.get(), "txtComment"), "REM"); // Alpha, not yet confirmed

    bool drove = false;
    QTimer::singleShot(0, [&] {
        auto *add = qobject_cast<frmNewLang *>(QApplication::activeModalWidget());
        if (!add)
            return;
        drove = true;
        Retype(Child<QLineEdit>(add, "txtName"), "0New");
        Child<QPushButton>(add, "cmdOK")->click();
    });
    Child<QPushButton>(dialog.get(), "cmdAdd")->click();
    ASSERT_TRUE(drove);

    auto *languages = Child<QListWidget>(dialog.get(), "lstLang");
    ASSERT_EQ(languages->count(), 3);
    EXPECT_EQ(languages->item(0)->text(), "0New");
    EXPECT_EQ(languages->currentRow(), 0);
    ASSERT_EQ(HighlighterCount, 3);
    EXPECT_EQ(HighlighterTable[2].LangName, "0New");

    languages->setCurrentRow(1);
    EXPECT_EQ(Child<QLineEdit>(dialog.get(), "txtComment")->text(), "REM"); // the edit survived the new list
    Retype(Child<QLineEdit>(dialog.get(), "txtStyleDesc"), "alpha zero");
    Child<QPushButton>(dialog.get(), "cmdOK")->click();

    EXPECT_EQ(HighlighterTable[0].LangName, "Alpha");
    EXPECT_EQ(HighlighterTable[0].SingleComment, "REM");
    EXPECT_EQ(HighlighterTable[0].Description[0], "alpha zero");
    EXPECT_EQ(HighlighterTable[1].LangName, "Beta");
    EXPECT_EQ(HighlighterTable[2].LangName, "0New");
    EXPECT_EQ(HighlighterTable[2].Description[0], "");
    EXPECT_EQ(ReadIniValue("data", "LangName", Path("0New.CHL")), "0New");
    EXPECT_EQ(ReadIniValue("data", "SingleComment", alpha), "REM");
    EXPECT_EQ(ReadIniValue("data", "LangName", beta), "Beta");
}

TEST_F(OptionsTest, TwoFilesOfOneNameKeepTheirOwnSettings)
{
    WriteChl("C1.CHL", "LangName=Same\r\nStyle[32]=:::V:C:::Font One:10:0:16777215::\r\n");
    WriteChl("C2.CHL", "LangName=same\r\nStyle[32]=:::V:C:::Font Two:10:0:16777215::\r\n");
    const QByteArray firstBefore = Read(Path("C1.CHL"));
    LoadFolder();
    auto dialog = Open();
    auto *languages = Child<QListWidget>(dialog.get(), "lstLang");
    ASSERT_EQ(languages->count(), 4);
    languages->setCurrentRow(3);
    EXPECT_EQ(Child<QComboBox>(dialog.get(), "cmbFont")->currentText(), "Font Two");
    ShowStyleNumber(dialog.get(), 32);
    Child<QCheckBox>(dialog.get(), "chkBold")->click();
    Child<QPushButton>(dialog.get(), "cmdOK")->click();
    EXPECT_EQ(Read(Path("C1.CHL")), firstBefore) << "not changed, not written";
    EXPECT_EQ(ReadIniValue("data", "Style[32]", Path("C2.CHL")), "B:::V:C:::Font Two:10::16777215::");
    EXPECT_EQ(HighlighterTable[3].Font[32], "Font Two");
    EXPECT_EQ(HighlighterTable[3].Bold[32], 1);
    EXPECT_EQ(HighlighterTable[2].Bold[32], 0);
}

// The folder of SetUp stands for the installed languages: a change goes to
// the user's own copy of the file, and only languages that changed are
// written at all.
TEST_F(OptionsTest, ChangesGoToTheUsersCopyAndUnchangedLanguagesAreNotWritten)
{
    const QByteArray alphaBefore = Read(alpha), betaBefore = Read(beta);
    const HighlighterFolders folders{{Path("user"), dir.path()}, Path("user")};
    const QString mine = Path("user/A.CHL");
    {
        frmOptions dialog;
        dialog.ListLangs(folders);
        dialog.show();
        colours.Answer(0x0000FF);
        Child<QPushButton>(&dialog, "cmdFore")->click();
        Child<QPushButton>(&dialog, "cmdOK")->click();
    }
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(Read(alpha), alphaBefore);
    EXPECT_EQ(Read(beta), betaBefore);
    EXPECT_TRUE(Read(mine).startsWith("; alpha by hand\r\n[data]\r\n")) << Read(mine).data();
    EXPECT_EQ(ReadIniValue("data", "Style[0]", mine), ":::V:C:::Courier New:10:255:16777215::");
    EXPECT_EQ(ReadIniValue("data", "Keywords[1]", mine), "int char");
    EXPECT_FALSE(QFile::exists(Path("user/B.CHL")));
    EXPECT_EQ(HighlighterTable[0].FilePath, mine);
    EXPECT_EQ(HighlighterTable[0].Fore[0], 0x0000FF);

    // The next start finds the user's copy first.
    ResetHighlighterTable();
    LoadHighlighterFolders(folders.lookup);
    EXPECT_EQ(HighlighterTable[0].FilePath, mine);
    EXPECT_EQ(HighlighterTable[0].Fore[0], 0x0000FF);
    EXPECT_EQ(HighlighterTable[1].FilePath, beta);

    // Confirming without a change replaces no file.
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(mine).constData(), &before), 0);
    {
        frmOptions dialog;
        dialog.ListLangs(folders);
        dialog.show();
        Child<QListWidget>(&dialog, "lstLang")->setCurrentRow(1);
        Child<QPushButton>(&dialog, "cmdOK")->click();
    }
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(mine).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_FALSE(QFile::exists(Path("user/B.CHL")));
}

// With dark colours in use the dialog shows and edits the dark set, which
// goes to the user's own dark file; the light file is not written. In light
// mode the same button edits the light colours again.
TEST_F(OptionsTest, WithDarkColoursInUseTheDarkSetIsShownAndEdited)
{
    QDir(dir.path()).mkpath("dark");
    const QByteArray shippedDark = "; alpha dark\n[dark]\nFore[32]=#D0D0D0\nBack[32]=#202020\nFore[5]=#80A0FF\n";
    const QString alphaDark = Write("dark/A.colours", shippedDark);
    const QByteArray alphaBefore = Read(alpha);
    const HighlighterFolders folders{{Path("user"), dir.path()}, Path("user")};
    ResetHighlighterTable();
    LoadHighlighterFolders(folders.lookup);
    struct ModeScope
    {
        ~ModeScope() { ColourScheme::SetMode(ColourMode::Automatic); }
    } restore;

    ColourScheme::SetMode(ColourMode::Dark);
    {
        frmOptions dialog;
        dialog.ListLangs(folders);
        dialog.show();
        ShowStyleNumber(&dialog, 5);
        EXPECT_EQ(Child<QFrame>(&dialog, "picFore")->palette().color(QPalette::Window), QColor(0x80, 0xA0, 0xFF));
        EXPECT_EQ(Child<QFrame>(&dialog, "picBack")->palette().color(QPalette::Window), QColor(0x20, 0x20, 0x20));
        EXPECT_TRUE(Child<QLabel>(&dialog, "lblColourSet")->isVisible());
        colours.Answer(0x00FFFF); // yellow
        Child<QPushButton>(&dialog, "cmdFore")->click();
        Child<QPushButton>(&dialog, "cmdOK")->click();
    }
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(colours.opened, QList<std::int32_t>{0xFFA080});
    EXPECT_EQ(Read(alpha), alphaBefore);
    EXPECT_FALSE(QFile::exists(Path("user/A.CHL")));
    EXPECT_EQ(Read(alphaDark), shippedDark);
    const QString mine = Path("user/dark/A.colours");
    EXPECT_TRUE(Read(mine).startsWith("; alpha dark\n")) << Read(mine).data();
    EXPECT_EQ(ReadIniValue("dark", "Fore[5]", mine), "#FFFF00");
    ASSERT_TRUE(HighlighterTable[0].Dark.has_value());
    EXPECT_EQ(HighlighterTable[0].Dark->Fore[5], 0x00FFFF);
    EXPECT_EQ(HighlighterTable[0].Fore[5], 16711680);

    // The next start reads the user's dark file.
    ResetHighlighterTable();
    LoadHighlighterFolders(folders.lookup);
    EXPECT_EQ(HighlighterTable[0].Dark->FilePath, mine);
    EXPECT_EQ(HighlighterTable[0].Dark->Fore[5], 0x00FFFF);

    ColourScheme::SetMode(ColourMode::Light);
    {
        frmOptions dialog;
        dialog.ListLangs(folders);
        dialog.show();
        ShowStyleNumber(&dialog, 5);
        EXPECT_EQ(Child<QFrame>(&dialog, "picFore")->palette().color(QPalette::Window), QColor(0, 0, 255));
        EXPECT_FALSE(Child<QLabel>(&dialog, "lblColourSet")->isVisible());
        colours.Answer(0x0000FF);
        Child<QPushButton>(&dialog, "cmdFore")->click();
        Child<QPushButton>(&dialog, "cmdOK")->click();
    }
    EXPECT_EQ(ReadIniValue("data", "Style[5]", Path("user/A.CHL")), "B:::V:C:::Courier New:10:255:16777215:关键字:");
    EXPECT_EQ(ReadIniValue("dark", "Fore[5]", mine), "#FFFF00");
}

TEST_F(OptionsTest, AFileThatCannotBeWrittenIsReportedAndItsEntryKept)
{
    const QByteArray alphaBefore = Read(alpha);
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                     | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), all);
    // Root's file is written in place by the user, after a spare copy in
    // the state folder, which is the user's own outside the tests.
    const QByteArray sandboxState = qgetenv("XDG_STATE_HOME");
    const QString state = dir.filePath(QStringLiteral("state"));
    ASSERT_TRUE(QDir().mkpath(state));
    QFile::setPermissions(state, all);
    qputenv("XDG_STATE_HOME", QFile::encodeName(state));
    QFile::setPermissions(alpha, QFileDevice::ReadOwner | QFileDevice::ReadOther);
    QFile::setPermissions(beta, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                    | QFileDevice::WriteOther);
    auto dialog = Open();
    Retype(Child<QLineEdit>(dialog.get(), "txtComment"), "lost");
    Child<QListWidget>(dialog.get(), "lstLang")->setCurrentRow(1);
    Retype(Child<QLineEdit>(dialog.get(), "txtComment"), "kept");
    {
        UnprivilegedScope user;
        ASSERT_TRUE(user.active());
        Child<QPushButton>(dialog.get(), "cmdOK")->click();
    }
    qputenv("XDG_STATE_HOME", sandboxState);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown[0].text.contains(alpha)) << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(boxes.shown[0].text.contains(beta)) << boxes.shown[0].text.toStdString();
    EXPECT_EQ(Read(alpha), alphaBefore);
    EXPECT_EQ(HighlighterTable[0].SingleComment, "//");
    EXPECT_EQ(ReadIniValue("data", "SingleComment", beta), "kept");
    EXPECT_EQ(HighlighterTable[1].SingleComment, "kept");
}

TEST_F(OptionsTest, AnEmptyFolderListsNothingAndConfirmsQuietly)
{
    QTemporaryDir empty;
    frmOptions dialog;
    dialog.ListLangs(empty.path());
    dialog.show();
    EXPECT_EQ(Child<QListWidget>(&dialog, "lstLang")->count(), 0);
    EXPECT_FALSE(Child<QTabWidget>(&dialog, "tbsOptions")->isEnabled());
    Child<QPushButton>(&dialog, "cmdOK")->click();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(HighlighterTable[0].LangName, "Alpha");
}

} // namespace
