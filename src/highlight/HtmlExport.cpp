#include "HtmlExport.h"

#include "HtmlOutputBuffer.h"
#include "editor/clsScintilla.h"
#include "modHighlighter.h"
#include "platform/LongOperation.h"
#include "platform/SafeFileWriter.h"
#include "platform/WebSite.h"

#include <Qsci/qsciscintillabase.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr int RuleStyles = Highlighter::StyleCount; // styles above 127 get no rule

// What the body loop does with a byte.
enum ByteKind : unsigned char { Plain, Cr, Lf, Blank, Tab, Markup, Nul, Lead, Stray };

constexpr std::array<unsigned char, 256> MakeByteKinds()
{
    std::array<unsigned char, 256> kinds{};
    for (int c = 0; c < 256; ++c)
        kinds[c] = c < 0x80 ? Plain : (c >= 0xC2 && c <= 0xF4 ? Lead : Stray);
    kinds['\r'] = Cr;
    kinds['\n'] = Lf;
    kinds[' '] = Blank;
    kinds['\t'] = Tab;
    kinds['<'] = kinds['>'] = kinds['&'] = kinds['"'] = kinds['\''] = Markup;
    kinds[0] = Nul;
    return kinds;
}
constexpr std::array<unsigned char, 256> ByteKinds = MakeByteKinds();

// The length of the well-formed UTF-8 character starting at text[0] (whose
// first byte is a lead byte), or 0 when it is not one.
int Utf8Length(const unsigned char *text, long available)
{
    const unsigned char lead = text[0];
    const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (available < length)
        return 0;
    for (int k = 1; k < length; ++k)
        if ((text[k] & 0xC0) != 0x80)
            return 0;
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if ((lead == 0xE0 && text[1] < 0xA0) || (lead == 0xED && text[1] > 0x9F) || (lead == 0xF0 && text[1] < 0x90)
        || (lead == 0xF4 && text[1] > 0x8F))
        return 0;
    return length;
}

char *Put(char *out, const char *text, std::size_t length)
{
    std::memcpy(out, text, length);
    return out + length;
}

template <std::size_t N>
char *Put(char *out, const char (&text)[N])
{
    return Put(out, text, N - 1);
}

char *PutNumber(char *out, unsigned value)
{
    char digits[4];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value);
    while (n)
        *out++ = digits[--n];
    return out;
}

// The whole text coloured, a slice at a time; false when the user stopped
// it. The lexer has to start at a line start.
bool ColourRest(clsScintilla &editor, long length, LongOperation &operation)
{
    using Sci = QsciScintillaBase;
    LongOperation::Pace pace;
    for (;;) {
        const long endStyled = editor.SendEditor(Sci::SCI_GETENDSTYLED);
        if (endStyled >= length)
            return true;
        operation.SetDone(endStyled);
        if (!operation.Breathe())
            return false;
        const long from = editor.SendEditor(Sci::SCI_POSITIONFROMLINE,
                                            editor.SendEditor(Sci::SCI_LINEFROMPOSITION, endStyled));
        const long to = long(std::min<qint64>(length, endStyled + pace.Next()));
        editor.SendEditor(Sci::SCI_COLOURISE, from, to);
        if (editor.SendEditor(Sci::SCI_GETENDSTYLED) <= endStyled) {
            // A lexer that styles nothing in a slice (the container's) gets the rest at once.
            editor.ColouriseRest();
            return true;
        }
    }
}

// The style of every byte, read in blocks (one request per block, not per
// byte), and the set of styles that occur.
struct StyleMap
{
    static constexpr long Block = 64 * 1024;

    std::unique_ptr<unsigned char[]> styles;
    std::array<bool, 256> used{};

    explicit StyleMap(long length) : styles(new unsigned char[std::size_t(length) + 1]) {}

    // False when the user stopped it; progress counts from `doneBefore`.
    bool Read(const clsScintilla &editor, long length, LongOperation &operation, qint64 doneBefore)
    {
        std::vector<char> styled(2 * Block + 2);
        for (long start = 0; start < length; start += Block) {
            operation.SetDone(doneBefore + start);
            if (!operation.Breathe())
                return false;
            const long end = std::min(length, start + Block);
            editor.GetStyledText(start, end, styled.data());
            // Text and style bytes alternate.
            for (long k = 0; k < end - start; ++k) {
                const auto style = static_cast<unsigned char>(styled[std::size_t(2 * k + 1)]);
                styles[std::size_t(start + k)] = style;
                used[style] = true;
            }
        }
        return true;
    }
};

// The body: spans per style run, character references for markup, and the
// bytes of every character whole. A character whose later bytes carry
// another style stays in the span of its first byte. A tab becomes the
// blanks up to the editor's next tab stop (a browser would collapse it).
// The text goes to the file a block at a time, so the page never has to be
// held whole.
class BodyWriter
{
public:
    static constexpr long Block = 64 * 1024;
    static constexpr std::size_t FlushAt = 1024 * 1024;
    // Room asked for at once; wide tabs make the blocks shorter.
    static constexpr std::size_t BlockRoom = 4 * 1024 * 1024;

    BodyWriter(const unsigned char *text, const unsigned char *styles, long length, long tabWidth)
        : m_text(text), m_styles(styles), m_length(length), m_tabWidth(std::max(1L, tabWidth)),
          // The most one input byte can become: a span switch and a tab's blanks.
          m_worstPerByte(32 + 6 * std::size_t(m_tabWidth)),
          m_block(long(std::clamp<std::size_t>(BlockRoom / m_worstPerByte, 1, Block)))
    {
    }

    enum Outcome { Written, Refused, Stopped };

    // Refused when the file refused a block; progress counts from `doneBefore`.
    Outcome Write(SafeFileWriter &file, LongOperation &operation, qint64 doneBefore)
    {
        HtmlOutputBuffer output;
        LongOperation::Pace pace;
        int open = -1;
        long pos = 0;
        long column = 0;
        while (pos < m_length) {
            operation.SetDone(doneBefore + pos);
            if (!operation.Breathe())
                return Stopped;
            const long blockEnd = long(std::min<qint64>({m_length, pos + m_block, pos + pace.Next()}));
            char *out = output.Reserve(std::size_t(blockEnd - pos) * m_worstPerByte + 64);
            while (pos < blockEnd) {
                const int style = m_styles[pos];
                if (style != open) {
                    if (open >= 0)
                        out = Put(out, "</span>");
                    out = Put(out, "<span class=c");
                    out = PutNumber(out, unsigned(style));
                    *out++ = '>';
                    open = style;
                }
                pos = PutCharacter(out, pos, column);
            }
            output.Commit(out);
            if (output.Used() >= FlushAt && !output.WriteTo(file))
                return Refused;
        }
        if (open >= 0)
            output.AppendOutput("</span>", 7);
        return output.WriteTo(file) ? Written : Refused;
    }

private:
    // Writes the character at pos; answers the position after it. Every
    // character but a line end and a tab takes one column, as in the editor.
    long PutCharacter(char *&out, long pos, long &column) const
    {
        const unsigned char c = m_text[pos];
        ++column;
        switch (ByteKinds[c]) {
        case Plain:
            *out++ = char(c);
            break;
        case Cr:
            out = Put(out, "<BR>");
            column = 0;
            break;
        case Lf:
            // A line that ends in a line feed alone still breaks.
            if (pos == 0 || m_text[pos - 1] != '\r')
                out = Put(out, "<BR>");
            *out++ = '\n';
            column = 0;
            break;
        case Blank:
            out = Put(out, "&nbsp;");
            break;
        case Tab:
            --column;
            do {
                out = Put(out, "&nbsp;");
            } while (++column % m_tabWidth != 0);
            break;
        case Markup:
            out = PutMarkup(out, c);
            break;
        case Lead:
            if (const int n = Utf8Length(m_text + pos, m_length - pos)) {
                out = Put(out, reinterpret_cast<const char *>(m_text + pos), std::size_t(n));
                return pos + n;
            }
            out = Put(out, "\xEF\xBF\xBD");
            break;
        default: // a NUL or a byte that begins no character
            out = Put(out, "\xEF\xBF\xBD");
            break;
        }
        return pos + 1;
    }

    static char *PutMarkup(char *out, unsigned char c)
    {
        switch (c) {
        case '<': return Put(out, "&lt;");
        case '>': return Put(out, "&gt;");
        case '&': return Put(out, "&amp;");
        case '"': return Put(out, "&quot;");
        default: return Put(out, "&#39;");
        }
    }

    const unsigned char *m_text;
    const unsigned char *m_styles;
    long m_length;
    long m_tabWidth;
    std::size_t m_worstPerByte;
    long m_block;
};

QByteArray EscapedAttribute(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&#39;")).toUtf8();
}

// A font name as a CSS string: it can neither end the string nor the style
// element. CSS ends a string at a form feed as at a line end, so every
// control character is written as an escape.
QByteArray CssString(const QString &text)
{
    QString quoted = QStringLiteral("'");
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\'' || c == u'\\')
            quoted += QLatin1Char('\\') + ch;
        else if (c == u'<' || c < 0x20 || (c >= 0x7F && c <= 0x9F))
            quoted += QStringLiteral("\\%1 ").arg(uint(c), 0, 16).toUpper();
        else
            quoted += ch;
    }
    return (quoted + QLatin1Char('\'')).toUtf8();
}

QByteArray Line(const QByteArray &text)
{
    return text + LineEnd;
}

QByteArray CssRule(int style, const StyleSpec &look)
{
    QByteArray rule = Line(".c" + QByteArray::number(style) + " {");
    if (!look.Font.isEmpty())
        rule += Line("font-family: " + CssString(look.Font) + ";");
    if (look.Fore != 0)
        rule += Line("color: " + HtmlColour(look.Fore).toLatin1() + ";");
    if (look.Back != 0)
        rule += Line("background: " + HtmlColour(look.Back).toLatin1() + ";");
    if (look.Size != 0)
        rule += Line("font-size: " + QByteArray::number(look.Size) + "pt;");
    rule += Line(look.Bold ? "font-weight: 700;" : "font-weight: 400;");
    if (look.Italic)
        rule += Line("font-style: italic;");
    if (look.Underline)
        rule += Line("text-decoration: underline;");
    return rule + Line("}");
}

// The styles come from the exported editor's own highlighter; an editor
// without a valid one gets rules without looks.
StyleSpec LookOf(const clsScintilla &editor, int style)
{
    const long index = editor.lHighlighterNum;
    if (index < 0 || index >= long(HighlighterTable.size()))
        return StyleSpec{};
    return HighlighterTable[std::size_t(index)].Style(style);
}

QByteArray Head(const clsScintilla &editor, const std::array<bool, 256> &used)
{
    QByteArray head;
    head += Line("<HTML>");
    head += Line("  <HEAD>");
    head += Line("    <Meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">");
    head += Line("    <Meta Generator=\"" + EscapedAttribute(QStringLiteral("CScintilla Class (") + WebSite::Address()
                                                            + QLatin1Char(')'))
                 + "\">");
    head += Line("<style type=\"text/css\">");
    for (int style = 0; style < RuleStyles; ++style)
        if (used[std::size_t(style)])
            head += CssRule(style, LookOf(editor, style));
    head += Line("</style>");
    head += Line("  </HEAD>");
    head += "  <BODY BGCOLOR=#FFFFFF TEXT=#000000>";
    return head;
}

} // namespace

QString HtmlColour(long colour)
{
    const unsigned long rgb = static_cast<unsigned long>(colour) & 0xFFFFFFUL;
    const QString hex = QString::number(rgb, 16).toUpper().rightJustified(6, QLatin1Char('0'));
    return QLatin1Char('#') + hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2);
}

// Colouring, reading the styles and writing the body each count the text
// once towards the progress.
FileIoResult ExportHtml(const QString &path, clsScintilla &editor)
{
    LongOperation operation(QStringLiteral("正在导出为HTML"));
    const long length = std::max(0L, editor.GetLen());
    operation.SetTotal(3 * qint64(length));
    // Styles must reach the end of the text before they are read back.
    if (!ColourRest(editor, length, operation))
        return FileIoResult::Stop();
    StyleMap map(length);
    if (!map.Read(editor, length, operation, length))
        return FileIoResult::Stop();
    const auto *text = reinterpret_cast<const unsigned char *>(editor.CharacterPointer());

    SafeFileWriter file(path);
    if (const FileWriteResult opened = file.Open(); !opened)
        return FileIoResult::Failure(opened.reason);
    file.Write(Head(editor, map.used));
    const long tabWidth = editor.SendEditor(QsciScintillaBase::SCI_GETTABWIDTH);
    if (length > 0
        && BodyWriter(text, map.styles.get(), length, tabWidth).Write(file, operation, 2 * qint64(length))
               == BodyWriter::Stopped) {
        file.Cancel(); // an old page keeps its bytes
        return FileIoResult::Stop();
    }
    file.Write(QByteArrayView("\r\n  </BODY>\r\n</HTML>\r\n"));
    if (const FileWriteResult written = file.Commit(); !written)
        return FileIoResult::Failure(written.reason);
    return FileIoResult::Success();
}
