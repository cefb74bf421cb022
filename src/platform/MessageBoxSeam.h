#pragma once

#include "Seam.h"

#include <QList>
#include <QMessageBox>
#include <QString>

class QWidget;

// A button that says what it does; the answer is still the standard button
// it stands for.
struct ButtonCaption
{
    QMessageBox::StandardButton button;
    QString caption;
};
using ButtonCaptions = QList<ButtonCaption>;

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
                                             QMessageBox::Icon icon, const ButtonCaptions &captions) = 0;
};

// The short form used everywhere: a box with the given buttons, the answer.
QMessageBox::StandardButton MsgBox(QWidget *owner, const QString &text, const QString &title,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                   QMessageBox::Icon icon = QMessageBox::NoIcon,
                                   const ButtonCaptions &captions = {});
