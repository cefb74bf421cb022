#include "LiteralScanner.h"

#include <array>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr bool IsAsciiLetter(std::uint8_t byte)
{
    return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
}

constexpr std::uint8_t Folded(std::uint8_t byte)
{
    return (byte >= 'A' && byte <= 'Z') ? std::uint8_t(byte | 0x20) : byte;
}

QByteArray FoldedLiteral(QByteArray literal, LiteralScanner::Letters letters)
{
    if (letters == LiteralScanner::Letters::EitherCase)
        for (char &c : literal)
            c = char(Folded(std::uint8_t(c)));
    return literal;
}

int LowestBit(std::uint32_t mask)
{
    return __builtin_ctz(mask);
}

int HighestBit(std::uint32_t mask)
{
    return 31 - __builtin_clz(mask);
}

} // namespace

LiteralScanner::LiteralScanner(QByteArray literal, Letters letters)
    : m_literal(FoldedLiteral(std::move(literal), letters)), m_letters(letters)
{
    ChooseAnchor({});
}

LiteralScanner::ByteClass LiteralScanner::ClassAt(qsizetype index) const
{
    const auto byte = std::uint8_t(m_literal[index]);
    if (m_letters == Letters::EitherCase && IsAsciiLetter(byte))
        return {byte, 0x20};
    return {byte, 0};
}

// Counts every pair of neighbouring bytes of the sample once, then takes the
// rarest pair of the run. Without a sample the first pair serves.
qsizetype LiteralScanner::ChooseAnchor(QByteArrayView sample)
{
    m_anchor = 0;
    m_paired = m_literal.size() >= 2;
    qsizetype occurrences = 0;
    if (m_literal.isEmpty())
        return 0;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(sample.data());
    const bool folding = m_letters == Letters::EitherCase;
    auto fold = [folding](std::uint8_t byte) { return folding ? Folded(byte) : byte; };
    if (!m_paired) {
        for (qsizetype i = 0; i < sample.size(); ++i)
            occurrences += fold(bytes[i]) == std::uint8_t(m_literal[0]);
    } else if (sample.size() >= 2) {
        std::vector<std::uint32_t> pairs(1 << 16);
        for (qsizetype i = 0; i + 1 < sample.size(); ++i)
            ++pairs[(fold(bytes[i]) << 8) | fold(bytes[i + 1])];
        auto countAt = [&](qsizetype k) {
            return pairs[(std::uint8_t(m_literal[k]) << 8) | std::uint8_t(m_literal[k + 1])];
        };
        occurrences = countAt(0);
        for (qsizetype k = 1; k + 1 < m_literal.size(); ++k)
            if (countAt(k) < std::uint32_t(occurrences)) {
                occurrences = countAt(k);
                m_anchor = k;
            }
    }
    m_first = ClassAt(m_anchor);
    if (m_paired)
        m_second = ClassAt(m_anchor + 1);
    return occurrences;
}

bool LiteralScanner::MatchesAt(const char *at) const
{
    if (m_letters == Letters::Exact)
        return std::memcmp(at, m_literal.constData(), size_t(m_literal.size())) == 0;
    for (qsizetype i = 0; i < m_literal.size(); ++i)
        if (Folded(std::uint8_t(at[i])) != std::uint8_t(m_literal[i]))
            return false;
    return true;
}

bool LiteralScanner::AnchorAt(const std::uint8_t *at) const
{
    return m_first.Holds(at[0]) && (!m_paired || m_second.Holds(at[1]));
}

// One bit for each of the 32 places from `at` where the anchor pair stands.
// Reads 33 bytes when paired.
std::uint32_t LiteralScanner::BlockMask(const std::uint8_t *at) const
{
#if defined(__SSE2__)
    const __m128i firstFold = _mm_set1_epi8(char(m_first.fold));
    const __m128i firstValue = _mm_set1_epi8(char(m_first.value));
    auto lookFirst = [&](const std::uint8_t *p) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        return _mm_cmpeq_epi8(_mm_or_si128(bytes, firstFold), firstValue);
    };
    __m128i low = lookFirst(at);
    __m128i high = lookFirst(at + 16);
    if (m_paired) {
        const __m128i secondFold = _mm_set1_epi8(char(m_second.fold));
        const __m128i secondValue = _mm_set1_epi8(char(m_second.value));
        auto lookSecond = [&](const std::uint8_t *p) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
            return _mm_cmpeq_epi8(_mm_or_si128(bytes, secondFold), secondValue);
        };
        low = _mm_and_si128(low, lookSecond(at + 1));
        high = _mm_and_si128(high, lookSecond(at + 17));
    }
    return std::uint32_t(_mm_movemask_epi8(low)) | (std::uint32_t(_mm_movemask_epi8(high)) << 16);
#else
    std::uint32_t mask = 0;
    for (int i = 0; i < Block; ++i)
        mask |= std::uint32_t(AnchorAt(at + i)) << i;
    return mask;
#endif
}

// Starts before `to` whose run would reach past the text are no starts.
bool LiteralScanner::Narrowed(qsizetype length, qsizetype from, qsizetype &to) const
{
    to = std::min(to, length - m_literal.size() + 1);
    return !m_literal.isEmpty() && from < to;
}

qsizetype LiteralScanner::Forward(const char *text, qsizetype length, qsizetype from, qsizetype to) const
{
    if (!Narrowed(length, from, to))
        return -1;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(text);
    const qsizetype reach = Reach();
    qsizetype anchor = from + m_anchor;
    const qsizetype anchorEnd = to + m_anchor;
    for (; anchor < anchorEnd && anchor + reach <= length; anchor += Block) {
        std::uint32_t mask = BlockMask(bytes + anchor);
        while (mask) {
            const qsizetype start = anchor + LowestBit(mask) - m_anchor;
            if (start >= to)
                return -1;
            if (MatchesAt(text + start))
                return start;
            mask &= mask - 1;
        }
    }
    for (; anchor < anchorEnd; ++anchor)
        if (AnchorAt(bytes + anchor) && MatchesAt(text + anchor - m_anchor))
            return anchor - m_anchor;
    return -1;
}

qsizetype LiteralScanner::Backward(const char *text, qsizetype length, qsizetype from, qsizetype to) const
{
    if (!Narrowed(length, from, to))
        return -1;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(text);
    const qsizetype reach = Reach();
    const qsizetype anchorFrom = from + m_anchor;
    qsizetype anchor = to + m_anchor; // one past the next anchor to look at
    auto lookAt = [&](qsizetype at) { return AnchorAt(bytes + at) && MatchesAt(text + at - m_anchor); };
    // One by one at the very end, where a block would read past the text.
    while (anchor > anchorFrom && anchor - Block + reach > length)
        if (lookAt(--anchor))
            return anchor - m_anchor;
    while (anchor > anchorFrom && anchor - Block >= 0) {
        const qsizetype blockStart = anchor - Block;
        std::uint32_t mask = BlockMask(bytes + blockStart);
        while (mask) {
            const int bit = HighestBit(mask);
            const qsizetype start = blockStart + bit - m_anchor;
            if (start < from)
                return -1;
            if (MatchesAt(text + start))
                return start;
            mask &= ~(std::uint32_t(1) << bit);
        }
        anchor = blockStart;
    }
    while (anchor > anchorFrom)
        if (lookAt(--anchor))
            return anchor - m_anchor;
    return -1;
}
