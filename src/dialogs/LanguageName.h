#pragma once

#include <QString>

// A language's name is also its file name, "<name>.CHL" in the highlighters
// directory. Names that could not be such a file, or that would land
// outside the directory, are refused before anything is written.
namespace LanguageName {

// The message to show for a name that cannot be used; empty when it can.
// The name is taken as typed (a trailing blank is part of it).
QString Problem(const QString &strName, const QString &strDir);

// The file a name is written to.
QString FilePath(const QString &strName, const QString &strDir);

} // namespace LanguageName
