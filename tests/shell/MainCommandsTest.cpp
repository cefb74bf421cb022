#include "MainWindowFixture.h"
#include "PdfPrinter.h"
#include "RecordingBrowser.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptions.h"
#include "platform/SettingsStore.h"
#include "shell/DialogFilter.h"
#include "shell/MainCommands.h"
#include "shell/MainMenus.h"
#include "shell/MainToolbar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QListWidget>
#include <gtest/gtest.h>
#include <memory>

using Sci = QsciScintillaBase;

namespace {

class MainCommandsTest : public MainWindowFixture
{
};

QStringList MenuTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *item : menu->actions()) {
        QString text = item->isSeparator() ? QStringLiteral("-") : item->text();
        if (!item->shortcut().isEmpty())
            text += QLatin1Char('\t') + item->shortcut().toString();
        texts << text;
    }
    return texts;
}

TEST_F(MainCommandsTest, TheMenuBarReadsAsItAlwaysHas)
{
    Start();
    QStringList bar;
    for (QAction *menu : window->menuBar()->actions())
        bar << menu->text();
    EXPECT_EQ(bar, QStringList({"文件(&F)", "编辑(&E)", "搜索(&S)", "视图(&V)", "高亮(&L)", "窗口(&W)", "帮助(&H)"}));
    MainMenus *menus = window->Menus();
    EXPECT_EQ(MenuTexts(menus->mnuFile),
              QStringList({"新建文档(&N)\tCtrl+N", "打开文件(&O)\tCtrl+O", "最近打开的文件(&R)", "重新载入(&I)", "-",
                           "保存文档(&S)\tCtrl+S", "另存为(&A)....\tCtrl+F12", "全部保存(&L)", "以其他编码重新打开", "转换编码", "-",
                           "导出为HTML(&D)", "-", "关闭(&C)\tCtrl+W", "全部关闭(&W)", "-", "打印(&P)\tCtrl+P",
                           "打印预览(&V)", "-", "自动重新载入未修改的文档(&U)", "启动时打开上次的文件(&T)", "-", "退出(&E)\tCtrl+Q"}));
    EXPECT_EQ(MenuTexts(menus->mnuEdit),
              QStringList({"撤消(&U)\tCtrl+Z", "重做(&R)\tCtrl+Y", "-", "剪切(&T)\tCtrl+X", "复制(&C)\tCtrl+C",
                           "粘贴(&P)\tCtrl+V", "-", "全选(&A)", "-", "语法设置(&S)", "-", "日期时间(&T)", "-", "转换行尾符(&N)"}));
    EXPECT_EQ(MenuTexts(menus->mnuSearch),
              QStringList({"查找(&F)\tCtrl+F", "替换(&R)\tCtrl+H", "-", "查找下一个(&N)\tF3", "查找上一个\tCtrl+F3", "-",
                           "转到(&G)\tCtrl+G", "-", "在文件中查找(&I)\tCtrl+Shift+F", "下一个查找结果\tF4",
                           "上一个查找结果\tShift+F4"}));
    EXPECT_EQ(MenuTexts(menus->mnuWindows),
              QStringList({"水平平铺(&H)", "垂直平铺(&V)", "排列图标(&A)", "层叠(&C)", "-", "窗口列表(&W)"}));
    EXPECT_EQ(MenuTexts(menus->mnuHelp),
              QStringList({"发行与帮助手册(&F)", "-", "升级(&S)", "Ferrolan主页(&Z)", "关于(&A)"}));
}

TEST_F(MainCommandsTest, TheHighlighterMenuFollowsTheTableAndOnlyGrows)
{
    QMainWindow frame;
    MainActions actions(&frame);
    MainMenus menus(&frame, &actions);
    QMenu *menu = menus.mnuHighlighters;
    EXPECT_EQ(MenuTexts(menu), QStringList({"高亮语法"})); // what an empty table leaves

    auto setupMenu = [&] {
        for (int i = 0; i < HighlighterCount; ++i)
            menus.AddMenu(HighlighterTable[i].LangName, HighlighterTable[i].LangName, i);
    };
    UseLanguages({{"Alpha", ""}, {"B&eta", ""}, {"Gamma", ""}});
    setupMenu();
    EXPECT_EQ(MenuTexts(menu), QStringList({"Alpha", "B&&eta", "Gamma"}));
    EXPECT_EQ(menu->actions()[1]->data().toString(), QStringLiteral("B&eta"));

    QAction *first = menu->actions()[0];
    HighlighterTable[0].LangName = QStringLiteral("Renamed");
    LoadHighlighter(Write(QStringLiteral("extra.CHL"), "[data]\nLangName=Delta\nStyle[32]=:::V:C:::Courier New:10:0:16777215::\n"));
    setupMenu();
    EXPECT_EQ(MenuTexts(menu), QStringList({"Renamed", "B&&eta", "Gamma", "Delta"}));
    EXPECT_EQ(menu->actions()[0], first); // renamed in place, new ones at the end

    UseLanguages({{"Only", ""}});
    setupMenu();
    EXPECT_EQ(menu->actions().size(), 4); // never removed
}

TEST_F(MainCommandsTest, TheMainWindowListsTheShippedLanguages)
{
    Start();
    QStringList names;
    for (const Highlighter &entry : HighlighterTable)
        names << entry.LangName;
    EXPECT_EQ(MenuTexts(window->Menus()->mnuHighlighters), names);
    EXPECT_TRUE(names.contains(QStringLiteral("CPP")));
}

TEST_F(MainCommandsTest, ChoosingAHighlighterAppliesItToTheActiveDocument)
{
    UseLanguages({{"Alpha", ""}, {"Beta", ""}});
    Start();
    window->Menus()->HighlighterItems()[1]->trigger();
    EXPECT_EQ(Editor().lHighlighterNum, 1);
    EXPECT_TRUE(Editor().Editor()->hasFocus());
}

// The command opens the settings dialog over the main window on the shipped
// folder; whatever the dialog leaves in the table (here put there while it
// is open) reaches the open documents and the menu once it closes.
TEST_F(MainCommandsTest, SyntaxSettingsShowsTheDialogThenRecoloursAndRebuildsTheMenu)
{
    Start();
    const QString extra = Write("Zed.CHL", "[data]\r\nLangName=Zed\r\nStyle[32]=:::V:C:::Courier New:10:0:16777215::\r\n");
    const int shipped = HighlighterCount;
    const long current = Editor().lHighlighterNum;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *options = qobject_cast<frmOptions *>(QApplication::activeModalWidget());
        if (!options)
            return;
        seen = true;
        EXPECT_EQ(options->parentWidget(), window.get());
        EXPECT_EQ(options->windowTitle(), "语法选项");
        EXPECT_EQ(options->findChild<QListWidget *>("lstLang")->count(), shipped);
        HighlighterTable[size_t(current)].Fore[0] = 0x123456;
        LoadHighlighter(extra);
        options->reject();
    });
    Actions().mnuSyntax->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(Editor().SendEditor(Sci::SCI_STYLEGETFORE, 0), 0x123456);
    const QList<QAction *> items = window->Menus()->HighlighterItems();
    ASSERT_EQ(items.size(), shipped + 1);
    EXPECT_EQ(items.last()->text(), "Zed");
}
TEST_F(MainCommandsTest, DialogFiltersComeFromTheTableWithoutEmptyOnes)
{
    UseLanguages({{"C++", "C++ 源文件 (*.cpp)|*.cpp;*.hpp|"}, {"Empty", ""}, {"Basic", "Basic (*.bas)|*.bas|"}});
    EXPECT_EQ(frmMain::OpenFilter(), QStringLiteral("全部 (*.*)|*.*|C++ 源文件 (*.cpp)|*.cpp;*.hpp|Basic (*.bas)|*.bas|"));
    EXPECT_EQ(frmMain::SaveFilter(), QStringLiteral("全部文件 (*.*)|*.*|C++ 源文件 (*.cpp)|*.cpp;*.hpp|Basic (*.bas)|*.bas|"));
    EXPECT_EQ(DialogFilter::ToQtFilters(frmMain::OpenFilter()),
              QStringList({"全部 (*)", "C++ 源文件 (*.cpp *.hpp)", "Basic (*.bas)"}));
    ResetHighlighterTable();
    EXPECT_EQ(frmMain::OpenFilter(), QStringLiteral("全部 (*.*)|*.*|"));

    Start();
    ResetHighlighterTable();
    Actions().mnuOpen->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_FALSE(dialogs.shown[0].save);
    EXPECT_EQ(dialogs.shown[0].request.filters, QStringList({"全部 (*)"}));
}

TEST_F(MainCommandsTest, SavingANewDocumentGoesThroughSaveAsAndTheHighlighterFollows)
{
    UseLanguages({{"Text", "文本 (*.txt)|*.txt|"}, {"Pascal", "Pascal (*.pas)|*.pas|"}});
    Start();
    Editor().SetText(QStringLiteral("program x;"));
    const QString path = dir.filePath(QStringLiteral("prog.pas"));
    dialogs.Answer(path);
    Actions().mnuSave->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].save);
    EXPECT_TRUE(dialogs.shown[0].request.confirmOverwrite);
    EXPECT_EQ(Read(path), QByteArray("program x;"));
    EXPECT_EQ(Active()->windowTitle(), path);
    EXPECT_EQ(Active()->strFile, path);
    EXPECT_EQ(Editor().lHighlighterNum, 1);
    EXPECT_FALSE(Editor().Modified());

    // Save again: straight to the file, no dialog.
    Editor().SetText(QStringLiteral("program y;"));
    Actions().mnuSave->trigger();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(Read(path), QByteArray("program y;"));
}

TEST_F(MainCommandsTest, SaveAsMovesTheDocumentToTheNewNameAndLeavesTheOldFile)
{
    UseLanguages({{"Text", "文本 (*.txt)|*.txt|"}, {"Pascal", "Pascal (*.pas)|*.pas|"}});
    Start();
    const QString old = Write(QStringLiteral("old.txt"), "old");
    window->OpenDocument(old);
    EXPECT_EQ(Editor().lHighlighterNum, 0);
    Editor().SetText(QStringLiteral("new"));
    const QString renamed = dir.filePath(QStringLiteral("new.pas"));
    dialogs.Answer(renamed);
    Actions().mnuSaveAs->trigger();
    EXPECT_EQ(dialogs.shown.last().request.initialPath, old); // the document's own name is offered
    EXPECT_EQ(Read(old), QByteArray("old"));
    EXPECT_EQ(Read(renamed), QByteArray("new"));
    EXPECT_EQ(Active()->strFile, renamed);
    EXPECT_EQ(Active()->windowTitle(), renamed);
    EXPECT_EQ(Editor().lHighlighterNum, 1);
}

TEST_F(MainCommandsTest, CancelledDialogsChangeNothing)
{
    Start();
    const QString earlier = Write(QStringLiteral("earlier.txt"), "e");
    dialogs.Answer(earlier);
    Actions().mnuOpen->trigger();
    const int documents = int(window->Documents().size());
    Editor().SetText(QStringLiteral("unsaved"));
    const QString title = Active()->windowTitle();

    Actions().mnuOpen->trigger();    // cancelled (no answer)
    Actions().mnuSaveAs->trigger();  // cancelled
    Actions().mnuExportHTML->trigger();
    EXPECT_EQ(dialogs.shown.size(), 4);
    EXPECT_EQ(dialogs.shown[1].request.initialPath, earlier); // the name chosen last is offered
    EXPECT_EQ(window->Documents().size(), documents);
    EXPECT_EQ(Active()->windowTitle(), title);
    EXPECT_EQ(Read(earlier), QByteArray("e"));
    EXPECT_TRUE(Editor().Modified());
}

TEST_F(MainCommandsTest, ExportWritesThePageAndLeavesTheDocumentAsItWas)
{
    Start();
    Editor().SetText(QStringLiteral("int x; // <注释>\n"));
    const QString title = Active()->windowTitle();
    const QString page = dir.filePath(QStringLiteral("page.html"));
    dialogs.Answer(page);
    Actions().mnuExportHTML->trigger();
    EXPECT_TRUE(Read(page).contains("<span class=c2>//&nbsp;&lt;\xE6\xB3\xA8\xE9\x87\x8A&gt;<BR>\n</span>"));
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(Active()->windowTitle(), title);
    EXPECT_TRUE(Active()->strFile.isEmpty());
    EXPECT_TRUE(Editor().Modified());
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    // A page that cannot be written is reported; the old one stays.
    QDir(dir.path()).mkdir(QStringLiteral("taken.html"));
    dialogs.Answer(dir.filePath(QStringLiteral("taken.html")));
    Actions().mnuExportHTML->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("导出为HTML"));
    EXPECT_TRUE(boxes.shown[0].text.contains(dir.filePath(QStringLiteral("taken.html"))));
    EXPECT_TRUE(Editor().Editor()->hasFocus());
}

TEST_F(MainCommandsTest, PrintReachesThePrinterFromMenuKeyAndToolbar)
{
    Start();
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    PdfPrinter printer(pdf);
    QByteArray text;
    for (int i = 0; i < 150; ++i)
        text += "// 第 " + QByteArray::number(i) + " 行\n";
    Editor().SetTextBytes(text);
    Actions().mnuPrint->trigger();
    EXPECT_EQ(printer.handedOut, 1);
    EXPECT_EQ(PdfPrinter::PageCount(pdf), 3);
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    QTest::keyClick(Editor().Editor(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printer.handedOut, 2);
    window->setFocus();
    Actions().mnuPrint->trigger(); // the toolbar's button is the same action
    EXPECT_TRUE(window->Toolbar()->actions().contains(Actions().mnuPrint));
    EXPECT_EQ(printer.handedOut, 3);
    EXPECT_TRUE(Editor().Editor()->hasFocus());
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(MainCommandsTest, APrintThatCannotHappenIsExplained)
{
    Start();
    PdfPrinter printer(dir.filePath(QStringLiteral("no-folder/printed.pdf")));
    Actions().mnuPrint->trigger();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("打印"));
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("打印失败。")));

    // No printer installed: the print dialog still comes (to print to a file).
    printer.nullPrinter = true;
    Actions().mnuPrint->trigger();
    EXPECT_EQ(printer.dialogsShown, 2);
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    Active()->parentWidget()->close();
    QApplication::processEvents();
    const int asked = printer.handedOut;
    Actions().mnuPrint->trigger(); // no document: nothing to print, nobody asked
    EXPECT_EQ(printer.handedOut, asked);
    EXPECT_EQ(boxes.shown.size(), 2);
}

TEST_F(MainCommandsTest, TheCounterCountsOpenedFiles)
{
    Start();
    dialogs.Answer(Write(QStringLiteral("a.txt"), "a"));
    Actions().mnuOpen->trigger();
    Actions().mnuNew->trigger();
    EXPECT_EQ(Active()->windowTitle(), QStringLiteral("New Document 3"));
}

TEST_F(MainCommandsTest, CtrlKeysInTheEditorReachTheMenuCommands)
{
    Start();
    QWidget *editor = Editor().Editor();
    Editor().SetText(QStringLiteral("hello"));
    Editor().SetSel(0, 5);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("hello"));
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Editor().Text(), QByteArray());
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Editor().Text(), QByteArray("hellohello"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Editor().Text(), QByteArray("hello"));
    QTest::keyClick(editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Editor().Text(), QByteArray("hellohello"));
    QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier); // the component's own keys still work
    EXPECT_EQ(Editor().GetCurPos(), 0);
}

TEST_F(MainCommandsTest, ExitAsksAndASaveThatDoesNotHappenKeepsTheDocument)
{
    Start();
    Editor().SetText(QStringLiteral("precious"));
    boxes.Answer(QMessageBox::Yes); // save it ...
    Actions().mnuExit->trigger();             // ... but the save-as dialog is cancelled
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Documents().size(), 1);

    QDir(dir.path()).mkdir(QStringLiteral("taken"));
    boxes.Answer(QMessageBox::Yes);
    dialogs.Answer(dir.filePath(QStringLiteral("taken"))); // a folder: the save fails
    Actions().mnuExit->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(Editor().Modified());
    EXPECT_EQ(boxes.shown.last().title, QStringLiteral("保存失败"));

    const QString path = dir.filePath(QStringLiteral("saved.txt"));
    boxes.Answer(QMessageBox::Yes);
    dialogs.Answer(path);
    Actions().mnuExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Read(path), QByteArray("precious"));
    EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"),
                                        QStringLiteral("MDIWState")),
              QStringLiteral("0")); // the placement is saved on the way out
}

// What needs a document is disabled while none is open (and does nothing if
// triggered all the same), and comes back with the next document.
TEST_F(MainCommandsTest, WithoutADocumentOnlyTheCommandsThatNeedNoneAreEnabled)
{
    Start();
    const MainActions &a = Actions();
    const MainMenus &menus = *window->Menus();
    const QList<QAction *> needDocument = {
        a.mnuSave, a.mnuSaveAs, a.mnuSaveAll, a.mnuExportHTML, a.mnuClose, a.mnuCloseAll, a.mnuPrint,
        a.mnuPrintPreview, a.mnuUndo, a.mnuRedo, a.mnuCut, a.mnuCopy, a.mnuPaste,
        a.mnuSelAll, a.mnuTimeDate, a.mnuFind, a.mnuReplace, a.mnuFindNext, a.mnuFindPrevious, a.mnuGoto, a.mnuHor,
        a.mnuVertical, a.mnuArrange, a.mnuCascade, menus.mnuReopenEncoding->menuAction(),
        menus.mnuConvertEncoding->menuAction(), menus.HighlighterItems().front()};
    const QList<QAction *> needNone = {a.mnuNew,  a.mnuOpen, a.mnuExit,     a.mnuSyntax,   a.help,
                                       a.sj,      a.zy,      a.mnuAbout,    a.tbBold,      a.tbItalic,
                                       a.tbUnderline, a.tbAlignLeft, a.tbAlignCentre, a.tbAlignRight};
    for (QAction *action : needDocument)
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();

    Active()->parentWidget()->close();
    QApplication::processEvents();
    ASSERT_TRUE(window->Documents().isEmpty());
    for (QAction *action : needDocument)
        ASSERT_FALSE(action->isEnabled()) << action->text().toStdString();
    for (QAction *action : needNone)
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    for (QAction *action : needDocument)
        action->trigger();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());
    // A language added meanwhile (the settings dialog) gets a disabled item.
    window->AddMenu(QStringLiteral("Later"), QStringLiteral("Later"), int(menus.HighlighterItems().size()));
    EXPECT_FALSE(menus.HighlighterItems().back()->isEnabled());

    a.mnuNew->trigger();
    ASSERT_EQ(window->Documents().size(), 1);
    for (QAction *action : needDocument)
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(menus.HighlighterItems().back()->isEnabled());
}

TEST_F(MainCommandsTest, TheToolbarShowsTheMenusActionsAndTheFormattingButtonsOnlyFocus)
{
    Start();
    const MainActions &a = Actions();
    const QList<QAction *> groups = {a.mnuNew,  a.mnuOpen,   a.mnuSave,        a.mnuPrint,    nullptr,
                                     a.mnuCut,  a.mnuCopy,   a.mnuPaste,       nullptr,       a.tbBold,
                                     a.tbItalic, a.tbUnderline, nullptr,       a.tbAlignLeft, a.tbAlignCentre,
                                     a.tbAlignRight};
    QList<QAction *> shown;
    QStringList tooltips;
    for (QAction *action : window->Toolbar()->actions()) {
        shown << (action->isSeparator() ? nullptr : action);
        if (action->isSeparator())
            continue;
        tooltips << action->toolTip();
        EXPECT_FALSE(action->icon().pixmap(16, 16).isNull()) << action->objectName().toStdString();
    }
    EXPECT_EQ(shown, groups);
    EXPECT_EQ(tooltips, QStringList({"新建", "打开", "保存", "打印", "剪切", "复制", "粘贴", "粗体", "斜体", "下划线",
                                     "文字居左", "文字居中", "文字居右"}));
    EXPECT_FALSE(a.mnuNew->isIconVisibleInMenu()); // the menus show captions only

    Editor().SetText(QStringLiteral("plain"));
    Editor().SetSel(0, 5);
    window->setFocus();
    for (QAction *button : {a.tbBold, a.tbItalic, a.tbUnderline, a.tbAlignLeft, a.tbAlignCentre, a.tbAlignRight})
        button->trigger();
    EXPECT_EQ(Editor().Text(), QByteArray("plain"));
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    a.mnuCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("plain"));
    a.mnuNew->trigger();
    EXPECT_EQ(window->Documents().size(), 2);
}

TEST_F(MainCommandsTest, TheWindowCommandsArrangeTheDocuments)
{
    Start();
    window->OpenDocument(QStringLiteral("New Document"));
    const QRect area = window->MdiArea()->viewport()->rect();

    Actions().mnuHor->trigger();
    QList<QMdiSubWindow *> windows = window->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    EXPECT_EQ(windows[1]->geometry().top(), area.height() / 2);
    EXPECT_EQ(windows[1]->width(), area.width());

    Actions().mnuVertical->trigger();
    EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(windows[1]->geometry().left(), area.width() / 2);
    EXPECT_EQ(windows[1]->height(), area.height());

    windows[0]->showMinimized();
    windows[1]->showMinimized();
    Actions().mnuArrange->trigger();
    EXPECT_EQ(windows[0]->geometry().bottom(), area.bottom());
    EXPECT_EQ(windows[0]->geometry().left(), 0);
    EXPECT_EQ(windows[1]->geometry().left(), windows[0]->geometry().right() + 1);

    // The window list marks the active document.
    window->MdiArea()->setActiveSubWindow(windows[1]);
    QMenu *list = window->Menus()->mnuWindowList;
    emit list->aboutToShow();
    ASSERT_EQ(list->actions().size(), 2);
    EXPECT_FALSE(list->actions()[0]->isChecked());
    EXPECT_TRUE(list->actions()[1]->isChecked());
    EXPECT_EQ(list->actions()[1]->text(), QStringLiteral("New Document 2"));
}

// Nothing in front of a window may cover its title bar.
void ExpectTitleBarsInSight(QMdiArea *area)
{
    const QList<QMdiSubWindow *> stack = area->subWindowList(QMdiArea::StackingOrder);
    for (int below = 0; below < stack.size(); ++below) {
        if (stack[below]->isMinimized())
            continue;
        const QRect titleBar(stack[below]->pos(), QSize(stack[below]->width(), stack[below]->widget()->y()));
        EXPECT_TRUE(area->viewport()->rect().contains(titleBar)) << below;
        for (int above = below + 1; above < stack.size(); ++above)
            EXPECT_FALSE(stack[above]->geometry().intersects(titleBar))
                << stack[above]->windowTitle().toStdString() << " covers "
                << stack[below]->windowTitle().toStdString();
    }
}

// Minimized windows are in front of every other window and in a row along
// the bottom of the area.
void ExpectIconsInSight(QMdiArea *area)
{
    const QList<QMdiSubWindow *> stack = area->subWindowList(QMdiArea::StackingOrder);
    int left = 0;
    for (QMdiSubWindow *icon : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!icon->isMinimized())
            continue;
        EXPECT_EQ(icon->geometry().bottomLeft(), QPoint(left, area->viewport()->rect().bottom()));
        left += icon->width();
        for (qsizetype above = stack.indexOf(icon) + 1; above < stack.size(); ++above)
            EXPECT_FALSE(stack[above]->geometry().intersects(icon->geometry()))
                << stack[above]->windowTitle().toStdString() << " covers "
                << icon->windowTitle().toStdString();
    }
}

TEST_F(MainCommandsTest, CascadeShowsEveryTitleBarAndKeepsTheCurrentWindowInFront)
{
    Start();
    QMdiArea *area = window->MdiArea();
    QMdiSubWindow *first = area->currentSubWindow();
    auto *second = window->OpenDocument(QStringLiteral("New Document"))->parentWidget();
    window->OpenDocument(QStringLiteral("New Document"))->parentWidget()->showMaximized();
    area->setActiveSubWindow(first);
    second->raise(); // in front of the current window

    Actions().mnuCascade->trigger();
    const QList<QMdiSubWindow *> stack = area->subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(stack.size(), 3);
    EXPECT_EQ(stack.last(), first);
    EXPECT_EQ(area->currentSubWindow(), first);
    for (QMdiSubWindow *sub : stack)
        EXPECT_FALSE(sub->isMaximized());
    ExpectTitleBarsInSight(area);

    while (area->subWindowList().size() < 10) // more than the area holds at their normal size
        window->OpenDocument(QStringLiteral("New Document"));
    Actions().mnuCascade->trigger();
    ExpectTitleBarsInSight(area);
    for (QMdiSubWindow *sub : area->subWindowList())
        EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry()));
}

TEST_F(MainCommandsTest, TilingLeavesTheMinimizedWindowsInSight)
{
    Start();
    QMdiArea *area = window->MdiArea();
    window->OpenDocument(QStringLiteral("New Document"))->parentWidget()->showMinimized();
    window->OpenDocument(QStringLiteral("New Document"));
    window->OpenDocument(QStringLiteral("New Document"))->parentWidget()->showMinimized();
    for (QAction *command : {Actions().mnuHor, Actions().mnuVertical, Actions().mnuCascade}) {
        command->trigger();
        ExpectIconsInSight(area);
        ExpectTitleBarsInSight(area);
    }
    Actions().mnuHor->trigger();
    const QList<QMdiSubWindow *> windows = area->subWindowList(QMdiArea::CreationOrder);
    const int iconTop = windows[1]->y();
    EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, area->viewport()->width(), iconTop / 2));
    EXPECT_EQ(windows[2]->geometry().bottom(), iconTop - 1);
}

TEST_F(MainCommandsTest, ArrangeIconsBringsTheMinimizedWindowsBackInSight)
{
    Start();
    QMdiArea *area = window->MdiArea();
    QMdiSubWindow *big = area->currentSubWindow();
    window->OpenDocument(QStringLiteral("New Document"))->parentWidget()->showMinimized();
    window->OpenDocument(QStringLiteral("New Document"))->parentWidget()->showMinimized();
    for (QMdiSubWindow *sub : area->subWindowList())
        if (sub->isMinimized())
            sub->move(150, 40);
    big->setGeometry(area->viewport()->rect()); // over the bottom of the area
    area->setActiveSubWindow(big);
    big->raise();

    Actions().mnuArrange->trigger();
    ExpectIconsInSight(area);
}

// A new or opened document follows the active one: maximized, filling the
// area, beside a maximized document; otherwise at its normal size.
TEST_F(MainCommandsTest, NewDocumentsFollowTheActiveDocumentsState)
{
    Start();
    QMdiArea *area = window->MdiArea();
    const QSize normal = area->activeSubWindow()->size();
    area->activeSubWindow()->showMaximized();
    auto expectMaximized = [area](const char *how) {
        QApplication::processEvents();
        const QMdiSubWindow *active = area->activeSubWindow();
        EXPECT_TRUE(active->isMaximized()) << how;
        EXPECT_EQ(active->geometry(), area->viewport()->rect()) << how;
        EXPECT_EQ(qobject_cast<frmDoc *>(active->widget())->sciMain->Editor()->size(), active->size()) << how;
        for (const QMdiSubWindow *other : area->subWindowList())
            EXPECT_TRUE(other == active || !other->isMaximized()) << how; // one maximized window
    };

    Actions().mnuNew->trigger();
    expectMaximized("new");
    Actions().mnuNew->trigger();
    expectMaximized("second new");
    dialogs.Answer(Write(QStringLiteral("a.txt"), "a"));
    Actions().mnuOpen->trigger();
    expectMaximized("opened");

    area->activeSubWindow()->showNormal();
    Actions().mnuNew->trigger();
    EXPECT_FALSE(area->activeSubWindow()->isMaximized());
    EXPECT_EQ(area->activeSubWindow()->size(), normal);
}

TEST_F(MainCommandsTest, TheHelpLinksOpenTheSitesPages)
{
    Start();
    RecordingBrowser browser;
    Actions().help->trigger();
    Actions().sj->trigger();
    Actions().zy->trigger();
    ASSERT_EQ(browser.opened.size(), 3);
    EXPECT_TRUE(browser.opened[0].toString().endsWith(QStringLiteral("/Quorvane/Release.htm")));
    EXPECT_TRUE(browser.opened[1].toString().endsWith(QStringLiteral("/Quorvane.html")));
    EXPECT_EQ(browser.opened[0].host(), browser.opened[2].host());

    SettingsStore::SaveSetting(QStringLiteral("ScintillaMDI"), QStringLiteral("Settings"), QStringLiteral("SiteAddress"),
                               QStringLiteral("http://mirror.test/"));
    Actions().sj->trigger();
    EXPECT_EQ(browser.opened.last(), QUrl(QStringLiteral("http://mirror.test/Quorvane.html")));
}

TEST_F(MainCommandsTest, AboutShowsOneBoxThatComesBackWhenChosenAgain)
{
    Start();
    Actions().mnuAbout->trigger();
    auto *box = qobject_cast<frmAbout *>(window->AboutBox());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->parentWidget(), window.get());

    Actions().mnuAbout->trigger();
    EXPECT_EQ(window->AboutBox(), box);
    EXPECT_EQ(window->findChildren<frmAbout *>().size(), 1);
}

TEST_F(MainCommandsTest, DateAndTimeReplacesTheSelectionAsOneUndoableEdit)
{
    Start();
    Editor().SetText(QStringLiteral("when: X."));
    Editor().SetSel(6, 7);
    Actions().mnuTimeDate->trigger();
    const QString text = QString::fromUtf8(Editor().Text());
    EXPECT_TRUE(text.startsWith(QStringLiteral("when: ")));
    EXPECT_TRUE(text.endsWith(QLatin1Char('.')));
    EXPECT_TRUE(text.contains(QStringLiteral(" | ")));
    EXPECT_FALSE(text.contains(QLatin1Char('X')));
    EXPECT_TRUE(MainCommands::TimeDateText().contains(QRegularExpression(QStringLiteral("\\d:\\d\\d:\\d\\d"))));
    Actions().mnuUndo->trigger();
    EXPECT_EQ(Editor().Text(), QByteArray("when: X."));
}

} // namespace
