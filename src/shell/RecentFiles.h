#pragma once

#include <QStringList>

// The files opened last, newest first, at most Limit of them, kept in the
// settings store beside the main window's placement ("ScintillaMDI",
// section "Settings", keys "RecentFile1" to "RecentFile10").
namespace RecentFiles {

constexpr int Limit = 10;

QStringList List();
// Puts the file first; the same file (however spelled) further down goes,
// and so does whatever falls beyond the limit.
void Add(const QString &path);
void Clear();

} // namespace RecentFiles
