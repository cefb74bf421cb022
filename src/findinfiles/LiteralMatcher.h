#pragma once

#include "TextMatcher.h"
#include "editor/LiteralScanner.h"

// Plain text: a byte scan (LiteralScanner) for the text, with the ASCII
// letters in either case when case is ignored; each place found is then
// judged as a whole word when the query asks for one.
class LiteralMatcher : public TextMatcher
{
public:
    LiteralMatcher(const TextQuery &query, const ComponentWordRules &words);

    QString FindAll(const Lines &lines, const std::function<bool(Span)> &found) override;

private:
    LiteralScanner m_scanner;
    ComponentWordRules m_words;
    bool m_wholeWord;
    bool m_anchorChosen = false;
};
