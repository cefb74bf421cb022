#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The line ends of a text: which kinds it holds, and writing them all as
// one kind. Modes are the component's end-of-line modes (SC_EOL_CRLF 0,
// SC_EOL_CR 1, SC_EOL_LF 2).
namespace LineEnds {

struct Counts
{
    qint64 crlf = 0;
    qint64 cr = 0; // alone, not followed by LF
    qint64 lf = 0; // alone, not after CR
};

Counts Count(QByteArrayView text);

// Counts a text that arrives in pieces, in order: a CR ending one piece and
// an LF starting the next are one CR LF.
class Tally
{
public:
    void Add(QByteArrayView piece);
    void Reset() { *this = Tally(); }
    Counts Total() const { return m_counts; }

private:
    Counts m_counts;
    bool m_endsWithCr = false;
};

// The mode of the kind used most; LF (this platform's own) for a text
// without line ends and where LF ties with another kind, CR LF over CR.
long MostUsedMode(const Counts &counts);

// Every line end (CR LF, CR alone, LF alone) written as the mode's; the
// text between line ends stays as it is.
QByteArray Converted(QByteArrayView text, long mode);

} // namespace LineEnds
