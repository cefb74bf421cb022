#include "MainWindowFixture.h"
#include "shell/MainMenus.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

class FileMenuTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }

    static void Type(frmDoc *doc, const char *text)
    {
        doc->sciMain->SendEditor(Sci::SCI_ADDTEXT, long(qstrlen(text)), QString::fromUtf8(text));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(Editor().Editor(), Qt::Key(key), modifiers);
        QApplication::processEvents(); // closed windows go
    }
    qsizetype Open() const { return window->Documents().size(); }
};

TEST_F(FileMenuTest, CloseGoesThroughTheClosePromptFromItsItemAndBothKeys)
{
    Actions().mnuNew->trigger();
    Actions().mnuNew->trigger();
    ASSERT_EQ(Open(), 3);
    Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(Open(), 2);
    Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(Open(), 1);

    Type(Active(), "unsaved");
    const QString title = Active()->windowTitle();
    Actions().mnuClose->trigger(); // the script answers Cancel
    EXPECT_EQ(Open(), 1);
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("文件 [") + title + QStringLiteral("]\r\n已经发生修改.  请问是否保存?"));
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    boxes.Answer(QMessageBox::No);
    Actions().mnuClose->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Open(), 0);
}

TEST_F(FileMenuTest, CloseAllStopsAtACancelAndOtherwiseClosesEverything)
{
    frmDoc *first = Active();
    Type(window->OpenDocument(QStringLiteral("New Document")), "second");
    window->OpenDocument(QStringLiteral("New Document"));
    Actions().mnuCloseAll->trigger(); // the first goes, the second's prompt is cancelled
    QApplication::processEvents();
    EXPECT_EQ(Open(), 2);
    EXPECT_FALSE(window->Documents().contains(first));
    EXPECT_EQ(boxes.shown.size(), 1);

    boxes.Answer(QMessageBox::No);
    Actions().mnuCloseAll->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Open(), 0);
}

// Only what was changed is written: a file changed on disk behind an
// unmodified document keeps what the disk has.
TEST_F(FileMenuTest, SaveAllWritesEveryModifiedDocumentAndAsksOnlyForNewOnes)
{
    frmDoc *fresh = Active();
    Type(fresh, "new text");
    frmDoc *edited = window->OpenDocument(Write(QStringLiteral("edited.txt"), "old"));
    Type(edited, "more ");
    frmDoc *untouched = window->OpenDocument(Write(QStringLiteral("untouched.txt"), "as loaded"));
    Write(QStringLiteral("untouched.txt"), "changed elsewhere");
    const QString freshPath = Path(QStringLiteral("fresh.txt"));
    dialogs.Answer(freshPath);

    Actions().mnuSaveAll->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].save);
    EXPECT_EQ(Read(freshPath), QByteArray("new text"));
    EXPECT_EQ(fresh->strFile, freshPath);
    EXPECT_EQ(Read(Path(QStringLiteral("edited.txt"))), QByteArray("more old"));
    EXPECT_EQ(Read(Path(QStringLiteral("untouched.txt"))), QByteArray("changed elsewhere"));
    EXPECT_FALSE(fresh->sciMain->Modified());
    EXPECT_FALSE(edited->sciMain->Modified());
    EXPECT_EQ(Active(), untouched); // the document that was active stays so
    EXPECT_TRUE(Actions().mnuSaveAll->shortcut().isEmpty());
}

TEST_F(FileMenuTest, SaveAsAnswersBothKeysAndExitAnswersCtrlQ)
{
    Type(Active(), "x");
    Key(Qt::Key_F12, Qt::ControlModifier);
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].request.title, QStringLiteral("另存为"));

    boxes.Answer(QMessageBox::No);
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(boxes.shown.size(), 1); // asked about the unsaved text first
}

// The keys the program always had keep their commands, and no key is
// given to two commands.
TEST_F(FileMenuTest, NoKeyBelongsToTwoCommands)
{
    Actions().mnuNew->trigger(); // each document window brings actions of its own
    QHash<QString, QString> owner;
    for (QAction *action : window->findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts()) {
            const QString name = action->objectName();
            EXPECT_FALSE(owner.contains(key.toString()))
                << (key.toString() + u' ' + owner.value(key.toString()) + u' ' + name).toStdString();
            owner.insert(key.toString(), name);
        }
    }
    const std::pair<const char *, const char *> designKeys[] = {
        {"Ctrl+N", "mnuNew"},    {"Ctrl+O", "mnuOpen"},     {"Ctrl+S", "mnuSave"},  {"Ctrl+F12", "mnuSaveAs"},
        {"Ctrl+P", "mnuPrint"},  {"Ctrl+Z", "mnuUndo"},     {"Ctrl+Y", "mnuRedo"},  {"Ctrl+X", "mnuCut"},
        {"Ctrl+C", "mnuCopy"},   {"Ctrl+V", "mnuPaste"},    {"Ctrl+F", "mnuFind"},  {"Ctrl+H", "mnuReplace"},
        {"F3", "mnuFindNext"},   {"Ctrl+F3", "mnuFindPrevious"}, {"Ctrl+G", "mnuGoto"}};
    for (const auto &[key, name] : designKeys)
        EXPECT_EQ(owner.value(QString::fromLatin1(key)), QString::fromLatin1(name));
    for (const char *key : {"Ctrl+W", "Ctrl+F4", "Ctrl+Shift+S", "Ctrl+Q"})
        EXPECT_TRUE(owner.contains(QString::fromLatin1(key))) << key;
}

} // namespace
