#include "SmallFileReader.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 ReadPiece = 64 * 1024;

SmallFileRead Refused(SmallFileRead::Outcome outcome, const QString &reason)
{
    SmallFileRead result;
    result.outcome = outcome;
    result.reason = reason;
    return result;
}

SmallFileRead OpenFailure(int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return Refused(SmallFileRead::Missing, QString());
    if (error == EACCES || error == EPERM)
        return Refused(SmallFileRead::Failed, QStringLiteral("没有读取这个文件的权限。"));
    return Refused(SmallFileRead::Failed, QStringLiteral("读取时出错（%1）。").arg(qt_error_string(error)));
}

SmallFileRead NotRegular()
{
    return Refused(SmallFileRead::NotRegular, QStringLiteral("这不是一个普通文件。"));
}

// Reads at most limit + 1 bytes: one byte more is enough to know it is too
// much.
SmallFileRead ReadAll(int fd, qint64 sizeHint, qint64 limit)
{
    SmallFileRead result;
    result.bytes.reserve(qsizetype(std::clamp<qint64>(sizeHint, 0, limit) + 1));
    qint64 total = 0;
    while (total <= limit) {
        const qint64 want = std::min(ReadPiece, limit + 1 - total);
        result.bytes.resize(qsizetype(total + want));
        const ssize_t got = ::read(fd, result.bytes.data() + total, size_t(want));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Refused(SmallFileRead::Failed, QStringLiteral("读取时出错（%1）。").arg(qt_error_string(errno)));
        if (got == 0)
            break;
        total += got;
    }
    result.bytes.resize(qsizetype(std::min(total, limit + 1)));
    if (total > limit)
        return Refused(SmallFileRead::TooLarge,
                       QStringLiteral("文件太大（超过 %1 MB）。").arg(double(limit) / (1024 * 1024), 0, 'g', 4));
    return result;
}

} // namespace

SmallFileRead ReadSmallFile(const QString &path, qint64 limit)
{
    const QByteArray name = QFile::encodeName(path);
    // Looked at before opening: opening some devices already does something.
    struct stat info{};
    if (::stat(name.constData(), &info) != 0)
        return OpenFailure(errno);
    if (!S_ISREG(info.st_mode))
        return NotRegular();

    // Not blocking: the name may have become a pipe since.
    int fd;
    do
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return OpenFailure(errno);
    SmallFileRead result;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        result = NotRegular();
    else
        result = ReadAll(fd, info.st_size, limit);
    ::close(fd);
    return result;
}
