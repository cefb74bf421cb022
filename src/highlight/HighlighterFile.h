#pragma once

#include "Highlighter.h"
#include "IniFile.h"

#include <QString>
#include <QStringView>

// The CHL file: an INI file whose section "data" holds one language.
namespace HighlighterFile {

inline const QString Section = QStringLiteral("data");

// A CHL file larger than this, or one that is no regular file, is no
// language definition; it loads as one with every key missing rather than
// holding up the start.
constexpr qint64 MaxFileBytes = IniFile::MaxFileBytes;

// The look of a style before its value is read: Courier New 10, black on
// white, no flags.
StyleSpec DefaultLook();

// One "Style[n]" value: thirteen fields separated by ":". Each field that is
// there and makes sense overwrites the default; a field that is missing, or
// a number field that is no number, leaves it.
StyleSpec ParseStyleValue(QStringView value);

// The value that the settings writer stores for a style.
QString StyleValueText(const StyleSpec &look);

// Style n looks like style 32 of the same highlighter (the description
// aside). Never true for style 32 itself.
bool EqualsDefaultStyle(const Highlighter &h, int n);
// Style n equals style 32, description included: a file without a line for
// it reads it back as it is, so the writer gives it none. (A style that only
// looks like style 32 keeps its line, or its own description would be lost.)
bool ReadsAsStyle32(const Highlighter &h, int n);

// Reads a whole record from a parsed file; never fails, whatever the file
// holds: what is missing or unreadable keeps its default.
Highlighter Read(const IniFile &file);
Highlighter ReadFile(const QString &path);

// Writes filter, LangName, SingleComment (when the record or the file has
// one), the styles that do not read as style 32 and the non-empty keyword
// lists into h.FilePath, and takes out the lines of the other styles and of
// empty lists; every other line stays.
IniWriteResult WriteSettings(const Highlighter &h);

} // namespace HighlighterFile
