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

void RequireSameRecord(const Highlighter &wrote, const Highlighter &read)
{
    using HighlighterFile::StyleValueText;
    for (int n = 0; n < Highlighter::StyleCount; ++n)
        fuzz::Require(wrote.Style(n) == read.Style(n), "a style reads back as written",
                      Describe("Style", n, StyleValueText(wrote.Style(n)), StyleValueText(read.Style(n))));
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
    fuzz::Require(record.Style(Highlighter::DefaultStyle)
                      == HighlighterFile::ParseStyleValue(HighlighterFile::StyleValueText(record.Style(32))),
                  "style 32's value text parses back as the style");
    record.FilePath = path;
    fuzz::Require(bool(HighlighterFile::WriteSettings(record)), "the writer writes a readable file");
    const QByteArray first = fuzz::ReadAll(path);
    Highlighter reread = HighlighterFile::ReadFile(path);
    RequireSameRecord(record, reread);

    reread.FilePath = path;
    fuzz::Require(bool(HighlighterFile::WriteSettings(reread)), "the writer writes its own file again");
    fuzz::Require(fuzz::ReadAll(path) == first, "writing what was read back changes nothing",
                  "first:  " + first.toPercentEncoding() + "\nsecond: " + fuzz::ReadAll(path).toPercentEncoding());
    return 0;
}
