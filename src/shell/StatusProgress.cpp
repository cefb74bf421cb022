#include "StatusProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

StatusProgress::StatusProgress(QStatusBar *bar)
    : QWidget(bar)
{
    setObjectName(QStringLiteral("StatusProgress"));
    lblTask = new QLabel(this);
    barDone = new QProgressBar(this);
    cmdStop = new QPushButton(QStringLiteral("取消"), this);
    lblTask->setObjectName(QStringLiteral("lblTask"));
    barDone->setObjectName(QStringLiteral("barDone"));
    cmdStop->setObjectName(QStringLiteral("cmdStop"));
    barDone->setRange(0, 100);
    barDone->setFormat(QStringLiteral("%p%"));
    barDone->setFixedWidth(120);
    cmdStop->setFocusPolicy(Qt::NoFocus); // the keyboard stays in the document: Esc stops as well

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblTask);
    layout->addWidget(barDone);
    layout->addWidget(cmdStop);
    connect(cmdStop, &QPushButton::clicked, this, [this] {
        if (m_stop)
            m_stop();
    });

    bar->insertWidget(0, this);
    QWidget::hide();
    ProgressIndicator::Install(this);
}

StatusProgress::~StatusProgress()
{
    if (ProgressIndicator::Current() == this)
        ProgressIndicator::Install(nullptr);
}

void StatusProgress::Show(const QString &task, std::function<void()> stop)
{
    m_stop = std::move(stop);
    cmdStop->setEnabled(bool(m_stop));
    lblTask->setText(task + QStringLiteral("…"));
    barDone->setValue(0);
    QWidget::show();
}

void StatusProgress::SetPercent(int percent)
{
    barDone->setValue(percent);
}

void StatusProgress::Hide()
{
    m_stop = nullptr;
    QWidget::hide();
}

bool StatusProgress::TakesInput(const QObject *target) const
{
    return target == cmdStop;
}
