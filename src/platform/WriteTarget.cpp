#include "WriteTarget.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// As many links as the system follows in one name.
constexpr int MostLinks = 40;

QByteArray Encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString LinkText(const QByteArray &link)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(link.constData(), target.data(), size_t(target.size()));
    return length < 0 ? QString() : QFile::decodeName(target.left(length));
}

} // namespace

bool InGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(size_t(count), 0);
    const int read = ::getgroups(count, groups.data());
    for (int i = 0; i < read; ++i)
        if (groups[size_t(i)] == group)
            return true;
    return false;
}

WriteTarget WriteTarget::Resolve(const QString &path)
{
    WriteTarget target;
    QString name = path;
    for (int hops = 0; hops <= MostLinks; ++hops) {
        struct stat info = {};
        if (::lstat(Encoded(name).constData(), &info) != 0) {
            target.path = name;
            // A name not there yet is a new file (also at the end of a link).
            if (errno != ENOENT)
                target.error = errno;
            return target;
        }
        if (!S_ISLNK(info.st_mode)) {
            target.path = name;
            target.exists = true;
            target.info = info;
            return target;
        }
        const QString link = LinkText(Encoded(name));
        if (link.isEmpty()) {
            target.path = name;
            target.error = errno ? errno : EINVAL;
            return target;
        }
        name = QFileInfo(link).isAbsolute() ? link : QFileInfo(name).path() + QLatin1Char('/') + link;
    }
    target.path = path;
    target.error = ELOOP;
    return target;
}

QString WriteTarget::Folder() const
{
    return QFileInfo(path).path();
}

QString WriteTarget::Refusal() const
{
    if (error == ELOOP)
        return QStringLiteral("这个名字指向一串循环的符号链接，无法保存。");
    if (!exists)
        return QString();
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("这个名字已被一个文件夹占用。");
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("这不是一个普通文件（而是设备、管道或套接字），不能写入。");
    if (ReadOnlyByMode())
        return QStringLiteral("这个文件是只读的，或者没有写入它的权限。");
    return QString();
}

// The system lets root write any file; a file nobody may write is still
// meant to stay as it is.
bool WriteTarget::ReadOnlyByMode() const
{
    if (::geteuid() == 0)
        return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return ::faccessat(AT_FDCWD, Encoded(path).constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

bool WriteTarget::CanKeepOwnerAndGroup() const
{
    if (::geteuid() == 0)
        return true;
    return info.st_uid == ::geteuid() && InGroup(info.st_gid);
}

// Only root can give a new file another owner, and only an owner may rename
// a file over theirs in a folder with the sticky bit (such as /tmp): so a
// file of someone else's is always written in place by an ordinary user.
bool WriteTarget::CanBeReplaced() const
{
    if (!exists)
        return true;
    if (info.st_nlink > 1 || !CanKeepOwnerAndGroup())
        return false;
    return ::faccessat(AT_FDCWD, Encoded(Folder()).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}
