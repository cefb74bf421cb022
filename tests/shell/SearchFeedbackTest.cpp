#include "MainWindowFixture.h"
#include "dialogs/frmFind.h"
#include "dialogs/frmGoto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SearchFeedbackTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        Editor().SetText(QStringLiteral("第一行 alpha\nbeta\n"));
        Editor().SetSel(0, 0);
    }
    QString Message() const { return window->statusBar()->currentMessage(); }

    // Answers the next modal find dialog with this text.
    void Find(const QString &text)
    {
        QTimer::singleShot(0, [text] {
            if (auto *dialog = qobject_cast<frmFind *>(QApplication::activeModalWidget())) {
                dialog->cmbFind->setEditText(text);
                dialog->chkWrap->setChecked(false);
                dialog->cmdFind->click();
            }
        });
        Actions().mnuFind->trigger();
    }
    // Answers the next go-to dialog by typing into its line box as the user
    // does (an input method's text arrives as one commit, like a paste).
    void Goto(const QString &line)
    {
        QTimer::singleShot(0, [line] {
            if (auto *dialog = qobject_cast<frmGoto *>(QApplication::activeModalWidget())) {
                dialog->txtLine->insert(line);
                dialog->cmdGo->click();
            }
        });
        Actions().mnuGoto->trigger();
    }
};

TEST_F(SearchFeedbackTest, FindAndItsRepeatsSayWhenNothingWasFound)
{
    Find(QStringLiteral("gamma"));
    EXPECT_EQ(Message(), QStringLiteral("找不到“gamma”"));

    Find(QStringLiteral("beta"));
    EXPECT_EQ(Message(), QString()); // found: the old message goes
    Actions().mnuFindNext->trigger(); // no second one, no wrapping
    EXPECT_EQ(Message(), QStringLiteral("找不到“beta”"));
    Editor().SetSel(Editor().GetLen(), Editor().GetLen());
    Actions().mnuFindPrevious->trigger();
    EXPECT_EQ(Message(), QString());
    Actions().mnuFindPrevious->trigger();
    EXPECT_EQ(Message(), QStringLiteral("找不到“beta”"));

    // Cancelled: nothing was searched, nothing is said.
    window->statusBar()->clearMessage();
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    Actions().mnuFind->trigger();
    EXPECT_EQ(Message(), QString());
}

TEST_F(SearchFeedbackTest, FindNextBeforeAnySearchSaysThereIsNothingToFind)
{
    Actions().mnuFindNext->trigger();
    EXPECT_EQ(Message(), QStringLiteral("还没有要查找的内容，请先用“查找”。"));
}

TEST_F(SearchFeedbackTest, GotoSaysWhenTheLineIsNotThereAndTakesDigitsHoweverTheyCome)
{
    Goto(QStringLiteral("9"));
    EXPECT_EQ(Message(), QStringLiteral("找不到第 9 行（文档共 3 行）"));

    Goto(QStringLiteral("２")); // full-width, from an input method
    EXPECT_EQ(Editor().GetCurLine(), 1);
    EXPECT_EQ(Message(), QString());

    Goto(QStringLiteral(" 3 ")); // pasted with blanks around it
    EXPECT_EQ(Editor().GetCurLine(), 2);

    Goto(QStringLiteral("1x")); // refused whole: the box stays empty, which is line 1
    EXPECT_EQ(Editor().GetCurLine(), 0);
}

} // namespace
