#include "HitCollector.h"

#include <algorithm>
#include <cstring>

namespace {

// A long line is shown around its match: this much before it, and up to
// this much in all.
constexpr qsizetype ShownBefore = 120;
constexpr qsizetype ShownAtMost = 500;
// The bytes kept of a match to know it again; a longer one keeps its start.
constexpr qsizetype MatchedKept = 4096;

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Line ends in [from, to): CR LF counts once, and so do a lone CR and a
// lone LF. A CR just before `to` is counted; a LF at `from` that follows a
// CR counted before is not.
qint64 CountLineEnds(QByteArrayView text, qsizetype from, qsizetype to, bool afterCr)
{
    const char *p = text.data();
    qint64 lines = std::count(p + from, p + to, '\n');
    if (afterCr && from < to && p[from] == '\n')
        --lines;
    if (std::memchr(p + from, '\r', size_t(to - from))) {
        for (qsizetype i = from; i < to; ++i)
            if (p[i] == '\r' && (i + 1 >= to || p[i + 1] != '\n'))
                ++lines;
        // A CR LF cut by `to` was counted by its CR; its LF lies beyond.
    }
    return lines;
}

// Where the last whole line of a piece ends: after its last LF, or after
// its last CR when a LF cannot follow within the piece.
qsizetype LastLineEnd(QByteArrayView piece)
{
    for (qsizetype i = piece.size() - 1; i >= 0; --i) {
        if (piece[i] == '\n')
            return i + 1;
        if (piece[i] == '\r' && i + 1 < piece.size())
            return i + 1;
    }
    return 0;
}

} // namespace

void HitCollector::Restart()
{
    m_carry.clear();
    m_offset = 0;
    m_line = 0;
    m_pendingCr = false;
    m_hits.clear();
    m_sawNul = false;
    m_error.clear();
}

void HitCollector::Append(QByteArrayView piece)
{
    if (m_sawNul || !m_error.isEmpty())
        return;
    if (m_nul == Nul::EndsSearch && std::memchr(piece.data(), '\0', size_t(piece.size()))) {
        m_sawNul = true;
        return;
    }
    if (m_carry.isEmpty()) {
        // Most files come in one piece: searched where they lie, no copy.
        const qsizetype cut = LastLineEnd(piece);
        Search(piece.first(cut), false);
        m_carry = piece.sliced(cut).toByteArray();
        return;
    }
    m_carry.append(piece);
    const qsizetype cut = LastLineEnd(m_carry);
    if (cut == 0)
        return;
    Search(QByteArrayView(m_carry).first(cut), false);
    m_carry.remove(0, cut);
}

void HitCollector::Finish()
{
    if (m_sawNul || !m_error.isEmpty())
        return;
    Search(m_carry, true);
    m_carry.clear();
}

void HitCollector::Search(QByteArrayView lines, bool endsDocument)
{
    if (lines.isEmpty())
        return;
    qsizetype counted = 0;
    qint64 line = m_line;
    bool afterCr = m_pendingCr;
    const TextMatcher::Lines stretch{lines, m_offset == 0, endsDocument};
    m_error = m_matcher.FindAll(stretch, [&](TextMatcher::Span span) {
        line += CountLineEnds(lines, counted, span.start, afterCr);
        afterCr = span.start > 0 && lines[span.start - 1] == '\r';
        counted = span.start;
        m_hits.append(MakeHit(lines, span, line));
        return true;
    });
    m_line = line + CountLineEnds(lines, counted, lines.size(), afterCr);
    m_pendingCr = !lines.isEmpty() && lines.back() == '\r';
    m_offset += lines.size();
}

LineHit HitCollector::MakeHit(QByteArrayView lines, TextMatcher::Span span, qint64 line) const
{
    qsizetype lineStart = span.start;
    while (lineStart > 0 && !IsLineEnd(lines[lineStart - 1]))
        --lineStart;
    qsizetype lineEnd = span.end;
    while (lineEnd < lines.size() && !IsLineEnd(lines[lineEnd]))
        ++lineEnd;
    while (lineStart < span.start && (lines[lineStart] == ' ' || lines[lineStart] == '\t'))
        ++lineStart; // the indentation says nothing in a list of hits

    qsizetype from = std::max(lineStart, span.start - ShownBefore);
    while (from > lineStart && IsContinuation(lines[from]))
        --from;
    qsizetype to = std::min(lineEnd, from + ShownAtMost);
    while (to < lineEnd && IsContinuation(lines[to]))
        ++to;
    const qsizetype matchEnd = std::min(span.end, to);

    LineHit hit;
    hit.line = line;
    hit.start = m_offset + span.start;
    hit.end = m_offset + span.end;
    hit.matched = lines.sliced(span.start, std::min(span.end - span.start, MatchedKept)).toByteArray();
    const QString before = (from > lineStart ? QStringLiteral("…") : QString())
                           + QString::fromUtf8(lines.sliced(from, span.start - from));
    const QString match = QString::fromUtf8(lines.sliced(span.start, matchEnd - span.start));
    hit.text = before + match + QString::fromUtf8(lines.sliced(matchEnd, to - matchEnd))
               + (to < lineEnd ? QStringLiteral("…") : QString());
    hit.highlightFrom = int(before.size());
    hit.highlightLength = int(match.size());
    return hit;
}
