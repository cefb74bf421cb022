#include "DarkColourFile.h"

#include <QDir>
#include <QFileInfo>

namespace DarkColourFile {

namespace {

constexpr int Default = Highlighter::DefaultStyle;

QString ForeKey(int n)
{
    return QStringLiteral("Fore[%1]").arg(n);
}

QString BackKey(int n)
{
    return QStringLiteral("Back[%1]").arg(n);
}

// The file of that name in the folder, its name's case ignored.
QString FileIn(const QDir &dir, const QString &name)
{
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    const QStringList names = dir.entryList({name}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &found : names)
        if (QFileInfo(dir.filePath(found)).isFile())
            return dir.filePath(found);
    return {};
}

QString DarkName(const QString &chlPath)
{
    return QFileInfo(chlPath).completeBaseName() + Suffix;
}

void SetColour(IniFile &file, const QString &key, std::int32_t colour, bool needed)
{
    if (needed)
        file.SetValue(Section, key, ColourText(colour));
    else
        file.RemoveKey(Section, key);
}

} // namespace

QString Find(const QString &chlPath, const QStringList &lookup)
{
    if (chlPath.isEmpty())
        return {};
    QStringList folders = lookup;
    folders.append(QFileInfo(chlPath).path());
    for (const QString &folder : folders) {
        const QDir dark(QDir(folder).filePath(Folder));
        if (!dark.exists())
            continue;
        if (QString path = FileIn(dark, DarkName(chlPath)); !path.isEmpty())
            return path;
    }
    return {};
}

QString PathIn(const QString &folder, const QString &chlPath)
{
    return QDir(QDir(folder).filePath(Folder)).filePath(DarkName(chlPath));
}

std::optional<std::int32_t> ParseColour(QStringView text)
{
    text = text.trimmed();
    if (text.size() != 7 || text[0] != u'#')
        return std::nullopt;
    bool ok = false;
    const uint rgb = text.sliced(1).toString().toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    const uint r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return std::int32_t(r | (g << 8) | (b << 16));
}

QString ColourText(std::int32_t colour)
{
    const uint c = uint(colour);
    return QStringLiteral("#%1%2%3")
        .arg(c & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::int32_t ImpliedFore(const Highlighter &light, const DarkColourSet &dark, int n)
{
    return light.Fore[n] == light.Fore[Default] ? dark.Fore[Default] : light.Fore[n];
}

std::int32_t ImpliedBack(const Highlighter &light, const DarkColourSet &dark, int n)
{
    return light.Back[n] == light.Back[Default] ? dark.Back[Default] : light.Back[n];
}

DarkColourSet Read(const IniFile &file, const Highlighter &light)
{
    DarkColourSet dark;
    dark.Fore[Default] = ParseColour(file.Value(Section, ForeKey(Default))).value_or(light.Fore[Default]);
    dark.Back[Default] = ParseColour(file.Value(Section, BackKey(Default))).value_or(light.Back[Default]);
    for (int n = 0; n < Highlighter::StyleCount; ++n) {
        if (n == Default)
            continue;
        dark.Fore[n] = ParseColour(file.Value(Section, ForeKey(n))).value_or(ImpliedFore(light, dark, n));
        dark.Back[n] = ParseColour(file.Value(Section, BackKey(n))).value_or(ImpliedBack(light, dark, n));
    }
    return dark;
}

void Attach(Highlighter &h, const QStringList &lookup)
{
    const QString path = Find(h.FilePath, lookup);
    if (path.isEmpty()) {
        h.Dark.reset();
        return;
    }
    // A file that cannot be read gives the light colours, which are readable.
    h.Dark = Read(IniFile::Load(path), h);
    h.Dark->FilePath = path;
}

IniWriteResult Write(const Highlighter &h, const QString &path)
{
    if (!h.Dark)
        return IniWriteResult::Failed(path, QStringLiteral("这个语言没有深色配色。"));
    const DarkColourSet &dark = *h.Dark;
    const QString source = QFileInfo::exists(path) ? path : dark.FilePath;
    IniFile file = source.isEmpty() ? IniFile() : IniFile::Load(source);
    if (!file.LoadError().isEmpty())
        return IniWriteResult::Failed(source, file.LoadError());
    SetColour(file, ForeKey(Default), dark.Fore[Default], true);
    SetColour(file, BackKey(Default), dark.Back[Default], true);
    for (int n = 0; n < Highlighter::StyleCount; ++n) {
        if (n == Default)
            continue;
        SetColour(file, ForeKey(n), dark.Fore[n], dark.Fore[n] != ImpliedFore(h, dark, n));
        SetColour(file, BackKey(n), dark.Back[n], dark.Back[n] != ImpliedBack(h, dark, n));
    }
    if (!QDir().mkpath(QFileInfo(path).path()))
        return IniWriteResult::Failed(path, QStringLiteral("无法创建文件夹“%1”。").arg(QFileInfo(path).path()));
    return file.Save(path);
}

} // namespace DarkColourFile
