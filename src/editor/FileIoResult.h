#pragma once

#include <QString>

// What became of reading or writing a file: done, nothing there to read,
// failed with a reason in words a user can read (Chinese), not written
// because a character does not fit the document's encoding, or stopped by
// the user part way (a write stopped so leaves the file as it was).
struct [[nodiscard]] FileIoResult
{
    enum Outcome { Done, NotFound, Failed, Unencodable, Stopped };

    Outcome outcome = Done;
    QString reason;
    // Unencodable: the byte position of the first character that does not fit.
    qint64 position = -1;
    // Failed part way through a read: the document holds part of the file.
    bool partial = false;

    bool ok() const { return outcome == Done; }
    static FileIoResult Success() { return {}; }
    static FileIoResult Missing() { return {NotFound, QString()}; }
    static FileIoResult Failure(const QString &why) { return {Failed, why}; }
    static FileIoResult Stop() { return {Stopped, QStringLiteral("已取消。")}; }
    static FileIoResult NotEncodable(qint64 at, const QString &why) { return {Unencodable, why, at}; }
};
