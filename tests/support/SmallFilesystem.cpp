#include "SmallFilesystem.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

SmallFilesystem::SmallFilesystem(const QString &mountPoint, int sizeKiB)
    : m_mountPoint(mountPoint)
{
    QDir().mkpath(mountPoint);
    const QByteArray options = QByteArray("size=") + QByteArray::number(sizeKiB) + "k";
    m_mounted = ::mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallFilesystem::~SmallFilesystem()
{
    if (m_mounted)
        ::umount2(m_mountPoint.toLocal8Bit().constData(), MNT_DETACH);
}

bool SmallFilesystem::MakeReadOnly()
{
    return m_mounted
           && ::mount("tmpfs", m_mountPoint.toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

qint64 SmallFilesystem::FreeBytes() const
{
    struct statvfs info{};
    if (!m_mounted || ::statvfs(m_mountPoint.toLocal8Bit().constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

qint64 SmallFilesystem::FillLeaving(qint64 bytesFree)
{
    if (!m_mounted)
        return -1;
    const QByteArray filler = QFile::encodeName(QDir(m_mountPoint).filePath(QStringLiteral(".filler")));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd < 0)
        return -1;
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const bool cut = ::ftruncate(fd, std::max<off_t>(0, size - off_t(bytesFree))) == 0;
    ::close(fd);
    return cut ? FreeBytes() : -1;
}
