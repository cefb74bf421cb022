#pragma once

#include <QByteArrayView>
#include <QString>

// Strict UTF-8, one character at a time: no overlong forms, no surrogates,
// nothing above U+10FFFF.
namespace Utf8Scan {

// The length of the character at p (1 to 4) and its code point; 0 when the
// bytes are not valid UTF-8; -1 when the n bytes are a valid start of a
// character that continues past them.
int DecodeOne(const unsigned char *p, qsizetype n, char32_t &codePoint);

// How much of the bytes ends on a character boundary: all of them, or all
// but a valid character start cut off at the end.
qsizetype CompleteLength(QByteArrayView bytes);

// Offset of the first byte that does not begin a valid character, or -1.
qsizetype FirstInvalid(QByteArrayView bytes);

// The text of valid UTF-8, a leading U+FEFF included (QString::fromUtf8
// takes it for a byte-order mark and drops it).
QString ToString(QByteArrayView utf8);

} // namespace Utf8Scan
