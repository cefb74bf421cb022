#include "MainWindowFixture.h"
#include "editor/EditorWindow.h"
#include "shell/MainMenus.h"
#include "shell/ProgramIcon.h"
#include "shell/RecentFiles.h"

#include <QDir>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class OpenFilesTest : public MainWindowFixture
{
protected:
    // Starts the main window as the command line would, with these files.
    frmMain &StartWith(const QList<FileToOpen> &files)
    {
        window.reset();
        window = std::make_unique<frmMain>(nullptr, files);
        window->show();
        QApplication::processEvents();
        return *window;
    }

    QStringList Titles() const
    {
        QStringList titles;
        for (frmDoc *doc : window->Documents())
            titles.append(doc->windowTitle());
        return titles;
    }

    // Drops data on a widget as a file manager does, and lets the drop end.
    static void Drop(QWidget *target, QMimeData *data, QPoint at = QPoint(10, 10))
    {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QApplication::processEvents();
        delete data;
    }

    static QMimeData *Files(const QStringList &paths)
    {
        auto *data = new QMimeData;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data->setUrls(urls);
        return data;
    }

    QStringList RecentItems() const
    {
        QMenu *menu = window->Menus()->mnuRecentFiles;
        emit menu->aboutToShow();
        QStringList items;
        for (QAction *item : menu->actions())
            if (item->objectName() == "mnuRecentFile")
                items.append(item->data().toString() + (item->isEnabled() ? "" : " (greyed)"));
        return items;
    }
};

TEST_F(OpenFilesTest, StartingWithFilesOpensEachInOrderTheLastInFrontAndNoNewDocument)
{
    const QString a = Write("a.py", "one\ntwo\nthree\n"), b = Write("b.txt", "\tx = 1\n\ty = 2\n");
    StartWith({{a}, {b, 2, 3}});
    EXPECT_EQ(Titles(), (QStringList{a, b}));
    EXPECT_EQ(window->lDocCount, 2);
    EXPECT_EQ(Active()->strFile, b);
    // Line 2, column 3 as compilers count them, a tab being one character:
    // the caret after "\tx".
    EXPECT_EQ(Editor().GetCurLine(), 1);
    EXPECT_EQ(Editor().GetCurPos(), Editor().PositionFromLine(1) + 2);
    EXPECT_EQ(window->Documents()[0]->sciMain->GetCurPos(), 0);
    EXPECT_EQ(HighlighterTable[size_t(window->Documents()[0]->sciMain->lHighlighterNum)].LangName, "Python");

    // A line past the end goes to the last line; a column past the end of
    // its line to the line's end; a column counts characters, not bytes.
    StartWith({{a, 99}});
    EXPECT_EQ(Editor().GetCurLine(), Editor().GetLineCount() - 1);
    StartWith({{a, 2, 40}});
    EXPECT_EQ(Editor().GetCurPos(), Editor().PositionFromLine(1) + 3);
    const QString wide = Write("wide.txt", "中文字x\n");
    StartWith({{wide, 1, 4}});
    EXPECT_EQ(Editor().GetCurPos(), 9) << "after three characters of three bytes each";
    // Nothing that could be opened: the usual new document.
    StartWith({{dir.path()}});
    EXPECT_EQ(Titles(), QStringList{"新建文档 2"});
}

TEST_F(OpenFilesTest, AMissingFileOpensEmptyAndIsSavedThereWithoutADialog)
{
    const QString path = Path("later/notes.py");
    QDir().mkpath(Path("later"));
    StartWith({{path}});
    ASSERT_EQ(window->Documents().size(), 1);
    EXPECT_EQ(Active()->windowTitle(), path);
    EXPECT_EQ(Active()->strFile, path);
    EXPECT_FALSE(Editor().Modified());
    EXPECT_FALSE(QFile::exists(path)) << "nothing is written before a save";
    EXPECT_EQ(HighlighterTable[size_t(Editor().lHighlighterNum)].LangName, "Python");

    Editor().SetText("print(1)\n");
    Actions().mnuSave->trigger();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(Read(path), "print(1)\n");
}

TEST_F(OpenFilesTest, OpeningAFileThatIsOpenBringsItsWindowForward)
{
    const QString a = Write("a.txt", "a"), b = Write("b.txt", "b");
    QFile::link(a, Path("link-to-a.txt"));
    Start();
    window->OpenFiles(FilesAt({a, b}));
    ASSERT_EQ(window->Documents().size(), 3);
    frmDoc *first = window->FindDocument(a);
    ASSERT_NE(first, nullptr);
    first->parentWidget()->showMinimized();

    // Another spelling of a, and a link to it: still that one window.
    dialogs.AnswerMany({dir.path() + "/./a.txt"});
    Actions().mnuOpen->trigger();
    EXPECT_EQ(window->Documents().size(), 3);
    EXPECT_EQ(Active(), first);
    EXPECT_FALSE(first->parentWidget()->isMinimized());
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    window->OpenFiles({{Path("link-to-a.txt"), 1, 1}, {b}});
    EXPECT_EQ(window->Documents().size(), 3);
    EXPECT_EQ(Active()->strFile, b);
    EXPECT_EQ(window->FindDocument(Path("link-to-a.txt")), first);
}

TEST_F(OpenFilesTest, TheOpenDialogTakesSeveralFiles)
{
    const QString a = Write("a.txt", "a"), b = Write("b.txt", "b"), c = Write("c.txt", "c");
    Start();
    dialogs.AnswerMany({c, a, b});
    Actions().mnuOpen->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].request.title, "打开文件");
    EXPECT_EQ(Titles(), (QStringList{"新建文档 1", c, a, b}));
    EXPECT_EQ(Active()->strFile, b);
    // The next dialog offers the last one chosen.
    Actions().mnuOpen->trigger();
    EXPECT_EQ(dialogs.shown[1].request.initialPath, b);
    EXPECT_EQ(window->Documents().size(), 4) << "cancelled";
}

TEST_F(OpenFilesTest, FilesDroppedOnTheDocumentAreaOrAnEditorOpen)
{
    const QString a = Write("a.txt", "a"), b = Write("b.txt", "b"), c = Write("c.txt", "c");
    Start();
    Drop(window->MdiArea()->viewport(), Files({a, b}));
    EXPECT_EQ(Titles(), (QStringList{"新建文档 1", a, b}));
    EXPECT_EQ(Active()->strFile, b);

    // On an editor: the component's own notification of a dropped URI.
    EditorWindow *editor = window->Documents()[0]->sciMain->Editor();
    Drop(editor->viewport(), Files({c}));
    EXPECT_EQ(Titles(), (QStringList{"新建文档 1", a, b, c}));
    EXPECT_EQ(window->Documents()[0]->sciMain->GetText(), "") << "nothing went into the editor";
    // Several at once: in order, the last one in front.
    const QString d = Write("d.txt", "d"), e = Write("e.txt", "e");
    Drop(editor->viewport(), Files({d, e}));
    EXPECT_EQ(Titles(), (QStringList{"新建文档 1", a, b, c, d, e}));
    EXPECT_EQ(Active()->strFile, e);

    // Something that is no local file opens nothing.
    auto *remote = new QMimeData;
    remote->setUrls({QUrl("https://www.ferrolan.example/x.txt")});
    Drop(window->MdiArea()->viewport(), remote);
    EXPECT_EQ(window->Documents().size(), 6);
}

TEST_F(OpenFilesTest, TextDroppedInTheEditorStillGoesIntoTheText)
{
    Start();
    Editor().SetText("abc");
    auto *text = new QMimeData;
    text->setText("XYZ");
    Drop(Editor().Editor()->viewport(), text, QPoint(1, 1));
    EXPECT_EQ(window->Documents().size(), 1);
    EXPECT_TRUE(Editor().GetText().contains("XYZ")) << Editor().GetText().constData();
}

TEST_F(OpenFilesTest, RecentFilesNewestFirstTenAtMostGoneOnesGreyedAndCleared)
{
    Start();
    QStringList paths;
    for (int n = 0; n < 12; ++n)
        paths.append(Write(QString("f%1.txt").arg(n), "x"));
    window->OpenFiles(FilesAt(paths.mid(0, 11)));
    dialogs.Answer(Path("saved.txt"));
    Actions().mnuSaveAs->trigger(); // saving under a new name counts too
    QFile::remove(paths[10]);

    QStringList expected{Path("saved.txt"), paths[10] + " (greyed)"};
    for (int n = 9; n >= 2; --n)
        expected.append(paths[n]);
    EXPECT_EQ(RecentItems(), expected);
    EXPECT_EQ(RecentFiles::List().size(), RecentFiles::Limit);
    // Kept with the main window's settings, for the next start.
    EXPECT_EQ(QSettings(QSettings::IniFormat, QSettings::UserScope, "Ferrolan", "ScintillaMDI")
                  .value("Settings/RecentFile1")
                  .toString(),
              Path("saved.txt"));

    // Choosing an item opens it (here: brings its window forward).
    QMenu *menu = window->Menus()->mnuRecentFiles;
    menu->actions()[4]->trigger();
    EXPECT_EQ(Active()->strFile, paths[7]);

    Actions().mnuClearRecent->trigger();
    EXPECT_TRUE(RecentItems().isEmpty());
    EXPECT_FALSE(Actions().mnuClearRecent->isEnabled());
    Start();
    EXPECT_TRUE(RecentItems().isEmpty()) << "cleared for good";
}

TEST_F(OpenFilesTest, EveryWindowShowsTheProgramsIcon)
{
    Start();
    window->OpenDocument("New Document");
    const QImage expected = ProgramIcon::Icon().pixmap(32).toImage();
    ASSERT_FALSE(expected.isNull()) << "the icon is built into the program";
    EXPECT_EQ(window->windowIcon().pixmap(32).toImage(), expected);
    for (QMdiSubWindow *sub : window->MdiArea()->subWindowList())
        EXPECT_EQ(sub->windowIcon().pixmap(32).toImage(), expected);
}

} // namespace
