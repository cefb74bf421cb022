#include "TextSearch.h"

#include "ComponentCaseRules.h"
#include "RegexLiterals.h"
#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>

using Sci = QsciScintillaBase;

namespace {

bool IsTrailByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xC0;
}

// The width of the character starting with these bytes when the component
// takes it for a whole, valid character (its rules: no overlong forms, no
// surrogates, nothing above U+10FFFF, no noncharacters); 0 otherwise.
int WholeCharacter(const unsigned char *s, int available)
{
    const unsigned char lead = s[0];
    int width = 0;
    if (lead >= 0xC2 && lead < 0xE0)
        width = 2;
    else if (lead >= 0xE0 && lead < 0xF0)
        width = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        width = 4;
    if (width == 0 || available < width)
        return 0;
    for (int i = 1; i < width; ++i)
        if (!IsTrailByte(s[i]))
            return 0;
    if (width == 3) {
        if ((lead == 0xE0 && (s[1] & 0xE0) == 0x80) || (lead == 0xED && (s[1] & 0xE0) == 0xA0))
            return 0;
        if (lead == 0xEF && s[1] == 0xBF && (s[2] == 0xBE || s[2] == 0xBF))
            return 0;
        if (lead == 0xEF && s[1] == 0xB7 && ((s[2] & 0xF0) == 0x90 || (s[2] & 0xF0) == 0xA0))
            return 0;
    } else if (width == 4) {
        if ((s[1] & 0x0F) == 0x0F && s[2] == 0xBF && (s[3] == 0xBE || s[3] == 0xBF))
            return 0;
        if ((lead == 0xF4 && s[1] > 0x8F) || (lead == 0xF0 && (s[1] & 0xF0) == 0x80))
            return 0;
    }
    return width;
}

bool HasLineEnd(const QByteArray &bytes)
{
    return bytes.contains('\n') || bytes.contains('\r');
}

} // namespace

TextSearch::TextSearch(clsScintilla &sci, QByteArray text, long flags)
    : m_sci(sci), m_text(std::move(text)), m_flags(flags), m_componentOnly(ComponentOnly())
{
}

bool &TextSearch::ComponentOnly()
{
    static bool only = false;
    return only;
}

// ---- the component and its buffer ----

long TextSearch::Length() const
{
    return m_sci.SendEditor(Sci::SCI_GETLENGTH);
}

long TextSearch::LineOf(long position) const
{
    return m_sci.SendEditor(Sci::SCI_LINEFROMPOSITION, position);
}

long TextSearch::LineStart(long line) const
{
    return m_sci.SendEditor(Sci::SCI_POSITIONFROMLINE, line);
}

long TextSearch::LineEnd(long line) const
{
    return m_sci.SendEditor(Sci::SCI_GETLINEENDPOSITION, line);
}

unsigned char TextSearch::ByteAt(long position) const
{
    return static_cast<unsigned char>(m_sci.SendEditor(Sci::SCI_GETCHARAT, position));
}

const char *TextSearch::Read(long from, long length) const
{
    return reinterpret_cast<const char *>(m_sci.SendEditor(Sci::SCI_GETRANGEPOINTER, from, length));
}

bool TextSearch::ChecksWords() const
{
    return m_flags & (Sci::SCFIND_WHOLEWORD | Sci::SCFIND_WORDSTART);
}

// Where the component moves a range's end before it searches: out of the
// middle of a character (and, for regular expressions, from between a CR
// and its LF).
long TextSearch::OutsideCharacter(long position, int direction, bool lineEnds) const
{
    const long length = Length();
    if (position <= 0)
        return 0;
    if (position >= length)
        return length;
    if (lineEnds && ByteAt(position - 1) == '\r' && ByteAt(position) == '\n')
        return direction > 0 ? position + 1 : position - 1;
    if (!IsTrailByte(ByteAt(position)))
        return position;
    long lead = position;
    while (lead > 0 && position - lead < 4 && IsTrailByte(ByteAt(lead - 1)))
        --lead;
    if (lead > 0)
        --lead;
    unsigned char bytes[4] = {};
    const int available = int(std::min<long>(4, length - lead));
    for (int i = 0; i < available; ++i)
        bytes[i] = ByteAt(lead + i);
    const int width = WholeCharacter(bytes, available);
    if (width == 0 || position - lead >= width)
        return position; // a stray trail byte stands on its own
    return direction > 0 ? lead + width : lead;
}

// ---- getting ready ----

// What the search is decided once, on its first use: the scanners pick the
// pair of bytes rarest in a sample of this document.
void TextSearch::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_componentOnly)
        return;
    QByteArray sample;
    const long length = Length();
    constexpr long Piece = 16 * 1024;
    for (long part = 0, sampled = 0; part < 4; ++part) {
        const long from = std::max(sampled, length / 4 * part);
        const long size = std::min(Piece, length - from);
        if (size > 0)
            sample.append(Read(from, size), size);
        sampled = from + std::max(0L, size);
    }

    const bool caseSensitive = m_flags & Sci::SCFIND_MATCHCASE;
    const auto letters = caseSensitive ? LiteralScanner::Letters::Exact : LiteralScanner::Letters::EitherCase;
    if (!(m_flags & Sci::SCFIND_REGEXP)) {
        if (caseSensitive || ComponentCaseRules::PlainFoldsAsciiOnly()) {
            m_kind = Kind::Bytes;
            m_scanner = std::make_unique<LiteralScanner>(m_text, letters);
            m_scanner->ChooseAnchor(sample);
        }
        return;
    }
    const QList<QByteArray> runs = RegexLiterals::Required(m_text);
    if (runs.isEmpty() || (!caseSensitive && !ComponentCaseRules::RegexFoldsAsciiOnly()))
        return;
    // The component searches a line at a time, without its line end.
    if (std::any_of(runs.begin(), runs.end(), HasLineEnd)) {
        m_kind = Kind::Never;
        return;
    }
    qsizetype fewest = -1;
    for (const QByteArray &run : runs) {
        auto scanner = std::make_unique<LiteralScanner>(run, letters);
        const qsizetype occurrences = scanner->ChooseAnchor(sample);
        if (fewest < 0 || occurrences < fewest || (occurrences == fewest && run.size() > m_scanner->Size())) {
            fewest = occurrences;
            m_scanner = std::move(scanner);
        }
    }
    m_kind = Kind::RegexLines;
}

// ---- scanning the buffer in slices ----

// The stretch of buffer holding `from`, read again when the last one does
// not reach. Between stretches the interface breathes.
const TextSearch::Window *TextSearch::ForwardWindow(long from, long startsEnd, long dataLimit, LongOperation &operation,
                                                    bool &breathe)
{
    const long size = long(m_scanner->Size());
    const Window &w = m_window;
    const bool usable = w.text && w.from <= from && from < w.candidatesEnd
                        && w.dataEnd >= std::min(dataLimit, std::min(startsEnd, w.candidatesEnd) + size - 1);
    if (usable)
        return &m_window;
    if (breathe) {
        m_window = {};
        if (!operation.Breathe())
            return nullptr;
    }
    breathe = true;
    const long candidatesEnd = std::min(startsEnd, from + long(m_pace.Next()));
    const long dataEnd = std::min(dataLimit, candidatesEnd + size - 1);
    m_window = {from, candidatesEnd, dataEnd, Read(from, dataEnd - from)};
    return m_window.text ? &m_window : nullptr;
}

// Offers every place the scanner finds, from `from` on, to `take` until it
// takes one; the runs found start before startsEnd and end by dataLimit.
long TextSearch::ScanForward(long from, long startsEnd, long dataLimit, LongOperation &operation,
                             const std::function<bool(long)> &take)
{
    bool breathe = false;
    while (from < startsEnd) {
        const Window *w = ForwardWindow(from, startsEnd, dataLimit, operation, breathe);
        if (!w)
            return -1;
        const long candidatesEnd = std::min(startsEnd, w->candidatesEnd);
        const qsizetype length = std::min(dataLimit, w->dataEnd) - w->from;
        qsizetype found = m_scanner->Forward(w->text, length, from - w->from, candidatesEnd - w->from);
        // (Asking the component about a place leaves its buffer where it is.)
        while (found >= 0) {
            if (take(w->from + long(found)))
                return w->from + long(found);
            found = m_scanner->Forward(w->text, length, found + 1, candidatesEnd - w->from);
        }
        operation.Advance(candidatesEnd - from);
        from = candidatesEnd;
    }
    return -1;
}

long TextSearch::ScanBackward(long lowest, long below, long dataLimit, LongOperation &operation,
                              const std::function<bool(long)> &take)
{
    const long size = long(m_scanner->Size());
    bool breathe = false;
    while (below > lowest) {
        if (breathe && !operation.Breathe())
            return -1;
        breathe = true;
        const long from = std::max(lowest, below - long(m_pace.Next()));
        const long dataEnd = std::min(dataLimit, below + size - 1);
        const char *text = Read(from, dataEnd - from);
        if (!text)
            return -1;
        qsizetype found = m_scanner->Backward(text, dataEnd - from, 0, below - from);
        while (found >= 0) {
            if (take(from + long(found)))
                return from + long(found);
            found = m_scanner->Backward(text, dataEnd - from, 0, found);
        }
        operation.Advance(below - from);
        below = from;
    }
    return -1;
}

// ---- the searches ----

TextSearch::Match TextSearch::Find(long start, long end, LongOperation &operation, bool bulk)
{
    if (operation.Stopped())
        return {};
    Prepare();
    m_sci.SendEditor(Sci::SCI_SETSEARCHFLAGS, m_flags);
    switch (m_kind) {
    case Kind::Bytes:
        return FindBytes(start, end, operation, bulk);
    case Kind::RegexLines:
        return FindOnLiteralLines(start, end, operation);
    case Kind::Component:
        return FindByComponent(start, end, operation);
    case Kind::Never:
        break;
    }
    return {};
}

// The component's rules for plain text: a match lies wholly inside the
// range; backwards, the one that starts last.
TextSearch::Match TextSearch::FindBytes(long start, long end, LongOperation &operation, bool bulk)
{
    const long size = long(m_text.size());
    const int direction = start <= end ? 1 : -1;
    const long low = OutsideCharacter(std::min(start, end), direction, false);
    const long high = OutsideCharacter(std::max(start, end), direction, false);
    if (high - low < size)
        return {};
    Match match;
    auto take = [&](long position) {
        match = ConfirmBytes(position, bulk);
        return match.Found();
    };
    if (direction > 0)
        ScanForward(low, high - size + 1, high, operation, take);
    else
        ScanBackward(low, high - size + 1, high, operation, take);
    return operation.Stopped() ? Match{} : match;
}

// Word options and the component's case rules are its own to judge, so a
// byte match goes to its search over exactly these bytes.
TextSearch::Match TextSearch::ConfirmBytes(long position, bool bulk)
{
    const long end = position + long(m_text.size());
    if (bulk && !ChecksWords())
        return {position, end};
    const Match found = AskComponent(position, end);
    return found.start == position ? found : Match{};
}

TextSearch::Match TextSearch::AskComponent(long targetStart, long targetEnd)
{
    m_sci.SendEditor(Sci::SCI_SETTARGETSTART, targetStart);
    m_sci.SendEditor(Sci::SCI_SETTARGETEND, targetEnd);
    const long found = m_sci.SearchInTarget(m_text);
    if (found < 0)
        return {};
    return {found, m_sci.SendEditor(Sci::SCI_GETTARGETEND)};
}

// The component's regular expressions match inside one line. Each line that
// holds the rarest literal run goes to it, with the very range the
// component would give that line when searching the whole range.
TextSearch::Match TextSearch::FindOnLiteralLines(long start, long end, LongOperation &operation)
{
    const long size = long(m_scanner->Size());
    const long first = OutsideCharacter(start, 1, true);
    const long last = OutsideCharacter(end, 1, true);
    const long firstLine = LineOf(first);
    const long lastLine = LineOf(last);
    const bool forward = first <= last;
    const long low = std::min(first, last);
    const long high = std::max(first, last);
    long nextStart = low;  // forwards: runs start here or later
    long nextBelow = high - size + 1; // backwards: runs start before this
    Match match;
    auto take = [&](long position) {
        // The range's own ends go to the component as they were given: it
        // moves them itself, but judges the last match of a line backwards
        // by the end as given.
        const long line = LineOf(position);
        const long lineFrom = line == firstLine ? start : forward ? LineStart(line) : LineEnd(line);
        const long lineTo = line == lastLine ? end : forward ? LineEnd(line) : LineStart(line);
        match = AskComponent(lineFrom, lineTo);
        if (match.Found() || line == lastLine)
            return true;
        if (forward)
            nextStart = LineStart(line + 1);
        else
            nextBelow = LineStart(line);
        return false;
    };
    // After a line without a match, the runs still on it are passed over.
    if (forward)
        ScanForward(low, high - size + 1, high, operation, [&](long p) { return p >= nextStart && take(p); });
    else
        ScanBackward(low, nextBelow, high, operation, [&](long p) { return p < nextBelow && take(p); });
    return operation.Stopped() ? Match{} : match;
}

// No literal to go by: the component searches the range itself, a slice of
// whole lines at a time for a regular expression, a stretch of bytes (with
// room for a match to run over its end) for plain text.
TextSearch::Match TextSearch::FindByComponent(long start, long end, LongOperation &operation)
{
    const bool forward = start <= end;
    const bool regex = m_flags & Sci::SCFIND_REGEXP;
    if (regex) {
        const long first = OutsideCharacter(start, 1, true);
        const long last = OutsideCharacter(end, 1, true);
        const long firstLine = LineOf(first);
        const long lastLine = LineOf(last);
        long line = firstLine;
        for (bool breathe = false;; breathe = true) {
            if (breathe && !operation.Breathe())
                return {};
            const long step = long(m_pace.Next());
            const long from = line == firstLine ? start : forward ? LineStart(line) : LineEnd(line);
            const long reach = forward ? std::min(last, from + step) : std::max(last, from - step);
            const long toLine = LineOf(reach);
            const long to = toLine == lastLine ? end : forward ? LineEnd(toLine) : LineStart(toLine);
            const Match match = AskComponent(from, to);
            operation.Advance(std::abs(to - from));
            if (match.Found() || toLine == lastLine)
                return operation.Stopped() ? Match{} : match;
            line = forward ? toLine + 1 : toLine - 1;
        }
    }
    const int direction = forward ? 1 : -1;
    const long low = OutsideCharacter(std::min(start, end), direction, false);
    const long high = OutsideCharacter(std::max(start, end), direction, false);
    const long room = 4 * long(m_text.size()); // a folded match can be longer than the text
    long from = forward ? low : high;
    for (bool breathe = false;; breathe = true) {
        if (breathe && !operation.Breathe())
            return {};
        const long step = long(m_pace.Next());
        if (forward) {
            const long to = OutsideCharacter(std::min(high, from + step), 1, false);
            const Match match = AskComponent(from, std::min(high, to + room));
            operation.Advance(to - from);
            if ((match.Found() && match.start < to) || to >= high)
                return match.start < to ? match : Match{};
            from = to;
        } else {
            const long to = OutsideCharacter(std::max(low, from - step), -1, false);
            const Match match = AskComponent(OutsideCharacter(std::min(high, from + room), -1, false), to);
            operation.Advance(from - to);
            if (match.Found() || to <= low)
                return match;
            from = to;
        }
    }
}
