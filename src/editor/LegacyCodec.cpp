#include "LegacyCodec.h"

#include "Utf8Scan.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>

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

// A byte that stands alone for one of these is no text a file would hold
// (C1 controls, private use), and accepting it would let many binary files
// pass for text (Qt's Big5, for one, reads 0x80 and 0xFF alone).
bool IsDubiousSingle(char16_t c)
{
    return (c >= 0x80 && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF);
}

} // namespace

const LegacyCodec *LegacyCodec::For(TextEncoding::Codec codec)
{
    const TextEncoding encoding(codec);
    if (encoding.CodecForm() != TextEncoding::Form::MultiByte || !encoding.IsAvailable())
        return nullptr;
    // Built once per character set, on first use; never torn down before exit.
    // Files are decoded on worker threads too (find in files): one builds,
    // the others wait for its tables rather than see none.
    static std::array<std::unique_ptr<LegacyCodec>, 256> built;
    static std::array<bool, 256> tried{};
    static std::mutex building;
    const auto index = size_t(codec);
    if (index >= built.size())
        return nullptr;
    const std::lock_guard lock(building);
    if (!tried[index]) {
        tried[index] = true;
        const LongForm longForm = codec == TextEncoding::GB18030 ? LongForm::GbFourByte
                                  : codec == TextEncoding::EucJp ? LongForm::EucThreeByte
                                                                 : LongForm::None;
        auto made = std::make_unique<LegacyCodec>(encoding.QtName(), longForm);
        if (made->IsUsable())
            built[index] = std::move(made);
    }
    return built[index].get();
}

LegacyCodec::LegacyCodec(const char *qtName, LongForm longForm)
    : m_qtName(qtName), m_longForm(longForm)
{
    if (QStringDecoder(m_qtName).isValid() && QStringEncoder(m_qtName).isValid())
        BuildTables();
}

// One code at a time, each checked by encoding it back. A converter that
// reported an error is replaced, since Qt keeps the error count. ASCII is
// itself in every one of these character sets (Qt's IBM-derived Shift_JIS
// would swap three control codes).
void LegacyCodec::BuildTables()
{
    auto decoder = std::make_unique<QStringDecoder>(m_qtName, Stateless);
    auto encoder = std::make_unique<QStringEncoder>(m_qtName, Stateless);
    auto entryFor = [&](const char *code, int length, QString &text) {
        Utf8Char entry;
        text = decoder->decode(QByteArrayView(code, length));
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
        if (!entry.length || Utf8Scan::DecodeOne(reinterpret_cast<const unsigned char *>(entry.bytes), entry.length, cp) <= 0)
            return;
        if (cp < 0x10000)
            m_codes[cp] = code;
        else
            m_supplementaryCodes.emplace(cp, code);
    };

    QString text;
    m_pairs.assign(size_t(128 * 256), Utf8Char());
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0x21; trail <= 0xFF; ++trail) {
            const char code[2] = {char(lead), char(trail)};
            Utf8Char &entry = m_pairs[size_t(lead - 0x80) * 256 + size_t(trail)];
            entry = entryFor(code, 2, text);
            if (entry.length) {
                m_isLead[lead - 0x80] = true;
                remember(entry, std::uint16_t(lead << 8 | trail));
            }
        }
    }
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char code = char(b);
        Utf8Char entry = entryFor(&code, 1, text);
        if (entry.length && !m_isLead[b - 0x80] && !IsDubiousSingle(text[0].unicode())) {
            m_singles[b - 0x80] = entry;
            remember(entry, std::uint16_t(b));
        }
    }
    m_usable = true;
}

int LegacyCodec::LongLength(const unsigned char *p, qsizetype n) const
{
    switch (m_longForm) {
    case LongForm::None:
        return 0;
    case LongForm::GbFourByte: // lead, digit, lead, digit
        if (!InRange(p[0], 0x81, 0xFE) || n < 2 || !InRange(p[1], 0x30, 0x39))
            return 0;
        if (n >= 3 && !InRange(p[2], 0x81, 0xFE))
            return 0;
        if (n < 4)
            return -1;
        return InRange(p[3], 0x30, 0x39) ? 4 : 0;
    case LongForm::EucThreeByte: // 0x8F and two bytes of the upper half
        if (p[0] != 0x8F)
            return 0;
        if (n >= 2 && !InRange(p[1], 0xA1, 0xFE))
            return 0;
        if (n < 3)
            return -1;
        return InRange(p[2], 0xA1, 0xFE) ? 3 : 0;
    }
    return 0;
}

std::uint16_t LegacyCodec::CodeOf(char32_t cp) const
{
    if (cp < 0x10000)
        return m_codes[cp];
    const auto found = m_supplementaryCodes.find(cp);
    return found == m_supplementaryCodes.end() ? NoCode : found->second;
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
        if (const int length = m_longForm == LongForm::None ? 0 : LongLength(p + i, n - i); length != 0) {
            if (length < 0) {
                if (last)
                    return fail();
                break;
            }
            qsizetype end = i;
            for (int next = length; next > 0; next = end < n ? LongLength(p + end, n - end) : 0)
                end += next;
            QByteArray utf8;
            if (!DecodeRun(in.data() + i, end - i, utf8))
                return fail();
            if (out)
                std::memcpy(out + w, utf8.constData(), size_t(utf8.size()));
            w += utf8.size();
            i = end;
            continue;
        }
        if (m_isLead[b - 0x80]) {
            if (i + 1 >= n) {
                if (last)
                    return fail();
                break;
            }
            const Utf8Char &pair = Pair(b, p[i + 1]);
            if (!pair.length)
                return fail();
            put(pair);
            i += 2;
            continue;
        }
        const Utf8Char &single = m_singles[b - 0x80];
        if (!single.length)
            return fail();
        put(single);
        i += 1;
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
        return length > 0 ? CodeOf(cp) : NoCode;
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
            if (code >= 0x100)
                out[w++] = char(code >> 8);
            out[w++] = char(code & 0xFF);
            i += length;
            continue;
        }
        // Characters the tables do not hold (the long sequences, or none at
        // all): through Qt, a run at a time.
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
