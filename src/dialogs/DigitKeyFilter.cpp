#include "DigitKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

void DigitKeyFilter::Install(QWidget *box)
{
    box->installEventFilter(new DigitKeyFilter(box));
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Backspace:
    // Keys the dialog acts on (its default and cancel buttons, moving on)
    // type nothing into the box.
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const bool control = key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (control) {
        // A control character (Ctrl+C, Ctrl+V, ...): swallowed, and kept away
        // from the window's shortcuts too.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return event->type() == QEvent::KeyPress;
    }
    if (event->type() == QEvent::ShortcutOverride)
        return false;
    const QString text = key->text();
    if (text.isEmpty())
        return false; // a key that types nothing
    return !(text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9'));
}
