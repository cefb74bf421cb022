#pragma once

#include <QString>
#include <QToolBar>

// The toolbar: New, Open, Save, Print | Cut, Copy, Paste | Bold, Italic,
// Underline | Align left, centre, right. Each button carries a key; a click
// reports the key and the main window decides what it means.
class MainToolbar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolbar(QWidget *parent = nullptr);

    QAction *Button(const QString &key) const;

signals:
    void ButtonClicked(const QString &key);
};
