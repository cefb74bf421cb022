#include "SpareCopy.h"

#include "SafeFileWriter.h"
#include "StateFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace {

constexpr qint64 Piece = 1 << 20;

QString SpareName(const QString &original)
{
    static QAtomicInt counter;
    return QStringLiteral("%1-%2-%3-%4")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QFileInfo(original).fileName());
}

bool WriteAll(int fd, const char *data, qint64 length, qint64 at)
{
    while (length > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(length), off_t(at));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        length -= written;
        at += written;
    }
    return true;
}

} // namespace

QString SpareCopy::Make(const QString &original)
{
    const QString folder = RecoveryFolder() + QStringLiteral("/before-save");
    if (!QDir().mkpath(folder))
        return QStringLiteral("无法建立文件夹“%1”").arg(folder);
    QFile source(original);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取原文件（%1）").arg(source.errorString());

    const QString path = folder + QLatin1Char('/') + SpareName(original);
    SafeFileWriter copy(path);
    if (const FileWriteResult opened = copy.Open(); !opened)
        return opened.reason;
    QByteArray piece;
    while (!source.atEnd()) {
        piece = source.read(Piece);
        if (piece.isEmpty() && source.error() != QFileDevice::NoError)
            return QStringLiteral("无法读取原文件（%1）").arg(source.errorString());
        if (!copy.Write(piece))
            break;
    }
    const FileWriteResult done = copy.Commit();
    if (!done)
        return done.reason;
    m_path = path;
    return QString();
}

bool SpareCopy::RestoreInto(int fd) const
{
    QFile copy(m_path);
    if (m_path.isEmpty() || !copy.open(QIODevice::ReadOnly))
        return false;
    qint64 at = 0;
    while (!copy.atEnd()) {
        const QByteArray piece = copy.read(Piece);
        if (piece.isEmpty() || !WriteAll(fd, piece.constData(), piece.size(), at))
            return false;
        at += piece.size();
    }
    return ::ftruncate(fd, off_t(at)) == 0 && ::fdatasync(fd) == 0;
}

void SpareCopy::Remove()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
}
