#pragma once

#include <QString>

// What became of reading or writing a file: done, nothing there to read, or
// failed with a reason in words a user can read (Chinese).
struct FileIoResult
{
    enum Outcome { Done, NotFound, Failed };

    Outcome outcome = Done;
    QString reason;

    bool ok() const { return outcome == Done; }
    static FileIoResult Success() { return {}; }
    static FileIoResult Missing() { return {NotFound, QString()}; }
    static FileIoResult Failure(const QString &why) { return {Failed, why}; }
};
