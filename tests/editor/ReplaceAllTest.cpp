// Replace-all in slices with an undo step of the wrapper's own: stopping it
// leaves everything as it was, undo and redo take it back and make it again
// between the component's other steps.
#include "RecordingProgress.h"
#include "TestEditorHost.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

using Sci = QsciScintillaBase;

namespace {

QByteArray ManyLines(int lines)
{
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += (i % 3 == 0) ? "int Total = 中文 + total;\n" : (i % 3 == 1) ? "TOTAL 42\n" : "no match 7\n";
    return text;
}

class ReplaceAllTest : public ::testing::Test
{
protected:
    clsScintilla &sci() { return host.sci(); }
    long Send(int msg, long w = 0, long l = 0) { return sci().SendEditor(msg, w, l); }

    // A document with a history of its own: the text, one edit, saved.
    void Start(const QByteArray &text)
    {
        host.SetTextRaw(text);
        sci().ClearUndoBuffer();
        sci().SetSel(0, 0);
        sci().ReplaceSel(QStringLiteral("// "));
        sci().SetSavePoint();
    }

    qint64 ReplaceAll(const char *find, const char *with, bool caseSensitive = false, bool regExp = false)
    {
        return sci().ReplaceAll(QString::fromUtf8(find), QString::fromUtf8(with), VbBool(caseSensitive), vbFalse,
                                vbFalse, VbBool(regExp));
    }

    TestEditorHost host;
};

// Stopped half way (the 取消 of the progress piece), the document, its
// history, its saved state, the selection and the view are as before.
TEST_F(ReplaceAllTest, AStoppedReplaceAllLeavesEverythingAsItWas)
{
    Start(ManyLines(40000));
    const QByteArray before = sci().GetText();
    sci().SetSel(1000, 1010);
    Send(Sci::SCI_SETFIRSTVISIBLELINE, 500);
    RecordingProgress progress;
    progress.stopAt = 70;
    bool changedMeanwhile = false;
    progress.onPercent = [&](int) { changedMeanwhile = changedMeanwhile || sci().GetText() != before; };
    QuickSlices slices(2000);
    QSignalSpy modified(&sci(), &clsScintilla::OnModified);

    EXPECT_EQ(ReplaceAll("total", "sum_of_all"), 0);
    EXPECT_TRUE(sci().WasStopped());
    ASSERT_FALSE(progress.percents.empty());
    EXPECT_TRUE(changedMeanwhile); // it had replaced stretches already, and took them back
    EXPECT_EQ(progress.tasks, QStringList({QStringLiteral("正在全部替换"), QStringLiteral("正在撤消替换")}));
    EXPECT_GE(*std::max_element(progress.percents.begin(), progress.percents.end()), 70);
    EXPECT_EQ(sci().GetText(), before);
    EXPECT_FALSE(sci().Modified());
    EXPECT_EQ(modified.count(), 0);
    EXPECT_EQ(std::pair(sci().GetSelStart(), sci().GetSelEnd()), std::pair(1000L, 1010L));
    EXPECT_EQ(Send(Sci::SCI_GETFIRSTVISIBLELINE), 500);
    EXPECT_FALSE(progress.visible);
    sci().Undo(); // the edit before it is the step on top
    EXPECT_EQ(sci().GetText(), ManyLines(40000));
    EXPECT_FALSE(Send(Sci::SCI_CANUNDO));

    progress.stopAt = -1; // not stopped, it goes through
    sci().Redo();
    EXPECT_EQ(ReplaceAll("total", "sum_of_all"), before.toLower().count("total"));
    EXPECT_FALSE(sci().WasStopped());
    EXPECT_EQ(sci().GetText(), QByteArray(before).replace("TOTAL", "sum_of_all").replace("Total", "sum_of_all")
                                   .replace("total", "sum_of_all"));
}

TEST_F(ReplaceAllTest, EscStopsIt)
{
    Start(ManyLines(3000));
    const QByteArray before = sci().GetText();
    RecordingProgress progress;
    QuickSlices slices(2000);
    bool pressed = false;
    progress.onPercent = [&](int percent) {
        if (percent >= 30 && !pressed) {
            pressed = true;
            QCoreApplication::postEvent(sci().Editor(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
    };
    EXPECT_EQ(ReplaceAll("TOTAL", "x", true), 0);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(sci().WasStopped());
    EXPECT_EQ(sci().GetText(), before);
    EXPECT_FALSE(sci().Modified());
}

// The replace-all is one step between the user's own edits: undo takes it
// back (the matches' own cases and lengths come back), redo makes it again,
// and the saved state follows.
TEST_F(ReplaceAllTest, UndoAndRedoTakeItBackAndMakeItAgainAmongOtherSteps)
{
    Start(ManyLines(300));
    const QByteArray saved = sci().GetText();
    QSignalSpy left(&sci(), &clsScintilla::SavePointLeft);
    QSignalSpy reached(&sci(), &clsScintilla::SavePointReached);

    for (const bool regExp : {false, true}) {
        SCOPED_TRACE(regExp);
        const char *find = regExp ? "[0-9]+" : "total"; // matches of several lengths, or of several cases
        const qint64 count = ReplaceAll(find, "#", false, regExp);
        ASSERT_GT(count, 0);
        EXPECT_TRUE(sci().Modified());
        EXPECT_EQ(left.count(), 1);
        const QByteArray replaced = sci().GetText();
        sci().SetSel(0, 0);
        sci().ReplaceSel(QStringLiteral("after "));
        const QByteArray edited = sci().GetText();

        sci().Undo();
        EXPECT_EQ(sci().GetText(), replaced);
        sci().Undo();
        EXPECT_EQ(sci().GetText(), saved);
        EXPECT_FALSE(sci().Modified());
        EXPECT_EQ(reached.count(), 1);
        sci().Undo(); // the step before
        EXPECT_EQ(sci().GetText(), ManyLines(300));
        sci().Redo();
        sci().Redo();
        EXPECT_EQ(sci().GetText(), replaced);
        sci().Redo();
        EXPECT_EQ(sci().GetText(), edited);

        while (Send(Sci::SCI_CANUNDO) && sci().GetText() != saved)
            sci().Undo();
        ASSERT_EQ(sci().GetText(), saved);
        left.clear();
        reached.clear();
    }
}

// The component can undo by itself (its own keys, its context menu): the
// replace-all is then taken back right after, and meanwhile nothing else
// changes the document.
TEST_F(ReplaceAllTest, AnUndoThatBypassesTheWrapperIsSettledRightAfter)
{
    Start(ManyLines(300));
    const QByteArray saved = sci().GetText();
    ASSERT_GT(ReplaceAll("total", "sum"), 0);
    const QByteArray replaced = sci().GetText();

    sci().Editor()->SendScintilla(Sci::SCI_UNDO);
    EXPECT_EQ(sci().GetText(), replaced); // not yet
    sci().Editor()->SendScintilla(Sci::SCI_INSERTTEXT, 0UL, "typed ");
    EXPECT_EQ(sci().GetText(), replaced); // refused meanwhile
    QCoreApplication::processEvents();
    EXPECT_EQ(sci().GetText(), saved);
    EXPECT_FALSE(sci().GetReadOnly());
    sci().Editor()->SendScintilla(Sci::SCI_REDO);
    QCoreApplication::processEvents();
    EXPECT_EQ(sci().GetText(), replaced);
}

// A change after an undone replace-all cuts that one off, and only that one:
// the replace-all before it still comes back.
TEST_F(ReplaceAllTest, AChangeAfterUndoingOneCutsOffThatOneOnly)
{
    Start(ManyLines(30));
    const QByteArray saved = sci().GetText();
    ASSERT_GT(ReplaceAll("total", "sum"), 0);
    const QByteArray first = sci().GetText();
    ASSERT_GT(ReplaceAll("sum", "s"), 0);
    sci().Undo();
    sci().SetSel(0, 0);
    sci().ReplaceSel(QStringLiteral("x"));
    EXPECT_FALSE(Send(Sci::SCI_CANREDO));
    sci().Redo();
    EXPECT_EQ(sci().GetText(), "x" + first);
    sci().Undo();
    EXPECT_EQ(sci().GetText(), first);
    sci().Undo();
    EXPECT_EQ(sci().GetText(), saved);
    sci().Redo();
    EXPECT_EQ(sci().GetText(), first);
}

// Slices of every size give the bytes sed would give.
TEST_F(ReplaceAllTest, SlicesOfAnySizeGiveTheSameText)
{
    const QByteArray original = ManyLines(2000);
    QByteArray expected = original;
    expected.replace("total", "sum_of_all");
    for (const qint64 slice : {1, 7, 100, 5000, 0}) {
        SCOPED_TRACE(slice);
        host.SetTextRaw(original);
        sci().ClearUndoBuffer();
        QuickSlices slices(slice);
        EXPECT_EQ(ReplaceAll("total", "sum_of_all", true), original.count("total"));
        EXPECT_EQ(sci().GetText(), expected);
    }
}

} // namespace
