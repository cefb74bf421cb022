#include "SingleByteCodec.h"

#include "Utf8Scan.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstring>
#include <memory>

const SingleByteCodec *SingleByteCodec::For(TextEncoding::Codec codec)
{
    const TextEncoding encoding(codec);
    if (encoding.CodecForm() != TextEncoding::Form::SingleByte || !encoding.IsAvailable())
        return nullptr;
    static std::array<std::unique_ptr<SingleByteCodec>, 256> built;
    static std::array<bool, 256> tried{};
    const auto index = size_t(codec);
    if (index >= built.size())
        return nullptr;
    if (!tried[index]) {
        tried[index] = true;
        auto made = std::make_unique<SingleByteCodec>(encoding.QtName());
        if (made->IsUsable())
            built[index] = std::move(made);
    }
    return built[index].get();
}

SingleByteCodec::SingleByteCodec(const char *qtName)
{
    if (QStringDecoder(qtName).isValid() && QStringEncoder(qtName).isValid())
        BuildTable(qtName);
}

void SingleByteCodec::BuildTable(const char *qtName)
{
    constexpr auto Stateless = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    m_bytes.assign(0x10000, -1);
    for (int b = 0; b < 256; ++b) {
        const char code = char(b);
        QStringDecoder decoder(qtName, Stateless);
        const QString text = decoder.decode(QByteArrayView(&code, 1));
        bool mapped = !decoder.hasError() && text.size() == 1 && !text[0].isSurrogate();
        if (mapped) {
            QStringEncoder encoder(qtName, QStringConverter::Flag::Stateless);
            const QByteArray back = encoder.encode(text);
            mapped = !encoder.hasError() && back == QByteArrayView(&code, 1);
        }
        const char16_t c = mapped ? text[0].unicode() : 0;
        const bool keepRaw = b >= 0x80 && b <= 0xBF && (!mapped || (c >= 0x80 && c <= 0x9F));
        if (keepRaw) {
            m_raw[b] = true;
            continue;
        }
        if (b < 0x80 && c != b)
            m_asciiSelf = false;
        if (!mapped)
            continue;
        const QByteArray utf8 = text.toUtf8();
        m_chars[b].length = std::uint8_t(utf8.size());
        std::memcpy(m_chars[b].bytes, utf8.constData(), size_t(utf8.size()));
        if (m_bytes[c] < 0)
            m_bytes[c] = std::int16_t(b);
    }
    m_usable = true;
}

SingleByteCodec::Step SingleByteCodec::Decode(QByteArrayView in, char *out) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(in.data());
    Step step;
    for (qsizetype &i = step.used; i < in.size(); ++i) {
        const unsigned char b = p[i];
        if (b < 0x80 && m_asciiSelf) {
            if (out)
                out[step.written] = char(b);
            ++step.written;
            continue;
        }
        const Utf8Char &c = m_chars[b];
        if (c.length) {
            if (out)
                std::memcpy(out + step.written, c.bytes, c.length);
            step.written += c.length;
        } else if (m_raw[b]) {
            if (out)
                out[step.written] = char(b);
            ++step.written;
        } else {
            step.ok = false;
            return step;
        }
    }
    return step;
}

SingleByteCodec::Step SingleByteCodec::Encode(QByteArrayView utf8, bool last, char *out) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const qsizetype n = utf8.size();
    Step step;
    qsizetype &i = step.used;
    while (i < n) {
        char32_t cp = 0;
        const int length = Utf8Scan::DecodeOne(p + i, n - i, cp);
        if (length == -1 && !last)
            break;
        if (length <= 0) {
            // Not a character: one of the bytes the table keeps raw, or
            // nothing this encoding can write.
            if (!m_raw[p[i]] || length == -1) {
                step.ok = false;
                return step;
            }
            out[step.written++] = char(p[i]);
            ++i;
            continue;
        }
        const int byte = cp < 0x10000 ? m_bytes[cp] : -1;
        if (byte < 0) {
            step.ok = false;
            return step;
        }
        out[step.written++] = char(byte);
        i += length;
    }
    return step;
}
