#include "LineEnds.h"

#include <Qsci/qsciscintillabase.h>
#include <cstring>

using Sci = QsciScintillaBase;

namespace LineEnds {

namespace {

// memchr is the fastest scan at hand (several times std::count here).
template <typename Each>
qint64 CountByte(const char *data, const char *end, char byte, Each each)
{
    qint64 count = 0;
    for (const char *p = data; p < end && (p = static_cast<const char *>(std::memchr(p, byte, end - p))); ++p) {
        ++count;
        each(p);
    }
    return count;
}

} // namespace

Counts Count(QByteArrayView text)
{
    const char *data = text.data();
    const char *end = data + text.size();
    qint64 pairs = 0;
    const qint64 crs = CountByte(data, end, '\r', [&](const char *p) {
        if (p + 1 < end && p[1] == '\n')
            ++pairs;
    });
    const qint64 lfs = CountByte(data, end, '\n', [](const char *) {});
    return Counts{pairs, crs - pairs, lfs - pairs};
}

void Tally::Add(QByteArrayView piece)
{
    if (piece.isEmpty())
        return;
    const Counts counts = Count(piece);
    m_counts.crlf += counts.crlf;
    m_counts.cr += counts.cr;
    m_counts.lf += counts.lf;
    if (m_endsWithCr && piece.front() == '\n') {
        --m_counts.cr;
        --m_counts.lf;
        ++m_counts.crlf;
    }
    m_endsWithCr = piece.back() == '\r';
}

long MostUsedMode(const Counts &counts)
{
    long mode = Sci::SC_EOL_LF;
    qint64 most = counts.lf;
    if (counts.crlf > most) {
        mode = Sci::SC_EOL_CRLF;
        most = counts.crlf;
    }
    if (counts.cr > most)
        mode = Sci::SC_EOL_CR;
    return mode;
}

QByteArray Converted(QByteArrayView text, long mode)
{
    const QByteArrayView lineEnd = mode == Sci::SC_EOL_CRLF ? QByteArrayView("\r\n")
                                   : mode == Sci::SC_EOL_CR ? QByteArrayView("\r")
                                                            : QByteArrayView("\n");
    QByteArray out;
    out.reserve(text.size() + (lineEnd.size() > 1 ? text.size() / 16 : 0));
    const char *data = text.data();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            continue;
        out.append(data + start, i - start);
        out.append(lineEnd);
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    out.append(data + start, size - start);
    return out;
}

} // namespace LineEnds
