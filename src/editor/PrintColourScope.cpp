#include "PrintColourScope.h"

#include "clsScintilla.h"

#include <QColor>
#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

PrintColourScope::PrintColourScope(const clsScintilla &sci)
    : m_sci(sci),
      m_before(sci.SendEditor(Sci::SCI_GETPRINTCOLOURMODE))
{
    const long back = sci.SendEditor(Sci::SCI_STYLEGETBACK, Sci::STYLE_DEFAULT);
    const QColor paper(int(back & 0xFF), int((back >> 8) & 0xFF), int((back >> 16) & 0xFF));
    if (paper.lightness() < 128)
        sci.SendEditor(Sci::SCI_SETPRINTCOLOURMODE, Sci::SC_PRINT_INVERTLIGHT);
}

PrintColourScope::~PrintColourScope()
{
    m_sci.SendEditor(Sci::SCI_SETPRINTCOLOURMODE, m_before);
}
