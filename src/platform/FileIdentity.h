#pragma once

#include <QString>
#include <QtGlobal>

// What a file is at a moment: its size, change time to the nanosecond and
// its inode. Two that differ mean someone wrote or replaced the file between
// them.
struct FileIdentity
{
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;

    // Size -1 when the file cannot be looked at.
    static FileIdentity Of(const QString &path);

    bool operator==(const FileIdentity &other) const = default;
};
