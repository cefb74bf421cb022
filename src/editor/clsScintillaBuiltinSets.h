#pragma once

class clsScintilla;

// The four style sets compiled into the wrapper. Each sets its styles over
// the cleared ones, loads its keyword lists and selects its lexer last.
void LoadVBHighlighter(clsScintilla &sci);
void LoadCPPHighlighter(clsScintilla &sci);
void LoadHTMLHighlighter(clsScintilla &sci);
void LoadPascalHighlighter(clsScintilla &sci);
