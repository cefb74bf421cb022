// HTML export of any text with any styles and any language file: the page is
// UTF-8, the body holds no markup but the exporter's own, and the style
// block's font names cannot end their string or the block.
#include "FuzzSupport.h"
#include "TestEditorHost.h"
#include "highlight/HighlighterFile.h"
#include "highlight/HtmlExport.h"
#include "highlight/modHighlighter.h"

#include <QRegularExpression>
#include <fuzzer/FuzzedDataProvider.h>

using Sci = QsciScintillaBase;

namespace {

TestEditorHost &Host()
{
    static auto *host = new TestEditorHost; // lives for the whole run
    return *host;
}

const QByteArray BodyOpen = "  <BODY BGCOLOR=#FFFFFF TEXT=#000000>";
const QByteArray BodyClose = "\r\n  </BODY>\r\n</HTML>";

// The exporter's own markup and the character references it writes.
const QRegularExpression &OwnMarkup()
{
    static const QRegularExpression markup(
        QStringLiteral("<span class=c[0-9]+>|</span>|<BR>|&(nbsp|lt|gt|amp|quot|#39|#[0-9]+|#x[0-9A-Fa-f]+);"));
    return markup;
}

void CheckBody(const QByteArray &page, const QByteArray &context)
{
    const qsizetype start = page.indexOf(BodyOpen);
    const qsizetype end = page.lastIndexOf(BodyClose);
    fuzz::Require(start >= 0 && end >= start, "the page has its body", context);
    QString body = QString::fromUtf8(page.mid(start + BodyOpen.size(), end - start - BodyOpen.size()));
    body.remove(OwnMarkup());
    for (const QChar c : body)
        fuzz::Require(c != u'<' && c != u'>' && c != u'&' && c != u'"' && c != u'\0' && c != u'\t',
                      "nothing in the body is left unescaped", context + "\nleft: " + QString(c).toUtf8().toHex());
}

// Each font line holds one CSS string: quotes and backslashes escaped, no
// control character, no "<" (which could end the style element).
void CheckStyleBlock(const QByteArray &page, const QByteArray &context)
{
    const qsizetype start = page.indexOf("<style type=\"text/css\">\r\n");
    const qsizetype end = page.indexOf("</style>\r\n");
    fuzz::Require(start >= 0 && end > start, "the page has its style block", context);
    const QByteArray block = page.mid(start, end - start);
    for (const QByteArray &line : block.split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        for (const char c : text)
            fuzz::Require(uchar(c) >= 0x20 && c != 0x7F, "no control character in the style block", context);
        if (!text.startsWith("font-family: "))
            continue;
        const QByteArray value = text.mid(13);
        fuzz::Require(value.startsWith('\'') && value.endsWith("';") && value.size() >= 3,
                      "a font name is one quoted string", context + "\n" + text);
        const QByteArray inside = value.mid(1, value.size() - 3);
        for (qsizetype i = 0; i < inside.size(); ++i) {
            fuzz::Require(inside[i] != '\'' && inside[i] != '<', "a font name is escaped", context + "\n" + text);
            if (inside[i] == '\\')
                ++i; // an escaped character, or the first digit of a code
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::StartQt();
    Host();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // The language: any CHL bytes, with a lexer of the shipped kinds or
    // none (then the input styles the text itself).
    const std::string chl = input.ConsumeRandomLengthString(2000);
    Highlighter language = HighlighterFile::Read(IniFile::FromBytes(QByteArray::fromStdString(chl)));
    constexpr int Lexers[] = {0, 1, 3, 4, 5};
    language.Lexer = Lexers[input.ConsumeIntegralInRange<int>(0, 4)];
    language.LangName = QStringLiteral("Fuzz");
    const std::vector<uint8_t> styles = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 64));
    const std::string text = input.ConsumeRemainingBytesAsString();

    ResetHighlighterTable();
    HighlighterTable.push_back(language);
    HighlighterCount = 1;
    clsScintilla &sci = Host().sci();
    sci.SetTextBytes(QByteArray::fromStdString(text));
    ApplyHighlighter(sci, language.LangName);
    if (language.Lexer == 0 && !text.empty()) {
        // Runs of any style number, also inside characters.
        sci.Editor()->SendScintilla(Sci::SCI_STARTSTYLING, 0UL, 0xFFL);
        size_t at = 0;
        for (size_t i = 0; i + 1 < styles.size() && at < text.size(); i += 2) {
            const size_t run = std::min<size_t>(styles[i] % 16 + 1, text.size() - at);
            sci.Editor()->SendScintilla(Sci::SCI_SETSTYLING, static_cast<unsigned long>(run), long(styles[i + 1]));
            at += run;
        }
    }

    const QString path = fuzz::Scratch(QStringLiteral("page.html"));
    const FileIoResult exported = ExportHtml(path, sci);
    fuzz::Require(exported.ok(), "the export writes its page", exported.reason.toUtf8());
    const QByteArray page = fuzz::ReadAll(path);
    const QByteArray context = "text: " + QByteArray::fromStdString(text).toHex(' ');
    fuzz::Require(fuzz::IsValidUtf8(page), "the page is UTF-8", context);
    CheckBody(page, context);
    CheckStyleBlock(page, context);
    return 0;
}
