#pragma once

#include "FilePatterns.h"

#include <QString>
#include <functional>

// The files of a folder that a search reads, in a steady order: each
// folder's entries sorted by name, a subfolder's files where the subfolder
// sorts. Hidden folders (".git" among them) are skipped, and so is anything
// named ".git"; links are not followed, neither to folders (which could loop
// or leave the tree) nor to files, as "grep -r" does; only regular files are
// read, never a device or a pipe.
class FolderWalker
{
public:
    struct Visitor
    {
        // A file to read; false stops the walk.
        std::function<bool(const QString &path)> file;
        // A folder that could not be listed, and why.
        std::function<void(const QString &path, const QString &reason)> unreadable;
    };

    FolderWalker(FilePatterns patterns, bool subfolders) : m_patterns(std::move(patterns)), m_subfolders(subfolders) {}

    // False when the walk was stopped.
    bool Walk(const QString &folder, const Visitor &visitor) const;

private:
    FilePatterns m_patterns;
    bool m_subfolders;
};
