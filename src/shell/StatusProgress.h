#pragma once

#include "platform/ProgressIndicator.h"

#include <QWidget>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The status bar's progress piece for long work (a search or replace-all
// over a large document, and whatever else runs a LongOperation): what is
// being done, how far it is as a percentage, and a 取消 button that stops
// it. Hidden while nothing long runs. It installs itself as the program's
// progress indicator for as long as it lives.
class StatusProgress : public QWidget, public ProgressIndicator
{
    Q_OBJECT

public:
    explicit StatusProgress(QStatusBar *bar);
    ~StatusProgress() override;

    void Show(const QString &task, std::function<void()> stop) override;
    void SetPercent(int percent) override;
    void Hide() override;
    bool TakesInput(const QObject *target) const override;

    QLabel *lblTask = nullptr;
    QProgressBar *barDone = nullptr;
    QPushButton *cmdStop = nullptr;

private:
    std::function<void()> m_stop;
};
