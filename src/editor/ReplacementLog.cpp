#include "ReplacementLog.h"

// Each entry: the distance from the end of the match before (a number of
// seven bits a byte), then twice the match's length, plus one when its bytes
// follow because they differ from the first match's.
void ReplacementLog::PutNumber(std::uint64_t value)
{
    while (value >= 0x80) {
        m_entries.push_back(std::uint8_t(value | 0x80));
        value >>= 7;
    }
    m_entries.push_back(std::uint8_t(value));
}

void ReplacementLog::Add(long originalStart, QByteArrayView original)
{
    if (m_count == 0)
        m_common = original.toByteArray();
    const bool own = original != QByteArrayView(m_common);
    PutNumber(std::uint64_t(originalStart - m_end));
    PutNumber(std::uint64_t(original.size()) * 2 + (own ? 1 : 0));
    if (own)
        m_entries.insert(m_entries.end(), original.begin(), original.end());
    m_end = originalStart + long(original.size());
    m_growth += m_with.size() - original.size();
    ++m_count;
}

std::uint64_t ReplacementLog::Reader::Number()
{
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = m_log.m_entries[m_at++];
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
}

bool ReplacementLog::Reader::Next(long &originalStart, QByteArrayView &original)
{
    if (m_at >= m_log.m_entries.size())
        return false;
    originalStart = m_end + long(Number());
    const std::uint64_t sizeAndOwn = Number();
    const auto size = qsizetype(sizeAndOwn / 2);
    if (sizeAndOwn & 1) {
        original = QByteArrayView(reinterpret_cast<const char *>(m_log.m_entries.data() + m_at), size);
        m_at += std::size_t(size);
    } else {
        original = QByteArrayView(m_log.m_common);
    }
    m_end = originalStart + long(size);
    return true;
}
