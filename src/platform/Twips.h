#pragma once

#include <cmath>

// Positions and sizes are kept in twips in the settings store: 1/1440 inch,
// 15 to a pixel at 96 dots per inch.
namespace Twips {

constexpr int PerPixel = 15;

inline double FromPixels(int pixels) { return double(pixels) * PerPixel; }

// Nearest whole pixel, halves to even, like the rest of the placement code.
inline int ToPixels(double twips) { return int(std::nearbyint(twips / PerPixel)); }

// The centring rule of every window and dialog: (screen - window) in twips,
// to the nearest integer (halves to even), then halved with truncation.
inline long CentredEdge(double screenTwips, double windowTwips)
{
    return long(std::nearbyint(screenTwips - windowTwips)) / 2;
}

} // namespace Twips
