#pragma once

#include "SeamDouble.h"
#include "platform/MessageBoxSeam.h"

#include <QList>
#include <QString>

// Answers message boxes from a script and remembers what was asked.
class ScriptedMessageBox : public SeamDouble<MessageBoxSeam>
{
public:
    struct Shown
    {
        QString text;
        QString title;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        QMessageBox::Icon icon;
        ButtonCaptions captions;
    };

    // Answers given in order; once they run out, boxes answer Cancel (or Ok
    // when there is no Cancel button).
    void Answer(QMessageBox::StandardButton answer) { m_answers.append(answer); }

    QMessageBox::StandardButton Show(QWidget *owner, const QString &text, const QString &title,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon,
                                     const ButtonCaptions &captions) override;

    QList<Shown> shown;

private:
    QList<QMessageBox::StandardButton> m_answers;
};
