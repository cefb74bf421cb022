#pragma once

#include "SpareCopy.h"
#include "WriteTarget.h"

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>
#include <memory>

// How writing a whole file ended. The reason is for the user, in Chinese.
struct [[nodiscard]] FileWriteResult
{
    bool ok = true;
    int systemError = 0; // the system's error number, where it gave one
    QString reason;

    explicit operator bool() const { return ok; }
};

// Writes a file as a whole or not at all, and keeps what the file was.
//
// Usually the bytes go to a temporary file beside it, which is given the
// old file's owner, group and mode (special bits included) and takes its
// place only once every byte is known to be on the disk; until then the old
// file stays as it was. Where a new file could not be all the old one was (a
// file with more than one name, one owned by someone else, a folder where no
// file can be made or renamed), the file itself is written, after a copy of
// its old bytes is on the disk in the recovery folder: a write that fails
// half-way puts them back. Symbolic links are followed, so a link keeps
// working; a loop of links, a folder, a device, a pipe and a file nobody may
// write (judged by its mode bits, which bind root too) are refused. The
// first failure is kept, with its reason read before anything is cleaned up.
//
// Every writer of files goes through here: the document save, the HTML
// export, the INI/CHL writer, the backups and the session.
class SafeFileWriter
{
public:
    explicit SafeFileWriter(const QString &path);
    // A write that was not committed is thrown away.
    ~SafeFileWriter();

    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    // Why the file may not be written at all, without touching anything.
    static FileWriteResult Check(const QString &path);

    FileWriteResult Open();
    // False once anything has failed; later writes do nothing.
    bool Write(const char *data, qint64 length);
    bool Write(QByteArrayView bytes) { return Write(bytes.data(), bytes.size()); }
    // Puts the new bytes in place if every one of them reached the disk.
    FileWriteResult Commit();
    // Throws the new bytes away; the old file stays.
    void Cancel();

    const FileWriteResult &Result() const { return m_result; }
    // The file itself is written (after a spare copy), not replaced.
    bool WritesInPlace() const { return m_inPlace; }

    // "磁盘空间不足。" for a full disk, otherwise the system's own text.
    static QString WriteReason(int systemError, const QString &systemText);

private:
    void Fail(int systemError, const QString &reason);
    QString OpenReason(int systemError, const QString &qtText) const;
    bool OpenReplacement();
    bool KeepAttributes();
    bool RestoreMode();
    void DropReplacement();
    void OpenInPlace();
    bool SyncToDisk();
    void CommitReplacement();
    void CommitInPlace();
    void PutOldBytesBack();

    QString m_path;
    WriteTarget m_target;
    std::unique_ptr<QSaveFile> m_file; // the new file beside the old one
    SpareCopy m_spare;                 // in place: the old bytes
    int m_fd = -1;                     // where the bytes go
    bool m_inPlace = false;
    bool m_touched = false;            // in place: the file has been written to
    qint64 m_written = 0;
    FileWriteResult m_result;
};
