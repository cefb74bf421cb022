#include "LongLineStyling.h"

#include "clsScintilla.h"

#include <QByteArray>
#include <Qsci/qsciscintillabase.h>
#include <algorithm>

using Sci = QsciScintillaBase;

LongLineStyling::LongLineStyling(clsScintilla &sci) : m_sci(sci)
{
}

long LongLineStyling::LexerFor(long lexer)
{
    // The container lexer asked for again (a document swapped in carries it)
    // stays ours while the lines are long.
    m_engaged = m_sci.HasLongLines() && (lexer == Sci::SCLEX_NULL || (lexer == Sci::SCLEX_CONTAINER && m_engaged));
    if (!m_engaged)
        return lexer;
    CopyPlainStyle();
    return Sci::SCLEX_CONTAINER;
}

void LongLineStyling::CopyPlainStyle()
{
    static constexpr int Attributes[][2] = {
        {Sci::SCI_STYLEGETFORE, Sci::SCI_STYLESETFORE},           {Sci::SCI_STYLEGETBACK, Sci::SCI_STYLESETBACK},
        {Sci::SCI_STYLEGETSIZE, Sci::SCI_STYLESETSIZE},           {Sci::SCI_STYLEGETBOLD, Sci::SCI_STYLESETBOLD},
        {Sci::SCI_STYLEGETITALIC, Sci::SCI_STYLESETITALIC},       {Sci::SCI_STYLEGETUNDERLINE, Sci::SCI_STYLESETUNDERLINE},
        {Sci::SCI_STYLEGETEOLFILLED, Sci::SCI_STYLESETEOLFILLED}, {Sci::SCI_STYLEGETCHARACTERSET, Sci::SCI_STYLESETCHARACTERSET},
        {Sci::SCI_STYLEGETCASE, Sci::SCI_STYLESETCASE},           {Sci::SCI_STYLEGETVISIBLE, Sci::SCI_STYLESETVISIBLE},
    };
    for (const auto &attribute : Attributes)
        m_sci.SendEditor(attribute[1], Twin, m_sci.SendEditor(attribute[0], 0));
    QByteArray font(int(m_sci.Editor()->SendScintilla(Sci::SCI_STYLEGETFONT, 0UL, static_cast<char *>(nullptr))) + 1,
                    '\0');
    m_sci.Editor()->SendScintilla(Sci::SCI_STYLEGETFONT, 0UL, font.data());
    m_sci.Editor()->SendScintilla(Sci::SCI_STYLESETFONT, static_cast<unsigned long>(Twin), font.constData());
}

// From where styling stopped to where it is wanted, the two styles taking
// turns at least every Run bytes, changing only between two ASCII bytes
// (never inside a character, nor between a letter and its accents).
void LongLineStyling::StyleTo(long position)
{
    if (!m_engaged || !m_sci.Editor())
        return;
    const long from = m_sci.SendEditor(Sci::SCI_GETENDSTYLED);
    const long to = std::clamp(position, from, m_sci.GetLen());
    if (to <= from)
        return;
    const auto *text = reinterpret_cast<const unsigned char *>(m_sci.SendEditor(Sci::SCI_GETRANGEPOINTER, from, to - from));
    QByteArray styles(to - from, '\0');
    char style = 0;
    long run = 0;
    for (long i = 0; i < to - from; ++i) {
        if (++run > Run && text[i] < 0x80 && i > 0 && text[i - 1] < 0x80) {
            style = style ? 0 : char(Twin);
            run = 1;
        }
        styles[qsizetype(i)] = style;
    }
    m_sci.SendEditor(Sci::SCI_STARTSTYLING, from, 0);
    m_sci.Editor()->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<unsigned long>(to - from), styles.constData());
}
