#include "LanguageName.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace LanguageName {

namespace {

const QString Extension = QStringLiteral(".CHL");

bool HasHiddenCharacter(const QString &name)
{
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

// The longest file name the directory's file system takes, in bytes.
qsizetype MaxFileNameBytes(const QString &dir)
{
    const long max = ::pathconf(QFile::encodeName(dir).constData(), _PC_NAME_MAX);
    return max > 0 ? qsizetype(max) : 255;
}

} // namespace

QString Cleaned(const QString &strTyped)
{
    return strTyped.trimmed();
}

QString Problem(const QString &strName, const QString &strDir)
{
    if (strName.trimmed().isEmpty())
        return QStringLiteral("Please enter a valid name for this language");
    if (strName.contains(QLatin1Char('/')) || strName.contains(QLatin1Char('\\')))
        return QStringLiteral("语言名称不能包含“/”或“\\”。");
    if (strName == QLatin1String(".") || strName == QLatin1String(".."))
        return QStringLiteral("语言名称不能是“.”或“..”。");
    if (HasHiddenCharacter(strName))
        return QStringLiteral("语言名称不能包含控制字符（如换行或制表符）。");
    const qsizetype max = MaxFileNameBytes(strDir);
    if (QFile::encodeName(strName + Extension).size() > max)
        return QStringLiteral("语言名称太长：文件名“名称.CHL”最多 %1 字节。").arg(max);
    return QString();
}

QString FilePath(const QString &strName, const QString &strDir)
{
    return QDir(strDir).filePath(strName + Extension);
}

} // namespace LanguageName
