#pragma once

#include <QString>
#include <QtGlobal>

// What a file looked like when it was read: size, change time to the
// nanosecond and its inode. A file whose stamp changed since it was searched
// is not written over from what was found in it.
struct FileStamp
{
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;

    // A stamp with size -1 when the file cannot be looked at.
    static FileStamp Of(const QString &path);

    bool operator==(const FileStamp &other) const = default;
};
