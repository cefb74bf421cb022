#include "SafeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One write() call moves at most this much; the system caps it anyway.
constexpr qint64 LargestWrite = qint64(1) << 30;

constexpr mode_t ModeBits = 07777;

} // namespace

SafeFileWriter::SafeFileWriter(const QString &path) : m_path(path)
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

QString SafeFileWriter::OpenReason(int systemError, const QString &qtText) const
{
    if (systemError == EACCES || systemError == EPERM)
        return QStringLiteral("没有写入这个位置的权限。");
    if (systemError == ENOSPC)
        return WriteReason(systemError, QString());
    return QStringLiteral("无法创建文件（%1）。").arg(qtText.isEmpty() ? qt_error_string(systemError) : qtText);
}

void SafeFileWriter::Fail(int systemError, const QString &reason)
{
    if (!m_result.ok)
        return; // the first failure is the one to tell
    m_result = {false, systemError, reason};
}

FileWriteResult SafeFileWriter::Check(const QString &path)
{
    const QString refusal = WriteTarget::Resolve(path).Refusal();
    if (refusal.isEmpty())
        return {};
    return {false, 0, refusal};
}

FileWriteResult SafeFileWriter::Open()
{
    m_target = WriteTarget::Resolve(m_path);
    if (const QString refusal = m_target.Refusal(); !refusal.isEmpty()) {
        Fail(m_target.error, refusal);
        return m_result;
    }
    if (m_target.CanBeReplaced() && OpenReplacement())
        return m_result;
    if (!m_target.exists)
        return m_result; // nothing there to write in place
    m_result = {};
    OpenInPlace();
    return m_result;
}

// Writes go straight to the file descriptor (below), so nothing waits in a
// buffer whose failure could go unnoticed.
bool SafeFileWriter::OpenReplacement()
{
    m_file = std::make_unique<QSaveFile>(m_target.path);
    errno = 0;
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        Fail(error, m_file->error() == QFileDevice::PermissionsError && error == 0
                        ? OpenReason(EACCES, QString())
                        : OpenReason(error, m_file->errorString()));
        m_file.reset();
        return false;
    }
    m_fd = m_file->handle();
    if (m_target.exists && !KeepAttributes()) {
        DropReplacement();
        return false;
    }
    return true;
}

// The new file gets the old one's owner and group first (a change of owner
// clears the set-id bits), then its mode; what the system would not give
// exactly means the file is written in place instead.
bool SafeFileWriter::KeepAttributes()
{
    const struct stat &old = m_target.info;
    struct stat now = {};
    if (::fstat(m_fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(m_fd, old.st_uid, old.st_gid) != 0)
        return false;
    if (::fchmod(m_fd, old.st_mode & ModeBits) != 0 || ::fstat(m_fd, &now) != 0)
        return false;
    return now.st_uid == old.st_uid && now.st_gid == old.st_gid && (now.st_mode & ModeBits) == (old.st_mode & ModeBits);
}

// A write by anyone but root clears the set-user-ID and set-group-ID bits;
// they come back once every byte is written.
bool SafeFileWriter::RestoreMode()
{
    struct stat now = {};
    if (::fstat(m_fd, &now) != 0)
        return false;
    if ((now.st_mode & ModeBits) == (m_target.info.st_mode & ModeBits))
        return true;
    return ::fchmod(m_fd, m_target.info.st_mode & ModeBits) == 0;
}

void SafeFileWriter::DropReplacement()
{
    if (m_file) {
        m_file->cancelWriting();
        (void)m_file->commit(); // a cancelled commit removes the temporary file at once
        m_file.reset();
    }
    m_fd = -1;
}

void SafeFileWriter::OpenInPlace()
{
    if (const QString why = m_spare.Make(m_target.path); !why.isEmpty()) {
        Fail(0, QStringLiteral("这个文件只能在原处改写，但无法先在恢复文件夹里留一份原文件的副本（%1）。").arg(why));
        return;
    }
    m_fd = ::open(QFile::encodeName(m_target.path).constData(), O_WRONLY | O_CLOEXEC);
    if (m_fd < 0) {
        const int error = errno;
        m_spare.Remove();
        Fail(error, OpenReason(error, QString()));
        return;
    }
    m_inPlace = true;
}

// Through write() itself: it tells the exact reason of every failure, also
// after a part of the bytes went in (Qt reports that case without one).
bool SafeFileWriter::Write(const char *data, qint64 length)
{
    if (!m_result.ok)
        return false;
    if (m_fd < 0) {
        Fail(EBADF, QStringLiteral("文件没有打开。"));
        return false;
    }
    m_touched = m_touched || length > 0;
    while (length > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(std::min(length, LargestWrite)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            Fail(error, WriteReason(error, qt_error_string(error)));
            return false;
        }
        data += written;
        length -= written;
        m_written += written;
    }
    return true;
}

// QSaveFile::commit() neither reports a failed flush of what it still holds
// nor a failed sync: both are checked before the new bytes count as written.
bool SafeFileWriter::SyncToDisk()
{
    if (m_file && !m_file->flush()) {
        Fail(0, WriteReason(0, m_file->errorString()));
    } else if (::fdatasync(m_fd) != 0 && errno != EINVAL) {
        const int error = errno;
        Fail(error, WriteReason(error, qt_error_string(error)));
    }
    return m_result.ok;
}

FileWriteResult SafeFileWriter::Commit()
{
    if (m_result.ok && m_fd < 0)
        Fail(EBADF, QStringLiteral("文件没有打开。"));
    if (!m_result.ok) {
        Cancel();
        return m_result;
    }
    if (m_inPlace)
        CommitInPlace();
    else
        CommitReplacement();
    return m_result;
}

void SafeFileWriter::CommitReplacement()
{
    if (m_target.exists && !RestoreMode()) {
        const int error = errno;
        Fail(error, WriteReason(error, qt_error_string(error)));
    }
    if (!m_result.ok || !SyncToDisk()) {
        Cancel();
        return;
    }
    errno = 0;
    if (!m_file->commit()) {
        // The system's reason where it gave one: Qt loses it when the
        // temporary file cannot be given the name ("Unknown error").
        const int error = errno;
        Fail(error, WriteReason(error, error ? qt_error_string(error) : m_file->errorString()));
    }
    m_file.reset();
    m_fd = -1;
}

// The old bytes beyond the new end go; then the spare copy is not needed.
void SafeFileWriter::CommitInPlace()
{
    if (::ftruncate(m_fd, off_t(m_written)) != 0) {
        const int error = errno;
        Fail(error, WriteReason(error, qt_error_string(error)));
    }
    (void)RestoreMode(); // only its owner may, where that is not us
    if (!m_result.ok || !SyncToDisk()) {
        Cancel();
        return;
    }
    ::close(m_fd);
    m_fd = -1;
    m_spare.Remove();
}

void SafeFileWriter::Cancel()
{
    if (m_inPlace && m_fd >= 0) {
        if (m_touched) {
            PutOldBytesBack();
            (void)RestoreMode();
        } else {
            m_spare.Remove();
        }
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    DropReplacement();
}

// A file written in place gets its old bytes back; where even that fails,
// the user is told where the copy is.
void SafeFileWriter::PutOldBytesBack()
{
    if (m_spare.RestoreInto(m_fd)) {
        m_spare.Remove();
        return;
    }
    const QString where = QStringLiteral("文件写到一半，无法复原；原来的内容保存在“%1”。").arg(m_spare.Path());
    if (m_result.ok)
        Fail(0, where);
    else
        m_result.reason += QLatin1Char('\n') + where;
}
