// Auto-indent and keyboard handling of the editor wrapper.
#include "clsScintilla.h"

#include "platform/RuntimeError.h"

#include <Qsci/qsciscintillabase.h>
#include <cmath>
#include <limits>

using Sci = QsciScintillaBase;

// An empty caret line takes the indentation of the nearest non-empty line
// above it (a line of blanks counts as non-empty), and the caret lands after
// that indentation. Runs after every added character; it only acts right
// after Enter, when the caret's line is still empty.
void clsScintilla::MaintainIndentation()
{
    const long caretLine = GetCurLine();
    long line = caretLine;
    long indent = 0;
    while (line >= 0 && GetLineEndPosition(line) == PositionFromLine(line)) {
        --line;
        if (line >= 0)
            indent = GetLineIndentation(line);
        if (indent >= 1) {
            SetLineIndentation(caretLine, indent);
            SetCurrentPosition(GetLineIndentPosition(caretLine));
            SetSel(GetCurPos(), GetCurPos());
        }
    }
}

void clsScintilla::ClearCmdKey(long lKeyDef)
{
    SendEditor(Sci::SCI_ASSIGNCMDKEY, lKeyDef, Sci::SCI_NULL);
}

void clsScintilla::ClearCommandKeys()
{
    SendEditor(Sci::SCI_CLEARALLCMDKEYS);
}

// Ctrl+V, C, X, Z and Y belong to the main window's menu commands.
void clsScintilla::ClearCtrlKeys()
{
    for (const char letter : {'V', 'C', 'X', 'Z', 'Y'})
        ClearCmdKey(long(letter) + LShift(Sci::SCMOD_CTRL, 16));
}

long clsScintilla::Shift(long lValue, long lNumberOfBitsToShift, long lDirectionToShift)
{
    if (lDirectionToShift != 0) {
        const double shifted = double(lValue) * std::pow(2.0, double(lNumberOfBitsToShift));
        if (!(shifted >= double(std::numeric_limits<std::int32_t>::min())
              && shifted <= double(std::numeric_limits<std::int32_t>::max())))
            throw RuntimeError(RuntimeError::Overflow, QStringLiteral("Shift"), QStringLiteral("Overflow"));
        return long(std::nearbyint(shifted));
    }
    const double power = std::nearbyint(std::pow(2.0, double(lNumberOfBitsToShift)));
    if (!(power >= 1.0 && power <= double(std::numeric_limits<std::int32_t>::max())))
        throw RuntimeError(RuntimeError::Overflow, QStringLiteral("Shift"), QStringLiteral("Overflow"));
    return lValue / long(power);
}

long clsScintilla::LShift(long lValue, long lNumberOfBitsToShift)
{
    try {
        return Shift(lValue, lNumberOfBitsToShift, vbTrue);
    } catch (const RuntimeError &error) {
        throw RuntimeError(error.Number(), QStringLiteral("LShift"), error.Description());
    }
}
