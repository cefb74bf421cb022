#include "MessageBoxSeam.h"

#include <QAbstractButton>

namespace {

class QtMessageBox : public MessageBoxSeam
{
public:
    QMessageBox::StandardButton Show(QWidget *owner, const QString &text, const QString &title,
                                     QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton,
                                     QMessageBox::Icon icon, const ButtonCaptions &own) override
    {
        QMessageBox box(icon, title, text, buttons, owner);
        if (defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(defaultButton);
        // Chinese button texts, whatever translations are installed.
        const std::pair<QMessageBox::StandardButton, const char *> captions[] = {
            {QMessageBox::Ok, "确定"}, {QMessageBox::Yes, "是(&Y)"}, {QMessageBox::No, "否(&N)"},
            {QMessageBox::Cancel, "取消"}, {QMessageBox::Save, "保存(&S)"}};
        for (const auto &[button, caption] : captions)
            if (QAbstractButton *b = box.button(button))
                b->setText(QString::fromUtf8(caption));
        for (const ButtonCaption &caption : own)
            if (QAbstractButton *b = box.button(caption.button))
                b->setText(caption.caption);
        const int answer = box.exec();
        return QMessageBox::StandardButton(answer);
    }
};


} // namespace

MessageBoxSeam &MessageBoxSeam::System()
{
    static QtMessageBox system;
    return system;
}

QMessageBox::StandardButton MsgBox(QWidget *owner, const QString &text, const QString &title,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon,
                                   const ButtonCaptions &captions)
{
    return MessageBoxSeam::Current().Show(owner, text, title, buttons, defaultButton, icon, captions);
}
