#include "StretchReplacer.h"

#include "ReplacementLog.h"
#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

StretchReplacer::StretchReplacer(clsScintilla &sci, bool joined, ReplacementLog *log)
    : m_sci(sci), m_joined(joined), m_log(log)
{
}

bool StretchReplacer::Takes(long start, long end) const
{
    if (m_pending.empty())
        return true;
    return m_joined && start - m_pending.back().end <= MaxGap && end - m_pending.front().start <= MaxSpan;
}

void StretchReplacer::Add(long start, long end, QByteArrayView with)
{
    m_pending.push_back({start, end, with});
}

// A position before the stretch is replaced, mapped the way the component
// maps it through a replacement of each edit by itself.
long StretchReplacer::Map(long position) const
{
    long shift = 0;
    for (const Edit &e : m_pending) {
        if (position <= e.start)
            return position + shift;
        if (position <= e.end)
            return e.start + shift;
        shift += long(e.with.size()) - (e.end - e.start);
    }
    return position + shift;
}

long StretchReplacer::Flush()
{
    if (m_pending.empty())
        return 0;
    const long start = m_pending.front().start;
    const long end = m_pending.back().end;
    const char *text = end > start ? reinterpret_cast<const char *>(m_sci.SendEditor(Sci::SCI_GETRANGEPOINTER, start,
                                                                                     end - start))
                                   : nullptr;
    if (m_log)
        for (const Edit &e : m_pending)
            m_log->Add(e.start - m_growth, QByteArrayView(text + (e.start - start), e.end - e.start));

    QByteArrayView bytes = m_pending.front().with;
    if (m_pending.size() > 1) {
        m_stretch.clear();
        long copied = start;
        for (const Edit &e : m_pending) {
            m_stretch.append(text + (copied - start), e.start - copied);
            m_stretch.append(e.with);
            copied = e.end;
        }
        bytes = m_stretch;
        moved = true;
    }
    const long delta = long(bytes.size()) - (end - start);
    for (long &position : tracked) {
        if (position > end)
            position += delta;
        else if (position > start)
            position = Map(position);
    }
    m_sci.SendEditor(Sci::SCI_SETTARGETSTART, start);
    m_sci.SendEditor(Sci::SCI_SETTARGETEND, end);
    m_sci.ReplaceTargetBytes(bytes);
    m_pending.clear();
    m_growth += delta;
    return delta;
}
