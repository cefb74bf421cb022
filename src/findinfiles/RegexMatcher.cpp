#include "RegexMatcher.h"

#include "editor/Utf8Scan.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace {

QString ErrorText(int code)
{
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, sizeof buffer);
    return length > 0 ? QString::fromUtf8(reinterpret_cast<const char *>(buffer), length) : QString::number(code);
}

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// The line that holds position: from after the line end before it to its
// own line end (not included).
TextMatcher::Span LineAround(QByteArrayView text, qsizetype position)
{
    qsizetype start = position;
    while (start > 0 && !IsLineEnd(text[start - 1]))
        --start;
    qsizetype end = position;
    while (end < text.size() && !IsLineEnd(text[end]))
        ++end;
    return {start, end};
}

// One character on, so an empty match or a place that was no whole word
// is not found again; a byte that begins no character is one step.
qsizetype NextCharacter(QByteArrayView text, qsizetype position)
{
    if (position >= text.size())
        return position + 1;
    if (text[position] == '\r' && position + 1 < text.size() && text[position + 1] == '\n')
        return position + 2;
    char32_t c = 0;
    const int length =
        Utf8Scan::DecodeOne(reinterpret_cast<const unsigned char *>(text.data() + position), text.size() - position, c);
    return position + std::max(length, 1);
}

} // namespace

std::unique_ptr<RegexMatcher> RegexMatcher::Make(const TextQuery &query, const ComponentWordRules &words, QString *error)
{
    const QByteArray pattern = query.text.toUtf8();
    pcre2_compile_context *compile = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(compile, PCRE2_NEWLINE_ANYCRLF);
    uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_MULTILINE;
    if (!query.matchCase)
        options |= PCRE2_CASELESS;
    int code = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *compiled = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.constData()), PCRE2_SIZE(pattern.size()),
                                         options, &code, &offset, compile);
    pcre2_compile_context_free(compile);
    if (!compiled) {
        if (error) {
            const int at = QString::fromUtf8(pattern.first(qsizetype(std::min<PCRE2_SIZE>(offset, pattern.size())))).size();
            *error = QStringLiteral("正规表达式有误（第 %1 个字符处）：%2").arg(at + 1).arg(ErrorText(code));
        }
        return nullptr;
    }
    pcre2_jit_compile(compiled, PCRE2_JIT_COMPLETE); // without it the interpreter runs, only slower
    return std::unique_ptr<RegexMatcher>(new RegexMatcher(compiled, words, query.wholeWord));
}

RegexMatcher::RegexMatcher(pcre2_code *code, const ComponentWordRules &words, bool wholeWord)
    : m_code(code),
      m_matchData(pcre2_match_data_create_from_pattern(code, nullptr)),
      m_context(pcre2_match_context_create(nullptr)),
      m_jitStack(pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr)),
      m_words(words),
      m_wholeWord(wholeWord)
{
    pcre2_jit_stack_assign(m_context, nullptr, m_jitStack);
}

RegexMatcher::~RegexMatcher()
{
    pcre2_jit_stack_free(m_jitStack);
    pcre2_match_context_free(m_context);
    pcre2_match_data_free(m_matchData);
    pcre2_code_free(m_code);
}

int RegexMatcher::MatchFrom(QByteArrayView subject, qsizetype offset, Span &span, QString &error) const
{
    const int rc = pcre2_match(m_code, reinterpret_cast<PCRE2_SPTR>(subject.data()), PCRE2_SIZE(subject.size()),
                               PCRE2_SIZE(offset), 0, m_matchData, m_context);
    if (rc < 0) {
        if (rc != PCRE2_ERROR_NOMATCH)
            error = QStringLiteral("正规表达式无法完成匹配：%1").arg(ErrorText(rc));
        return -1;
    }
    const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(m_matchData);
    span = {qsizetype(ovector[0]), qsizetype(ovector[1])};
    return 0;
}

QString RegexMatcher::FindAll(const Lines &lines, const std::function<bool(Span)> &found)
{
    const QByteArrayView text = lines.text;
    QString error;
    qsizetype from = 0;
    while (from <= text.size()) {
        Span span;
        if (MatchFrom(text, from, span, error) < 0)
            break;
        const Span line = LineAround(text, span.start);
        if (span.end > line.end) {
            // Over a line end: the same line alone may still hold a match.
            const QByteArrayView alone = text.sliced(line.start, line.end - line.start);
            Span inLine;
            if (MatchFrom(alone, span.start - line.start, inLine, error) < 0) {
                if (!error.isEmpty())
                    break;
                from = NextCharacter(text, line.end);
                continue;
            }
            span = {line.start + inLine.start, line.start + inLine.end};
        }
        if (m_wholeWord && !m_words.IsWordAt(text, span.start, span.end, lines.startsDocument, lines.endsDocument)) {
            from = NextCharacter(text, span.start);
            continue;
        }
        if (!found(span))
            break;
        from = span.end > span.start ? span.end : NextCharacter(text, span.start);
    }
    return error;
}
