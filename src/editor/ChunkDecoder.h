#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>

class LegacyCodec;

// Turns a file's bytes (its mark already left out) into the UTF-8 the
// component holds, piece by piece, and checks that what comes out would be
// written back as the very same bytes. A character cut off at the end of a
// piece is left for the caller to hand in again at the start of the next.
class ChunkDecoder
{
public:
    explicit ChunkDecoder(const TextEncoding &encoding);

    struct Step
    {
        qsizetype used = 0;    // bytes of the piece turned into text
        qsizetype written = 0; // bytes of UTF-8 they give
        bool ok = true;        // false: not valid text of the encoding, or no exact round trip
    };

    // The UTF-8 goes to out (resized to it; nullptr only counts). For UTF-8
    // and Raw the piece is only checked: its first `used` bytes are the
    // text, and out is left alone.
    Step Decode(QByteArrayView piece, bool last, QByteArray *out);

private:
    Step DecodeUtf16(QByteArrayView piece, bool last, QByteArray *out) const;

    TextEncoding m_encoding;
    const LegacyCodec *m_legacy = nullptr;
};
