#pragma once

#include <QString>

// A language's name is also its file name, "<name>.CHL" in the highlighters
// directory. Names that could not be such a file, or that would land
// outside the directory, are refused before anything is written.
namespace LanguageName {

// The name as it is used: without the blanks around it.
QString Cleaned(const QString &strTyped);

// The message to show for a (cleaned) name that cannot be used; empty when
// it can. Characters that do not show (controls, format characters such as
// a right-to-left override or a zero-width space) are refused, so two
// entries of the menu cannot look alike.
QString Problem(const QString &strName, const QString &strDir);

// The file a name is written to.
QString FilePath(const QString &strName, const QString &strDir);

} // namespace LanguageName
