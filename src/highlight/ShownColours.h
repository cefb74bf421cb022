#pragma once

#include "Highlighter.h"

#include <array>
#include <cstdint>

class clsScintilla;

// The colours a language shows now: its dark set while dark colours are in
// use and it has one, else its own. A language without a dark set (one the
// user made) keeps its own colours on a dark desktop: chosen against its
// own background, they stay readable.
struct ShownColours
{
    const std::array<std::int32_t, Highlighter::StyleCount> &Fore;
    const std::array<std::int32_t, Highlighter::StyleCount> &Back;
    bool Dark;

    static ShownColours Of(const Highlighter &h, bool darkInUse);
    static ShownColours Of(const Highlighter &h); // with ColourScheme::DarkInUse()

    // The caret, the selection and the fold margin, which the language file
    // does not give: the component's own on light colours; on dark ones
    // taken from the default text (style 32) and line numbers (style 33).
    void ApplyEditorColours(clsScintilla &sci) const;
};
