#pragma once

#include <QToolBar>

class MainActions;

// The toolbar: New, Open, Save, Print | Cut, Copy, Paste | Bold, Italic,
// Underline | Align left, centre, right; the same actions as the menus.
class MainToolbar : public QToolBar
{
    Q_OBJECT

public:
    MainToolbar(MainActions *actions, QWidget *parent = nullptr);

protected:
    // A new palette (a dark desktop theme) draws the images again in its ink.
    void changeEvent(QEvent *event) override;
};
