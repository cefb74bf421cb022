#include "MainWindowFixture.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "platform/SettingsStore.h"
#include "shell/StatusBarPanels.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using Sci = QsciScintillaBase;

namespace {

class DocumentWindowTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }

    static void Edit(frmDoc *doc, const QString &text)
    {
        doc->sciMain->SendEditor(Sci::SCI_ADDTEXT, text.toUtf8().size(), text);
    }

    bool IsOpen(frmDoc *doc) const { return window->Documents().contains(doc); }
};

TEST_F(DocumentWindowTest, ANewDocumentShowsLineNumbersAndTheFoldMargin)
{
    clsScintilla &sci = *window->ActiveDocument()->sciMain;
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETMARGINWIDTHN, 0), 50);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETMARGINWIDTHN, 1), 20);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_MARKERSYMBOLDEFINED, 30), Sci::SC_MARK_BOXPLUS);
    EXPECT_EQ(sci.SendEditor(Sci::SCI_GETSCROLLWIDTH), 10000);
    EXPECT_EQ(sci.AutoIndent(), vbTrue);
    EXPECT_EQ(sci.ShowCallTips(), vbTrue);
    EXPECT_EQ(sci.Folding(), vbTrue);
}

// A file is coloured once, by its own language: nothing of the language a
// new document starts with is left in it (a keyword list a language leaves
// empty would keep the one before).
TEST_F(DocumentWindowTest, AFileIsColouredByItsOwnLanguageOnly)
{
    ResetHighlighterTable();
    const QByteArray style32 = "Style[32]=:::V:C:::Courier New:10:0:16777215::\n";
    LoadHighlighter(Write(QStringLiteral("new.CHL"), "[data]\nLangName=CPP\nLanguage=3\nKeywords[1]=leftover\n" + style32));
    LoadHighlighter(Write(QStringLiteral("own.CHL"),
                          "[data]\nLangName=Own\nLanguage=3\nFilter=Own (*.own)|*.own|\nKeywords[0]=mine\n" + style32));
    Start();

    frmDoc *doc = window->OpenDocument(Write(QStringLiteral("a.own"), "mine leftover"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->sciMain->lHighlighterNum, 1);
    EXPECT_EQ(doc->sciMain->GetStyleAt(0), 5);  // SCE_C_WORD: the file's own list
    EXPECT_EQ(doc->sciMain->GetStyleAt(5), 11); // SCE_C_IDENTIFIER, not CPP's SCE_C_WORD2

    frmDoc *fresh = window->OpenDocument(QStringLiteral("New Document"));
    EXPECT_EQ(fresh->sciMain->lHighlighterNum, 0); // a new document still starts as CPP
}

TEST_F(DocumentWindowTest, AnExistingFileOpensUnderItsPath)
{
    const QString path = Write(QStringLiteral("hello.txt"), "hello\r\nworld\xff");
    frmDoc *doc = window->OpenDocument(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->windowTitle(), path);
    EXPECT_EQ(doc->strFile, path);
    EXPECT_EQ(doc->sciMain->Text(), QStringLiteral("hello\r\nworldÿ").toUtf8()); // read as Windows-1252
    EXPECT_FALSE(doc->sciMain->Modified());
    EXPECT_EQ(window->ActiveDocument(), doc);
    EXPECT_TRUE(doc->sciMain->Editor()->hasFocus());
    EXPECT_EQ(window->lDocCount, 2);
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(DocumentWindowTest, TheShippedLanguagesColourNewDocumentsAndOpenedFiles)
{
    ASSERT_GT(HighlighterCount, 20) << "the shipped highlighters are copied beside the program";
    EXPECT_EQ(HighlighterTable[window->ActiveDocument()->sciMain->lHighlighterNum].LangName, QStringLiteral("CPP"));
    const struct
    {
        const char *file;
        const char *language;
    } cases[] = {{"script.py", "Python"}, {"Page.HTML", "HTML"}, {"main.c", "CPP"}, {"Makefile", "Makefile"},
                 {"notes.unknownext", "Text"}};
    for (const auto &c : cases) {
        frmDoc *doc = window->OpenDocument(Write(QString::fromLatin1(c.file), "x = 1\n"));
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(HighlighterTable[doc->sciMain->lHighlighterNum].LangName, QString::fromLatin1(c.language))
            << c.file;
    }
}

TEST_F(DocumentWindowTest, EachLanguageBringsItsOwnCallTips)
{
    clsScintilla &cpp = *window->ActiveDocument()->sciMain;
    EXPECT_GT(cpp.APIEntryCount(), 150); // the C library
    cpp.SetFocus();
    QTest::keyClicks(cpp.Editor(), QStringLiteral("n = strlen("));
    EXPECT_NE(cpp.CallTipActive(), 0);

    frmDoc *python = window->OpenDocument(Write(QStringLiteral("tool.py"), ""));
    EXPECT_GT(python->sciMain->APIEntryCount(), 50);
    frmDoc *text = window->OpenDocument(Write(QStringLiteral("notes.txt"), ""));
    EXPECT_EQ(text->sciMain->APIEntryCount(), 0); // no API file: no tips, no error
    text->sciMain->SetFocus();
    QTest::keyClicks(text->sciMain->Editor(), QStringLiteral("strlen("));
    EXPECT_EQ(text->sciMain->CallTipActive(), 0);
}

TEST_F(DocumentWindowTest, AFileThatCannotBeReadIsReportedAndBindsNoDocument)
{
    QDir(dir.path()).mkdir(QStringLiteral("a folder"));
    for (const QString &path : {dir.filePath(QStringLiteral("a folder")), QStringLiteral("/dev/null")}) {
        boxes.shown.clear();
        const int before = window->Documents().size();
        EXPECT_EQ(window->OpenDocument(path), nullptr);
        EXPECT_EQ(window->Documents().size(), before);
        for (frmDoc *doc : window->Documents())
            EXPECT_NE(doc->strFile, path);
        ASSERT_EQ(boxes.shown.size(), 1);
        EXPECT_TRUE(boxes.shown[0].text.contains(path));
        EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("无法打开文件")));
    }
}

// Panel 2 shows the state of the active document on every switch; a
// document changed or saved in the background leaves it alone.
TEST_F(DocumentWindowTest, TheModifiedMarkerFollowsTheActiveDocument)
{
    auto marker = [this] { return window->stb->PanelText(2); };
    auto activate = [this](frmDoc *doc) {
        window->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
    };
    const QString edited = QStringLiteral("已编辑");
    frmDoc *first = window->ActiveDocument();
    Edit(first, QStringLiteral("one"));
    EXPECT_EQ(marker(), edited);

    frmDoc *second = window->OpenDocument(QStringLiteral("New Document"));
    EXPECT_EQ(marker(), QString());
    activate(first);
    EXPECT_EQ(marker(), edited);

    Edit(second, QStringLiteral("two")); // in the background: the close prompt saves each in turn
    second->sciMain->SendEditor(Sci::SCI_SETSAVEPOINT);
    EXPECT_EQ(marker(), edited);
    Edit(second, QStringLiteral("2"));
    activate(second);
    EXPECT_EQ(marker(), edited);
    second->sciMain->SendEditor(Sci::SCI_SETSAVEPOINT);
    EXPECT_EQ(marker(), QString());
    activate(first);
    EXPECT_EQ(marker(), edited);

    second->parentWidget()->close();
    EXPECT_EQ(marker(), edited);
    boxes.Answer(QMessageBox::No);
    first->parentWidget()->close();
    QApplication::processEvents();
    ASSERT_TRUE(window->Documents().isEmpty());
    EXPECT_EQ(marker(), QString()); // no document, no marker
}

TEST_F(DocumentWindowTest, AnUnmodifiedDocumentClosesWithoutAQuestion)
{
    frmDoc *doc = window->ActiveDocument();
    doc->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_FALSE(IsOpen(doc));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(DocumentWindowTest, TheClosePromptAsksAndCancelKeepsTheWindow)
{
    frmDoc *doc = window->ActiveDocument();
    Edit(doc, QStringLiteral("draft"));
    boxes.Answer(QMessageBox::Cancel);
    doc->parentWidget()->close();
    QApplication::processEvents();
    ASSERT_EQ(boxes.shown.size(), 1);
    const ScriptedMessageBox::Shown &box = boxes.shown[0];
    EXPECT_EQ(box.text, QStringLiteral("文件 [新建文档 1]\r\n已经发生修改.  请问是否保存?"));
    EXPECT_EQ(box.title, QStringLiteral("已修改"));
    EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_TRUE(IsOpen(doc));

    boxes.Answer(QMessageBox::No);
    doc->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_FALSE(IsOpen(doc));
}

TEST_F(DocumentWindowTest, YesSavesToTheDocumentsFile)
{
    const QString path = Write(QStringLiteral("keep.txt"), "old");
    frmDoc *doc = window->OpenDocument(path);
    Edit(doc, QStringLiteral("new "));
    boxes.Answer(QMessageBox::Yes);
    doc->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_FALSE(IsOpen(doc));
    EXPECT_EQ(Read(path), QByteArray("new old"));
}

TEST_F(DocumentWindowTest, YesWithAFailingSaveKeepsTheDocumentOpenAndSaysWhy)
{
    const QString path = Write(QStringLiteral("doc.txt"), "old");
    frmDoc *doc = window->OpenDocument(path);
    ASSERT_NE(doc, nullptr);
    Edit(doc, QStringLiteral("precious "));
    QFile::remove(path);
    QDir(dir.path()).mkdir(QStringLiteral("doc.txt")); // a folder now stands in the way
    boxes.Answer(QMessageBox::Yes);
    doc->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_TRUE(IsOpen(doc));
    EXPECT_TRUE(doc->sciMain->Modified());
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[1].title, QStringLiteral("保存失败"));
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("文件夹")));
}

TEST_F(DocumentWindowTest, ClosingTheMainWindowAsksEveryModifiedDocument)
{
    frmDoc *first = window->ActiveDocument();
    const QString path = Write(QStringLiteral("second.txt"), "2");
    frmDoc *second = window->OpenDocument(path);
    Edit(first, QStringLiteral("one"));
    Edit(second, QStringLiteral("two"));
    SettingsStore::SaveSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"), QStringLiteral("MDILeft"),
                               QStringLiteral("untouched"));

    boxes.Answer(QMessageBox::No);
    boxes.Answer(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(IsOpen(first));
    EXPECT_TRUE(IsOpen(second));
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"),
                                        QStringLiteral("MDILeft")),
              QStringLiteral("untouched"));

    // Yes for the second (inactive) document saves that document, not the active one.
    window->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    boxes.shown.clear();
    boxes.Answer(QMessageBox::No);
    boxes.Answer(QMessageBox::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(Read(path), QByteArray("two2"));
    EXPECT_TRUE(window->Documents().isEmpty());
    EXPECT_NE(SettingsStore::GetSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"),
                                        QStringLiteral("MDILeft")),
              QStringLiteral("untouched"));
}

} // namespace
