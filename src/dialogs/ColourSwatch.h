#pragma once

#include <cstdint>

class QFrame;
class QWidget;

// A small framed area painted in one colour, beside a colour button. It
// keeps the COLORREF it shows, so reading it back loses nothing.
namespace ColourSwatch {

QFrame *Create(QWidget *parent, const char *name);
void SetColour(QFrame *swatch, std::int32_t colour);
std::int32_t Colour(const QFrame *swatch);

} // namespace ColourSwatch
