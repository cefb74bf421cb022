// Search, replace and go to of the editor wrapper. (The find, replace and
// go-to dialogs that drive it live with the dialogs.)
#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <vector>

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

// A case-sensitive search for plain text is a comparison of bytes, which we
// make on the component's own buffer: its search steps through the document
// one character at a time and needs seconds for a large one.
bool IsPlain(long flags)
{
    return (flags & Sci::SCFIND_MATCHCASE) && !(flags & Sci::SCFIND_REGEXP);
}

bool ChecksWords(long flags)
{
    return flags & (Sci::SCFIND_WHOLEWORD | Sci::SCFIND_WORDSTART);
}

// The first occurrence lying wholly inside [begin, end), or nullptr.
const char *FirstIn(const char *begin, const char *end, const QByteArray &needle)
{
    if (end - begin < needle.size())
        return nullptr;
    return static_cast<const char *>(
        memmem(begin, std::size_t(end - begin), needle.constData(), std::size_t(needle.size())));
}

// The last occurrence lying wholly inside [begin, end), or nullptr.
const char *LastIn(const char *begin, const char *end, const QByteArray &needle)
{
    if (end - begin < needle.size())
        return nullptr;
    using Backwards = std::reverse_iterator<const char *>;
    const std::boyer_moore_horspool_searcher searcher(needle.crbegin(), needle.crend());
    const auto [first, last] = searcher(Backwards(end), Backwards(begin));
    return first == last ? nullptr : last.base();
}

} // namespace

// ---- searching ----

// Searches the target from start to end (backwards when start > end) and
// answers the match position or -1; on a match the target lies on it.
long clsScintilla::SearchTarget(const QByteArray &text, long start, long end, long flags)
{
    SendEditor(Sci::SCI_SETTARGETSTART, start);
    SendEditor(Sci::SCI_SETTARGETEND, end);
    if (IsPlain(flags))
        return FindBytes(text, start, end, flags);
    const long found = SendDirectPtr(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()),
                                     const_cast<char *>(text.constData()));
    return found < 0 ? -1 : found;
}

// Byte comparison with the component's rules: a match lies wholly inside the
// range; backwards, the one that starts last. Each candidate is handed to the
// component's own search, so word boundaries are judged exactly as it judges
// them, and the target ends up on the match.
long clsScintilla::FindBytes(const QByteArray &text, long start, long end, long flags)
{
    const long lo = std::max(0L, std::min(start, end));
    const long hi = std::min(GetLen(), std::max(start, end));
    if (hi - lo < text.size())
        return -1;
    const auto *range = reinterpret_cast<const char *>(SendEditor(Sci::SCI_GETRANGEPOINTER, lo, hi - lo));
    if (!range)
        return -1;
    const bool forward = start <= end;
    const char *from = range;
    const char *to = range + (hi - lo);
    for (;;) {
        const char *hit = forward ? FirstIn(from, to, text) : LastIn(from, to, text);
        if (!hit)
            return -1;
        const long position = lo + long(hit - range);
        SendEditor(Sci::SCI_SETTARGETSTART, position);
        SendEditor(Sci::SCI_SETTARGETEND, position + text.size());
        // Without word options a byte match is a match, and a replace-all
        // asks this for every one of them.
        if (!ChecksWords(flags) && m_bulkSearch)
            return position;
        if (SendDirectPtr(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()),
                          const_cast<char *>(text.constData()))
            >= 0)
            return position;
        if (forward)
            from = hit + 1;
        else
            to = hit + text.size() - 1;
    }
}

bool clsScintilla::FindText(const QString &txttofind, int FindReverse, int findinrng, int WrapDocument,
                            int CaseSensative, int WordStart, int WholeWord, int RegExp)
{
    if (txttofind.isEmpty())
        return false;
    const QByteArray text = txttofind.toUtf8();
    const long flags = SearchFlags(CaseSensative, WordStart, WholeWord, RegExp);
    SendEditor(Sci::SCI_SETSEARCHFLAGS, flags);

    long start = GetSelEnd();
    long end = GetLen();
    if (findinrng) {
        start = GetSelStart();
        end = GetSelEnd();
    } else if (FindReverse) {
        start = GetSelStart();
        end = 0;
    }
    long found = SearchTarget(text, start, end, flags);
    if (found < 0 && WrapDocument) {
        const long length = GetLen();
        found = FindReverse ? SearchTarget(text, length, 0, flags) : SearchTarget(text, 0, length, flags);
    }
    if (found >= 0)
        SetSel(SendEditor(Sci::SCI_GETTARGETSTART), SendEditor(Sci::SCI_GETTARGETEND));

    m_searchDone = true;
    m_savedSearch = SavedSearch{txttofind, findinrng, WrapDocument, CaseSensative, WordStart, WholeWord, RegExp};
    return found >= 0;
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

// Matches waiting to be replaced together. They are found in text that has
// not changed yet, and the stretch from the first one's start to the last
// one's end is replaced in one request: hundreds of thousands of small
// replacements cost seconds, a few hundred large ones a fraction of that.
struct clsScintilla::ReplaceBatch
{
    struct Match
    {
        long start;
        long end;
    };

    QByteArray with;
    bool joined = true; // false: every match on its own
    std::vector<Match> pending;
    // Caret, anchor and the first shown line's start: where a match-by-match
    // replacement would have left them.
    std::array<long, 3> tracked{};
    bool moved = false;

    // Text between two matches is copied along with them; past this much it
    // is cheaper to make a separate request.
    static constexpr long MaxGap = 1024;
    static constexpr long MaxSpan = 1 << 20;

    bool Takes(const Match &m) const
    {
        if (pending.empty())
            return true;
        return joined && m.start - pending.back().end <= MaxGap && m.end - pending.front().start <= MaxSpan;
    }

    // A position before the stretch is replaced, mapped the way the
    // component maps it through a replacement of each match by itself.
    long Map(long position) const
    {
        long shift = 0;
        for (const Match &m : pending) {
            if (position <= m.start)
                return position + shift;
            if (position <= m.end)
                return m.start + shift;
            shift += long(with.size()) - (m.end - m.start);
        }
        return position + shift;
    }
};

// Contracted folds, markers and rectangular or multiple selections would not
// survive a stretch being replaced as a whole; then each match goes alone.
bool clsScintilla::ReplacesInBatches() const
{
    return SendEditor(Sci::SCI_CONTRACTEDFOLDNEXT, 0) < 0 && SendEditor(Sci::SCI_MARKERNEXT, 0, -1) < 0
           && SendEditor(Sci::SCI_GETSELECTIONS) == 1 && SendEditor(Sci::SCI_GETSELECTIONMODE) == Sci::SC_SEL_STREAM;
}

void clsScintilla::FlushBatch(ReplaceBatch &batch)
{
    if (batch.pending.empty())
        return;
    const long start = batch.pending.front().start;
    const long end = batch.pending.back().end;
    QByteArray bytes;
    if (batch.pending.size() == 1) {
        bytes = batch.with;
    } else {
        const auto *text = reinterpret_cast<const char *>(SendEditor(Sci::SCI_GETRANGEPOINTER, start, end - start));
        bytes.reserve(end - start + qsizetype(batch.pending.size()) * batch.with.size());
        long copied = start;
        for (const ReplaceBatch::Match &m : batch.pending) {
            bytes.append(text + (copied - start), m.start - copied);
            bytes.append(batch.with);
            copied = m.end;
        }
        batch.moved = true;
    }
    const long delta = long(bytes.size()) - (end - start);
    for (long &position : batch.tracked) {
        if (position > end)
            position += delta;
        else if (position > start)
            position = batch.Map(position);
    }
    SendEditor(Sci::SCI_SETTARGETSTART, start);
    SendEditor(Sci::SCI_SETTARGETEND, end);
    SendDirectPtr(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.data());
    batch.pending.clear();
}

qint64 clsScintilla::ReplaceAll(const QString &strSearchFor, const QString &strReplaceWith, int CaseSensative,
                                int WordStart, int WholeWord, int RegExp)
{
    if (strSearchFor.isEmpty())
        return 0;
    const QByteArray text = strSearchFor.toUtf8();
    const long flags = SearchFlags(CaseSensative, WordStart, WholeWord, RegExp);
    SendEditor(Sci::SCI_SETSEARCHFLAGS, flags);
    if (!m_editor || GetReadOnly())
        return 0;

    // No change reports at all while it runs (the component's would cost
    // more than the replacing), and one undo step for the whole of it.
    struct Bulk
    {
        clsScintilla &sci;
        explicit Bulk(clsScintilla &s) : sci(s)
        {
            sci.m_editor->BeginBulkOperation();
            sci.SendEditor(Sci::SCI_SETMODEVENTMASK, 0);
            sci.SendEditor(Sci::SCI_BEGINUNDOACTION);
            sci.m_bulkSearch = true;
        }
        ~Bulk()
        {
            sci.m_bulkSearch = false;
            sci.SendEditor(Sci::SCI_ENDUNDOACTION);
            if (sci.m_editor)
                sci.m_editor->EndBulkOperation(); // puts the change reports back
        }
    };

    ReplaceBatch batch;
    batch.with = strReplaceWith.toUtf8();
    batch.joined = ReplacesInBatches();
    const long topLine = SendEditor(Sci::SCI_DOCLINEFROMVISIBLE, SendEditor(Sci::SCI_GETFIRSTVISIBLELINE));
    batch.tracked = {SendEditor(Sci::SCI_GETANCHOR), GetCurPos(), PositionFromLine(topLine)};

    qint64 count = 0;
    {
        Bulk bulk(*this);
        long from = 0;
        long lastEnd = -1; // end of the previous match
        for (;;) {
            const long start = SearchTarget(text, from, GetLen(), flags);
            if (start < 0)
                break;
            ReplaceBatch::Match match{start, SendEditor(Sci::SCI_GETTARGETEND)};
            if (match.start == match.end && match.start == lastEnd) {
                // An empty match where the previous one ended: step one character on.
                const long next = SendEditor(Sci::SCI_POSITIONAFTER, match.start);
                if (next <= match.start)
                    break;
                from = next;
                lastEnd = -1;
                continue;
            }
            if (!batch.Takes(match)) {
                const long before = GetLen();
                FlushBatch(batch);
                const long delta = GetLen() - before;
                match.start += delta;
                match.end += delta;
            }
            batch.pending.push_back(match);
            ++count;
            lastEnd = match.end;
            from = match.end;
        }
        FlushBatch(batch);
    }
    if (batch.moved) {
        SendEditor(Sci::SCI_SETANCHOR, batch.tracked[0]);
        SendEditor(Sci::SCI_SETCURRENTPOS, batch.tracked[1]);
        SendEditor(Sci::SCI_SETFIRSTVISIBLELINE,
                   SendEditor(Sci::SCI_VISIBLEFROMDOCLINE, SendEditor(Sci::SCI_LINEFROMPOSITION, batch.tracked[2])));
    }
    if (count > 0)
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
