#pragma once

class clsScintilla;

// The component lays a line out a piece at a time, each piece a run of one
// style that Qt's text layout measures at a cost growing with the square of
// its length; runs longer than a hundred bytes are cut there. Plain text is
// one style throughout: a line of megabytes then takes seconds to draw and
// to type in (about 0.7 µs a byte), where code coloured by a language takes
// milliseconds. So a document with long lines shown as plain text is styled
// here instead: the same look in two styles taking turns every few bytes,
// which makes the pieces short, and often the same, which the component's
// cache of measured pieces notices.
class LongLineStyling
{
public:
    explicit LongLineStyling(clsScintilla &sci);

    // The lexer a language asks for: the container's own (styled here) in
    // place of the plain one, for a document with long lines.
    long LexerFor(long lexer);
    // The component asks for styles up to this position.
    void StyleTo(long position);
    bool Engaged() const { return m_engaged; }

    // The style taking turns with the plain style 0, made to look the same.
    static constexpr int Twin = 1;
    // Bytes a run lasts, at least.
    static constexpr long Run = 8;

private:
    void CopyPlainStyle();

    clsScintilla &m_sci;
    bool m_engaged = false;
};
