// Find in files in the main window: the menu item and its dialog, results
// that open or activate their document with the match selected, and the
// keys that walk the hits.
#include "MainWindowFixture.h"
#include "ScriptedFolderDialog.h"
#include "findinfiles/FindResultsDock.h"
#include "findinfiles/FolderSearch.h"
#include "findinfiles/SearchResultsModel.h"
#include "findinfiles/frmFindInFiles.h"
#include "shell/FindInFilesHost.h"
#include "shell/MainMenus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>

namespace {

class FindInFilesTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        QDir().mkpath(Path("tree/sub"));
        Write("tree/one.c", "int alpha;\nint beta = alpha;\n");
        Write("tree/sub/two.c", "void alpha(void);\n");
        Write("tree/skip.txt", "alpha\n");
    }

    FindInFilesHost &Host() const { return *window->FindInFiles(); }

    FindInFilesRequest Request(const QString &text) const
    {
        FindInFilesRequest request;
        request.query.text = text;
        request.query.matchCase = true;
        request.folder = Path("tree");
        request.patterns = QStringLiteral("*.c");
        return request;
    }

    void SearchToEnd(const FindInFilesRequest &request)
    {
        Host().Start(request);
        QSignalSpy finished(Host().Search(), &FolderSearch::Finished);
        ASSERT_TRUE(finished.wait(20000));
    }

    // The path and selected text of the active document.
    std::pair<QString, QString> Shown() const
    {
        return {QFileInfo(Active()->strFile).fileName(), Editor().SelText()};
    }

    ScriptedFolderDialog folders;
};

TEST_F(FindInFilesTest, MenuItemOpensTheDialogWithTheDocumentsFolderAndLanguage)
{
    UseLanguages({{"Zed", "Zed 文件 (*.zz;*.zh)|*.zz;*.zh|"}, {"Text", "文本|*.txt|"}});
    Start();
    Write("tree/sub/three.zz", "zed alpha\n");
    const QAction *item = Actions().mnuFindInFiles;
    EXPECT_EQ(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    EXPECT_TRUE(window->Menus()->mnuSearch->actions().contains(item));
    EXPECT_EQ(Actions().mnuNextHit->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(Actions().mnuPreviousHit->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F4));

    ASSERT_TRUE(window->OpenDocument(Path("tree/sub/three.zz")));
    Editor().SetSel(4, 9); // "alpha"
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<frmFindInFiles *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen << dialog->cmbText->currentText() << QDir::fromNativeSeparators(dialog->cmbFolder->currentText())
             << dialog->cmbPatterns->currentText();
        dialog->cmdFind->click();
    });
    Actions().mnuFindInFiles->trigger();
    EXPECT_EQ(seen, (QStringList{"alpha", Path("tree/sub"), "*.zz;*.zh"}));
    ASSERT_TRUE(Host().Search());
    QSignalSpy finished(Host().Search(), &FolderSearch::Finished);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_TRUE(Host().Dock()->isVisible());
    EXPECT_EQ(Host().Dock()->Model()->HitCount(), 1);
}

TEST_F(FindInFilesTest, DialogRefusesWhatCannotBeSearchedAndRemembersTenFolders)
{
    frmFindInFiles dialog(window.get());
    dialog.Prepare(QStringLiteral("a("), Path("tree"), QStringLiteral("*.c"));
    dialog.chkRegExp->setChecked(true);
    boxes.Answer(QMessageBox::Ok);
    dialog.cmdFind->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown.front().text.contains(QStringLiteral("正规表达式")));

    dialog.chkRegExp->setChecked(false);
    dialog.cmbFolder->setEditText(Path("nowhere"));
    boxes.Answer(QMessageBox::Ok);
    dialog.cmdFind->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(frmFindInFiles::RecentFolders().isEmpty());

    folders.Answer(Path("tree/sub"));
    dialog.cmdBrowse->click();
    EXPECT_EQ(folders.startedIn, QStringList{Path("nowhere")});
    EXPECT_EQ(QDir::fromNativeSeparators(dialog.cmbFolder->currentText()), Path("tree/sub"));
    dialog.cmdFind->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(frmFindInFiles::RecentFolders(), QStringList{Path("tree/sub")});

    for (int i = 0; i < 11; ++i) {
        QDir().mkpath(Path(QStringLiteral("f%1").arg(i)));
        frmFindInFiles more(window.get());
        more.Prepare(QStringLiteral("x"), Path(QStringLiteral("f%1").arg(i)), QString());
        more.cmdFind->click();
    }
    const QStringList recent = frmFindInFiles::RecentFolders();
    ASSERT_EQ(recent.size(), frmFindInFiles::RememberedFolders);
    EXPECT_EQ(recent.front(), Path("f10"));
    EXPECT_EQ(recent.back(), Path("f1"));
}

TEST_F(FindInFilesTest, NextAndPreviousHitWalkTheResultsOpeningEachFileOnce)
{
    SearchToEnd(Request("alpha"));
    ASSERT_EQ(Host().Dock()->Model()->HitCount(), 3);
    const int documents = window->Documents().size();

    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(Shown(), std::make_pair(QStringLiteral("one.c"), QStringLiteral("alpha")));
    EXPECT_EQ(Editor().GetSelStart(), 4);
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(Editor().GetSelStart(), 22);
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(Shown(), std::make_pair(QStringLiteral("two.c"), QStringLiteral("alpha")));
    QTest::keyClick(window.get(), Qt::Key_F4); // round to the first
    EXPECT_EQ(Shown().first, QStringLiteral("one.c"));
    EXPECT_EQ(Editor().GetSelStart(), 4);
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::ShiftModifier); // and back round the end
    EXPECT_EQ(Shown().first, QStringLiteral("two.c"));
    // one.c was activated again, not opened twice.
    EXPECT_EQ(window->Documents().size(), documents + 2);
}

TEST_F(FindInFilesTest, EnterOnAHitShowsTheEditedDocumentsText)
{
    ASSERT_TRUE(window->OpenDocument(Path("tree/one.c")));
    Editor().SetText(QStringLiteral("// moved\nint alpha;\n")); // not saved
    SearchToEnd(Request("alpha"));
    const FileHits *one = nullptr;
    QModelIndex firstHit;
    SearchResultsModel &model = *Host().Dock()->Model();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex file = model.index(row, 0);
        if (model.FileAt(file) && model.FileAt(file)->path.endsWith("one.c")) {
            one = model.FileAt(file);
            firstHit = model.index(0, 0, file);
        }
    }
    ASSERT_TRUE(one);
    EXPECT_TRUE(one->fromEditor);
    ASSERT_EQ(one->hits.size(), 1);
    EXPECT_EQ(one->hits.front().line, 1);

    QTreeView *view = Host().Dock()->tvwResults;
    view->setCurrentIndex(firstHit);
    const int documents = window->Documents().size();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(window->Documents().size(), documents);
    EXPECT_EQ(Shown(), std::make_pair(QStringLiteral("one.c"), QStringLiteral("alpha")));
    EXPECT_EQ(Editor().GetSelStart(), 13);
}

TEST_F(FindInFilesTest, StopButtonEndsARunningSearch)
{
    for (int i = 0; i < 300; ++i)
        Write(QStringLiteral("tree/many%1.c").arg(i), "alpha\n");
    Host().Start(Request("alpha"));
    FindResultsDock &dock = *Host().Dock();
    EXPECT_TRUE(dock.cmdStop->isEnabled());
    QSignalSpy finished(Host().Search(), &FolderSearch::Finished);
    dock.cmdStop->click();
    ASSERT_TRUE(finished.count() > 0 || finished.wait(20000));
    EXPECT_FALSE(dock.cmdStop->isEnabled());
    EXPECT_TRUE(Host().Search()->Result().stopped);
    EXPECT_TRUE(dock.Message().startsWith(QStringLiteral("已停止")));
}

} // namespace

namespace {

class ReplaceInFilesTest : public FindInFilesTest
{
protected:
    FindInFilesRequest ReplaceRequest(const QString &text, const QString &with) const
    {
        FindInFilesRequest request = Request(text);
        request.replace = true;
        request.replacement = with;
        return request;
    }
};

TEST_F(ReplaceInFilesTest, NothingIsWrittenUntilConfirmedAndUncheckedHitsStay)
{
    SearchToEnd(ReplaceRequest("alpha", "gamma"));
    FindResultsDock &dock = *Host().Dock();
    SearchResultsModel &model = *dock.Model();
    ASSERT_TRUE(dock.cmdReplace->isVisible());
    ASSERT_EQ(model.HitCount(), 3);
    // The preview shows each line as it would become.
    const QModelIndex firstFile = model.index(0, 0);
    EXPECT_EQ(model.index(0, 0, firstFile).data(SearchResultsModel::PreviewRole).toString(), "int gamma;");
    // Unticking two.c's file row unticks its hit.
    const QModelIndex secondFile = model.index(1, 0);
    ASSERT_TRUE(model.setData(secondFile, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(model.index(0, 0, secondFile).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    ASSERT_TRUE(model.setData(model.index(1, 0, firstFile), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(firstFile.data(Qt::CheckStateRole).toInt(), Qt::PartiallyChecked);
    EXPECT_EQ(model.ChosenCount(), 1);

    boxes.Answer(QMessageBox::No);
    dock.cmdReplace->click();
    EXPECT_EQ(Read(Path("tree/one.c")), QByteArray("int alpha;\nint beta = alpha;\n"));

    boxes.Answer(QMessageBox::Yes);
    dock.cmdReplace->click();
    EXPECT_EQ(Read(Path("tree/one.c")), QByteArray("int gamma;\nint beta = alpha;\n"));
    EXPECT_EQ(Read(Path("tree/sub/two.c")), QByteArray("void alpha(void);\n"));
    EXPECT_EQ(boxes.shown.size(), 2); // the two questions, no failure
    EXPECT_FALSE(dock.cmdReplace->isEnabled());
}

TEST_F(ReplaceInFilesTest, OpenDocumentsChangeInTheEditorAsOneUndoStepAndFailuresAreNamed)
{
    ASSERT_TRUE(window->OpenDocument(Path("tree/one.c")));
    clsScintilla &one = Editor();
    Write("tree/three.c", "alpha\n");
    SearchToEnd(ReplaceRequest("alpha", "gamma"));
    ASSERT_EQ(Host().Dock()->Model()->HitCount(), 4);
    // Changed behind the search's back: refused, and said so.
    QThread::msleep(20);
    Write("tree/three.c", "alpha alpha\n");

    boxes.Answer(QMessageBox::Yes);
    boxes.Answer(QMessageBox::Ok);
    Host().ReplaceChosen();
    EXPECT_EQ(one.GetText(), QByteArray("int gamma;\nint beta = gamma;\n"));
    EXPECT_EQ(Read(Path("tree/one.c")), QByteArray("int alpha;\nint beta = alpha;\n")); // not saved
    EXPECT_EQ(Read(Path("tree/sub/two.c")), QByteArray("void gamma(void);\n"));
    EXPECT_EQ(Read(Path("tree/three.c")), QByteArray("alpha alpha\n"));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(boxes.shown.back().text.contains(Path("tree/three.c")));
    EXPECT_FALSE(boxes.shown.back().text.contains(QStringLiteral("one.c")));

    one.Undo();
    EXPECT_EQ(one.GetText(), QByteArray("int alpha;\nint beta = alpha;\n"));
}

} // namespace
