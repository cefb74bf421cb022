#include "ChunkDecoder.h"

#include "LegacyCodec.h"
#include "Utf8Scan.h"

#include <QStringDecoder>
#include <QStringEncoder>

ChunkDecoder::ChunkDecoder(const TextEncoding &encoding)
    : m_encoding(encoding), m_legacy(LegacyCodec::For(encoding.codec))
{
}

ChunkDecoder::Step ChunkDecoder::Decode(QByteArrayView piece, bool last, QByteArray *out)
{
    switch (m_encoding.codec) {
    case TextEncoding::Raw:
        return {piece.size(), piece.size(), true};
    case TextEncoding::Utf8: {
        const qsizetype complete = last ? piece.size() : Utf8Scan::CompleteLength(piece);
        return {complete, complete, piece.first(complete).isValidUtf8()};
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return DecodeUtf16(piece, last, out);
    case TextEncoding::GB18030:
    case TextEncoding::Big5: {
        if (!m_legacy)
            return {0, 0, false};
        if (out)
            out->resize(3 * piece.size() + 8);
        const auto step = m_legacy->Decode(piece, last, out ? out->data() : nullptr);
        if (out)
            out->resize(step.written);
        return {step.used, step.written, step.ok};
    }
    }
    return {0, 0, false};
}

// Whole code units, and a pair of surrogates never split; Qt's decoder then
// has nothing to carry over, and its encoder must give the same bytes back.
ChunkDecoder::Step ChunkDecoder::DecodeUtf16(QByteArrayView piece, bool last, QByteArray *out) const
{
    const bool le = m_encoding.codec == TextEncoding::Utf16LE;
    qsizetype used = piece.size() & ~qsizetype(1);
    if (last && used != piece.size())
        return {0, 0, false}; // an odd byte at the end
    if (!last && used >= 2) {
        const auto hi = static_cast<unsigned char>(piece[used - (le ? 1 : 2)]);
        if (hi >= 0xD8 && hi <= 0xDB)
            used -= 2; // a high surrogate waits for its partner
    }
    const QByteArrayView bytes = piece.first(used);
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    const auto encoding = le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
    QStringDecoder decoder(encoding, flags);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || !QStringView(text).isValidUtf16())
        return {0, 0, false};
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    const QByteArray back = encoder.encode(text);
    if (encoder.hasError() || back != bytes)
        return {0, 0, false};
    QByteArray utf8 = text.toUtf8();
    const qsizetype written = utf8.size();
    if (out)
        *out = std::move(utf8);
    return {used, written, true};
}
