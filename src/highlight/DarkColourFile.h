#pragma once

#include "Highlighter.h"
#include "IniFile.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// A language's dark colours: "dark/<name>.colours" beside its CHL file, an
// INI file whose section "dark" holds "Fore[n]" and "Back[n]" as #RRGGBB.
// A style without a key of its own takes its light colour, except that a
// colour equal to the light style 32's (the default text or background)
// follows the dark style 32: most styles share the default background and
// many the default text, so a file lists only what differs.
namespace DarkColourFile {

inline const QString Folder = QStringLiteral("dark");
inline const QString Section = QStringLiteral("dark");
inline const QString Suffix = QStringLiteral(".colours");

// The dark file of a CHL file: in the folder "dark" of the first lookup
// folder that has one, else of the CHL file's own folder (names matched
// with case ignored); empty when there is none.
QString Find(const QString &chlPath, const QStringList &lookup);

// Where the dark file of that CHL file goes in a folder of definitions.
QString PathIn(const QString &folder, const QString &chlPath);

// The dark set of a light record as that file gives it.
DarkColourSet Read(const IniFile &file, const Highlighter &light);

// Gives the record the dark set of its file, when one is found.
void Attach(Highlighter &h, const QStringList &lookup);

// "#RRGGBB" (case ignored) as 0x00BBGGRR; nothing for any other text.
std::optional<std::int32_t> ParseColour(QStringView text);
QString ColourText(std::int32_t colour);

// What style n shows without a key of its own.
std::int32_t ImpliedFore(const Highlighter &light, const DarkColourSet &dark, int n);
std::int32_t ImpliedBack(const Highlighter &light, const DarkColourSet &dark, int n);

// Writes h.Dark to the file at path: keys for style 32 and for each colour
// that differs from what it would be without one; the other keys of
// colours go, every other line stays. A path with no file yet starts from
// the bytes of h.Dark->FilePath (the shipped file: comments kept); the
// folder is made when missing.
IniWriteResult Write(const Highlighter &h, const QString &path);

} // namespace DarkColourFile
