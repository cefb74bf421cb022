#pragma once

#include <QString>
#include <QStringList>

// File-dialog filters are kept in the classic form "description|patterns|",
// one pair after the other, patterns separated by ";". Qt's dialogs want one
// entry per pair, "description (pattern pattern)".
class DialogFilter
{
public:
    // Empty descriptions and patterns are skipped; "*.*" (every file on the
    // platform the form comes from) becomes "*", which also matches names
    // without a dot.
    static QStringList ToQtFilters(const QString &pairs);
};
