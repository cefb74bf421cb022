#include "ReplaceHistory.h"

#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

void ReplaceHistory::Record(ReplaceAllRun::Outcome outcome)
{
    ForgetUndone(); // the new step cuts off what could be redone
    const int token = m_nextToken++;
    m_entries[token] = Entry{std::move(outcome), false};
    m_sci.SendEditor(Sci::SCI_ADDUNDOACTION, token, 0);
}

// Inside the component's undo nothing may change the text, and nothing
// else may change it before Settle: the document is read-only meanwhile.
void ReplaceHistory::Reached(int token, bool undo)
{
    if (!m_entries.count(token))
        return;
    const long readOnly = m_waiting ? m_waiting->readOnly : m_sci.SendEditor(Sci::SCI_GETREADONLY);
    m_waiting = Waiting{token, undo, readOnly};
    m_sci.SendEditor(Sci::SCI_SETREADONLY, 1);
}

void ReplaceHistory::Settle()
{
    if (!m_waiting)
        return;
    const Waiting waiting = *m_waiting;
    m_waiting.reset();
    m_sci.SendEditor(Sci::SCI_SETREADONLY, waiting.readOnly);
    const auto found = m_entries.find(waiting.token);
    if (found == m_entries.end())
        return;
    Entry &entry = found->second;
    const ReplaceAllRun::Outcome &run = entry.run;
    if (waiting.undo)
        ReplaceAllRun::Undo(m_sci, *run.log, run.joined, run.before);
    else
        ReplaceAllRun::Redo(m_sci, *run.log, run.joined, run.after);
    entry.undone = waiting.undo;
}

void ReplaceHistory::ForgetUndone()
{
    for (auto it = m_entries.begin(); it != m_entries.end();)
        it = it->second.undone ? m_entries.erase(it) : std::next(it);
}

void ReplaceHistory::Clear()
{
    if (m_waiting)
        m_sci.SendEditor(Sci::SCI_SETREADONLY, m_waiting->readOnly);
    m_waiting.reset();
    m_entries.clear();
}
