#include "SettingsStore.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QSettings>
#include <cmath>
#include <limits>

namespace {

Q_LOGGING_CATEGORY(lcSettings, "ferrolan.settings")

QSettings StoreFor(const QString &appName)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferrolan"), appName);
}

} // namespace

QString SettingsStore::GetSetting(const QString &appName, const QString &section,
                                  const QString &key, const QString &defaultValue)
{
    QSettings store = StoreFor(appName);
    const QVariant value = store.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::SaveSetting(const QString &appName, const QString &section,
                                const QString &key, const QString &value)
{
    SaveSettings(appName, section, {{key, value}});
}

void SettingsStore::SaveSettings(const QString &appName, const QString &section,
                                 const QList<std::pair<QString, QString>> &keysAndValues)
{
    QSettings store = StoreFor(appName);
    for (const auto &[key, value] : keysAndValues)
        store.setValue(section + QLatin1Char('/') + key, value);
    store.sync();
    // A setting is a place or an option, not the user's work: the log says
    // so, the user is not interrupted.
    if (store.status() != QSettings::NoError)
        for (const auto &[key, value] : keysAndValues)
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
