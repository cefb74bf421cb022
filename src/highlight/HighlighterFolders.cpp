#include "HighlighterFolders.h"

#include "platform/FileKey.h"
#include "platform/SafeFileWriter.h"
#include "platform/SmallFileReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The installed definitions, relative to the program's bin folder (given by
// the build from the install layout, so a program installed under any
// prefix, or into a staging folder, finds its own).
const QString InstalledRelative = QStringLiteral(FERROLAN_INSTALLED_HIGHLIGHTERS);

} // namespace

HighlighterFolders HighlighterFolders::ForProgram()
{
    return ForProgramIn(QCoreApplication::applicationDirPath());
}

HighlighterFolders HighlighterFolders::ForProgramIn(const QString &programDir)
{
    HighlighterFolders folders;
    folders.user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                   + QStringLiteral("/Ferrolan/highlighters");
    folders.lookup = {folders.user, QDir::cleanPath(programDir + QLatin1Char('/') + InstalledRelative),
                      QDir::cleanPath(programDir + QStringLiteral("/highlighters"))};
    folders.lookup.removeDuplicates();
    return folders;
}

HighlighterFolders HighlighterFolders::Single(const QString &dir)
{
    return {{dir}, dir};
}

QString HighlighterFolders::Find(const QString &fileName) const
{
    for (const QString &folder : lookup) {
        const QDir dir(folder);
        // The name as given first; otherwise any spelling of it.
        if (QFileInfo(dir.filePath(fileName)).isFile())
            return dir.filePath(fileName);
        const QStringList spelled = dir.entryList({fileName}, QDir::Files | QDir::Hidden);
        for (const QString &name : spelled)
            if (name.compare(fileName, Qt::CaseInsensitive) == 0 && QFileInfo(dir.filePath(name)).isFile())
                return dir.filePath(name);
    }
    return QString();
}

QString HighlighterFolders::UserPath(const QString &path) const
{
    return QDir(user).filePath(QFileInfo(path).fileName());
}

IniWriteResult HighlighterFolders::CopyToUser(const QString &path) const
{
    const QString target = UserPath(path);
    if (FileKey(QFileInfo(path).path()) == FileKey(user) || QFileInfo::exists(target))
        return {};
    if (!QDir().mkpath(user))
        return IniWriteResult::Failed(target, QStringLiteral("无法创建文件夹“%1”。").arg(user));
    const SmallFileRead read = ReadSmallFile(path, IniFile::MaxFileBytes);
    if (!read.ok() && read.outcome != SmallFileRead::Missing)
        return IniWriteResult::Failed(target, read.reason);
    SafeFileWriter writer(target);
    if (const FileWriteResult opened = writer.Open(); !opened)
        return IniWriteResult::Failed(target, opened.reason);
    writer.Write(read.bytes);
    if (const FileWriteResult done = writer.Commit(); !done)
        return IniWriteResult::Failed(target, done.reason);
    return {};
}
