#include "RecordingProgress.h"
#include "platform/LongOperation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

class LongOperationTest : public ::testing::Test
{
protected:
    void SetUp() override { LongOperation::Tuning().breatheEvery = 0ms; }
    void TearDown() override { LongOperation::Tuning() = LongOperation::Timing{}; }

    RecordingProgress progress;
};

TEST_F(LongOperationTest, ProgressShowsOnlyOnceTheWorkHasTakenAWhile)
{
    LongOperation::Tuning().showAfter = 1h;
    {
        LongOperation operation(QStringLiteral("正在查找"));
        operation.SetTotal(10);
        for (int i = 0; i < 10; ++i) {
            operation.SetDone(i);
            EXPECT_TRUE(operation.Breathe());
        }
    }
    EXPECT_TRUE(progress.tasks.isEmpty()); // quick work shows nothing
    EXPECT_EQ(progress.hides, 0);

    LongOperation::Tuning().showAfter = 0ms;
    {
        LongOperation operation(QStringLiteral("正在查找"));
        operation.SetTotal(200);
        operation.SetDone(50);
        operation.Breathe();
        EXPECT_TRUE(progress.visible);
        operation.Advance(50);
        operation.Breathe();
        operation.Breathe(); // the same percentage is not shown twice
    }
    EXPECT_EQ(progress.tasks, QStringList{QStringLiteral("正在查找")});
    EXPECT_EQ(progress.percents, (std::vector<int>{25, 50}));
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.hides, 1);
}

TEST_F(LongOperationTest, TimersAndPaintingRunBetweenSlices)
{
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    LongOperation operation(QStringLiteral("x"));
    operation.Breathe();
    EXPECT_TRUE(fired);
}

// What is typed or clicked while the work runs is dropped, except Esc,
// which stops the work, and the indicator's own control.
TEST_F(LongOperationTest, InputWaitsExceptEscAndTheStopButton)
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *button = new QPushButton(QStringLiteral("取消"), &window);
    bool clicked = false;
    QObject::connect(button, &QPushButton::clicked, [&] { clicked = true; });
    progress.ownControl = button;
    window.show();

    LongOperation operation(QStringLiteral("x"));
    QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    EXPECT_TRUE(operation.Breathe());
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(clicked);
    QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(operation.Breathe());
    EXPECT_TRUE(operation.Stopped());
    EXPECT_FALSE(operation.Breathe()); // and it stays stopped
}

TEST_F(LongOperationTest, WindowsStayOpenWhileItRuns)
{
    QWidget window;
    window.show();
    {
        LongOperation operation(QStringLiteral("x"));
        QTimer::singleShot(0, &window, &QWidget::close);
        operation.Breathe();
        EXPECT_TRUE(window.isVisible());
    }
    window.close(); // afterwards as ever
    EXPECT_FALSE(window.isVisible());
}

// Work started inside other work joins it: one indicator, one stop.
TEST_F(LongOperationTest, AnOperationInsideAnotherJoinsIt)
{
    LongOperation::Tuning().showAfter = 0ms;
    QWidget window;
    window.show();
    LongOperation outer(QStringLiteral("outer"));
    {
        LongOperation inner(QStringLiteral("inner"));
        EXPECT_EQ(LongOperation::Running(), &outer);
        QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        EXPECT_FALSE(inner.Breathe());
    }
    EXPECT_TRUE(outer.Stopped());
    EXPECT_EQ(progress.tasks, QStringList{QStringLiteral("outer")});
    EXPECT_EQ(progress.hides, 0); // the inner one's end did not hide the outer's progress
}

// Putting back what a stopped replacement changed must run to its end.
TEST_F(LongOperationTest, WorkThatMustFinishIgnoresTheStop)
{
    QWidget window;
    window.show();
    LongOperation operation(QStringLiteral("x"));
    QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(operation.Breathe());
    operation.FinishUnstoppable();
    EXPECT_TRUE(operation.Breathe());
    EXPECT_FALSE(operation.Stopped());
}

// Slices grow while they are quick (at most fourfold at a time), shrink
// when one took longer than a slice should, and never get tiny.
TEST_F(LongOperationTest, SlicesFollowThePaceOfTheWork)
{
    LongOperation::Pace pace;
    qint64 last = pace.Next();
    for (int i = 0; i < 5; ++i) {
        std::this_thread::sleep_for(1ms); // a quick slice, but one that took measurable time
        const qint64 next = pace.Next();
        EXPECT_LE(next, last * 4);
        EXPECT_GE(next, last);
        last = next;
    }
    std::this_thread::sleep_for(LongOperation::Tuning().slice * 3 / 2);
    const qint64 slower = pace.Next();
    EXPECT_LT(slower, last);
    EXPECT_GE(slower, 64 * 1024);

    LongOperation::Tuning().fixedSlice = 5;
    EXPECT_EQ(pace.Next(), 5);
}

} // namespace
