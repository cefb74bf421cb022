#include "ColourScheme.h"

#include "platform/SettingsStore.h"

#include <QGuiApplication>

namespace {

ColourMode RunMode = ColourMode::Automatic;

const QString AppName = QStringLiteral("ScintillaMDI");
const QString Section = QStringLiteral("Settings");
const QString Key = QStringLiteral("ColourScheme");

// Below this lightness (0..255) a window background counts as dark.
constexpr int DarkBelow = 128;

} // namespace

ColourMode ColourScheme::Mode()
{
    return RunMode;
}

void ColourScheme::SetMode(ColourMode mode)
{
    RunMode = mode;
}

QString ColourScheme::Text(ColourMode mode)
{
    switch (mode) {
    case ColourMode::Light: return QStringLiteral("light");
    case ColourMode::Dark: return QStringLiteral("dark");
    case ColourMode::Automatic: break;
    }
    return QStringLiteral("auto");
}

ColourMode ColourScheme::ReadSetting()
{
    const QString text = SettingsStore::GetSetting(AppName, Section, Key).trimmed().toLower();
    for (ColourMode mode : {ColourMode::Light, ColourMode::Dark})
        if (text == Text(mode))
            return mode;
    return ColourMode::Automatic;
}

void ColourScheme::SaveSetting(ColourMode mode)
{
    SettingsStore::SaveSetting(AppName, Section, Key, Text(mode));
}

bool ColourScheme::WantsDark(ColourMode mode, const QPalette &palette)
{
    if (mode != ColourMode::Automatic)
        return mode == ColourMode::Dark;
    return palette.color(QPalette::Active, QPalette::Window).lightness() < DarkBelow;
}

bool ColourScheme::DarkInUse()
{
    return WantsDark(RunMode, QGuiApplication::palette());
}
