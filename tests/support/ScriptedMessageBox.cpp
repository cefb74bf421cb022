#include "ScriptedMessageBox.h"

QMessageBox::StandardButton ScriptedMessageBox::Show(QWidget *, const QString &text, const QString &title,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton,
                                                     QMessageBox::Icon icon, const ButtonCaptions &captions)
{
    shown.append({text, title, buttons, defaultButton, icon, captions});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return (buttons & QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::Ok;
}
