#pragma once

#include "FileHits.h"
#include "OpenTexts.h"
#include "TextMatcher.h"

#include <QString>
#include <functional>

// Searches one file: the file as the editor would read it (its encoding
// decided the same way), or the text of the document that has it open.
class FileScanner
{
public:
    enum class Outcome {
        Searched,
        NotText, // no encoding reads it as text, or its text holds NUL characters
        Failed,  // could not be read or searched; the reason says why
        Stopped,
    };
    struct Result
    {
        Outcome outcome = Outcome::Searched;
        FileHits hits;
        QString reason;
    };

    explicit FileScanner(TextMatcher &matcher) : m_matcher(matcher) {}

    Result ScanFile(const QString &path, const std::function<bool()> &stopped);
    Result ScanText(const QString &path, const OpenText &text);

private:
    TextMatcher &m_matcher;
};
