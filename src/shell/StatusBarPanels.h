#pragma once

#include <QStatusBar>

class QLabel;

// The main window's status bar: five text panels. Panel 1 takes the width
// the others leave; panels 2 to 5 are 1440 twips (96 pixels) each.
class StatusBarPanels : public QStatusBar
{
    Q_OBJECT

public:
    static constexpr int PanelCount = 5;
    static constexpr int FixedPanelWidth = 96;

    explicit StatusBarPanels(QWidget *parent = nullptr);

    // Panels are numbered from 1.
    void SetPanelText(int panel, const QString &text);
    QString PanelText(int panel) const;
    QLabel *Panel(int panel) const;

private:
    QLabel *m_panels[PanelCount] = {};
};
