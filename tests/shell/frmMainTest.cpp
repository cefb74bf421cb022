#include "MainWindowFixture.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "platform/SettingsStore.h"
#include "shell/StatusBarPanels.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"
#include "shell/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString App = QStringLiteral("ScintillaMDI");
const QString Section = QStringLiteral("Settings");

QString Stored(const QString &key)
{
    return SettingsStore::GetSetting(App, Section, key, QStringLiteral("<missing>"));
}

void Store(const QString &key, const QString &value)
{
    SettingsStore::SaveSetting(App, Section, key, value);
}

class MainWindowTest : public MainWindowFixture
{
protected:
    static QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }
};

TEST_F(MainWindowTest, FirstRunCentresTheDesignSizeAndOpensOneDocument)
{
    Start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ferrolan多文档编辑器2009 v1.0 正式版"));
    EXPECT_EQ(window->size(), QSize(690, 479));
    const QRect frame = window->frameGeometry();
    EXPECT_NEAR(frame.left(), (Screen().width() - frame.width()) / 2, 1);
    EXPECT_NEAR(frame.top(), (Screen().height() - frame.height()) / 2, 1);

    ASSERT_EQ(window->Documents().size(), 1);
    frmDoc *doc = window->ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("新建文档 1"));
    EXPECT_TRUE(doc->strFile.isEmpty());
    EXPECT_EQ(window->lDocCount, 1);
    EXPECT_EQ(doc->sciMain->Editor()->geometry(), doc->rect()); // the editor fills its window
    EXPECT_TRUE(doc->sciMain->Editor()->hasFocus());
}

TEST_F(MainWindowTest, StartUpLoadsTheLanguagesBesideTheProgramBeforeTheFirstDocument)
{
    const QDir shipped(QCoreApplication::applicationDirPath() + "/highlighters");
    const QStringList files = shipped.entryList({QStringLiteral("*.CHL")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << "the build copies highlighters/ beside the program";

    Start();
    EXPECT_EQ(HighlighterCount, files.size());
    ASSERT_FALSE(window->Documents().isEmpty());
    clsScintilla &sci = *window->Documents().front()->sciMain;
    const int cpp = FindHighlighter("CPP");
    EXPECT_EQ(HighlighterTable[cpp].LangName.toUpper(), "CPP");
    EXPECT_EQ(sci.lHighlighterNum, cpp); // the first document already had the table
    EXPECT_EQ(sci.SendEditor(QsciScintillaBase::SCI_GETLEXER), HighlighterTable[cpp].Lexer);
}

TEST_F(MainWindowTest, TheStatusBarHasFivePanelsAndShowsTheCaret)
{
    Start();
    for (int panel = 2; panel <= 5; ++panel)
        EXPECT_EQ(window->stb->Panel(panel)->width(), 96) << panel;
    EXPECT_GT(window->stb->Panel(1)->width(), 96);
    EXPECT_EQ(window->stb->PanelText(1), QStringLiteral("当前行: 0 列: 0 总行数: 1"));
    EXPECT_EQ(window->stb->PanelText(2), QString());

    clsScintilla &sci = *window->ActiveDocument()->sciMain;
    sci.SendEditor(QsciScintillaBase::SCI_ADDTEXT, 12, QStringLiteral("ab\ncd\nefgh\n"));
    sci.SendEditor(QsciScintillaBase::SCI_GOTOPOS, 10); // third line, fifth character
    QApplication::processEvents();
    EXPECT_EQ(window->stb->PanelText(1), QStringLiteral("当前行: 2 列: 4 总行数: 4"));
    EXPECT_EQ(window->stb->PanelText(2), QStringLiteral("已编辑"));

    sci.SendEditor(QsciScintillaBase::SCI_UNDO);
    QApplication::processEvents();
    EXPECT_EQ(window->stb->PanelText(2), QString());
}

TEST_F(MainWindowTest, DocumentNumbersAreNeverReused)
{
    Start();
    frmDoc *second = window->OpenDocument(QStringLiteral("New Document"));
    EXPECT_EQ(second->windowTitle(), QStringLiteral("New Document 2"));
    EXPECT_EQ(window->ActiveDocument(), second);
    second->parentWidget()->close();
    QApplication::processEvents();
    EXPECT_EQ(window->Documents().size(), 1);
    EXPECT_EQ(window->OpenDocument(QStringLiteral("New Document"))->windowTitle(), QStringLiteral("New Document 3"));
}

// A document reports to the main window (activation, status bar) while it
// goes; destroying a visible main window must not leave that to its half
// destroyed remains.
TEST_F(MainWindowTest, DocumentsGoWhileTheMainWindowIsStillWhole)
{
    Start();
    window->OpenDocument(QStringLiteral("New Document"));
    QObject *main = window.get();
    QList<bool> whole;
    for (frmDoc *doc : window->Documents())
        QObject::connect(doc, &QObject::destroyed, [&whole, main] { whole.append(qobject_cast<frmMain *>(main)); });
    window.reset();
    EXPECT_EQ(whole, QList<bool>({true, true}));
}

TEST_F(MainWindowTest, ClosingStoresStateAndPlacementInTwips)
{
    Start();
    window->move(30, 40);
    window->resize(500, 400);
    QApplication::processEvents();
    const QRect frame = window->frameGeometry();
    window->close();
    EXPECT_EQ(Stored("MDIWState"), "0");
    EXPECT_EQ(Stored("MDILeft"), QString::number(frame.left() * 15));
    EXPECT_EQ(Stored("MDITop"), QString::number(frame.top() * 15));
    EXPECT_EQ(Stored("MDIWidth"), QString::number(frame.width() * 15));
    EXPECT_EQ(Stored("MDIHeight"), QString::number(frame.height() * 15));
    EXPECT_TRUE(window->Documents().isEmpty());

    Start();
    EXPECT_EQ(window->frameGeometry(), frame);
}

// A frame is read from the outer and inner rectangles; a reading with an
// outer rectangle smaller than the inner one (the window manager still
// reparenting) is no frame yet. Taken as a frame, it made the next start
// put a 600×400 window on the screen at twice that size.
TEST(WindowPlacementFrame, AnOuterRectangleSmallerThanTheInnerIsNoFrameYet)
{
    const QRect inner(100, 84, 600, 400);
    EXPECT_EQ(WindowPlacement::MarginsBetween(QRect(99, 60, 602, 425), inner), QMargins(1, 24, 1, 1));
    EXPECT_EQ(WindowPlacement::MarginsBetween(inner, inner), QMargins());
    EXPECT_EQ(WindowPlacement::MarginsBetween(QRect(99, 60, 602, 425), QRect(100, 84, 1244, 849)), QMargins());
    EXPECT_EQ(WindowPlacement::MarginsBetween(QRect(120, 60, 602, 425), inner), QMargins()) << "one edge negative";
}

TEST_F(MainWindowTest, ClosedMaximizedStoresTheRestoredPlacementAndReopensMaximized)
{
    Start();
    window->move(30, 40);
    QApplication::processEvents();
    const QRect normal = window->frameGeometry();
    window->showMaximized();
    QApplication::processEvents();
    window->close();
    EXPECT_EQ(Stored("MDIWState"), "2");
    EXPECT_EQ(Stored("MDILeft"), QString::number(normal.left() * 15));
    EXPECT_EQ(Stored("MDIWidth"), QString::number(normal.width() * 15));

    Store("MDIWidth", "9000"); // not applied while maximized
    Start();
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(690, 479));
}

TEST_F(MainWindowTest, ClosedMinimizedStoresTheNormalWindow)
{
    Start();
    window->move(50, 60);
    QApplication::processEvents();
    const QRect normal = window->frameGeometry();
    window->showMinimized();
    QApplication::processEvents();
    window->close();
    EXPECT_EQ(Stored("MDIWState"), "0");
    EXPECT_EQ(Stored("MDILeft"), QString::number(normal.left() * 15));
    EXPECT_EQ(Stored("MDITop"), QString::number(normal.top() * 15));
}

TEST_F(MainWindowTest, AValueEditedToHoldLettersIsSkipped)
{
    Store("MDIWState", "maximal");
    Store("MDILeft", "abc");
    Store("MDITop", "1500");
    Store("MDIWidth", "9000");
    Store("MDIHeight", "x9");
    Start();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->frameGeometry().top(), 100);
    EXPECT_EQ(window->frameGeometry().width(), 600);
    EXPECT_EQ(window->height(), 479);
    EXPECT_EQ(window->Documents().size(), 1); // start-up went on
}

TEST_F(MainWindowTest, AWindowStoredOffEveryScreenComesBack)
{
    Store("MDILeft", "150000"); // 10000 pixels to the right
    Store("MDITop", "-90000");
    Start();
    EXPECT_TRUE(Screen().intersects(window->frameGeometry()));
}

} // namespace
