#pragma once

#include <QObject>

class QWidget;

// Lets only digits and Backspace be typed into a box: every other typed
// character is discarded before it arrives, control keys such as Ctrl+V
// included. Keys that type nothing (arrows, Delete, Home) pass, and so do
// Enter, Esc and Tab, which the dialog acts on; text that arrives without
// typing (the context menu's paste) is not filtered.
class DigitKeyFilter : public QObject
{
    Q_OBJECT

public:
    // Filters the box's keys for as long as the box lives.
    static void Install(QWidget *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit DigitKeyFilter(QObject *parent) : QObject(parent) {}
};
