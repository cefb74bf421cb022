#include "BackgroundColouring.h"

#include "clsScintilla.h"
#include "platform/LongOperation.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>

using Sci = QsciScintillaBase;
using Clock = std::chrono::steady_clock;

namespace {

// Lines coloured past the bottom of the screen before it is shown, so that
// the first scroll finds them coloured too.
constexpr long ScreenMargin = 100;
// The screen is coloured at once only when that takes no longer than about
// this many bytes from where colouring stopped (a reapplied language while
// the view is deep in a huge file): otherwise the slices reach it soon.
constexpr long ScreenBudget = 2L << 20;
constexpr long LeastSlice = 16L << 10;
constexpr long MostSlice = 64L << 20;
// While the editor is busy (a load, a sliced replace) or any long operation
// runs, the slices wait.
constexpr int BusyRetryMs = 50;

} // namespace

std::chrono::microseconds &BackgroundColouring::SliceTime()
{
    static std::chrono::microseconds time{5000};
    return time;
}

BackgroundColouring::BackgroundColouring(clsScintilla &sci) : m_sci(sci)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &BackgroundColouring::ColourSlice);
}

void BackgroundColouring::Start()
{
    m_tablesSized = false;
    ColourScreen();
    Resume();
}

void BackgroundColouring::Resume()
{
    m_tablesSized = false;
    m_timer.setInterval(0);
    m_timer.start();
}

void BackgroundColouring::Finish()
{
    Stop();
    const long length = m_sci.GetLen();
    if (m_sci.SendEditor(Sci::SCI_GETENDSTYLED) < length)
        m_sci.SendEditor(Sci::SCI_COLOURISE, StyledLineStart(), -1);
}

void BackgroundColouring::Stop()
{
    m_timer.stop();
}

// The lexer starts at a line start: the one where colouring stopped.
long BackgroundColouring::StyledLineStart() const
{
    const long endStyled = m_sci.SendEditor(Sci::SCI_GETENDSTYLED);
    return m_sci.SendEditor(Sci::SCI_POSITIONFROMLINE, m_sci.SendEditor(Sci::SCI_LINEFROMPOSITION, endStyled));
}

void BackgroundColouring::ColourScreen()
{
    const long firstLine = m_sci.SendEditor(Sci::SCI_DOCLINEFROMVISIBLE, m_sci.SendEditor(Sci::SCI_GETFIRSTVISIBLELINE));
    const long onScreen = std::max(m_sci.SendEditor(Sci::SCI_LINESONSCREEN), 1L);
    const long lastLine = firstLine + onScreen + ScreenMargin;
    const long length = m_sci.GetLen();
    long end = m_sci.SendEditor(Sci::SCI_POSITIONFROMLINE, lastLine + 1);
    if (end < 0 || end > length)
        end = length;
    const long from = StyledLineStart();
    if (end > from && end - from <= ScreenBudget)
        m_sci.SendEditor(Sci::SCI_COLOURISE, from, end);
}

// About a slice's time of lexing, judged by the slices so far, ending at a
// line start.
long BackgroundColouring::NextSliceEnd(long from) const
{
    const double wanted = m_bytesPerMicrosecond > 0 ? m_bytesPerMicrosecond * double(SliceTime().count())
                                                    : double(LeastSlice);
    // One quick slice (a run of comment, say) says little about the next.
    const long most = m_lastSlice > 0 ? std::min(MostSlice, m_lastSlice * 4) : MostSlice;
    const long bytes = std::clamp(long(wanted), LeastSlice, std::max(LeastSlice, most));
    const long length = m_sci.GetLen();
    if (from >= length - bytes)
        return length;
    const long end = m_sci.SendEditor(Sci::SCI_POSITIONFROMLINE,
                                      m_sci.SendEditor(Sci::SCI_LINEFROMPOSITION, from + bytes) + 1);
    return end < 0 ? length : end;
}

long &BackgroundColouring::SizeTablesFromLines()
{
    static long lines = 100000;
    return lines;
}

// A lexer that keeps a state for each line makes the component grow that
// table as the slices go down the document, copying all of it each time it
// is a sixth longer: in a huge file such a copy outlasts a slice many
// times. Once the lexer is seen keeping states, the table is made as long as
// the document in one step.
bool BackgroundColouring::SizeLineStates()
{
    if (m_tablesSized)
        return false;
    const long keptUpTo = m_sci.SendEditor(Sci::SCI_GETMAXLINESTATE);
    const long lastLine = m_sci.SendEditor(Sci::SCI_GETLINECOUNT) - 1;
    if (keptUpTo == 0)
        return false; // not yet, or a lexer that keeps none
    m_tablesSized = true;
    if (lastLine < SizeTablesFromLines() || keptUpTo > lastLine)
        return false;
    m_sci.SendEditor(Sci::SCI_SETLINESTATE, lastLine, m_sci.SendEditor(Sci::SCI_GETLINESTATE, lastLine));
    return true;
}

void BackgroundColouring::ColourSlice()
{
    if (!m_sci.Editor()) {
        Stop();
        return;
    }
    // A long operation does work of its own between its slices (an export
    // colours what it needs itself): the slices wait for it to end.
    if (m_sci.IsLoading() || LongOperation::Running()) {
        m_timer.setInterval(BusyRetryMs);
        return;
    }
    m_timer.setInterval(0);
    if (SizeLineStates())
        return; // a turn of its own
    const long length = m_sci.GetLen();
    const long endStyled = m_sci.SendEditor(Sci::SCI_GETENDSTYLED);
    if (endStyled >= length) {
        Stop();
        emit Finished();
        return;
    }
    const long from = StyledLineStart();
    const long to = NextSliceEnd(from);
    const Clock::time_point started = Clock::now();
    m_sci.SendEditor(Sci::SCI_COLOURISE, from, to);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count();
    m_lastSlice = to - from;
    if (took > 0)
        m_bytesPerMicrosecond = double(to - from) / double(took);
    // A lexer that styles nothing (the container lexer) never gets further.
    if (m_sci.SendEditor(Sci::SCI_GETENDSTYLED) <= endStyled) {
        Stop();
        emit Finished();
    }
}
