#include "DeveloperPalette.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace DeveloperPalette {

namespace {

QPalette Dark()
{
    const QColor window(45, 45, 48), base(30, 30, 32), text(225, 225, 225), disabled(128, 128, 128);
    QPalette p(window);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(55, 55, 58));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Highlight, QColor(38, 79, 120));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::PlaceholderText, disabled);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

} // namespace

void ApplyFromEnvironment()
{
    if (qgetenv("FERROLAN_PALETTE") != "dark")
        return;
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(Dark());
}

} // namespace DeveloperPalette
