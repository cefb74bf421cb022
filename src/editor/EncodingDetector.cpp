#include "EncodingDetector.h"

#include "CharacterScores.h"
#include "LegacyCodec.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>

namespace EncodingDetector {

namespace {

// Controls a text file holds: tab, line feed, form feed, carriage return.
bool IsTextControl(char32_t c)
{
    return c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D;
}

bool IsControl(char32_t c)
{
    return (c < 0x20 && !IsTextControl(c)) || (c >= 0x7F && c <= 0x9F);
}

bool IsCharacter(char32_t c)
{
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && !IsControl(c);
}

bool Utf32Consistent(QByteArrayView units, bool le)
{
    const auto *p = reinterpret_cast<const uchar *>(units.data());
    for (qsizetype i = 0; i + 4 <= units.size(); i += 4) {
        const char32_t c = le ? qFromLittleEndian<quint32>(p + i) : qFromBigEndian<quint32>(p + i);
        if (!IsCharacter(c))
            return false;
    }
    return true;
}

// Every unit a character (surrogates paired, no controls), and zero bytes
// common enough in the high halves (ASCII and Latin-1: two at least, one in
// 64 units) and far rarer in the low ones (U+xx00), so that neither the other
// byte order nor plain text with a few NULs passes.
bool Utf16Consistent(QByteArrayView units, bool le, bool wholeFile)
{
    const auto *p = reinterpret_cast<const uchar *>(units.data());
    const qsizetype n = units.size();
    qsizetype zeroHigh = 0, zeroLow = 0;
    auto unitAt = [&](qsizetype i) {
        return le ? qFromLittleEndian<quint16>(p + i) : qFromBigEndian<quint16>(p + i);
    };
    for (qsizetype i = 0; i + 2 <= n; i += 2) {
        const char16_t unit = unitAt(i);
        zeroHigh += (unit & 0xFF00) == 0;
        zeroLow += (unit & 0x00FF) == 0;
        if (QChar::isHighSurrogate(unit)) {
            if (i + 4 > n) {
                if (wholeFile)
                    return false;
                break; // its partner lies past the sample
            }
            if (!QChar::isLowSurrogate(unitAt(i + 2)))
                return false;
            i += 2;
        } else if (QChar::isLowSurrogate(unit) || IsControl(unit)) {
            return false;
        }
    }
    return zeroHigh >= 2 && zeroHigh >= 3 * zeroLow && zeroHigh * 64 >= n / 2;
}

// Text in which the average character costs more than this is taken for no
// text of the encoding at all (a character never seen costs 22.6 bits; real
// text averages about 9, and only samples of one or two rare characters
// come near 20): so a Western file whose accented capitals happen to be
// valid Shift_JIS half-width katakana still opens as Windows-1252.
constexpr double MostBitsPerCharacter = 20.0;

qsizetype CharactersFrom0x80(QByteArrayView utf8)
{
    qsizetype count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) == 0xC0; // lead bytes of multi-byte characters
    return count;
}

struct Candidate
{
    TextEncoding encoding;
    QList<CharacterScores::Language> languages; // written in these
};

const QList<Candidate> &Candidates()
{
    using L = CharacterScores::Language;
    static const QList<Candidate> candidates = {
        {TextEncoding(TextEncoding::GB18030), {L::SimplifiedChinese, L::TraditionalChinese}},
        {TextEncoding(TextEncoding::Big5), {L::TraditionalChinese, L::SimplifiedChinese}},
        {TextEncoding(TextEncoding::ShiftJis), {L::Japanese}},
        {TextEncoding(TextEncoding::EucJp), {L::Japanese}},
        {TextEncoding(TextEncoding::EucKr), {L::Korean}},
    };
    return candidates;
}

} // namespace

std::optional<TextEncoding> WideByZeros(QByteArrayView sample, qint64 fileSize)
{
    // Either form needs zero bytes; most files have none, and a memchr
    // settles them before the unit-by-unit checks.
    if (!sample.contains('\0'))
        return std::nullopt;
    const bool wholeFile = sample.size() == fileSize;
    if (fileSize % 4 == 0 && fileSize > 0) {
        const QByteArrayView units = sample.first(sample.size() & ~qsizetype(3));
        for (bool le : {true, false})
            if (Utf32Consistent(units, le))
                return TextEncoding(le ? TextEncoding::Utf32LE : TextEncoding::Utf32BE);
    }
    if (fileSize % 2 == 0 && fileSize > 0) {
        const QByteArrayView units = sample.first(sample.size() & ~qsizetype(1));
        for (bool le : {true, false})
            if (Utf16Consistent(units, le, wholeFile))
                return TextEncoding(le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE);
    }
    return std::nullopt;
}

bool LooksLikeText(QByteArrayView sample)
{
    if (sample.contains('\0'))
        return false;
    qsizetype controls = 0;
    for (const char c : sample) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && !IsTextControl(b)) || b == 0x7F)
            ++controls;
    }
    return controls * 2 <= sample.size();
}

void CollectNonAsciiWords(QByteArrayView chunk, bool first, bool last, QByteArray &sample, qsizetype limit)
{
    const auto *p = reinterpret_cast<const unsigned char *>(chunk.data());
    const qsizetype n = chunk.size();
    qsizetype i = 0;
    while (i < n && sample.size() < limit) {
        // The next byte from 0x80 up, eight bytes at a time while none is.
        qsizetype high = i;
        while (high + 8 <= n) {
            std::uint64_t v;
            std::memcpy(&v, p + high, 8);
            if (v & 0x8080808080808080ULL)
                break;
            high += 8;
        }
        while (high < n && p[high] < 0x80)
            ++high;
        if (high == n)
            return;
        qsizetype start = high, end = high;
        while (start > 0 && p[start - 1] >= 0x30)
            --start;
        while (end < n && p[end] >= 0x30)
            ++end;
        i = end;
        if ((start == 0 && !first) || (end == n && !last))
            continue;
        const qsizetype room = limit - sample.size();
        if (end - start + 1 > room) {
            sample.append(reinterpret_cast<const char *>(p + start), room);
            return;
        }
        sample.append(reinterpret_cast<const char *>(p + start), end - start);
        sample.append('\n');
    }
}

QList<TextEncoding> LegacyCandidates()
{
    QList<TextEncoding> list;
    for (const Candidate &candidate : Candidates())
        list << candidate.encoding;
    return list;
}

LegacyRanking RankLegacy(QByteArrayView sample)
{
    const CharacterScores &scores = CharacterScores::Get();
    struct Scored
    {
        TextEncoding encoding;
        double cost;
    };
    QList<Scored> likely, unlikely;
    QByteArray utf8(3 * sample.size() + 8, '\0');
    for (const Candidate &candidate : Candidates()) {
        const LegacyCodec *codec = LegacyCodec::For(candidate.encoding.codec);
        if (!codec)
            continue;
        // Not the last piece: the sample may end inside a character.
        const auto step = codec->Decode(sample, false, utf8.data());
        if (!step.ok)
            continue;
        const QByteArrayView text(utf8.constData(), step.written);
        double cost = std::numeric_limits<double>::infinity();
        for (CharacterScores::Language language : candidate.languages)
            cost = std::min(cost, scores.Cost(language, text));
        const bool plausible = cost <= MostBitsPerCharacter * double(CharactersFrom0x80(text));
        (plausible ? likely : unlikely).append({candidate.encoding, cost});
    }
    LegacyRanking ranking;
    for (auto [scored, list] : {std::pair{&likely, &ranking.likely}, std::pair{&unlikely, &ranking.unlikely}}) {
        std::stable_sort(scored->begin(), scored->end(), [](const Scored &a, const Scored &b) { return a.cost < b.cost; });
        for (const Scored &one : *scored)
            *list << one.encoding;
    }
    return ranking;
}

} // namespace EncodingDetector
