#include "SettingsStore.h"

#include <QFile>
#include <QLocale>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cmath>
#include <limits>
#include <sys/stat.h>

namespace {

Q_LOGGING_CATEGORY(lcSettings, "ferrolan.settings")

// Our settings files hold a few dozen lines.
constexpr qint64 LargestSettingsFile = 1024 * 1024;

// QSettings opens whatever bears the name, and waits on a pipe until a
// writer comes; so the name is looked at first. A missing file is fine: the
// first write makes it. One behind a folder we may not enter cannot be opened
// either, so QSettings may try: its write then fails and is logged.
bool Usable(const QString &path)
{
    struct stat info{};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT || errno == EACCES;
    if (S_ISREG(info.st_mode) && info.st_size <= LargestSettingsFile)
        return true;
    qCWarning(lcSettings).noquote() << path << "is no settings file (not a regular file, or too large); it is left alone";
    return false;
}

} // namespace

QString SettingsStore::FileOf(const QString &appName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Ferrolan/")
           + appName + QStringLiteral(".ini");
}

// The file is named, not the organisation and application: QSettings would
// otherwise also read "Ferrolan.ini" and system-wide files beside it.
QString SettingsStore::GetSetting(const QString &appName, const QString &section,
                                  const QString &key, const QString &defaultValue)
{
    const QString path = FileOf(appName);
    if (!Usable(path))
        return defaultValue;
    QSettings store(path, QSettings::IniFormat);
    const QVariant value = store.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::SaveSetting(const QString &appName, const QString &section,
                                const QString &key, const QString &value)
{
    const QString path = FileOf(appName);
    if (!Usable(path))
        return;
    QSettings store(path, QSettings::IniFormat);
    store.setValue(section + QLatin1Char('/') + key, value);
    store.sync();
    // A setting is a place or an option, not the user's work: the log says
    // so, the user is not interrupted.
    if (store.status() != QSettings::NoError)
        qCWarning(lcSettings).noquote() << "could not write" << section + QLatin1Char('/') + key << "to"
                                        << store.fileName()
                                        << (store.status() == QSettings::AccessError ? "(access denied)"
                                                                                      : "(format error)");
}

QString SettingsStore::SingleText(double value)
{
    const float single = float(value);
    if (std::isfinite(single) && single == std::trunc(single) && std::fabs(single) < 1e7f)
        return QString::number(qint64(single));
    return QString::number(double(single), 'g', 7);
}

std::optional<double> SettingsStore::ReadNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QLocale::system().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> SettingsStore::ReadInteger16(const QString &text)
{
    const std::optional<double> number = ReadNumber(text);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return int(rounded);
}

std::optional<bool> SettingsStore::ReadBoolean(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = ReadNumber(trimmed);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}
