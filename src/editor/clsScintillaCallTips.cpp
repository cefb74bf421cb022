// Call tips and auto-completion of the editor wrapper.
#include "clsScintilla.h"
#include "platform/SmallFileReader.h"

#include <cstring>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

// Letters, digits and the underscore; a name does not start with a digit.
bool IsIdentifierChar(char c)
{
    return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Where the name that ends at end begins in the line: end when there is
// none (a run of identifier characters that starts with a digit is a
// number, or the tail of one, not a name).
qsizetype NameStart(const QByteArray &line, qsizetype end)
{
    qsizetype begin = end;
    while (begin > 0 && IsIdentifierChar(line[begin - 1]))
        --begin;
    return (begin < end && line[begin] >= '0' && line[begin] <= '9') ? end : begin;
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
    m_apiList = ApiEntry::Parse(file.bytes);
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
    const qsizetype caret = std::min<qsizetype>(GetCaretInLine(), line.size());
    return long(caret - NameStart(line, caret));
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
    const auto [start, end] = m_apiList[m_currentTipEntry].Span(commas);
    SetCallTipHighlight(long(start), long(end));
}

// The first entry that holds the typed name as a whole word decides; an
// entry that holds it inside a longer identifier ends the search.
void clsScintilla::OpenCallTip()
{
    const QByteArray line = GetLine(GetCurLine());
    const qsizetype paren = std::min<qsizetype>(GetCaretInLine(), line.size()) - 1; // the "(" just typed
    const qsizetype begin = NameStart(line, paren);
    const QByteArray word = line.mid(begin, paren - begin);
    if (word.isEmpty()) {
        StopCallTip();
        return;
    }
    for (qsizetype i = 0; i < m_apiList.size(); ++i) {
        const QByteArray &entry = m_apiList[i].Entry();
        // memmem: an entry may be megabytes long, and this runs on a keystroke.
        const auto *hit = static_cast<const char *>(memmem(entry.constData(), entry.size(), word.constData(), word.size()));
        if (!hit)
            continue;
        const qsizetype at = hit - entry.constData();
        const qsizetype after = at + word.size();
        const bool touchesBefore = at > 0 && IsIdentifierChar(entry[at - 1]);
        const bool touchesAfter = after >= entry.size() || IsIdentifierChar(entry[after]);
        if (touchesBefore || touchesAfter)
            return;
        m_currentTipEntry = i;
        ShowCallTip(m_apiList[i].Tip());
        if (m_apiList[i].HasComma()) {
            const auto [start, end] = m_apiList[i].Span(0);
            SetCallTipHighlight(long(start), long(end));
            return;
        }
    }
}
