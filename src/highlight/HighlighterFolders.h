#pragma once

#include "IniFile.h"

#include <QString>
#include <QStringList>

// Where language definitions (CHL files and their API files) are looked for,
// earliest first: the user's own folder, the folder the program was
// installed with, the folder beside the program (a build tree). A file in
// an earlier folder hides the file of the same name in a later one. Edits
// and new languages are written to the user's folder only: an installed
// folder belongs to the system and may not be writable at all.
struct HighlighterFolders
{
    QStringList lookup; // earliest first
    QString user;       // where definitions are written

    // The running program's folders: $XDG_DATA_HOME/Ferrolan/highlighters
    // (~/.local/share/...), <prefix>/share/ferrolan/highlighters found from
    // the program's own bin folder, and highlighters/ beside the program.
    static HighlighterFolders ForProgram();
    // The same for a program that lives in that folder.
    static HighlighterFolders ForProgramIn(const QString &programDir);
    // One folder, read and written.
    static HighlighterFolders Single(const QString &dir);

    // The file of that name (case ignored) in the earliest folder that has
    // one; empty when none has.
    QString Find(const QString &fileName) const;

    // The file the user's folder holds, or would hold, for a definition
    // found anywhere: the same file name in `user`.
    QString UserPath(const QString &path) const;

    // Makes the user's own copy of a definition before its first change:
    // the file's bytes as they are (comments and unknown keys kept), in the
    // user's folder, which is made when missing. A file already there is
    // left alone.
    IniWriteResult CopyToUser(const QString &path) const;
};
