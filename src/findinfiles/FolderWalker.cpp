#include "FolderWalker.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace {

struct Entry
{
    QByteArray name;
    bool folder = false;
};

// Regular files and folders; links and everything else are left out. The
// entry's type comes with the listing on most file systems; where it does
// not, the entry itself (not what a link points to) is looked at.
bool Classify(const QByteArray &folder, const dirent *item, Entry &entry)
{
    unsigned char type = item->d_type;
    if (type == DT_UNKNOWN) {
        struct stat info{};
        if (::lstat((folder + '/' + item->d_name).constData(), &info) != 0)
            return false;
        type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
    }
    if (type != DT_DIR && type != DT_REG)
        return false;
    entry.name = item->d_name;
    entry.folder = type == DT_DIR;
    return true;
}

bool Skipped(const Entry &entry)
{
    return entry.name == ".git" || (entry.folder && entry.name.startsWith('.'));
}

} // namespace

bool FolderWalker::Walk(const QString &folder, const Visitor &visitor) const
{
    const QByteArray path = QFile::encodeName(folder);
    DIR *listing = ::opendir(path.constData());
    if (!listing) {
        if (visitor.unreadable)
            visitor.unreadable(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return true;
    }
    std::vector<Entry> entries;
    while (const dirent *item = ::readdir(listing)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0)
            continue;
        Entry entry;
        if (Classify(path, item, entry) && !Skipped(entry) && (m_subfolders || !entry.folder))
            entries.push_back(std::move(entry));
    }
    ::closedir(listing);
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });

    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const Entry &entry : entries) {
        const QString name = QFile::decodeName(entry.name);
        if (entry.folder) {
            if (!Walk(prefix + name, visitor))
                return false;
        } else if (m_patterns.Matches(name) && !visitor.file(prefix + name)) {
            return false;
        }
    }
    return true;
}
