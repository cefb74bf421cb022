#include "LiteralMatcher.h"

namespace {

// The anchor pair is chosen once, from the first text of some size the
// matcher sees: the files of one tree are alike.
constexpr qsizetype AnchorSample = 64 * 1024;
constexpr qsizetype SmallestSample = 4 * 1024;

} // namespace

LiteralMatcher::LiteralMatcher(const TextQuery &query, const ComponentWordRules &words)
    : m_scanner(query.text.toUtf8(), query.matchCase ? LiteralScanner::Letters::Exact : LiteralScanner::Letters::EitherCase),
      m_words(words),
      m_wholeWord(query.wholeWord)
{
}

// Non-overlapping, as repeated searches of the editor find them: the next
// search starts where a match ended, and one step past a place that was no
// whole word.
QString LiteralMatcher::FindAll(const Lines &lines, const std::function<bool(Span)> &found)
{
    const QByteArrayView text = lines.text;
    if (!m_anchorChosen && text.size() >= SmallestSample) {
        m_scanner.ChooseAnchor(text.first(std::min(text.size(), AnchorSample)));
        m_anchorChosen = true;
    }
    const qsizetype size = m_scanner.Size();
    qsizetype from = 0;
    while (from + size <= text.size()) {
        const qsizetype at = m_scanner.Forward(text.data(), text.size(), from, text.size() - size + 1);
        if (at < 0)
            break;
        if (m_wholeWord && !m_words.IsWordAt(text, at, at + size, lines.startsDocument, lines.endsDocument)) {
            from = at + 1;
            continue;
        }
        if (!found({at, at + size}))
            break;
        from = at + size;
    }
    return {};
}
