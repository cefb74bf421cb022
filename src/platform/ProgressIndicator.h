#pragma once

#include <QString>
#include <functional>

class QObject;

// Where a long piece of work shows how far it has come and where the user
// stops it. The shell puts one in the main window's status bar; engine code
// reaches it only through LongOperation, so it never knows about widgets.
class ProgressIndicator
{
public:
    virtual ~ProgressIndicator() = default;

    // Visible from now on, naming the task; `stop` is called when the user
    // asks the work to stop (empty: the work cannot be stopped).
    virtual void Show(const QString &task, std::function<void()> stop) = 0;
    virtual void SetPercent(int percent) = 0;
    virtual void Hide() = 0;
    // The indicator's own controls keep their input while every other
    // window waits for the work to end.
    virtual bool TakesInput(const QObject *target) const = 0;

    // The indicator in use; nullptr while none is installed (a program
    // without a main window, the benchmarks).
    static ProgressIndicator *Current();
    // Installs one (not owned); nullptr removes it.
    static void Install(ProgressIndicator *indicator);
};
