#pragma once

class clsScintilla;

// Paper is white: while it lives, an editor whose default background is
// dark (a dark colour set) prints with every colour's lightness inverted, so
// light text on a dark page comes out dark on a light one. The mode the
// editor had comes back when it goes.
class PrintColourScope
{
public:
    explicit PrintColourScope(const clsScintilla &sci);
    ~PrintColourScope();
    PrintColourScope(const PrintColourScope &) = delete;
    PrintColourScope &operator=(const PrintColourScope &) = delete;

private:
    const clsScintilla &m_sci;
    long m_before;
};
