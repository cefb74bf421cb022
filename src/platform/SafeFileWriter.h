#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// How writing a whole file ended. The reason is for the user, in Chinese.
struct [[nodiscard]] FileWriteResult
{
    bool ok = true;
    int systemError = 0; // the system's error number, where it gave one
    QString reason;

    explicit operator bool() const { return ok; }
};

// Replaces a file as a whole or not at all. The bytes go to a temporary file
// beside it, which takes the file's place only once every byte is known to
// be on the disk; until then the old file stays as it was. The first failure
// is kept, with its reason read before the temporary file is thrown away.
//
// Every writer of user files goes through here: the document save, the HTML
// export and the INI/CHL writer.
class SafeFileWriter
{
public:
    explicit SafeFileWriter(const QString &path);
    // A write that was not committed is thrown away.
    ~SafeFileWriter();

    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    FileWriteResult Open();
    // False once anything has failed; later writes do nothing.
    bool Write(const char *data, qint64 length);
    bool Write(QByteArrayView bytes) { return Write(bytes.data(), bytes.size()); }
    // Puts the new file in place if every byte reached the disk.
    FileWriteResult Commit();
    // Throws the new bytes away; the old file stays.
    void Cancel();

    const FileWriteResult &Result() const { return m_result; }

    // "磁盘空间不足。" for a full disk, otherwise the system's own text.
    static QString WriteReason(int systemError, const QString &systemText);

    // A file that may not be written: its mode gives nobody the right (which
    // holds for root too, whom the system lets write anything), or the
    // system refuses this user.
    static bool IsReadOnly(const QString &path);

private:
    void Fail(int systemError, const QString &reason);
    QString OpenReason(int systemError) const;

    QString m_path;
    QSaveFile m_file;
    FileWriteResult m_result;
};
