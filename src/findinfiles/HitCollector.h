#pragma once

#include "FileHits.h"
#include "TextMatcher.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Takes a file's text in pieces as it is read and searches it a stretch of
// whole lines at a time, so that a large file never has to be held whole:
// only the line cut off at a piece's end waits for the next. Line numbers
// follow the editor's count (CR LF, CR and LF each end a line).
class HitCollector
{
public:
    // A file with NUL characters is no text file; an open document is
    // searched whatever it holds.
    enum class Nul { EndsSearch, Allowed };

    explicit HitCollector(TextMatcher &matcher, Nul nul = Nul::EndsSearch) : m_matcher(matcher), m_nul(nul) {}

    // What was read so far does not count (the reader tries another encoding).
    void Restart();
    void Append(QByteArrayView piece);
    // The last line (it may have no line end).
    void Finish();

    const QList<LineHit> &Hits() const { return m_hits; }
    // The text held a NUL character: no text file.
    bool SawNul() const { return m_sawNul; }
    // Why a stretch could not be searched (a regular expression ran out of
    // its limits); empty when nothing went wrong.
    const QString &Error() const { return m_error; }

private:
    void Search(QByteArrayView lines, bool endsDocument);
    LineHit MakeHit(QByteArrayView lines, TextMatcher::Span span, qint64 line) const;

    TextMatcher &m_matcher;
    Nul m_nul;
    QByteArray m_carry;     // the start of a line whose end has not come yet
    qint64 m_offset = 0;    // where the next stretch starts in the text
    qint64 m_line = 0;      // and on which line
    bool m_pendingCr = false; // the last stretch ended in a CR: a LF next belongs to it
    QList<LineHit> m_hits;
    bool m_sawNul = false;
    QString m_error;
};
