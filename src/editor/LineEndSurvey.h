#pragma once

#include "LineEnds.h"

#include <QObject>
#include <QTimer>
#include <optional>

class clsScintilla;

// Knows which line ends a document holds without reading a huge document
// while the user waits: the count runs in slices between events, reads the
// text where the component keeps it (never moving its gap) and is kept
// until the document changes.
class LineEndSurvey : public QObject
{
    Q_OBJECT

public:
    explicit LineEndSurvey(clsScintilla &sci);

    // The counts, when known for the document as it is now.
    std::optional<LineEnds::Counts> Known() const { return m_known; }
    // Counts read elsewhere (as the file was loaded).
    void Take(const LineEnds::Counts &counts);
    // The document changed: what was counted no longer holds.
    void Forget();
    // Counts, unless known already; the first slice runs at once, so a
    // small document is counted when this returns.
    void Count();

    // Bytes a slice reads; tests make it small.
    static qint64 &SliceBytes();

signals:
    void Counted();

private:
    void CountSlice();

    clsScintilla &m_sci;
    QTimer m_timer;
    LineEnds::Tally m_tally;
    long m_position = 0;
    std::optional<LineEnds::Counts> m_known;
};
