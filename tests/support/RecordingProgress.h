#pragma once

#include "platform/LongOperation.h"
#include "platform/ProgressIndicator.h"

#include <QStringList>
#include <functional>
#include <vector>

// Stands in for the status bar's progress piece while it lives: notes what
// it is shown, and stops the work when it reaches a given percentage, as a
// user clicking 取消 would.
class RecordingProgress : public ProgressIndicator
{
public:
    RecordingProgress() : m_previous(ProgressIndicator::Current()) { ProgressIndicator::Install(this); }
    ~RecordingProgress() override { ProgressIndicator::Install(m_previous); }

    void Show(const QString &task, std::function<void()> stop) override
    {
        tasks << task;
        m_stop = std::move(stop);
        visible = true;
    }
    void SetPercent(int percent) override
    {
        percents.push_back(percent);
        if (onPercent)
            onPercent(percent);
        if (stopAt >= 0 && percent >= stopAt && m_stop)
            m_stop();
    }
    void Hide() override
    {
        visible = false;
        ++hides;
    }
    bool TakesInput(const QObject *target) const override { return target && target == ownControl; }

    QStringList tasks;
    std::vector<int> percents;
    bool visible = false;
    int hides = 0;
    int stopAt = -1;                      // stop the work at this percentage
    std::function<void(int)> onPercent;   // runs at every percentage shown
    const QObject *ownControl = nullptr;  // input for it passes while the work runs

private:
    ProgressIndicator *m_previous;
    std::function<void()> m_stop;
};

// Long operations that show their progress at once, let events through at
// every slice and take slices of a fixed size, for as long as this lives.
class QuickSlices
{
public:
    explicit QuickSlices(qint64 slice) : m_saved(LongOperation::Tuning())
    {
        LongOperation::Timing &timing = LongOperation::Tuning();
        timing.showAfter = std::chrono::milliseconds(0);
        timing.breatheEvery = std::chrono::milliseconds(0);
        timing.fixedSlice = slice;
    }
    ~QuickSlices() { LongOperation::Tuning() = m_saved; }

private:
    LongOperation::Timing m_saved;
};
