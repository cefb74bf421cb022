#include "StatusBarPanels.h"

#include <QLabel>

StatusBarPanels::StatusBarPanels(QWidget *parent)
    : QStatusBar(parent)
{
    for (int i = 0; i < PanelCount; ++i) {
        auto *label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 0) {
            addWidget(label, 1);
        } else {
            label->setFixedWidth(FixedPanelWidth);
            addWidget(label, 0);
        }
        m_panels[i] = label;
    }
    // A message hides the panels, but Qt hides only what is on screen: one
    // shown before the window (at start) would be drawn over them.
    connect(this, &QStatusBar::messageChanged, this, [this](const QString &message) {
        for (QLabel *label : m_panels)
            label->setVisible(message.isEmpty());
    });
}

QLabel *StatusBarPanels::Panel(int panel) const
{
    return (panel >= 1 && panel <= PanelCount) ? m_panels[panel - 1] : nullptr;
}

void StatusBarPanels::SetPanelText(int panel, const QString &text)
{
    if (QLabel *label = Panel(panel))
        label->setText(text);
}

QString StatusBarPanels::PanelText(int panel) const
{
    const QLabel *label = Panel(panel);
    return label ? label->text() : QString();
}
