#pragma once

#include "editor/FileIoResult.h"

#include <QString>

class clsScintilla;

// "#" and six upper-case hexadecimal digits in red, green, blue order, for a
// 0x00BBGGRR colour (bits above the 24 colour bits are ignored).
QString HtmlColour(long colour);

// Writes the coloured text of the editor as an HTML page: one CSS rule per
// style that occurs, taken from the editor's own highlighter, and one span
// per run of equal style. The page is UTF-8 and its markup characters are
// written as character references. The file is replaced only when the whole
// page could be written; otherwise the result says why (in Chinese) and the
// old file stays as it was. A large document shows its progress, and the
// user may stop the export (the result is then Stopped, the file untouched).
FileIoResult ExportHtml(const QString &path, clsScintilla &editor);
