#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <vector>

class ReplacementLog;
class clsScintilla;

// Makes a series of replacements in the component a stretch at a time: the
// edits waiting are found in text that has not changed yet, and the stretch
// from the first one's start to the last one's end goes in one request, the
// text between them copied along. A million small requests would cost
// seconds; a few hundred large ones cost less than sed. Where a stretch
// would disturb something (a contracted fold, a marker, a rectangular or
// multiple selection) each edit goes alone.
class StretchReplacer
{
public:
    // Every edit made is written to the log, when there is one.
    StretchReplacer(clsScintilla &sci, bool joined, ReplacementLog *log);

    // Positions are the document's as it is now; the edit lies after every
    // edit added before it.
    bool Takes(long start, long end) const;
    void Add(long start, long end, QByteArrayView with);
    // Makes the edits waiting; answers how much longer the text became.
    long Flush();
    // Forgets the edits waiting, unmade.
    void Discard() { m_pending.clear(); }
    std::size_t Pending() const { return m_pending.size(); }
    // How much longer every edit made so far has made the text.
    long Growth() const { return m_growth; }

    // Caret, anchor and the start of the first shown line, moved the way the
    // component moves them when each edit is made on its own; `moved` once
    // a stretch went in (the component then put them elsewhere).
    std::array<long, 3> tracked{};
    bool moved = false;

private:
    struct Edit
    {
        long start;
        long end;
        QByteArrayView with;
    };
    long Map(long position) const;

    clsScintilla &m_sci;
    bool m_joined;
    ReplacementLog *m_log;
    std::vector<Edit> m_pending;
    QByteArray m_stretch;
    long m_growth = 0;

    // Text between two edits is copied along with them; past this much a
    // separate request is cheaper. A stretch stays small enough to go in
    // well within a slice of work.
    static constexpr long MaxGap = 1024;
    static constexpr long MaxSpan = 256 * 1024;
};
