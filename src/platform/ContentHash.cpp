#include "ContentHash.h"

#include <QFile>
#include <QtEndian>
#include <cstring>

namespace {

constexpr quint64 Prime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 Prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 Prime3 = 0x165667B19E3779F9ULL;

quint64 RotateLeft(quint64 value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

quint64 Round(quint64 lane, quint64 word)
{
    return RotateLeft(lane + word * Prime2, 31) * Prime1;
}

quint64 Word(const char *at)
{
    return qFromLittleEndian<quint64>(at);
}

} // namespace

ContentHash::ContentHash() : m_lanes{Prime1 + Prime2, Prime2, 0, 0 - Prime1}
{
}

// Four lanes take a word each: no lane waits on another's multiply.
void ContentHash::Mix(const char *block)
{
    for (int lane = 0; lane < Lanes; ++lane)
        m_lanes[size_t(lane)] = Round(m_lanes[size_t(lane)], Word(block + 8 * lane));
}

void ContentHash::Add(QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype length = bytes.size();
    if (length == 0)
        return; // an empty view may hold no address at all
    m_length += quint64(length);
    if (m_pendingLength > 0) {
        const qsizetype taken = std::min(length, Block - m_pendingLength);
        std::memcpy(m_pending + m_pendingLength, data, size_t(taken));
        m_pendingLength += taken;
        data += taken;
        length -= taken;
        if (m_pendingLength < Block)
            return;
        Mix(m_pending);
        m_pendingLength = 0;
    }
    for (; length >= Block; data += Block, length -= Block)
        Mix(data);
    std::memcpy(m_pending, data, size_t(length));
    m_pendingLength = length;
}

quint64 ContentHash::Value() const
{
    quint64 hash = RotateLeft(m_lanes[0], 1) + RotateLeft(m_lanes[1], 7) + RotateLeft(m_lanes[2], 12)
                   + RotateLeft(m_lanes[3], 18);
    for (quint64 lane : m_lanes)
        hash = (hash ^ Round(0, lane)) * Prime1 + Prime3;
    hash += m_length;
    qsizetype at = 0;
    for (; at + 8 <= m_pendingLength; at += 8)
        hash = RotateLeft(hash ^ Round(0, Word(m_pending + at)), 27) * Prime1 + Prime3;
    for (; at < m_pendingLength; ++at)
        hash = RotateLeft(hash ^ (quint64(quint8(m_pending[at])) * Prime3), 11) * Prime1;
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    hash *= Prime3;
    return hash ^ (hash >> 32);
}

std::optional<quint64> ContentHash::OfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ContentHash hash;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return hash.Value();
        hash.Add(QByteArrayView(buffer.constData(), got));
    }
}
