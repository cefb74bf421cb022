#include "LongOperation.h"

#include "ProgressIndicator.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <algorithm>

using Clock = std::chrono::steady_clock;

namespace {

LongOperation *g_running = nullptr;

bool IsInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

} // namespace

// Holds back the user's input while the work runs: what was typed or
// clicked meanwhile could change the document under it, or close it. Esc
// stops the work; the indicator's controls keep their input.
class LongOperation::InputGate : public QObject
{
public:
    explicit InputGate(LongOperation &operation) : m_operation(operation)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *target, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Close) { // windows stay while the work runs
            event->ignore();
            return true;
        }
        if (type == QEvent::Shortcut) // menu commands wait too
            return true;
        if (type == QEvent::ShortcutOverride) {
            event->accept(); // taken here, so no shortcut fires; the key press that follows is held back
            return true;
        }
        // Input reaches a window first and then the widget it is for: the
        // widget decides.
        if (!IsInput(type) || !target->isWidgetType())
            return false;
        const ProgressIndicator *indicator = ProgressIndicator::Current();
        if (indicator && indicator->TakesInput(target))
            return false;
        if (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_operation.RequestStop();
        return true;
    }

private:
    LongOperation &m_operation;
};

LongOperation::Timing &LongOperation::Tuning()
{
    static Timing timing;
    return timing;
}

LongOperation::LongOperation(QString task)
    : m_task(std::move(task)), m_started(Clock::now()), m_lastEvents(m_started)
{
    if (g_running) {
        m_outer = g_running;
        return;
    }
    g_running = this;
    if (QCoreApplication::instance())
        m_gate = std::make_unique<InputGate>(*this);
}

LongOperation::~LongOperation()
{
    if (m_outer)
        return;
    m_gate.reset();
    if (m_shown)
        if (ProgressIndicator *indicator = ProgressIndicator::Current())
            indicator->Hide();
    g_running = nullptr;
}

LongOperation *LongOperation::Running()
{
    return g_running;
}

// A joined operation's progress is its outer one's, set by whoever runs that.
void LongOperation::SetTotal(qint64 total)
{
    if (!m_outer)
        m_total = total;
}

void LongOperation::SetDone(qint64 done)
{
    if (!m_outer)
        m_done = done;
}

void LongOperation::Advance(qint64 by)
{
    if (m_outer)
        m_outer->Advance(by);
    else
        m_done += by;
}

bool LongOperation::Breathe()
{
    if (m_outer)
        return m_outer->Breathe();
    const Clock::time_point now = Clock::now();
    if (now - m_lastEvents < Tuning().breatheEvery)
        return !Stopped();
    if (!m_shown && now - m_started >= Tuning().showAfter)
        ShowProgress();
    if (m_shown && m_total > 0) {
        const int percent = int(std::clamp<qint64>(m_done * 100 / m_total, 0, 100));
        if (percent != m_percent)
            if (ProgressIndicator *indicator = ProgressIndicator::Current())
                indicator->SetPercent(percent);
        m_percent = percent;
    }
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    m_lastEvents = Clock::now();
    return !Stopped();
}

void LongOperation::ShowNow()
{
    if (m_outer) {
        m_outer->ShowNow();
        return;
    }
    if (!m_shown)
        ShowProgress();
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void LongOperation::Retitle(const QString &task)
{
    if (m_outer) {
        m_outer->Retitle(task);
        return;
    }
    m_task = task;
    m_percent = -1;
    if (m_shown)
        ShowProgress();
}

bool LongOperation::Stopped() const
{
    if (m_outer)
        return m_outer->Stopped();
    return m_stopped && !m_unstoppable;
}

void LongOperation::FinishUnstoppable()
{
    if (m_outer)
        m_outer->FinishUnstoppable();
    else
        m_unstoppable = true;
}

void LongOperation::RequestStop()
{
    m_stopped = true;
}

// Work that cannot be stopped offers no way to stop it.
void LongOperation::ShowProgress()
{
    m_shown = true;
    if (ProgressIndicator *indicator = ProgressIndicator::Current())
        indicator->Show(m_task, m_unstoppable ? std::function<void()>() : [this] { RequestStop(); });
}

qint64 LongOperation::Pace::Next()
{
    const Timing &timing = Tuning();
    if (timing.fixedSlice > 0)
        return timing.fixedSlice;
    constexpr qint64 Least = 64 * 1024;
    constexpr qint64 Most = qint64(1) << 30;
    const Clock::time_point now = Clock::now();
    qint64 next = 1 << 20; // the first slice: a guess
    if (m_last > 0) {
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(now - m_started).count();
        const qint64 wanted = std::chrono::duration_cast<std::chrono::microseconds>(timing.slice).count();
        // Never more than four times the last slice: one quick slice says
        // little about the next.
        next = took > 0 ? std::min(m_last * wanted / took, m_last * 4) : m_last * 4;
    }
    m_last = std::clamp(next, Least, Most);
    m_started = now;
    return m_last;
}
