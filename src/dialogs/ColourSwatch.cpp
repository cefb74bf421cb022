#include "ColourSwatch.h"

#include "platform/ColorRef.h"

#include <QFrame>
#include <QPalette>
#include <QVariant>

namespace ColourSwatch {

namespace {
const char *const ColourProperty = "colorref";
}

QFrame *Create(QWidget *parent, const char *name)
{
    auto *swatch = new QFrame(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    swatch->setAutoFillBackground(true);
    swatch->setMinimumSize(36, 20);
    SetColour(swatch, 0);
    return swatch;
}

void SetColour(QFrame *swatch, std::int32_t colour)
{
    swatch->setProperty(ColourProperty, colour);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, ColorRef::ToQColor(colour));
    swatch->setPalette(palette);
}

std::int32_t Colour(const QFrame *swatch)
{
    return swatch->property(ColourProperty).toInt();
}

} // namespace ColourSwatch
