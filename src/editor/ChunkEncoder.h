#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

class LegacyCodec;
class SingleByteCodec;
class QStringEncoder;

// Turns the component's UTF-8 into a file's bytes (without the mark), piece
// by piece. A character cut off at the end of a piece is left for the next.
class ChunkEncoder
{
public:
    explicit ChunkEncoder(const TextEncoding &encoding);
    ~ChunkEncoder();

    struct Step
    {
        qsizetype used = 0; // on failure: offset of the character that cannot be written
        bool ok = true;
    };

    // The bytes go to out (resized to them). Stops, not ok, at the first
    // character the encoding cannot hold; text that is not valid UTF-8 (a
    // raw document) cannot be held by any encoding but UTF-8 and Raw, which
    // take the bytes as they are, and the single-byte encodings, which take
    // back the raw bytes they keep.
    Step Encode(QByteArrayView utf8, bool last, QByteArray &out);

private:
    Step EncodeThroughQt(QByteArrayView utf8, bool last, QByteArray &out);
    qsizetype FirstUnencodable(QByteArrayView utf8) const;

    TextEncoding m_encoding;
    const LegacyCodec *m_legacy = nullptr;
    const SingleByteCodec *m_single = nullptr;
    std::unique_ptr<QStringEncoder> m_qtEncoder; // the Unicode forms and the stateful encodings
};
