// Text, positions, selection and file access of the editor wrapper.
#include "clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

long clsScintilla::GetCurPos() const
{
    return SendEditor(Sci::SCI_GETCURRENTPOS);
}

// The byte at a position as a signed value (bytes of 128 and above are
// negative); 0 outside the document.
long clsScintilla::CharAtPos(long position) const
{
    return SendDirect(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position));
}

long clsScintilla::GetColumn() const
{
    return SendEditor(Sci::SCI_GETCOLUMN, GetCurPos());
}

long clsScintilla::GetCurLine() const
{
    return SendEditor(Sci::SCI_LINEFROMPOSITION, GetCurPos());
}

long clsScintilla::GetLineCount() const
{
    return SendEditor(Sci::SCI_GETLINECOUNT);
}
