#include "DialogPlacement.h"

#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

const QString Section = QStringLiteral("Settings");

double StoredOr(const QString &app, const QString &key, double fallback)
{
    const std::optional<double> value = SettingsStore::ReadNumber(SettingsStore::GetSetting(app, Section, key));
    return value.value_or(fallback);
}

} // namespace

DialogPlacement::DialogPlacement(QString appName, QString leftKey, QString topKey)
    : m_appName(std::move(appName)), m_leftKey(std::move(leftKey)), m_topKey(std::move(topKey))
{
}

void DialogPlacement::Restore(QWidget *dialog) const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    const QSize size = dialog->frameGeometry().size();
    const double left = StoredOr(m_appName, m_leftKey,
                                 Twips::CentredEdge(Twips::FromPixels(area.width()), Twips::FromPixels(size.width())));
    const double top = StoredOr(m_appName, m_topKey,
                                Twips::CentredEdge(Twips::FromPixels(area.height()), Twips::FromPixels(size.height())));
    dialog->move(Twips::ToPixels(left), Twips::ToPixels(top));
}

void DialogPlacement::Save(const QWidget *dialog) const
{
    const QPoint corner = dialog->frameGeometry().topLeft();
    SettingsStore::SaveSetting(m_appName, Section, m_leftKey, SettingsStore::SingleText(Twips::FromPixels(corner.x())));
    SettingsStore::SaveSetting(m_appName, Section, m_topKey, SettingsStore::SingleText(Twips::FromPixels(corner.y())));
}
