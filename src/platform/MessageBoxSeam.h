#pragma once

#include "Seam.h"

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box of the program goes through here, so that tests can
// answer them without a person at the screen.
class MessageBoxSeam : public Seam<MessageBoxSeam>
{
public:
    // Qt's own message boxes.
    static MessageBoxSeam &System();

    virtual ~MessageBoxSeam() = default;

    virtual QMessageBox::StandardButton Show(QWidget *owner, const QString &text, const QString &title,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton,
                                             QMessageBox::Icon icon) = 0;
};

// The short form used everywhere: a box with the given buttons, the answer.
QMessageBox::StandardButton MsgBox(QWidget *owner, const QString &text, const QString &title,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                   QMessageBox::Icon icon = QMessageBox::NoIcon);
