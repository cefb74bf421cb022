#include "MainWindowFixture.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"
#include "dialogs/frmReplace.h"
#include "editor/clsScintilla.h"
#include "highlight/modHighlighter.h"
#include "shell/MainMenus.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SearchCommandsTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }

    // What the window manager does when a modal dialog goes: the main window
    // is active again, the keyboard with the widget it gave the focus to.
    void BackToTheMainWindow()
    {
        window->activateWindow();
        QApplication::processEvents();
    }
    std::pair<long, long> Sel() { return {Editor().GetSelStart(), Editor().GetSelEnd()}; }

    // Notes (and closes) any modal dialog that comes up from here on.
    static std::shared_ptr<QString> WatchForModal()
    {
        auto seen = std::make_shared<QString>();
        QTimer::singleShot(0, [seen] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                *seen = modal->objectName();
                modal->close();
            }
        });
        return seen;
    }
};

using Range = std::pair<long, long>;

TEST_F(SearchCommandsTest, FindThenRepeatForwardsAndBackwardsFromTheMenuKeys)
{
    Editor().SetText(QStringLiteral("one two one two one"));
    Editor().SetSel(0, 0);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<frmFind *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = dialog->objectName();
        dialog->cmbFind->setEditText(QStringLiteral("two"));
        dialog->cmdFind->click();
    });
    QTest::keyClick(Editor().Editor(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shown, QStringLiteral("frmFind"));
    EXPECT_EQ(Sel(), Range(4, 7));
    BackToTheMainWindow();
    EXPECT_TRUE(Editor().Editor()->hasFocus());

    QTest::keyClick(Editor().Editor(), Qt::Key_F3);
    EXPECT_EQ(Sel(), Range(12, 15));
    QTest::keyClick(Editor().Editor(), Qt::Key_F3); // wraps, as the dialog said
    EXPECT_EQ(Sel(), Range(4, 7));
    QTest::keyClick(Editor().Editor(), Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(Sel(), Range(12, 15));
    EXPECT_TRUE(Editor().Editor()->hasFocus());
    EXPECT_EQ(Editor().Text(), QByteArray("one two one two one"));
}

TEST_F(SearchCommandsTest, GotoFromTheMenuMovesTheCaret)
{
    Editor().SetText(QStringLiteral("a\nb\nccc\nd"));
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<frmGoto *>(QApplication::activeModalWidget())) {
            dialog->txtLine->setText(QStringLiteral("3"));
            dialog->txtColumn->setText(QStringLiteral("2"));
            dialog->cmdGo->click();
        }
    });
    QTest::keyClick(Editor().Editor(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Editor().GetCurLine(), 2);
    EXPECT_EQ(Editor().GetColumn(), 1);
    BackToTheMainWindow();
    EXPECT_TRUE(Editor().Editor()->hasFocus());
}

TEST_F(SearchCommandsTest, TheReplaceDialogStaysBesideTheDocumentsAndFollowsReplace)
{
    Editor().SetText(QStringLiteral("red red"));
    frmDoc *first = window->ActiveDocument();
    Actions().mnuReplace->trigger();
    frmReplace *dialog = frmReplace::Instance();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->parentWidget(), window.get());
    EXPECT_TRUE(Editor().Editor()->hasFocus()); // the keyboard stays in the document

    Actions().mnuNew->trigger();
    ASSERT_NE(window->ActiveDocument(), first);
    Editor().SetText(QStringLiteral("red blue"));
    dialog->cmbFind->setEditText(QStringLiteral("red"));
    dialog->cmbReplace->setEditText(QStringLiteral("green"));
    dialog->cmdReplaceAll->click(); // acts on the editor it was given, not the active one
    EXPECT_EQ(first->sciMain->Text(), QByteArray("green green"));
    EXPECT_EQ(Editor().Text(), QByteArray("red blue"));

    first->sciMain->SetSavePoint();
    first->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(window->Documents().size(), 1);
    dialog->cmbFind->setEditText(QStringLiteral("blue"));
    dialog->cmdReplaceAll->click(); // its editor is gone: nothing happens
    dialog->cmdReplace->click();
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(Editor().Text(), QByteArray("red blue"));

    Actions().mnuReplace->trigger();
    EXPECT_EQ(frmReplace::Instance(), dialog);
    dialog->cmdReplaceAll->click();
    EXPECT_EQ(Editor().Text(), QByteArray("red green"));
}

TEST_F(SearchCommandsTest, WithoutADocumentTheSearchCommandsDoNothing)
{
    window->ActiveDocument()->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window->Documents().isEmpty());
    for (QAction *item : {Actions().mnuFind, Actions().mnuGoto}) {
        const auto shown = WatchForModal();
        item->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(shown->isEmpty()) << item->text().toStdString();
    }
    Actions().mnuReplace->trigger();
    Actions().mnuFindNext->trigger();
    Actions().mnuFindPrevious->trigger();
    EXPECT_EQ(frmReplace::Instance(), nullptr);
}

} // namespace
