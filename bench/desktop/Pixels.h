// Pixel tests of the desktop probe, free of X so they can be tested alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace deskbench {

struct Rgb
{
    uint8_t r = 0, g = 0, b = 0;
};

struct Box
{
    int x = 0, y = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

// A colour a highlighter would use for a word: far from any grey, and
// neither near black nor near white (anti-aliased grey text is not).
bool IsSaturated(Rgb colour);

// Whether two colours are the same highlighter colour, allowing for the
// blending of anti-aliased glyph edges.
bool IsNear(Rgb a, Rgb b, int tolerance);

// Dark grey or black: the ink of plain text and of its anti-aliased edges.
bool IsInk(Rgb colour);
// A painted background: white, or the pale grey of a window.
bool IsLight(Rgb colour);

// An image as rows of pixels, top to bottom.
struct Image
{
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// The pixels inside the box (clipped to the image) near the colour.
int CountNear(const Image &image, const Box &box, Rgb colour, int tolerance);

// Where and in which colour the editor draws its keywords, learnt from
// two settled screens of the same text: highlighted, and as plain text.
struct Calibration
{
    Rgb colour;    // the most frequent colour highlighting puts on the text
    Box area;      // where that colour lies: the keyword part of the text area
    int count = 0; // pixels of that colour in the area
    int ink = 0;   // text ink in the TextBand of the area on the plain screen
    int light = 0; // painted background there
};

// The part of the window watched for the first screen: the rows of the
// keyword area (with a few pixels to spare), from its left edge to the
// window's right edge, since a longer file's wider line-number margin moves
// the text to the right.
Box TextBand(const Box &keywordArea);

// Text ink and painted background in a box (clipped to the image).
struct InkCount
{
    int ink = 0, light = 0, total = 0;
};
InkCount CountInk(const Image &image, const Box &box);

// Whether an image of the text band shows the file's text: at least a
// quarter of the ink the settled plain screen had there (and at least 20
// pixels), and at least half its painted background (the band runs on past
// the text area, over whatever lies beside it). A window not painted yet is
// black, an empty one has no ink; toolbars and status bars lie outside the
// band.
bool ShowsText(const Image &band, int settledInk, int settledLight);

// Highlighting shows where the plain screen has dark text ink and the
// highlighted one a saturated colour; toolbars, title bars and side panels
// look alike on both (or are empty on the plain one) and drop out. The box
// leaves out the outermost 1 % of those pixels on each side, so a stray one
// does not stretch it. count is 0 when the screens differ in size or
// nothing was highlighted. ink is counted on the plain screen.
Calibration Calibrate(const Image &highlighted, const Image &plain);

// A binary PPM (P6, 255) of the image; false if it cannot be written.
bool SavePpm(const Image &image, const std::string &path);
// Nothing if the file is missing or is not such a PPM.
std::optional<Image> LoadPpm(const std::string &path);

} // namespace deskbench
