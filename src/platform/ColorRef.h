#pragma once

#include <QColor>
#include <cstdint>

// Colours travel as COLORREF values, 0x00BBGGRR with red in the low byte, as
// the language files and the component hold them.
namespace ColorRef {

inline QColor ToQColor(std::int32_t colour)
{
    const auto bits = std::uint32_t(colour);
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

inline std::int32_t FromQColor(const QColor &colour)
{
    return std::int32_t(std::uint32_t(colour.red()) | (std::uint32_t(colour.green()) << 8)
                        | (std::uint32_t(colour.blue()) << 16));
}

} // namespace ColorRef
