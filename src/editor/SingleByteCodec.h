#pragma once

#include "TextEncoding.h"

#include <QByteArrayView>
#include <cstdint>
#include <vector>

// A character set of one byte per character (Windows-1252, ISO-8859-x,
// KOI8-R, the IBM and Mac code pages, EBCDIC), converted through a table
// that Qt's converter fills once. A byte from 0x80 to 0xBF that stands for no
// character, or for a C1 control, is kept as that raw byte in the text (it
// can never join its neighbours into a UTF-8 character) and written back
// unchanged: Windows-1252's five undefined bytes survive a load and a save.
class SingleByteCodec
{
public:
    // Built on first use; nullptr when Qt has no converter for it here.
    static const SingleByteCodec *For(TextEncoding::Codec codec);

    struct Step
    {
        qsizetype used = 0;    // input bytes consumed; on failure, the offset of the bad one
        qsizetype written = 0; // output bytes
        bool ok = true;
    };

    // out needs room for 3 * in.size() bytes (nullptr only counts). Fails
    // at a byte that is no character and cannot be kept raw.
    Step Decode(QByteArrayView in, char *out) const;
    // out needs room for utf8.size() bytes. Stops, not ok, at the first
    // character the table does not hold. A character cut off at the end is
    // left for the next call unless last.
    Step Encode(QByteArrayView utf8, bool last, char *out) const;

    explicit SingleByteCodec(const char *qtName);
    bool IsUsable() const { return m_usable; }
    // Bytes kept as they are, as the table says.
    bool IsRaw(unsigned char byte) const { return m_raw[byte]; }

private:
    struct Utf8Char
    {
        std::uint8_t length = 0; // 0: no character
        char bytes[3] = {};
    };

    void BuildTable(const char *qtName);

    bool m_usable = false;
    bool m_asciiSelf = true; // bytes below 0x80 are ASCII
    Utf8Char m_chars[256];
    bool m_raw[256] = {};
    std::vector<std::int16_t> m_bytes; // code point (BMP) to its byte, -1 for none
};
