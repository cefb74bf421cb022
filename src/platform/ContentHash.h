#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

// A 64-bit fingerprint of bytes, the same however they are cut into pieces:
// enough to tell whether a file's content changed, at the speed of reading
// it (several times faster than a cryptographic hash). Not for secrets.
class ContentHash
{
public:
    ContentHash();
    void Add(QByteArrayView bytes);
    quint64 Value() const;

    // The file's fingerprint; nothing when it cannot be read.
    static std::optional<quint64> OfFile(const QString &path);

private:
    static constexpr int Lanes = 4;
    static constexpr qsizetype Block = Lanes * 8;

    void Mix(const char *block);

    std::array<quint64, Lanes> m_lanes;
    char m_pending[Block] = {};
    qsizetype m_pendingLength = 0;
    quint64 m_length = 0;
};
