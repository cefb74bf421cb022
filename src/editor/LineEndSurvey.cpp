#include "LineEndSurvey.h"

#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>

using Sci = QsciScintillaBase;

qint64 &LineEndSurvey::SliceBytes()
{
    static qint64 bytes = 4 << 20;
    return bytes;
}

LineEndSurvey::LineEndSurvey(clsScintilla &sci) : m_sci(sci)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &LineEndSurvey::CountSlice);
}

void LineEndSurvey::Take(const LineEnds::Counts &counts)
{
    m_timer.stop();
    m_known = counts;
}

void LineEndSurvey::Forget()
{
    m_timer.stop();
    m_known.reset();
}

void LineEndSurvey::Count()
{
    if (m_known || m_timer.isActive())
        return;
    m_tally.Reset();
    m_position = 0;
    CountSlice();
    if (!m_known)
        m_timer.start();
}

// A range that stays on one side of the gap is read where it lies; one
// across the gap would make the component move it.
void LineEndSurvey::CountSlice()
{
    const long length = m_sci.GetLen();
    if (!m_sci.Editor() || m_position >= length) {
        m_timer.stop();
        m_known = m_tally.Total();
        emit Counted();
        return;
    }
    long end = std::min<long>(length, m_position + SliceBytes());
    const long gap = m_sci.SendEditor(Sci::SCI_GETGAPPOSITION);
    if (gap > m_position && gap < end)
        end = gap;
    const auto *data = reinterpret_cast<const char *>(m_sci.SendEditor(Sci::SCI_GETRANGEPOINTER, m_position, end - m_position));
    m_tally.Add(QByteArrayView(data, end - m_position));
    m_position = end;
    if (m_position >= length)
        CountSlice(); // done: known at once
}
