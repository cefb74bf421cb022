#pragma once

#include "Highlighter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class clsScintilla;
class QWidget;

// The highlighters of the run, in load order. Editors remember their
// highlighter by index, so entries are never removed or moved.
extern std::vector<Highlighter> HighlighterTable;
extern std::int16_t HighlighterCount;
// The entry that ApplyHighlighter applied last, to whichever editor.
extern std::int16_t CurrentHighlighter;

// The folders the run's languages came from, earliest first (set by
// LoadHighlighterFolders); API files are looked for in them in that order.
extern QStringList HighlighterLookup;

// The names of the directory's *.CHL files (regular files, links followed),
// in the order they are loaded and listed: by file name, case ignored.
QStringList HighlighterFileNames(const QString &strDir);
// Every *.CHL file of the directory, in file-name order.
void LoadHighlighters(const QString &strDir);
// The *.CHL files of several folders, earliest folder first: a file hides
// the files of the same name (case ignored) in later folders. Full paths,
// in file-name order whichever folder each came from.
QStringList HighlighterFiles(const QStringList &folders);
// Loads HighlighterFiles(folders) and remembers the folders for API files.
void LoadHighlighterFolders(const QStringList &folders);
// Appends one record; a broken file still gives a whole record. The record
// remembers its path, so the settings dialog writes each entry back to the
// file it came from.
void LoadHighlighter(const QString &strPath);

// The first entry of that name, case ignored; 0 when there is none.
std::int16_t FindHighlighter(const QString &strName);
// The patterns of a filter's pattern halves ("*.c", "Makefile"), in order.
QStringList FilterPatterns(const QString &filter);
// The LangName of the last entry whose filter patterns match the file's
// name; empty when none does.
QString HighlighterForFile(const QString &strFile);
// Sends the entry's styles, keyword lists and lexer and restyles the text.
// Does nothing while the table is empty.
void ApplyHighlighter(clsScintilla &sci, const QString &strName);
// Loads the call-tip signatures of a language into an editor (none: empty):
// the API file of the CHL file's base name, from the first folder of
// HighlighterLookup that has one, else from beside the CHL file.
void LoadLanguageApi(clsScintilla &sci, const Highlighter &h);
// Applies to each editor again the highlighter it has (by its
// lHighlighterNum), as the table holds it now.
void ReapplyHighlighters(const QList<clsScintilla *> &editors);

// Gives a dialog's buttons, text boxes, lists, trees, progress bars and
// pictures a thin flat frame in place of the sunken one.
void FlattenControls(QWidget *frm);

// Empties the table: a fresh start for tests and measurements.
void ResetHighlighterTable();
