// The flat frame of dialog controls: one thin shaded line (a static edge)
// instead of the deep sunken border.
#include "modHighlighter.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeView>

namespace {

void FlattenFrame(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setMidLineWidth(0);
}

// Widgets that draw their border through the style get it from a style sheet.
void FlattenStyled(QWidget *widget, const QString &rules)
{
    widget->setStyleSheet(widget->styleSheet() + rules);
}

// A label showing a picture, or a bare frame used as a picture area (not a
// separator line).
bool IsPicture(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return !label->pixmap().isNull();
    auto *frame = qobject_cast<QFrame *>(widget);
    return frame && frame->metaObject() == &QFrame::staticMetaObject && frame->frameShape() != QFrame::HLine
           && frame->frameShape() != QFrame::VLine;
}

} // namespace

void FlattenControls(QWidget *frm)
{
    if (!frm)
        return;
    for (QWidget *control : frm->findChildren<QWidget *>()) {
        if (qobject_cast<QListView *>(control) || qobject_cast<QTreeView *>(control)
            || qobject_cast<QTextEdit *>(control) || qobject_cast<QPlainTextEdit *>(control)
            || IsPicture(control)) {
            FlattenFrame(static_cast<QFrame *>(control));
        } else if (qobject_cast<QPushButton *>(control)) {
            FlattenStyled(control, QStringLiteral("QPushButton { border: 1px solid palette(dark);"
                                                  " background: palette(button); padding: 3px 10px; }"
                                                  " QPushButton:pressed { background: palette(mid); }"));
        } else if (qobject_cast<QLineEdit *>(control)) {
            FlattenStyled(control, QStringLiteral("QLineEdit { border: 1px solid palette(dark);"
                                                  " background: palette(base); padding: 1px; }"));
        } else if (qobject_cast<QProgressBar *>(control)) {
            FlattenStyled(control, QStringLiteral("QProgressBar { border: 1px solid palette(dark);"
                                                  " text-align: center; }"
                                                  " QProgressBar::chunk { background: palette(highlight); }"));
        }
    }
}
