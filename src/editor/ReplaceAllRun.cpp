#include "ReplaceAllRun.h"

#include "EditorWindow.h"
#include "StretchReplacer.h"
#include "TextSearch.h"
#include "clsScintilla.h"
#include "platform/LongOperation.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

constexpr long LargeDocument = 32 * 1000 * 1000;

// Edits without change reports (the component's would cost more than the
// edits) and outside the undo history (the log is the history).
class QuietEdits
{
public:
    explicit QuietEdits(clsScintilla &sci) : m_sci(sci), m_collecting(sci.SendEditor(Sci::SCI_GETUNDOCOLLECTION))
    {
        if (EditorWindow *editor = m_sci.Editor())
            editor->BeginBulkOperation();
        m_sci.SendEditor(Sci::SCI_SETMODEVENTMASK, 0);
        m_sci.SendEditor(Sci::SCI_SETUNDOCOLLECTION, 0);
    }
    ~QuietEdits()
    {
        m_sci.SendEditor(Sci::SCI_SETUNDOCOLLECTION, m_collecting);
        if (EditorWindow *editor = m_sci.Editor())
            editor->EndBulkOperation(); // puts the change reports back
    }

private:
    clsScintilla &m_sci;
    long m_collecting;
};

// Contracted folds, markers and rectangular or multiple selections would not
// survive a stretch being replaced as a whole; then each match goes alone.
bool ReplacesInStretches(const clsScintilla &sci)
{
    return sci.SendEditor(Sci::SCI_CONTRACTEDFOLDNEXT, 0) < 0 && sci.SendEditor(Sci::SCI_MARKERNEXT, 0, -1) < 0
           && sci.SendEditor(Sci::SCI_GETSELECTIONS) == 1
           && sci.SendEditor(Sci::SCI_GETSELECTIONMODE) == Sci::SC_SEL_STREAM;
}

ReplaceAllRun::View CurrentView(const clsScintilla &sci)
{
    return {sci.SendEditor(Sci::SCI_GETANCHOR), sci.GetCurPos(), sci.SendEditor(Sci::SCI_GETFIRSTVISIBLELINE)};
}

void ShowView(clsScintilla &sci, const ReplaceAllRun::View &view)
{
    sci.SendEditor(Sci::SCI_SETANCHOR, view.anchor);
    sci.SendEditor(Sci::SCI_SETCURRENTPOS, view.caret);
    sci.SendEditor(Sci::SCI_SETFIRSTVISIBLELINE, view.firstLine);
}

} // namespace

ReplaceAllRun::Outcome ReplaceAllRun::Run(clsScintilla &sci, TextSearch &search, const QByteArray &with)
{
    Outcome outcome;
    outcome.joined = ReplacesInStretches(sci);
    outcome.before = CurrentView(sci);
    outcome.log = std::make_unique<ReplacementLog>(with);
    StretchReplacer writer(sci, outcome.joined, outcome.log.get());
    const long topLine = sci.SendEditor(Sci::SCI_DOCLINEFROMVISIBLE, outcome.before.firstLine);
    writer.tracked = {outcome.before.anchor, outcome.before.caret, sci.PositionFromLine(topLine)};

    LongOperation operation(QStringLiteral("正在全部替换"));
    long length = sci.GetLen();
    operation.SetTotal(length);
    search.Forget();
    bool stopped = false;
    {
        QuietEdits quiet(sci);
        long from = 0;
        long lastEnd = -1; // end of the previous match
        LongOperation::Pace pace;
        long nextBreath = pace.Next(); // many matches can come from one slice of the search
        for (;;) {
            TextSearch::Match match = search.Find(from, length, operation, true);
            if (!match.Found())
                break;
            if (match.start >= nextBreath) {
                operation.SetDone(match.start);
                if (!operation.Breathe())
                    break;
                nextBreath = match.start + long(pace.Next());
            }
            if (match.start == match.end && match.start == lastEnd) {
                // An empty match where the previous one ended: step one character on.
                const long next = sci.SendEditor(Sci::SCI_POSITIONAFTER, match.start);
                if (next <= match.start)
                    break;
                from = next;
                lastEnd = -1;
                continue;
            }
            if (!writer.Takes(match.start, match.end)) {
                // The first longer stretch makes the component grow its buffers
                // for text and styles: a copy of the whole document, seconds
                // for a gigabyte. The progress shows before that.
                if (outcome.count == qint64(writer.Pending()) && length >= LargeDocument)
                    operation.ShowNow();
                const long growth = writer.Flush();
                search.Forget();
                match.start += growth;
                match.end += growth;
                length += growth;
                operation.SetDone(match.start);
                if (!operation.Breathe())
                    break;
            }
            writer.Add(match.start, match.end, with);
            ++outcome.count;
            lastEnd = match.end;
            from = match.end;
        }
        stopped = operation.Stopped();
        if (stopped) {
            writer.Discard();
            operation.FinishUnstoppable();
            operation.Retitle(QStringLiteral("正在撤消替换"));
            TakeBack(sci, *outcome.log, outcome.joined, operation);
        } else {
            writer.Flush();
        }
    }
    if (stopped) {
        ShowView(sci, outcome.before);
        return {0, true, nullptr, outcome.joined, outcome.before, outcome.before};
    }
    if (writer.moved) {
        sci.SendEditor(Sci::SCI_SETANCHOR, writer.tracked[0]);
        sci.SendEditor(Sci::SCI_SETCURRENTPOS, writer.tracked[1]);
        sci.SendEditor(Sci::SCI_SETFIRSTVISIBLELINE,
                       sci.SendEditor(Sci::SCI_VISIBLEFROMDOCLINE,
                                      sci.SendEditor(Sci::SCI_LINEFROMPOSITION, writer.tracked[2])));
    }
    outcome.after = CurrentView(sci);
    return outcome;
}

// Every entry of the log still holds its replacement; the ones before it
// hold theirs too, unless already taken back.
void ReplaceAllRun::TakeBack(clsScintilla &sci, const ReplacementLog &log, bool joined, LongOperation &operation)
{
    StretchReplacer writer(sci, joined, nullptr);
    ReplacementLog::Reader reader(log);
    const long withSize = long(log.With().size());
    long originalStart = 0;
    QByteArrayView original;
    long growthBefore = 0; // of the entries before this one
    qint64 done = 0;
    operation.SetTotal(log.Count());
    while (reader.Next(originalStart, original)) {
        long at = originalStart + growthBefore + writer.Growth();
        if (!writer.Takes(at, at + withSize)) {
            writer.Flush();
            at = originalStart + growthBefore + writer.Growth();
            operation.SetDone(done);
            operation.Breathe();
        }
        writer.Add(at, at + withSize, original);
        growthBefore += withSize - long(original.size());
        ++done;
    }
    writer.Flush();
}

void ReplaceAllRun::Undo(clsScintilla &sci, const ReplacementLog &log, bool joined, const View &before)
{
    LongOperation operation(QStringLiteral("正在撤消全部替换"));
    operation.FinishUnstoppable();
    {
        QuietEdits quiet(sci);
        TakeBack(sci, log, joined, operation);
    }
    ShowView(sci, before);
}

void ReplaceAllRun::Redo(clsScintilla &sci, const ReplacementLog &log, bool joined, const View &after)
{
    LongOperation operation(QStringLiteral("正在重做全部替换"));
    operation.FinishUnstoppable();
    operation.SetTotal(log.Count());
    {
        QuietEdits quiet(sci);
        StretchReplacer writer(sci, joined, nullptr);
        ReplacementLog::Reader reader(log);
        long originalStart = 0;
        QByteArrayView original;
        qint64 done = 0;
        while (reader.Next(originalStart, original)) {
            long at = originalStart + writer.Growth();
            if (!writer.Takes(at, at + long(original.size()))) {
                writer.Flush();
                at = originalStart + writer.Growth();
                operation.SetDone(done);
                operation.Breathe();
            }
            writer.Add(at, at + long(original.size()), log.With());
            ++done;
        }
        writer.Flush();
    }
    ShowView(sci, after);
}
