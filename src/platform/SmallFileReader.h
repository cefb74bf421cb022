#pragma once

#include <QByteArray>
#include <QString>

// What reading a small file whole gave.
struct SmallFileRead
{
    enum Outcome { Done, Missing, NotRegular, TooLarge, Failed };

    Outcome outcome = Done;
    QByteArray bytes;
    QString reason; // in Chinese, for every outcome but Done and Missing

    bool ok() const { return outcome == Done; }
};

// Reads a file of at most `limit` bytes whole: only a regular file (after
// following links), never more than the limit whatever its size claims
// (a device or a file under /proc reports 0), and never waiting on a pipe.
// Language definitions and API files come in this way.
SmallFileRead ReadSmallFile(const QString &path, qint64 limit);
