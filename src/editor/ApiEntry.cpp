#include "ApiEntry.h"

#include <algorithm>
#include <cstring>

namespace {

const QByteArray Ellipsis = QByteArrayLiteral("\xE2\x80\xA6");

// A byte inside a UTF-8 character, after its first.
bool IsContinuationByte(char c)
{
    return (uchar(c) & 0xC0) == 0x80;
}

} // namespace

QList<ApiEntry> ApiEntry::Parse(QByteArrayView text)
{
    QList<ApiEntry> entries;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        QByteArray entry;
        entry.reserve(1 + i - start); // a line may be megabytes: one copy only
        entry.append('\n').append(text.sliced(start, i - start));
        entries.append(ApiEntry(std::move(entry)));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return entries;
}

ApiEntry::ApiEntry(QByteArray entry)
    : m_entry(std::move(entry))
{
    m_hasComma = m_entry.contains(',');
    // The tip leaves out the line's last character, all its bytes.
    qsizetype tipLength = std::max<qsizetype>(m_entry.size() - 2, 0);
    while (tipLength > 0 && IsContinuationByte(m_entry[1 + tipLength]))
        --tipLength;
    m_shown = tipLength;
    // The component takes the tip as a NUL-terminated string: a NUL in the
    // line ends what it shows, like the limit does.
    const qsizetype nul = m_entry.indexOf('\0', 1);
    const qsizetype limit = nul >= 0 ? std::min(TipLimit, nul - 1) : TipLimit;
    if (tipLength > limit) {
        m_cut = true;
        m_shown = limit;
        while (m_shown > 0 && IsContinuationByte(m_entry[1 + m_shown])) // inside a character
            --m_shown;
    }
    m_tip = m_entry.mid(1, m_shown);
    if (m_cut)
        m_tip += Ellipsis;
    FindParameters();
}

// The parameters are the text between the first "(" and the last ")" (or the
// entry's end), split at every comma. A tip offset is one less than the
// entry's: the tip starts after the separator.
void ApiEntry::FindParameters()
{
    const qsizetype open = m_entry.indexOf('(');
    if (open < 0)
        return; // no parameter list: nothing to highlight
    const qsizetype close = m_entry.lastIndexOf(')');
    const char *data = m_entry.constData();
    const char *end = data + (close > open ? close : m_entry.size());
    const char *param = data + open + 1;
    while (true) {
        const auto *comma = static_cast<const char *>(std::memchr(param, ',', end - param));
        const char *paramEnd = comma ? comma : end;
        // Within what is shown: without a ")" the last parameter runs to
        // the line's last character, which the tip leaves out.
        const qsizetype start = std::min<qsizetype>(param - data - 1, m_shown);
        const qsizetype stop = std::min<qsizetype>(paramEnd - data - 1, m_shown);
        if (!m_cut || start < m_shown)
            m_spans.append({start, stop});
        ++m_parameterCount;
        if (!comma)
            break;
        param = comma + 1;
    }
}

std::pair<qsizetype, qsizetype> ApiEntry::Span(qsizetype k) const
{
    if (m_parameterCount == 0)
        return {0, 0};
    k = std::clamp<qsizetype>(k, 0, m_parameterCount - 1);
    if (k < m_spans.size())
        return m_spans[k];
    return {m_shown, m_shown + Ellipsis.size()};
}
