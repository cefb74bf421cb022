// Call tips and auto-completion of the editor wrapper.
#include "clsScintilla.h"
#include "platform/SmallFileReader.h"

#include <QFile>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

bool IsIdentifierChar(char c)
{
    return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// One entry of the API list, read as the tip it shows: the entry without
// its separator and its last character, with the span of each parameter
// counted in bytes of that tip.
struct ApiEntry
{
    explicit ApiEntry(const QByteArray &entry)
    {
        const qsizetype open = entry.indexOf('(');
        if (open < 0)
            return; // no parameter list: nothing to highlight
        const qsizetype close = entry.lastIndexOf(')');
        const QByteArray params = entry.mid(open + 1, close > open ? close - open - 1 : -1);
        qsizetype start = open; // the tip starts one byte into the entry
        for (const QByteArray &param : params.split(',')) {
            spans.append({start, start + param.size()});
            start += param.size() + 1;
        }
    }

    // The span of parameter k; past the last parameter, the last one's.
    std::pair<qsizetype, qsizetype> Span(qsizetype k) const
    {
        return spans.isEmpty() ? std::pair<qsizetype, qsizetype>{0, 0} : spans[std::min(k, spans.size() - 1)];
    }

    QList<std::pair<qsizetype, qsizetype>> spans;
};

QByteArray TipText(const QByteArray &entry)
{
    return entry.size() >= 2 ? entry.mid(1, entry.size() - 2) : QByteArray();
}

} // namespace

FileIoResult clsScintilla::LoadAPIFile(const QString &strFile)
{
    ClearAPIList();
    // A pipe or a device in its place must neither block nor fill memory.
    constexpr qint64 MaxApiFileBytes = 64 * 1024 * 1024;
    const SmallFileRead file = ReadSmallFile(strFile, MaxApiFileBytes);
    if (file.outcome == SmallFileRead::Missing)
        return FileIoResult::Missing();
    if (!file.ok())
        return FileIoResult::Failure(QStringLiteral("无法读取 API 文件：%1").arg(file.reason));
    const QByteArray &text = file.bytes;

    // Lines end in CR LF, LF or CR alike; what follows the last line end is
    // never offered.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        m_apiList.append('\n' + text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    m_apiLoaded = true;
    return FileIoResult::Success();
}

void clsScintilla::ClearAPIList()
{
    m_apiList.clear();
    m_apiLoaded = false;
    m_currentTipEntry = 0;
}

void clsScintilla::ShowCallTip(const QByteArray &strVal)
{
    QByteArray text = strVal; // zero-terminated by QByteArray
    SendDirectPtr(Sci::SCI_CALLTIPSHOW, static_cast<unsigned long>(GetCurPos()), text.data());
}

long clsScintilla::CallTipActive() const
{
    return SendEditor(Sci::SCI_CALLTIPACTIVE);
}

void clsScintilla::StopCallTip()
{
    SendEditor(Sci::SCI_CALLTIPCANCEL);
}

void clsScintilla::SetCallTipHighlight(long lStart, long lEnd)
{
    SendEditor(Sci::SCI_CALLTIPSETHLT, lStart, lEnd);
}

void clsScintilla::ShowAutoComplete(const QString &strVal)
{
    SendEditor(Sci::SCI_AUTOCSHOW, GetWordLenBeforeCaret(), strVal);
}

long clsScintilla::GetWordLenBeforeCaret() const
{
    const QByteArray line = GetLine(GetCurLine());
    qsizetype i = std::min<qsizetype>(GetCaretInLine(), line.size());
    long count = 0;
    while (i > 0 && IsIdentifierChar(line[i - 1])) {
        --i;
        ++count;
    }
    return count;
}

// Shows the signature of the function whose name was just typed with "(",
// and follows the commas typed inside it; ")" or another "(" closes it.
void clsScintilla::CallTipCharAdded(long ch)
{
    if (!m_apiLoaded || m_apiList.isEmpty())
        return;
    if (CallTipActive()) {
        if (ch == ')' || ch == '(')
            StopCallTip();
        else
            HighlightTypedParameter();
        return;
    }
    if (ch == '(')
        OpenCallTip();
}

// The parameter the caret is in: the commas typed since the last "(".
void clsScintilla::HighlightTypedParameter()
{
    if (m_currentTipEntry < 0 || m_currentTipEntry >= m_apiList.size())
        return;
    const QByteArray line = GetLine(GetCurLine());
    const qsizetype caret = std::min<qsizetype>(GetCaretInLine(), line.size());
    const qsizetype open = caret > 0 ? line.lastIndexOf('(', caret - 1) : -1;
    const qsizetype commas = line.mid(open + 1, caret - open - 1).count(',');
    const auto [start, end] = ApiEntry(m_apiList[m_currentTipEntry]).Span(commas);
    SetCallTipHighlight(long(start), long(end));
}

// The first entry that holds the typed name as a whole word decides; an
// entry that holds it inside a longer identifier ends the search.
void clsScintilla::OpenCallTip()
{
    const QByteArray line = GetLine(GetCurLine());
    const qsizetype paren = std::min<qsizetype>(GetCaretInLine(), line.size()) - 1; // the "(" just typed
    qsizetype begin = paren;
    while (begin > 0 && IsIdentifierChar(line[begin - 1]))
        --begin;
    const QByteArray word = line.mid(begin, paren - begin);
    if (word.isEmpty()) {
        StopCallTip();
        return;
    }
    for (qsizetype i = 0; i < m_apiList.size(); ++i) {
        const QByteArray &entry = m_apiList[i];
        const qsizetype at = entry.indexOf(word);
        if (at < 0)
            continue;
        const qsizetype after = at + word.size();
        const bool touchesBefore = at > 0 && IsIdentifierChar(entry[at - 1]);
        const bool touchesAfter = after >= entry.size() || IsIdentifierChar(entry[after]);
        if (touchesBefore || touchesAfter)
            return;
        m_currentTipEntry = i;
        ShowCallTip(TipText(entry));
        if (entry.contains(',')) {
            const auto [start, end] = ApiEntry(entry).Span(0);
            SetCallTipHighlight(long(start), long(end));
            return;
        }
    }
}
