#include "platform/ContentHash.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Sample(int length)
{
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes += char((i * 37 + 11) & 0xFF);
    return bytes;
}

quint64 HashOf(QByteArrayView bytes)
{
    ContentHash hash;
    hash.Add(bytes);
    return hash.Value();
}

// Files are fingerprinted a buffer at a time: every way of cutting the
// bytes gives the fingerprint of the whole.
TEST(ContentHashTest, PiecesGiveTheFingerprintOfTheWhole)
{
    const QByteArray bytes = Sample(100);
    const quint64 whole = HashOf(bytes);
    for (int first = 0; first <= bytes.size(); ++first)
        for (int second = first; second <= bytes.size(); ++second) {
            ContentHash hash;
            hash.Add(QByteArrayView(bytes).first(first));
            hash.Add(QByteArrayView(bytes).sliced(first, second - first));
            hash.Add(QByteArrayView(bytes).sliced(second));
            ASSERT_EQ(hash.Value(), whole) << "cut at " << first << " and " << second;
        }
}

// Whatever changes (a byte anywhere, the length, the order) changes it.
TEST(ContentHashTest, AnyChangeChangesIt)
{
    const QByteArray bytes = Sample(100);
    const quint64 original = HashOf(bytes);
    for (int at = 0; at < bytes.size(); ++at) {
        QByteArray changed = bytes;
        changed[at] = char(changed[at] ^ 1);
        EXPECT_NE(HashOf(changed), original) << "byte " << at;
    }
    EXPECT_NE(HashOf(bytes + '\0'), original);
    EXPECT_NE(HashOf(bytes.first(99)), original);
    EXPECT_NE(HashOf(bytes.sliced(8) + bytes.first(8)), original) << "words in another order";
    EXPECT_NE(HashOf(QByteArray()), HashOf(QByteArray(1, '\0')));
    EXPECT_NE(HashOf(QByteArray(1, '\0')), HashOf(QByteArray(2, '\0')));
}

TEST(ContentHashTest, AFileIsFingerprintedAsItsBytes)
{
    QTemporaryDir dir;
    const QByteArray bytes = Sample(3 << 20); // several read buffers
    QFile file(dir.filePath(QStringLiteral("f")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    EXPECT_EQ(ContentHash::OfFile(file.fileName()), HashOf(bytes));
    EXPECT_EQ(ContentHash::OfFile(dir.filePath(QStringLiteral("missing"))), std::nullopt);
}

} // namespace
