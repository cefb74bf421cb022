// The language-file reader and the settings writer: whatever a CHL file
// holds, what the writer stores reads back as the record it wrote, and a
// second write changes nothing.
#include "FuzzSupport.h"
#include "highlight/HighlighterFile.h"

#include <QString>

namespace {

QByteArray Describe(const char *what, int n, const QString &before, const QString &after)
{
    return QByteArray(what) + "[" + QByteArray::number(n) + "]: wrote [" + before.toUtf8() + "], read ["
           + after.toUtf8() + "]";
}

// A style reads back as its written value says, with what the format
// itself gives up: a size of 0 reads as 10, an empty font as Courier New.
// Colours come back as they were, black included.
void RequireSameRecord(const Highlighter &wrote, const Highlighter &read)
{
    using HighlighterFile::ParseStyleValue;
    using HighlighterFile::StyleValueText;
    for (int n = 0; n < Highlighter::StyleCount; ++n) {
        const StyleSpec expected = ParseStyleValue(StyleValueText(wrote.Style(n)));
        fuzz::Require(expected == read.Style(n) && wrote.Back[n] == read.Back[n] && wrote.Fore[n] == read.Fore[n],
                      "a style reads back as written",
                      Describe("Style", n, StyleValueText(wrote.Style(n)), StyleValueText(read.Style(n))));
    }
    for (int k = 0; k < Highlighter::KeywordListCount; ++k)
        fuzz::Require(wrote.Keywords[k] == read.Keywords[k], "a keyword list reads back as written",
                      Describe("Keywords", k, wrote.Keywords[k], read.Keywords[k]));
    fuzz::Require(wrote.Filter == read.Filter, "the filter reads back as written",
                  Describe("Filter", 0, wrote.Filter, read.Filter));
    fuzz::Require(wrote.LangName == read.LangName, "the name reads back as written",
                  Describe("LangName", 0, wrote.LangName, read.LangName));
    fuzz::Require(wrote.SingleComment == read.SingleComment, "the comment marker reads back as written",
                  Describe("SingleComment", 0, wrote.SingleComment, read.SingleComment));
    fuzz::Require(wrote.Lexer == read.Lexer, "the lexer the writer leaves alone reads as before");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::StartQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = fuzz::Scratch(QStringLiteral("Fuzz.CHL"));
    fuzz::WriteAll(path, bytes);

    Highlighter record = HighlighterFile::ReadFile(path);
    record.FilePath = path;
    fuzz::Require(bool(HighlighterFile::WriteSettings(record)), "the writer writes a readable file");
    Highlighter reread = HighlighterFile::ReadFile(path);
    RequireSameRecord(record, reread);

    // What the format gives up is gone after one round: from then on,
    // writing what was read back changes nothing.
    reread.FilePath = path;
    fuzz::Require(bool(HighlighterFile::WriteSettings(reread)), "the writer writes its own file again");
    const QByteArray second = fuzz::ReadAll(path);
    Highlighter settled = HighlighterFile::ReadFile(path);
    settled.FilePath = path;
    fuzz::Require(bool(HighlighterFile::WriteSettings(settled)), "the writer writes its own file a third time");
    fuzz::Require(fuzz::ReadAll(path) == second, "writing what was read back changes nothing",
                  "second: " + second.toPercentEncoding() + "\nthird:  " + fuzz::ReadAll(path).toPercentEncoding());
    return 0;
}
