#include "ShownColours.h"

#include "ColourScheme.h"
#include "editor/clsScintilla.h"

#include <Qsci/qsciscintillabase.h>

using Sci = QsciScintillaBase;

namespace {

// a and b mixed, weight parts of a in 256 (0x00BBGGRR).
std::int32_t Mix(std::int32_t a, std::int32_t b, int weight)
{
    std::int32_t mixed = 0;
    for (int shift : {0, 8, 16}) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        mixed |= ((ca * weight + cb * (256 - weight)) / 256) << shift;
    }
    return mixed;
}

} // namespace

ShownColours ShownColours::Of(const Highlighter &h, bool darkInUse)
{
    if (darkInUse && h.Dark)
        return {h.Dark->Fore, h.Dark->Back, true};
    return {h.Fore, h.Back, false};
}

ShownColours ShownColours::Of(const Highlighter &h)
{
    return Of(h, ColourScheme::DarkInUse());
}

void ShownColours::ApplyEditorColours(clsScintilla &sci) const
{
    const int d = Highlighter::DefaultStyle;
    if (!Dark) {
        sci.SendEditor(Sci::SCI_SETCARETFORE, 0);
        sci.SendEditor(Sci::SCI_SETSELBACK, 0, 0);
        sci.SendEditor(Sci::SCI_SETFOLDMARGINCOLOUR, 0, 0);
        sci.SendEditor(Sci::SCI_SETFOLDMARGINHICOLOUR, 0, 0);
        return;
    }
    sci.SendEditor(Sci::SCI_SETCARETFORE, Fore[d]);
    // A third of the way from the background to the text: text in every
    // style colour still reads on it.
    sci.SendEditor(Sci::SCI_SETSELBACK, 1, Mix(Fore[d], Back[d], 80));
    sci.SendEditor(Sci::SCI_SETFOLDMARGINCOLOUR, 1, Back[d + 1]);
    sci.SendEditor(Sci::SCI_SETFOLDMARGINHICOLOUR, 1, Back[d + 1]);
}
