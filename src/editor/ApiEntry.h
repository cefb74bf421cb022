#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <utility>

// One signature of an API file, read once when the file loads: the entry the
// call-tip search looks through (a separator, then the line), the tip it
// shows, and where each parameter lies in that tip, in bytes.
class ApiEntry
{
public:
    // A longer tip is cut here, at a character boundary, and ends in "…": a
    // tip is one line on the screen, and the component lays it out whole.
    static constexpr qsizetype TipLimit = 300;

    // The entries of an API file: one per line, line ends of any kind; what
    // follows the last line end is no entry.
    static QList<ApiEntry> Parse(QByteArrayView text);

    explicit ApiEntry(QByteArray entry);

    const QByteArray &Entry() const { return m_entry; }
    // The line without its last character, cut to the limit or at a NUL.
    const QByteArray &Tip() const { return m_tip; }
    bool HasComma() const { return m_hasComma; }
    // Parameter k's span in the tip; past the last parameter, the last one's;
    // a parameter the limit cut off, the "…".
    std::pair<qsizetype, qsizetype> Span(qsizetype k) const;

private:
    void FindParameters();

    QByteArray m_entry;
    QByteArray m_tip;
    qsizetype m_shown = 0; // bytes of the line's tip shown before the "…"
    bool m_cut = false;
    bool m_hasComma = false;
    qsizetype m_parameterCount = 0;
    QList<std::pair<qsizetype, qsizetype>> m_spans; // of the parameters that start in the shown part
};
