#include "ChunkEncoder.h"

#include "LegacyCodec.h"
#include "Utf8Scan.h"

#include <QStringEncoder>

ChunkEncoder::ChunkEncoder(const TextEncoding &encoding)
    : m_encoding(encoding), m_legacy(LegacyCodec::For(encoding.codec))
{
}

ChunkEncoder::Step ChunkEncoder::Encode(QByteArrayView utf8, bool last, QByteArray &out) const
{
    switch (m_encoding.codec) {
    case TextEncoding::Raw:
    case TextEncoding::Utf8:
        out = utf8.toByteArray();
        return {utf8.size(), true};
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const qsizetype complete = last ? utf8.size() : Utf8Scan::CompleteLength(utf8);
        const QByteArrayView text = utf8.first(complete);
        if (const qsizetype bad = Utf8Scan::FirstInvalid(text); bad >= 0)
            return {bad, false};
        QStringEncoder encoder(m_encoding.codec == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                                           : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        out = encoder.encode(Utf8Scan::ToString(text));
        return {complete, true};
    }
    case TextEncoding::GB18030:
    case TextEncoding::Big5: {
        if (!m_legacy)
            return {0, false};
        out.resize(2 * utf8.size() + 8);
        const auto step = m_legacy->Encode(utf8, last, out.data());
        out.resize(step.written);
        return {step.used, step.ok};
    }
    }
    return {0, false};
}
