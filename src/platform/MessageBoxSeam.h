#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Every message box of the program goes through here, so that tests can
// answer them without a person at the screen.
class MessageBoxSeam
{
public:
    virtual ~MessageBoxSeam() = default;

    virtual QMessageBox::StandardButton Show(QWidget *owner, const QString &text, const QString &title,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton,
                                             QMessageBox::Icon icon) = 0;

    // The box in use: Qt's own unless a test installed another.
    static MessageBoxSeam &Current();
    // Installs a replacement (not owned); nullptr goes back to Qt's boxes.
    static void Install(MessageBoxSeam *replacement);
};

// The short form used everywhere: a box with the given buttons, the answer.
QMessageBox::StandardButton MsgBox(QWidget *owner, const QString &text, const QString &title,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                   QMessageBox::Icon icon = QMessageBox::NoIcon);
