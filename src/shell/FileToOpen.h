#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A file the main window is asked to open, and where to put the caret.
struct FileToOpen
{
    QString path;   // absolute
    int line = 0;   // from 1; 0 when not given
    int column = 0; // from 1; 0 when not given

    bool operator==(const FileToOpen &) const = default;
};

// Files without a place for the caret.
inline QList<FileToOpen> FilesAt(const QStringList &paths)
{
    QList<FileToOpen> files;
    for (const QString &path : paths)
        files.append({path});
    return files;
}
