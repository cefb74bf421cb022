#include "Utf8Scan.h"

#include <QStringDecoder>

namespace Utf8Scan {

namespace {

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

} // namespace

int DecodeOne(const unsigned char *p, qsizetype n, char32_t &codePoint)
{
    if (n <= 0)
        return -1;
    const unsigned char b = p[0];
    if (b < 0x80) {
        codePoint = b;
        return 1;
    }
    int length;
    char32_t cp;
    // The second byte's range excludes overlong forms, surrogates and values
    // past U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        cp = b & 0x0F;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        cp = b & 0x07;
        if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if (i >= n)
            return -1;
        const unsigned char c = p[i];
        if (i == 1 ? (c < low || c > high) : !IsContinuation(c))
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    codePoint = cp;
    return length;
}

qsizetype CompleteLength(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    // A character is at most four bytes, so only the last three can start one
    // that is cut off.
    for (qsizetype start = n - 1; start >= 0 && start >= n - 3; --start) {
        if (IsContinuation(p[start]))
            continue;
        char32_t cp;
        return DecodeOne(p + start, n - start, cp) == -1 ? start : n;
    }
    return n;
}

qsizetype FirstInvalid(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        char32_t cp;
        const int length = DecodeOne(p + i, n - i, cp);
        if (length <= 0)
            return i;
        i += length;
    }
    return -1;
}

QString ToString(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

} // namespace Utf8Scan
