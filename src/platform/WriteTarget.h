#pragma once

#include <QString>
#include <sys/stat.h>

// The file a save really writes, and what it is before the save: symbolic
// links are followed to the name that is no link (relative ones from their
// own folder), so a link keeps working and its target gets the new text.
class WriteTarget
{
public:
    static WriteTarget Resolve(const QString &path);

    QString path;     // links followed
    bool exists = false;
    struct stat info = {}; // what the file is, when it exists
    int error = 0;    // why the name could not be followed (ELOOP for a loop of links)

    // Why this may not be written at all, in Chinese; empty when it may.
    QString Refusal() const;
    // A new file beside it can take its place and still be all this file
    // was: the same owner, group and mode, its data under no other name,
    // and a folder that lets a file be made and renamed there.
    bool CanBeReplaced() const;

    QString Folder() const;

private:
    bool ReadOnlyByMode() const;
    bool CanKeepOwnerAndGroup() const;
};

// The caller belongs to this group (effective or supplementary).
bool InGroup(gid_t group);
