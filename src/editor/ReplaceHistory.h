#pragma once

#include "ReplaceAllRun.h"

#include <map>
#include <memory>
#include <optional>

class clsScintilla;

// The replace-alls of one editor that its undo history can take back and
// make again. Each is one step of the component's history: an action of
// ours (SCI_ADDUNDOACTION) whose token names its entry here. The component
// reports an undo or redo reaching that action while it is still inside
// the undo, when it refuses changes; the change is made as soon as the undo
// has returned (Settle). Until then the document takes no other change.
class ReplaceHistory
{
public:
    explicit ReplaceHistory(clsScintilla &sci) : m_sci(sci) {}

    // Adds the run to the component's undo history as one step.
    void Record(ReplaceAllRun::Outcome outcome);
    // The component's report: an undo or redo reached the step `token`.
    void Reached(int token, bool undo);
    // Makes the change an undo or redo asked for, if any waits.
    void Settle();
    bool Unsettled() const { return m_waiting.has_value(); }
    // A new change cut off what could be redone.
    void ForgetUndone();
    // The component's history was emptied.
    void Clear();
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry
    {
        ReplaceAllRun::Outcome run;
        bool undone = false;
    };
    struct Waiting
    {
        int token;
        bool undo;
        long readOnly; // the document's own read-only state, kept while it waits
    };

    clsScintilla &m_sci;
    std::map<int, Entry> m_entries;
    std::optional<Waiting> m_waiting;
    int m_nextToken = 1;
};
