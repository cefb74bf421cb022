#include "SafeFileWriter.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One write() call moves at most this much; the system caps it anyway.
constexpr qint64 LargestWrite = qint64(1) << 30;

} // namespace

SafeFileWriter::SafeFileWriter(const QString &path) : m_path(path), m_file(path)
{
}

SafeFileWriter::~SafeFileWriter()
{
    Cancel();
}

QString SafeFileWriter::WriteReason(int systemError, const QString &systemText)
{
    if (systemError == ENOSPC || systemText == qt_error_string(ENOSPC))
        return QStringLiteral("磁盘空间不足。");
    return QStringLiteral("写入时出错（%1）。").arg(systemText);
}

bool SafeFileWriter::IsReadOnly(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info{};
    if (::stat(name.constData(), &info) != 0 || S_ISDIR(info.st_mode))
        return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(name.constData(), W_OK) != 0 && errno == EACCES;
}

QString SafeFileWriter::OpenReason(int systemError) const
{
    const QFileInfo target(m_path);
    if (target.isDir())
        return QStringLiteral("这个名字已被一个文件夹占用。");
    if (m_file.error() == QFileDevice::PermissionsError || systemError == EACCES || systemError == EPERM
        || (target.exists() && !target.isWritable()))
        return QStringLiteral("没有写入这个位置的权限。");
    if (systemError == ENOSPC)
        return WriteReason(systemError, QString());
    return QStringLiteral("无法创建文件（%1）。").arg(m_file.errorString());
}

void SafeFileWriter::Fail(int systemError, const QString &reason)
{
    if (!m_result.ok)
        return; // the first failure is the one to tell
    m_result = {false, systemError, reason};
}

FileWriteResult SafeFileWriter::Open()
{
    // The temporary file would take a read-only file's place all the same.
    if (IsReadOnly(m_path)) {
        Fail(EACCES, QStringLiteral("这个文件是只读的。"));
        return m_result;
    }
    // Writes go straight to the file descriptor (below), so nothing waits in
    // a buffer whose failure could go unnoticed.
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        Fail(error, OpenReason(error));
    }
    return m_result;
}

// Through write() itself: it tells the exact reason of every failure, also
// after a part of the bytes went in (Qt reports that case without one).
bool SafeFileWriter::Write(const char *data, qint64 length)
{
    if (!m_result.ok)
        return false;
    if (!m_file.isOpen()) {
        Fail(EBADF, QStringLiteral("文件没有打开。"));
        return false;
    }
    const int fd = m_file.handle();
    while (length > 0) {
        const ssize_t written = ::write(fd, data, size_t(std::min(length, LargestWrite)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            Fail(error, WriteReason(error, qt_error_string(error)));
            return false;
        }
        data += written;
        length -= written;
    }
    return true;
}

FileWriteResult SafeFileWriter::Commit()
{
    if (m_result.ok && !m_file.isOpen())
        Fail(EBADF, QStringLiteral("文件没有打开。"));
    if (!m_result.ok) {
        Cancel();
        return m_result;
    }
    // QSaveFile::commit() neither reports a failed flush of what it still
    // holds nor a failed sync: both are checked here, before the new file
    // takes the old one's place.
    if (!m_file.flush()) {
        Fail(0, WriteReason(0, m_file.errorString()));
    } else if (::fdatasync(m_file.handle()) != 0 && errno != EINVAL) {
        const int error = errno;
        Fail(error, WriteReason(error, qt_error_string(error)));
    }
    if (!m_result.ok) {
        Cancel();
        return m_result;
    }
    errno = 0;
    if (!m_file.commit()) {
        const int reported = errno;
        const QString text = m_file.errorString();
        const int error = qt_error_string(reported) == text ? reported : 0;
        Fail(error, WriteReason(error, text));
    }
    return m_result;
}

void SafeFileWriter::Cancel()
{
    if (!m_file.isOpen())
        return;
    m_file.cancelWriting();
    m_file.commit(); // a cancelled commit removes the temporary file at once
}
