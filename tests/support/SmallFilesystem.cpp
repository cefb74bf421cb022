#include "SmallFilesystem.h"

#include <QDir>
#include <sys/mount.h>

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
