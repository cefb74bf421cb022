#pragma once

#include "TextMatcher.h"

#include <memory>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;
struct pcre2_real_match_context_8;
struct pcre2_real_jit_stack_8;

// A regular expression in PCRE2's syntax (Perl's), matched in UTF-8 text:
// the editor's own expressions are the component's, which only runs on the
// interface thread. "^" and "$" stand at every line's start and end (CR LF,
// CR and LF alike), "." takes no line end, and a match that would run over
// a line end is looked for again within its line alone. Ignoring case folds
// every letter Unicode pairs, not only the ASCII ones as the editor does.
// Whole words are judged as for plain text. Bytes that are not UTF-8 (a raw
// file) never match a character.
class RegexMatcher : public TextMatcher
{
public:
    // Null, with PCRE2's reason and where it stopped, when the pattern does
    // not compile.
    static std::unique_ptr<RegexMatcher> Make(const TextQuery &query, const ComponentWordRules &words, QString *error);
    ~RegexMatcher() override;

    QString FindAll(const Lines &lines, const std::function<bool(Span)> &found) override;

private:
    RegexMatcher(pcre2_real_code_8 *code, const ComponentWordRules &words, bool wholeWord);
    // The first match from offset on in subject, or -1 (a failure other than
    // no match goes to error).
    int MatchFrom(QByteArrayView subject, qsizetype offset, Span &span, QString &error) const;

    pcre2_real_code_8 *m_code;
    pcre2_real_match_data_8 *m_matchData;
    pcre2_real_match_context_8 *m_context;
    pcre2_real_jit_stack_8 *m_jitStack;
    ComponentWordRules m_words;
    bool m_wholeWord;
};
