#pragma once

#include "ReplacementLog.h"

#include <QByteArray>
#include <memory>

class LongOperation;
class TextSearch;
class clsScintilla;

// Replacing every match of a search, in slices the user can stop, without
// the component's undo history: what was replaced goes to a ReplacementLog,
// from which the replacement is taken back when the user stops it, and
// undone and redone later (ReplaceHistory). Memory stays near the
// document's own: the component's history would keep every replaced
// stretch twice.
class ReplaceAllRun
{
public:
    // Caret, anchor and first shown line.
    struct View
    {
        long anchor = 0;
        long caret = 0;
        long firstLine = 0;
    };

    struct Outcome
    {
        qint64 count = 0;
        bool stopped = false;
        std::unique_ptr<ReplacementLog> log;
        bool joined = true;
        View before;
        View after;
    };

    // Every match of the document as it stands, replaced; a stopped run
    // leaves the document as it was.
    static Outcome Run(clsScintilla &sci, TextSearch &search, const QByteArray &with);
    // Takes a run back, or makes it again, on the document it left (or
    // found). Neither can be stopped halfway.
    static void Undo(clsScintilla &sci, const ReplacementLog &log, bool joined, const View &before);
    static void Redo(clsScintilla &sci, const ReplacementLog &log, bool joined, const View &after);

private:
    static void TakeBack(clsScintilla &sci, const ReplacementLog &log, bool joined, LongOperation &operation);
};
