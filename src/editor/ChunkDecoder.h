#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

class LegacyCodec;
class SingleByteCodec;
class QStringDecoder;
class QStringEncoder;

// Turns a file's bytes (its mark already left out) into the UTF-8 the
// component holds, piece by piece, and checks that what comes out would be
// written back as the very same bytes. A character cut off at the end of a
// piece is left for the caller to hand in again at the start of the next.
class ChunkDecoder
{
public:
    explicit ChunkDecoder(const TextEncoding &encoding);
    ~ChunkDecoder();

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
    Step DecodeWide(QByteArrayView piece, bool last, QByteArray *out) const;
    Step DecodeStream(QByteArrayView piece, bool last, QByteArray *out);

    TextEncoding m_encoding;
    const LegacyCodec *m_legacy = nullptr;
    const SingleByteCodec *m_single = nullptr;
    // Encodings with a state of their own (escape sequences) run through
    // Qt's converters for the whole file: what the decoder read and the
    // encoder wrote back must agree, byte for byte.
    std::unique_ptr<QStringDecoder> m_streamDecoder;
    std::unique_ptr<QStringEncoder> m_streamEncoder;
    QByteArray m_notYetMatched;
    QString m_heldSurrogate; // the first half of a pair whose second is in the next piece
};
