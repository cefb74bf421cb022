#pragma once

#include "TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// The judgements loading makes from samples of a file; the loader then
// proves the chosen encoding on the whole file.
namespace EncodingDetector {

// How much of a file the judgements look at.
constexpr qsizetype SampleSize = 64 * 1024;

// UTF-32 or UTF-16 without a mark, by where the zero bytes are: only when
// every code unit of the sample (the file's start) is a character that is
// no control, and for UTF-16 when zero bytes are common in the high halves of
// the units and rarer in the low ones. The file's size must be whole units.
std::optional<TextEncoding> WideByZeros(QByteArrayView sample, qint64 fileSize);

// Neither a NUL byte nor mostly control bytes: worth showing as text of a
// single-byte encoding rather than as raw bytes.
bool LooksLikeText(QByteArrayView sample);

// Adds to sample the words of chunk that hold a byte from 0x80 up, each
// followed by a line feed, until sample reaches limit (the last word may be
// cut there). Words are what lies between bytes below 0x30, which none of
// the multi-byte encodings judged here uses inside a character. A word that
// touches the chunk's start (unless first) or its end (unless last) may be
// only part of one, and is left out.
void CollectNonAsciiWords(QByteArrayView chunk, bool first, bool last, QByteArray &sample, qsizetype limit);

// The multi-byte encodings (GB18030, Big5, Shift_JIS, EUC-JP, EUC-KR) in
// which the sample is valid, the likeliest first: the decoded text scored
// with the character tables of the languages each encoding is written in.
// A tie keeps this order, so GB18030 wins it. Those whose text is made of
// characters their languages (nearly) never use are unlikely: worth trying
// only when the sample looked like the text of a likely one.
struct LegacyRanking
{
    QList<TextEncoding> likely;
    QList<TextEncoding> unlikely;
};
LegacyRanking RankLegacy(QByteArrayView sample);

// The candidates RankLegacy weighs, in the order that breaks ties.
QList<TextEncoding> LegacyCandidates();

} // namespace EncodingDetector
