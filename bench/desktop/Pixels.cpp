#include "Pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace deskbench {

bool IsSaturated(Rgb colour)
{
    const int high = std::max({colour.r, colour.g, colour.b});
    const int low = std::min({colour.r, colour.g, colour.b});
    // Dark blue keywords (0,0,128) count; dark or pale greys do not.
    return high - low >= 64 && high >= 80 && low <= 200;
}

bool IsNear(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

namespace {

Box Clip(const Image &image, const Box &box)
{
    const int left = std::max(0, box.x), top = std::max(0, box.y);
    const int right = std::min(image.width, box.x + box.width);
    const int bottom = std::min(image.height, box.y + box.height);
    return {left, top, right - left, bottom - top};
}

uint32_t Key(Rgb c)
{
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

Rgb FromKey(uint32_t key)
{
    return {uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key)};
}

// The index below which `share` of the counts lie, from one end.
int Quantile(const std::vector<int> &counts, int total, double share, bool fromEnd)
{
    const int limit = int(total * share);
    int seen = 0;
    const int n = int(counts.size());
    for (int i = 0; i < n; ++i) {
        const int at = fromEnd ? n - 1 - i : i;
        seen += counts[size_t(at)];
        if (seen > limit)
            return at;
    }
    return fromEnd ? 0 : n - 1;
}

} // namespace

int CountNear(const Image &image, const Box &box, Rgb colour, int tolerance)
{
    const Box clipped = Clip(image, box);
    int count = 0;
    for (int y = clipped.y; y < clipped.y + clipped.height; ++y)
        for (int x = clipped.x; x < clipped.x + clipped.width; ++x)
            count += IsNear(image.At(x, y), colour, tolerance) ? 1 : 0;
    return count;
}

bool IsInk(Rgb colour)
{
    return !IsSaturated(colour) && std::max({colour.r, colour.g, colour.b}) < 128;
}

bool IsLight(Rgb colour)
{
    return std::min({colour.r, colour.g, colour.b}) >= 192;
}

Box TextBand(const Box &keywordArea)
{
    return {keywordArea.x, keywordArea.y - 4, 1 << 15, keywordArea.height + 8};
}

InkCount CountInk(const Image &image, const Box &box)
{
    const Box clipped = Clip(image, box);
    InkCount count;
    for (int y = clipped.y; y < clipped.y + clipped.height; ++y)
        for (int x = clipped.x; x < clipped.x + clipped.width; ++x) {
            const Rgb pixel = image.At(x, y);
            count.ink += IsInk(pixel) ? 1 : 0;
            count.light += IsLight(pixel) ? 1 : 0;
            ++count.total;
        }
    return count;
}

bool ShowsText(const Image &band, int settledInk, int settledLight)
{
    const InkCount count = CountInk(band, {0, 0, band.width, band.height});
    return count.ink >= std::max(20, settledInk / 4) && count.light > 0 && count.light * 2 >= settledLight;
}

Calibration Calibrate(const Image &highlighted, const Image &plain)
{
    if (highlighted.width != plain.width || highlighted.height != plain.height)
        return {};
    std::vector<bool> marked(highlighted.pixels.size(), false);
    std::map<uint32_t, int> frequency;
    for (size_t i = 0; i < highlighted.pixels.size(); ++i)
        if (IsSaturated(highlighted.pixels[i]) && IsInk(plain.pixels[i])) {
            marked[i] = true;
            ++frequency[Key(highlighted.pixels[i])];
        }
    if (frequency.empty())
        return {};
    const auto top = std::max_element(frequency.begin(), frequency.end(),
                                      [](const auto &a, const auto &b) { return a.second < b.second; });

    std::vector<int> columns(size_t(highlighted.width), 0), rows(size_t(highlighted.height), 0);
    for (int y = 0; y < highlighted.height; ++y)
        for (int x = 0; x < highlighted.width; ++x) {
            const size_t i = size_t(y) * size_t(highlighted.width) + size_t(x);
            if (marked[i] && Key(highlighted.pixels[i]) == top->first) {
                ++columns[size_t(x)];
                ++rows[size_t(y)];
            }
        }
    const int total = top->second;
    const int left = Quantile(columns, total, 0.01, false), right = Quantile(columns, total, 0.01, true);
    const int upper = Quantile(rows, total, 0.01, false), lower = Quantile(rows, total, 0.01, true);
    Calibration result;
    result.colour = FromKey(top->first);
    result.area = {left, upper, right - left + 1, lower - upper + 1};
    result.count = CountNear(highlighted, result.area, result.colour, 0);
    const InkCount text = CountInk(plain, TextBand(result.area));
    result.ink = text.ink;
    result.light = text.light;
    return result;
}

bool SavePpm(const Image &image, const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fprintf(file, "P6\n%d %d\n255\n", image.width, image.height);
    for (const Rgb &pixel : image.pixels) {
        const unsigned char bytes[3] = {pixel.r, pixel.g, pixel.b};
        std::fwrite(bytes, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

std::optional<Image> LoadPpm(const std::string &path)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    Image image;
    int maximum = 0;
    const bool header = std::fscanf(file, "P6 %d %d %d", &image.width, &image.height, &maximum) == 3 &&
                        maximum == 255 && image.width > 0 && image.height > 0 &&
                        image.width <= 1 << 15 && image.height <= 1 << 15 && std::fgetc(file) != EOF;
    bool complete = header;
    if (header) {
        image.pixels.resize(size_t(image.width) * size_t(image.height));
        for (Rgb &pixel : image.pixels) {
            unsigned char bytes[3];
            if (std::fread(bytes, 1, 3, file) != 3) {
                complete = false;
                break;
            }
            pixel = {bytes[0], bytes[1], bytes[2]};
        }
    }
    std::fclose(file);
    if (!complete)
        return std::nullopt;
    return image;
}

} // namespace deskbench
