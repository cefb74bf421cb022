#include "RecentFiles.h"

#include "platform/FileKey.h"
#include "platform/SettingsStore.h"

namespace {

const QString App = QStringLiteral("ScintillaMDI");
const QString Section = QStringLiteral("Settings");

QString Key(int n)
{
    return QStringLiteral("RecentFile%1").arg(n + 1);
}

void Store(const QStringList &paths)
{
    QList<std::pair<QString, QString>> values;
    for (int n = 0; n < RecentFiles::Limit; ++n)
        values.append({Key(n), paths.value(n)});
    SettingsStore::SaveSettings(App, Section, values);
}

} // namespace

namespace RecentFiles {

QStringList List()
{
    QStringList paths;
    for (int n = 0; n < Limit; ++n)
        if (const QString path = SettingsStore::GetSetting(App, Section, Key(n)); !path.isEmpty())
            paths.append(path);
    return paths;
}

void Add(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString key = FileKey(path);
    QStringList paths = List();
    paths.removeIf([&](const QString &listed) { return FileKey(listed) == key; });
    paths.prepend(path);
    Store(paths.mid(0, Limit));
}

void Clear()
{
    Store({});
}

} // namespace RecentFiles
