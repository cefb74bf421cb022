#include "ChunkDecoder.h"

#include "LegacyCodec.h"
#include "SingleByteCodec.h"
#include "Utf8Scan.h"

#include <QStringDecoder>
#include <QStringEncoder>

using Form = TextEncoding::Form;

namespace {

bool IsLittleEndian(Form form)
{
    return form == Form::Utf16LE || form == Form::Utf32LE;
}

bool IsUtf32(Form form)
{
    return form == Form::Utf32LE || form == Form::Utf32BE;
}

QStringConverter::Encoding QtWideEncoding(Form form)
{
    switch (form) {
    case Form::Utf16LE:
        return QStringConverter::Utf16LE;
    case Form::Utf16BE:
        return QStringConverter::Utf16BE;
    case Form::Utf32LE:
        return QStringConverter::Utf32LE;
    default:
        return QStringConverter::Utf32BE;
    }
}

} // namespace

ChunkDecoder::ChunkDecoder(const TextEncoding &encoding)
    : m_encoding(encoding), m_legacy(LegacyCodec::For(encoding.codec)), m_single(SingleByteCodec::For(encoding.codec))
{
    if (encoding.CodecForm() == Form::Stream && encoding.IsAvailable()) {
        m_streamDecoder = std::make_unique<QStringDecoder>(encoding.QtName(), QStringConverter::Flag::ConvertInitialBom);
        m_streamEncoder = std::make_unique<QStringEncoder>(encoding.QtName());
    }
}

ChunkDecoder::~ChunkDecoder() = default;

ChunkDecoder::Step ChunkDecoder::Decode(QByteArrayView piece, bool last, QByteArray *out)
{
    switch (m_encoding.CodecForm()) {
    case Form::Raw:
        return {piece.size(), piece.size(), true};
    case Form::Utf8: {
        const qsizetype complete = last ? piece.size() : Utf8Scan::CompleteLength(piece);
        return {complete, complete, piece.first(complete).isValidUtf8()};
    }
    case Form::Utf16LE:
    case Form::Utf16BE:
    case Form::Utf32LE:
    case Form::Utf32BE:
        return DecodeWide(piece, last, out);
    case Form::MultiByte: {
        if (!m_legacy)
            return {0, 0, false};
        if (out)
            out->resize(3 * piece.size() + 8);
        const auto step = m_legacy->Decode(piece, last, out ? out->data() : nullptr);
        if (out)
            out->resize(step.written);
        return {step.used, step.written, step.ok};
    }
    case Form::SingleByte: {
        if (!m_single)
            return {0, 0, false};
        if (out)
            out->resize(3 * piece.size());
        const auto step = m_single->Decode(piece, out ? out->data() : nullptr);
        if (out)
            out->resize(step.written);
        return {step.used, step.written, step.ok};
    }
    case Form::Stream:
        return DecodeStream(piece, last, out);
    }
    return {0, 0, false};
}

// Whole code units, and a pair of surrogates never split; Qt's decoder then
// has nothing to carry over, and its encoder must give the same bytes back.
ChunkDecoder::Step ChunkDecoder::DecodeWide(QByteArrayView piece, bool last, QByteArray *out) const
{
    const Form form = m_encoding.CodecForm();
    const bool le = IsLittleEndian(form);
    const qsizetype unit = IsUtf32(form) ? 4 : 2;
    qsizetype used = piece.size() - piece.size() % unit;
    if (last && used != piece.size())
        return {0, 0, false}; // a part of a code unit at the end
    if (!last && unit == 2 && used >= 2) {
        const auto hi = static_cast<unsigned char>(piece[used - (le ? 1 : 2)]);
        if (hi >= 0xD8 && hi <= 0xDB)
            used -= 2; // a high surrogate waits for its partner
    }
    const QByteArrayView bytes = piece.first(used);
    const auto flags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder decoder(QtWideEncoding(form), flags);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || !QStringView(text).isValidUtf16())
        return {0, 0, false};
    QStringEncoder encoder(QtWideEncoding(form), QStringConverter::Flag::Stateless);
    const QByteArray back = encoder.encode(text);
    if (encoder.hasError() || back != bytes)
        return {0, 0, false};
    QByteArray utf8 = text.toUtf8();
    const qsizetype written = utf8.size();
    if (out)
        *out = std::move(utf8);
    return {used, written, true};
}

// Qt keeps what a piece leaves unfinished, so every piece is taken whole;
// the bytes the encoder gives back must match the file's as they come, and
// none may be left unmatched at the end. (Qt's encoder is never flushed, so
// a file that ends inside a shifted state does not count as this encoding.)
ChunkDecoder::Step ChunkDecoder::DecodeStream(QByteArrayView piece, bool last, QByteArray *out)
{
    if (!m_streamDecoder)
        return {0, 0, false};
    QString text = m_heldSurrogate + m_streamDecoder->decode(piece);
    m_heldSurrogate.clear();
    if (!last && !text.isEmpty() && text.back().isHighSurrogate()) {
        m_heldSurrogate = text.back(); // CESU-8 gives the halves of a pair one at a time
        text.chop(1);
    }
    if (m_streamDecoder->hasError() || !QStringView(text).isValidUtf16())
        return {0, 0, false};
    // (Qt's ICU path writes past its buffer when ISO-2022-KR's header goes
    // out for an empty text: never hand it one.)
    const QByteArray back = text.isEmpty() ? QByteArray() : QByteArray(m_streamEncoder->encode(text));
    if (m_streamEncoder->hasError())
        return {0, 0, false};
    m_notYetMatched += piece;
    if (!m_notYetMatched.startsWith(back))
        return {0, 0, false};
    m_notYetMatched.remove(0, back.size());
    if (last && !m_notYetMatched.isEmpty())
        return {0, 0, false};
    QByteArray utf8 = text.toUtf8();
    const qsizetype written = utf8.size();
    if (out)
        *out = std::move(utf8);
    return {piece.size(), written, true};
}
