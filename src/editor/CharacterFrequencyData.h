#pragma once

#include <cstddef>
#include <cstdint>

// How often each character occurs in real text of four languages, counted
// by the build from translation catalogues (tools/charfreq; docs/encodings.md
// names the sources). Entries are sorted by code point; ASCII is left out.
namespace CharacterFrequencyData {

struct Entry
{
    char32_t codePoint;
    std::uint64_t count;
};

struct Table
{
    const Entry *entries;
    std::size_t size;
    std::uint64_t total; // all characters counted, U+0080 and up
};

extern const Table SimplifiedChinese;
extern const Table TraditionalChinese;
extern const Table Japanese;
extern const Table Korean;

} // namespace CharacterFrequencyData
