#include "DialogSettings.h"

#include "platform/SettingsStore.h"

#include <QCheckBox>

namespace DialogSettings {

namespace {
const QString Section = QStringLiteral("Settings");
}

void LoadCheck(QCheckBox *box, const QString &key, bool tickedByDefault)
{
    const std::optional<int> value = SettingsStore::ReadInteger16(SettingsStore::GetSetting(App, Section, key));
    if (value == 0 || value == 1)
        box->setChecked(*value == 1);
    else
        box->setChecked(tickedByDefault);
}

void SaveCheck(const QCheckBox *box, const QString &key)
{
    SettingsStore::SaveSetting(App, Section, key, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

bool LoadSwitch(const QString &key, bool byDefault)
{
    return SettingsStore::ReadBoolean(SettingsStore::GetSetting(App, Section, key)).value_or(byDefault);
}

void SaveSwitch(const QString &key, bool value)
{
    SettingsStore::SaveSetting(App, Section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

} // namespace DialogSettings
