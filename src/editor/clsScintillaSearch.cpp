// Search, replace and go to of the editor wrapper. (The find, replace and
// go-to dialogs that drive it live with the dialogs.)
#include "clsScintilla.h"

#include "ReplaceAllRun.h"
#include "ReplaceHistory.h"
#include "TextSearch.h"
#include "platform/LongOperation.h"

#include <Qsci/qsciscintillabase.h>
#include <cstdlib>

using Sci = QsciScintillaBase;

namespace {

long SearchFlags(int CaseSensative, int WordStart, int WholeWord, int RegExp)
{
    long flags = 0;
    if (CaseSensative)
        flags |= Sci::SCFIND_MATCHCASE;
    if (WholeWord)
        flags |= Sci::SCFIND_WHOLEWORD;
    if (WordStart)
        flags |= Sci::SCFIND_WORDSTART;
    if (RegExp)
        flags |= Sci::SCFIND_REGEXP;
    return flags;
}

} // namespace

// ---- searching ----

// The last text searched for stays ready (its scanners chosen), so that
// find next and replace all do not prepare it again for every match.
TextSearch &clsScintilla::SearchFor(const QByteArray &text, long flags)
{
    if (!m_textSearch || !m_textSearch->IsFor(text, flags))
        m_textSearch = std::make_unique<TextSearch>(*this, text, flags);
    m_textSearch->Forget(); // the document may have changed since
    return *m_textSearch;
}

long clsScintilla::SearchInTarget(QByteArrayView text)
{
    return SendDirectPtr(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()),
                         const_cast<char *>(text.data()));
}

void clsScintilla::ReplaceTargetBytes(QByteArrayView bytes)
{
    SendDirectPtr(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), const_cast<char *>(bytes.data()));
}

// A search of a large document runs in slices: the window stays alive, a
// progress indicator shows after a moment, and Esc stops it (nothing is
// selected then).
bool clsScintilla::FindText(const QString &txttofind, int FindReverse, int findinrng, int WrapDocument,
                            int CaseSensative, int WordStart, int WholeWord, int RegExp)
{
    if (txttofind.isEmpty())
        return false;
    const QByteArray text = txttofind.toUtf8();
    const long flags = SearchFlags(CaseSensative, WordStart, WholeWord, RegExp);
    SendEditor(Sci::SCI_SETSEARCHFLAGS, flags);
    if (IsLoading())
        return false;

    long start = GetSelEnd();
    long end = GetLen();
    if (findinrng) {
        start = GetSelStart();
        end = GetSelEnd();
    } else if (FindReverse) {
        start = GetSelStart();
        end = 0;
    }
    const long length = GetLen();
    ++m_busy;
    TextSearch::Match found;
    {
        LongOperation operation(QStringLiteral("正在查找"));
        operation.SetTotal(std::abs(end - start) + (WrapDocument ? length : 0));
        TextSearch &search = SearchFor(text, flags);
        found = search.Find(start, end, operation, false);
        if (!found.Found() && WrapDocument && !operation.Stopped())
            found = FindReverse ? search.Find(length, 0, operation, false) : search.Find(0, length, operation, false);
        m_stopped = operation.Stopped();
    }
    --m_busy;
    if (found.Found() && !m_stopped)
        SetSel(found.start, found.end);

    m_searchDone = true;
    m_savedSearch = SavedSearch{txttofind, findinrng, WrapDocument, CaseSensative, WordStart, WholeWord, RegExp};
    return found.Found() && !m_stopped;
}

bool clsScintilla::FindNext()
{
    if (!m_searchDone)
        return false;
    const SavedSearch s = m_savedSearch;
    return FindText(s.text, vbFalse, s.inRange, s.wrap, s.caseSensitive, s.wordStart, s.wholeWord, s.regExp);
}

bool clsScintilla::FindPrev()
{
    if (!m_searchDone)
        return false;
    const SavedSearch s = m_savedSearch;
    return FindText(s.text, vbTrue, s.inRange, s.wrap, s.caseSensitive, s.wordStart, s.wholeWord, s.regExp);
}

// ---- replacing ----

// The searches walk forwards around the document end. Two things would keep
// them going for ever: a replacement that contains the search text (after the
// wrap the search meets it again) and an empty match (a regular expression
// such as "x*" matches again where it stood). So the walk stops once it is
// back where it began or reaches text it inserted, and an empty match where
// the last replacement ended is stepped over.
bool clsScintilla::ReplaceText(const QString &strSearchFor, const QString &strReplaceWith, int bReplaceAll,
                               int CaseSensative, int WordStart, int WholeWord, int RegExp)
{
    const long insertedLength = strReplaceWith.toUtf8().size();
    long origin = GetSelEnd(); // where the walk began
    long firstInserted = -1;   // where it first inserted text before wrapping
    bool wrapped = false;
    long lastEnd = -1; // end of the text inserted last
    bool replaced = false;
    for (;;) {
        const long from = GetSelEnd();
        if (!FindText(strSearchFor, vbFalse, vbFalse, vbTrue, CaseSensative, WordStart, WholeWord, RegExp))
            break;
        const long start = GetSelStart();
        const long end = GetSelEnd();
        if (start == end && start == lastEnd) {
            long next = SendEditor(Sci::SCI_POSITIONAFTER, start);
            if (next <= start) { // the document end: go on from the top
                if (wrapped)
                    break;
                wrapped = true;
                next = 0;
            }
            SetSel(next, next);
            lastEnd = -1;
            continue;
        }
        if (start < from)
            wrapped = true;
        if (wrapped && (start >= origin || (firstInserted >= 0 && end > firstInserted)))
            break;
        ReplaceSel(strReplaceWith);
        replaced = true;
        lastEnd = start + insertedLength;
        if (!wrapped && firstInserted < 0)
            firstInserted = start;
        if (wrapped) { // everything after this moves
            const long delta = insertedLength - (end - start);
            origin += delta;
            if (firstInserted >= 0)
                firstInserted += delta;
        }
        if (!bReplaceAll)
            break;
    }
    if (replaced && lastEnd >= 0)
        SetSel(lastEnd, lastEnd);
    return replaced;
}

void clsScintilla::ReplaceTarget(long lLen, const QString &strRep)
{
    // The component reads lLen bytes: never more than the text has.
    const QByteArray bytes = strRep.toUtf8();
    const long length = (lLen < 0 || lLen > bytes.size()) ? long(bytes.size()) : lLen;
    SendDirectPtr(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(length), const_cast<char *>(bytes.constData()));
}

// Every match of the document replaced in slices (ReplaceAllRun), as one
// step of the undo history that the wrapper keeps itself (ReplaceHistory):
// the component's own history would hold every replaced stretch twice. No
// change reports while it runs; OnModified is raised once at the end. A
// replace-all the user stops leaves the document and its history as they
// were, and answers 0.
qint64 clsScintilla::ReplaceAll(const QString &strSearchFor, const QString &strReplaceWith, int CaseSensative,
                                int WordStart, int WholeWord, int RegExp)
{
    if (strSearchFor.isEmpty())
        return 0;
    const QByteArray text = strSearchFor.toUtf8();
    const long flags = SearchFlags(CaseSensative, WordStart, WholeWord, RegExp);
    SendEditor(Sci::SCI_SETSEARCHFLAGS, flags);
    if (!m_editor || GetReadOnly() || IsLoading())
        return 0;

    ++m_busy;
    ReplaceAllRun::Outcome outcome = ReplaceAllRun::Run(*this, SearchFor(text, flags), strReplaceWith.toUtf8());
    --m_busy;
    m_stopped = outcome.stopped;
    const qint64 count = outcome.count;
    if (count == 0)
        return 0;
    if (!m_replaceHistory)
        m_replaceHistory = std::make_unique<ReplaceHistory>(*this);
    // An action of ours leaves the save point without the component saying so.
    const bool wasModified = Modified();
    m_replaceHistory->Record(std::move(outcome));
    if (!wasModified && Modified())
        emit SavePointLeft();
    emit OnModified();
    return count;
}

// ---- going to a place ----

void clsScintilla::GotoLine(long iLine)
{
    SendEditor(Sci::SCI_ENSUREVISIBLEENFORCEPOLICY, iLine);
    SendEditor(Sci::SCI_GOTOLINE, iLine);
}

void clsScintilla::GotoLineColumn(long iLine, long iCol)
{
    const long position = SendEditor(Sci::SCI_FINDCOLUMN, iLine, iCol);
    SetSel(position, position);
}
