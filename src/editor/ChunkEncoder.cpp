#include "ChunkEncoder.h"

#include "LegacyCodec.h"
#include "SingleByteCodec.h"
#include "Utf8Scan.h"

#include <QStringEncoder>

using Form = TextEncoding::Form;

ChunkEncoder::ChunkEncoder(const TextEncoding &encoding)
    : m_encoding(encoding), m_legacy(LegacyCodec::For(encoding.codec)), m_single(SingleByteCodec::For(encoding.codec))
{
    switch (encoding.CodecForm()) {
    case Form::Utf16LE:
        m_qtEncoder = std::make_unique<QStringEncoder>(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        break;
    case Form::Utf16BE:
        m_qtEncoder = std::make_unique<QStringEncoder>(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless);
        break;
    case Form::Utf32LE:
        m_qtEncoder = std::make_unique<QStringEncoder>(QStringConverter::Utf32LE, QStringConverter::Flag::Stateless);
        break;
    case Form::Utf32BE:
        m_qtEncoder = std::make_unique<QStringEncoder>(QStringConverter::Utf32BE, QStringConverter::Flag::Stateless);
        break;
    case Form::Stream:
        if (encoding.IsAvailable())
            m_qtEncoder = std::make_unique<QStringEncoder>(encoding.QtName());
        break;
    default:
        break;
    }
}

ChunkEncoder::~ChunkEncoder() = default;

ChunkEncoder::Step ChunkEncoder::Encode(QByteArrayView utf8, bool last, QByteArray &out)
{
    switch (m_encoding.CodecForm()) {
    case Form::Raw:
    case Form::Utf8:
        out = utf8.toByteArray();
        return {utf8.size(), true};
    case Form::Utf16LE:
    case Form::Utf16BE:
    case Form::Utf32LE:
    case Form::Utf32BE:
    case Form::Stream:
        return EncodeThroughQt(utf8, last, out);
    case Form::MultiByte: {
        if (!m_legacy)
            return {0, false};
        out.resize(2 * utf8.size() + 8);
        const auto step = m_legacy->Encode(utf8, last, out.data());
        out.resize(step.written);
        return {step.used, step.ok};
    }
    case Form::SingleByte: {
        if (!m_single)
            return {0, false};
        out.resize(utf8.size());
        const auto step = m_single->Encode(utf8, last, out.data());
        out.resize(step.written);
        return {step.used, step.ok};
    }
    }
    return {0, false};
}

ChunkEncoder::Step ChunkEncoder::EncodeThroughQt(QByteArrayView utf8, bool last, QByteArray &out)
{
    if (!m_qtEncoder)
        return {0, false};
    const qsizetype complete = last ? utf8.size() : Utf8Scan::CompleteLength(utf8);
    const QByteArrayView text = utf8.first(complete);
    if (const qsizetype bad = Utf8Scan::FirstInvalid(text); bad >= 0)
        return {bad, false};
    if (text.isEmpty()) { // Qt's ISO-2022-KR would overrun its buffer on an empty text
        out.clear();
        return {complete, true};
    }
    out = m_qtEncoder->encode(Utf8Scan::ToString(text));
    if (m_qtEncoder->hasError())
        return {FirstUnencodable(text), false};
    return {complete, true};
}

// The Unicode forms hold every character; for the others, the first one Qt
// cannot write on its own.
qsizetype ChunkEncoder::FirstUnencodable(QByteArrayView utf8) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    for (qsizetype i = 0; i < utf8.size();) {
        char32_t cp;
        const int length = Utf8Scan::DecodeOne(p + i, utf8.size() - i, cp);
        QStringEncoder single(m_encoding.QtName(), QStringConverter::Flag::Stateless);
        (void)single.encode(QString::fromUcs4(&cp, 1));
        if (single.hasError())
            return i;
        i += length;
    }
    return 0;
}
