#pragma once

#include <QString>
#include <QtGlobal>
#include <chrono>
#include <memory>

class QObject;

// Work that takes long runs in slices on the interface thread, and between
// slices the work calls Breathe: windows repaint and timers run, but input
// waits (it is dropped), except Esc and the indicator's stop button, which
// stop the work. After a while the progress indicator shows how far the
// work has come. An operation started while another runs joins it: the
// outer one shows the progress and owns the input.
class LongOperation
{
public:
    // How the operations behave; tests shorten or fix these.
    struct Timing
    {
        std::chrono::milliseconds showAfter{200};
        // Events are let through at most this often, so that breathing
        // between small slices costs next to nothing.
        std::chrono::milliseconds breatheEvery{15};
        // What a slice should last.
        std::chrono::milliseconds slice{20};
        // When set, every slice takes on this many bytes, whatever its pace.
        qint64 fixedSlice = 0;
    };
    static Timing &Tuning();

    explicit LongOperation(QString task);
    ~LongOperation();
    LongOperation(const LongOperation &) = delete;
    LongOperation &operator=(const LongOperation &) = delete;

    // Progress is done out of total, in any unit.
    void SetTotal(qint64 total);
    void SetDone(qint64 done);
    void Advance(qint64 by);

    // Between slices. False once the user asked to stop, and from then on.
    bool Breathe();
    // Shows the progress at once, before a step known to take long.
    void ShowNow();
    // The work goes on as another task (putting back what a stopped
    // replacement changed), its progress counted anew.
    void Retitle(const QString &task);
    bool Stopped() const;
    // From now on stop requests are ignored: the work that follows (putting
    // back what a stopped replacement changed) must run to its end.
    void FinishUnstoppable();

    // Paces the slices of one kind of work: each call answers how many
    // bytes the next slice should take on to last about a slice's time,
    // judged from how long the previous one took.
    class Pace
    {
    public:
        qint64 Next();

    private:
        std::chrono::steady_clock::time_point m_started;
        qint64 m_last = 0;
    };

    // The operation running now (the outermost), or nullptr.
    static LongOperation *Running();

private:
    class InputGate;
    void ShowProgress();
    void RequestStop();

    LongOperation *m_outer = nullptr;
    QString m_task;
    qint64 m_total = 0;
    qint64 m_done = 0;
    int m_percent = -1;
    bool m_stopped = false;
    bool m_unstoppable = false;
    bool m_shown = false;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastEvents;
    std::unique_ptr<InputGate> m_gate;
};
