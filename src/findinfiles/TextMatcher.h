#pragma once

#include "FindInFilesRequest.h"
#include "editor/ComponentWordRules.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

// Finds a query's matches in the lines of a file's UTF-8 text, the way the
// editor's own search would find them line by line: plain text with the
// ASCII letters folded when case is ignored (the component folds no
// others), whole words by the component's rules (ComponentWordRules). A
// match never runs over a line end. One matcher serves one thread.
class TextMatcher
{
public:
    struct Span
    {
        qsizetype start = 0;
        qsizetype end = 0;
    };

    // Lines as they come from a file: whole lines, each with its line end,
    // except the document's last; whether they start and end the document.
    struct Lines
    {
        QByteArrayView text;
        bool startsDocument = true;
        bool endsDocument = true;
    };

    // Null, with the reason in error, when the query cannot be searched for
    // (empty, a line end in it, a regular expression that does not compile).
    static std::unique_ptr<TextMatcher> Make(const TextQuery &query, const ComponentWordRules &words, QString *error);

    virtual ~TextMatcher() = default;

    // Every match, in order; `found` answers false to stop. An empty string
    // when all went well, otherwise why the search of these lines failed
    // (a regular expression that ran out of its limits).
    virtual QString FindAll(const Lines &lines, const std::function<bool(Span)> &found) = 0;
};
