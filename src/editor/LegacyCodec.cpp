#include "LegacyCodec.h"

#include "Utf8Scan.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>
#include <memory>

namespace {

constexpr auto Stateless = QStringConverter::Flag::Stateless;
// A U+FEFF at the start of a run is text, not a byte-order mark.
constexpr auto StatelessKeepingMark = Stateless | QStringConverter::Flag::ConvertInitialBom;

bool AsciiOnly8(const unsigned char *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return (v & 0x8080808080808080ULL) == 0;
}

// Copies the run of ASCII bytes at p (up to n) to out; answers its length.
qsizetype CopyAscii(const unsigned char *p, qsizetype n, char *out)
{
    qsizetype j = 0;
    while (j + 8 <= n && AsciiOnly8(p + j))
        j += 8;
    while (j < n && p[j] < 0x80)
        ++j;
    if (out)
        std::memcpy(out, p, size_t(j));
    return j;
}

bool InRange(unsigned char b, int low, int high)
{
    return b >= low && b <= high;
}

// GB18030's four-byte form: lead, digit, lead, digit.
bool IsFourByte(const unsigned char *p)
{
    return InRange(p[0], 0x81, 0xFE) && InRange(p[1], 0x30, 0x39) && InRange(p[2], 0x81, 0xFE)
           && InRange(p[3], 0x30, 0x39);
}

// The n (< 4) bytes could still become a four-byte sequence.
bool StartsFourByte(const unsigned char *p, qsizetype n)
{
    return n >= 2 && InRange(p[1], 0x30, 0x39) && (n < 3 || InRange(p[2], 0x81, 0xFE));
}

} // namespace

const LegacyCodec *LegacyCodec::For(TextEncoding::Codec codec)
{
    static const auto build = [](const char *name, bool fourByte) -> std::unique_ptr<LegacyCodec> {
        auto made = std::make_unique<LegacyCodec>(name, fourByte);
        return made->IsUsable() ? std::move(made) : nullptr;
    };
    switch (codec) {
    case TextEncoding::GB18030: {
        static const std::unique_ptr<LegacyCodec> gb18030 = build("GB18030", true);
        return gb18030.get();
    }
    case TextEncoding::Big5: {
        static const std::unique_ptr<LegacyCodec> big5 = build("Big5", false);
        return big5.get();
    }
    default:
        return nullptr;
    }
}

LegacyCodec::LegacyCodec(const char *qtName, bool fourByteSequences)
    : m_qtName(qtName), m_fourByte(fourByteSequences)
{
    if (QStringDecoder(m_qtName).isValid() && QStringEncoder(m_qtName).isValid())
        BuildTables();
}

// One code at a time, each checked by encoding it back. A converter that
// reported an error is replaced, since Qt keeps the error count.
void LegacyCodec::BuildTables()
{
    auto decoder = std::make_unique<QStringDecoder>(m_qtName, Stateless);
    auto encoder = std::make_unique<QStringEncoder>(m_qtName, Stateless);
    auto entryFor = [&](const char *code, int length) {
        Utf8Char entry;
        const QString text = decoder->decode(QByteArrayView(code, length));
        if (decoder->hasError()) {
            decoder = std::make_unique<QStringDecoder>(m_qtName, Stateless);
            return entry;
        }
        const bool oneCharacter = text.size() == 1 ? !text[0].isSurrogate()
                                                   : text.size() == 2 && text[0].isHighSurrogate()
                                                         && text[1].isLowSurrogate();
        if (!oneCharacter)
            return entry;
        const QByteArray back = encoder->encode(text);
        if (encoder->hasError()) {
            encoder = std::make_unique<QStringEncoder>(m_qtName, Stateless);
            return entry;
        }
        if (back != QByteArrayView(code, length))
            return entry;
        const QByteArray utf8 = text.toUtf8();
        entry.length = std::uint8_t(utf8.size());
        std::memcpy(entry.bytes, utf8.constData(), size_t(utf8.size()));
        return entry;
    };

    m_codes.assign(0x10000, NoCode);
    auto remember = [&](const Utf8Char &entry, std::uint16_t code) {
        char32_t cp;
        if (entry.length && Utf8Scan::DecodeOne(reinterpret_cast<const unsigned char *>(entry.bytes), entry.length, cp) > 0
            && cp < 0x10000)
            m_codes[cp] = code;
    };

    // Both character sets have ASCII as their only single bytes. (Qt's Big5
    // also reads 0x80 and 0xFF alone, a Windows addition that would let
    // almost any binary file pass for Big5.)
    for (int b = 0; b < 0x80; ++b) {
        const char code = char(b);
        const Utf8Char entry = entryFor(&code, 1);
        if (!(entry.length == 1 && entry.bytes[0] == code))
            return; // not ASCII-compatible: of no use here
    }
    m_pairs.assign(size_t((0xFE - FirstLead + 1) * TrailCount), Utf8Char());
    for (int lead = FirstLead; lead <= 0xFE; ++lead) {
        for (int trail = FirstTrail; trail <= 0xFE; ++trail) {
            const char code[2] = {char(lead), char(trail)};
            Utf8Char &entry = m_pairs[size_t((lead - FirstLead) * TrailCount + (trail - FirstTrail))];
            entry = entryFor(code, 2);
            remember(entry, std::uint16_t(lead << 8 | trail));
        }
    }
    m_usable = true;
}

bool LegacyCodec::DecodeRun(const char *bytes, qsizetype length, QByteArray &utf8) const
{
    QStringDecoder decoder(m_qtName, StatelessKeepingMark);
    const QString text = decoder.decode(QByteArrayView(bytes, length));
    if (decoder.hasError() || !QStringView(text).isValidUtf16())
        return false;
    QStringEncoder encoder(m_qtName, Stateless);
    const QByteArray back = encoder.encode(text);
    if (encoder.hasError() || back != QByteArrayView(bytes, length))
        return false;
    utf8 = text.toUtf8();
    return true;
}

bool LegacyCodec::EncodeRun(QByteArrayView utf8, QByteArray &bytes) const
{
    const QString text = Utf8Scan::ToString(utf8);
    QStringEncoder encoder(m_qtName, Stateless);
    bytes = encoder.encode(text);
    if (encoder.hasError())
        return false;
    // Only what loading reads back as the same text counts: Qt writes some
    // characters as look-alikes, or as bytes that are not strictly valid.
    QByteArray back(3 * bytes.size() + 8, '\0');
    const Step step = Decode(bytes, true, back.data());
    return step.ok && QByteArrayView(back.constData(), step.written) == utf8;
}

LegacyCodec::Step LegacyCodec::Decode(QByteArrayView in, bool last, char *out) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(in.data());
    const qsizetype n = in.size();
    Step step;
    qsizetype &i = step.used;
    qsizetype &w = step.written;
    auto put = [&](const Utf8Char &c) {
        if (out)
            std::memcpy(out + w, c.bytes, 4); // room is reserved; only length counts
        w += c.length;
    };
    auto fail = [&] {
        step.ok = false;
        return step;
    };

    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            const qsizetype run = CopyAscii(p + i, n - i, out ? out + w : nullptr);
            i += run;
            w += run;
            continue;
        }
        if (b < FirstLead || b > 0xFE)
            return fail();
        if (i + 1 >= n) {
            if (last)
                return fail();
            break;
        }
        const unsigned char trail = p[i + 1];
        if (m_fourByte && InRange(trail, 0x30, 0x39)) {
            qsizetype end = i;
            while (end + 4 <= n && IsFourByte(p + end))
                end += 4;
            if (end == i) {
                if (!last && n - i < 4 && StartsFourByte(p + i, n - i))
                    break;
                return fail();
            }
            QByteArray utf8;
            if (!DecodeRun(in.data() + i, end - i, utf8))
                return fail();
            if (out)
                std::memcpy(out + w, utf8.constData(), size_t(utf8.size()));
            w += utf8.size();
            i = end;
            continue;
        }
        if (trail < FirstTrail || trail > 0xFE || !Pair(b, trail).length)
            return fail();
        put(Pair(b, trail));
        i += 2;
    }
    return step;
}

LegacyCodec::Step LegacyCodec::Encode(QByteArrayView utf8, bool last, char *out) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const qsizetype n = utf8.size();
    Step step;
    qsizetype &i = step.used;
    qsizetype &w = step.written;

    // The code of the character at q, or NoCode; its length through length
    // (0 invalid, -1 cut off).
    auto codeAt = [&](qsizetype q, int &length) -> std::uint16_t {
        char32_t cp = 0;
        length = Utf8Scan::DecodeOne(p + q, n - q, cp);
        return (length > 0 && cp < 0x10000) ? m_codes[cp] : NoCode;
    };

    while (i < n) {
        if (p[i] < 0x80) {
            const qsizetype run = CopyAscii(p + i, n - i, out + w);
            i += run;
            w += run;
            continue;
        }
        int length;
        const std::uint16_t code = codeAt(i, length);
        if (length == -1 && !last)
            break;
        if (length <= 0) {
            step.ok = false;
            return step;
        }
        if (code != NoCode) {
            out[w++] = char(code >> 8);
            out[w++] = char(code & 0xFF);
            i += length;
            continue;
        }
        // Characters the tables do not hold (GB18030's four-byte ones, or
        // none at all): through Qt, a run at a time.
        qsizetype end = i + length;
        while (end < n && p[end] >= 0x80) {
            int next;
            if (codeAt(end, next) != NoCode || next <= 0)
                break;
            end += next;
        }
        QByteArray bytes;
        if (EncodeRun(utf8.sliced(i, end - i), bytes)) {
            std::memcpy(out + w, bytes.constData(), size_t(bytes.size()));
            w += bytes.size();
            i = end;
            continue;
        }
        // One at a time, to stop at the very character that cannot be written.
        while (i < end) {
            codeAt(i, length);
            if (!EncodeRun(utf8.sliced(i, length), bytes)) {
                step.ok = false;
                return step;
            }
            std::memcpy(out + w, bytes.constData(), size_t(bytes.size()));
            w += bytes.size();
            i += length;
        }
    }
    return step;
}
