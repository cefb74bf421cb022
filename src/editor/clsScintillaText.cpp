// Text, selection, caret, lines and characters of the editor wrapper.
#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

// ---- whole text ----

// Exactly the document: its length in bytes, nothing appended.
QByteArray clsScintilla::GetText() const
{
    const long length = SendEditor(Sci::SCI_GETLENGTH);
    QByteArray bytes(length + 1, '\0');
    SendDirectPtr(Sci::SCI_GETTEXT, static_cast<unsigned long>(length + 1), bytes.data());
    bytes.truncate(length);
    return bytes;
}

void clsScintilla::SetText(const QString &str)
{
    SendEditor(Sci::SCI_SETTEXT, 0, str);
}

void clsScintilla::SetTextBytes(const QByteArray &bytes)
{
    SendEditor(Sci::SCI_CLEARALL);
    SendDirectPtr(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(bytes.size()),
                  const_cast<char *>(bytes.constData()));
}

void clsScintilla::SetSavePoint()
{
    SendEditor(Sci::SCI_SETSAVEPOINT);
    if (m_markedModified) {
        m_markedModified = false;
        emit SavePointReached();
    }
}

void clsScintilla::MarkModified()
{
    if (m_markedModified)
        return;
    m_markedModified = true;
    emit SavePointLeft();
}

// A converted encoding not saved yet counts as a change: closing must ask.
bool clsScintilla::Modified() const
{
    return m_markedModified || m_encoding != m_fileEncoding || SendEditor(Sci::SCI_GETMODIFY) != 0;
}

long clsScintilla::GetLen() const
{
    return SendEditor(Sci::SCI_GETLENGTH);
}

long clsScintilla::GetDocLen() const
{
    return SendDirect(Sci::SCI_GETLENGTH);
}

// ---- selection and clipboard ----

void clsScintilla::SetSelText(const QString &strVal)
{
    ReplaceSel(strVal);
}

void clsScintilla::ReplaceSel(const QString &strVal)
{
    SendEditor(Sci::SCI_REPLACESEL, strVal.size(), strVal);
}

// The selection decoded as a whole, so multi-byte characters come out whole.
QString clsScintilla::GetSelText() const
{
    const long size = SendDirect(Sci::SCI_GETSELTEXT, 0, 0);
    if (size <= 0)
        return QString();
    QByteArray bytes(size + 1, '\0');
    SendDirectPtr(Sci::SCI_GETSELTEXT, 0, bytes.data());
    // The reported size counts a terminating 0 on some versions of the component.
    const long length = SendEditor(Sci::SCI_GETSELECTIONEND) - SendEditor(Sci::SCI_GETSELECTIONSTART);
    bytes.truncate(std::min<long>(length, size));
    return Byte2Str(bytes);
}

void clsScintilla::SetSel(long lStart, long lEnd)
{
    SendEditor(Sci::SCI_SETSEL, lStart, lEnd);
}

long clsScintilla::GetSelStart() const
{
    return SendEditor(Sci::SCI_GETSELECTIONSTART);
}

long clsScintilla::GetSelEnd() const
{
    return SendEditor(Sci::SCI_GETSELECTIONEND);
}

void clsScintilla::SelectAll()
{
    SendEditor(Sci::SCI_SELECTALL);
}

void clsScintilla::Cut()
{
    SendEditor(Sci::SCI_CUT);
}

void clsScintilla::Copy()
{
    SendEditor(Sci::SCI_COPY);
}

void clsScintilla::Paste()
{
    SendEditor(Sci::SCI_PASTE);
}

// A replace-all the undo or redo reaches is taken back or made again as soon
// as the component returns (see ReplaceHistory).
void clsScintilla::Undo()
{
    SendEditor(Sci::SCI_UNDO);
    SettleReplaceHistory();
}

void clsScintilla::Redo()
{
    SendEditor(Sci::SCI_REDO);
    SettleReplaceHistory();
}

// ---- caret, positions, lines ----

long clsScintilla::GetCurPos() const
{
    return SendEditor(Sci::SCI_GETCURRENTPOS);
}

void clsScintilla::SetCurrentPosition(long lval)
{
    SendEditor(Sci::SCI_SETCURRENTPOS, lval);
}

long clsScintilla::GetCurLine() const
{
    return SendEditor(Sci::SCI_LINEFROMPOSITION, GetCurPos());
}

long clsScintilla::GetColumn() const
{
    return SendEditor(Sci::SCI_GETCOLUMN, GetCurPos());
}

long clsScintilla::GetCaretInLine() const
{
    return GetCurPos() - PositionFromLine(GetCurLine());
}

long clsScintilla::GetLineCount() const
{
    return SendEditor(Sci::SCI_GETLINECOUNT);
}

long clsScintilla::GetLastLine() const
{
    return SendEditor(Sci::SCI_GETLINECOUNT);
}

long clsScintilla::PositionFromLine(long lLine) const
{
    return SendEditor(Sci::SCI_POSITIONFROMLINE, lLine);
}

long clsScintilla::GetLineEndPosition(long lLine) const
{
    return SendEditor(Sci::SCI_GETLINEENDPOSITION, lLine);
}

long clsScintilla::GetLineIndentation(long lLine) const
{
    return SendEditor(Sci::SCI_GETLINEINDENTATION, lLine);
}

void clsScintilla::SetLineIndentation(long lLine, long lIndent)
{
    SendEditor(Sci::SCI_SETLINEINDENTATION, lLine, lIndent);
}

long clsScintilla::GetLineIndentPosition(long lLine) const
{
    return SendEditor(Sci::SCI_GETLINEINDENTPOSITION, lLine);
}

QByteArray clsScintilla::GetLine(long lLine) const
{
    const long length = SendEditor(Sci::SCI_LINELENGTH, lLine);
    if (length <= 0)
        return QByteArray();
    QByteArray bytes(length + 1, '\0');
    SendDirectPtr(Sci::SCI_GETLINE, static_cast<unsigned long>(lLine), bytes.data());
    bytes.truncate(length);
    return bytes;
}

// ---- characters ----

// The byte at a position as a signed value (bytes of 128 and above are
// negative); 0 outside the document.
long clsScintilla::CharAtPos(long position) const
{
    return SendDirect(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position));
}

long clsScintilla::GetCharAtLong(long iPos) const
{
    return SendEditor(Sci::SCI_GETCHARAT, iPos);
}

QByteArray clsScintilla::GetCharAt(long lPos) const
{
    return QByteArray(1, char(GetCharAtLong(lPos)));
}

QString clsScintilla::Byte2Str(const QByteArray &bVal)
{
    return QString::fromUtf8(bVal);
}

QByteArray clsScintilla::StrToBytes(const QString &text)
{
    return text.toUtf8();
}
