#include "WindowPlacement.h"

#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

const QString WindowPlacement::AppName = QStringLiteral("ScintillaMDI");
const QString WindowPlacement::Section = QStringLiteral("Settings");

namespace {

QSize FrameExtra(const QWidget *window)
{
    return window->frameGeometry().size() - window->geometry().size();
}

QRect ScreenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

} // namespace

double WindowPlacement::ReadTwips(const QString &key, double fallback, bool *ok)
{
    const QString text = SettingsStore::GetSetting(AppName, Section, key, SettingsStore::SingleText(fallback));
    const std::optional<double> value = SettingsStore::ReadNumber(text);
    *ok = value.has_value();
    return value.value_or(fallback);
}

std::optional<QRect> WindowPlacement::Restore(QWidget *window)
{
    window->winId(); // a native window knows its frame where the platform can tell
    RestoreState(window);
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
        return std::nullopt; // a maximized or minimized window cannot be placed
    const QRect frame = RestoreEdges(window);
    ApplyFrame(window, frame);
    return window->frameGeometry();
}

void WindowPlacement::ApplyFrame(QWidget *window, const QRect &frame)
{
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    const QSize extra = FrameExtra(window);
    window->resize(std::max(1, frame.width() - extra.width()), std::max(1, frame.height() - extra.height()));
    window->move(frame.topLeft());
    KeepOnScreen(window);
}

void WindowPlacement::RestoreState(QWidget *window)
{
    const std::optional<int> state =
        SettingsStore::ReadInteger16(SettingsStore::GetSetting(AppName, Section, QStringLiteral("MDIWState"), "0"));
    if (!state)
        return;
    switch (*state) {
    case 0:
        window->setWindowState(window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        break;
    case 1:
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
        break;
    case 2:
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    default: // not a window state: the window keeps the one it has
        break;
    }
}

// Works on the outer rectangle; each edge is taken before the next default
// is computed, so the top default is centred on the height at that moment.
QRect WindowPlacement::RestoreEdges(QWidget *window)
{
    const QRect screen = ScreenRect();
    QRect frame = window->frameGeometry();
    bool ok = false;

    const double left = ReadTwips(QStringLiteral("MDILeft"),
                                  Twips::CentredEdge(Twips::FromPixels(screen.width()), Twips::FromPixels(frame.width())),
                                  &ok);
    if (ok)
        frame.moveLeft(Twips::ToPixels(left));

    const double top = ReadTwips(QStringLiteral("MDITop"),
                                 Twips::CentredEdge(Twips::FromPixels(screen.height()), Twips::FromPixels(frame.height())),
                                 &ok);
    if (ok)
        frame.moveTop(Twips::ToPixels(top));

    const double width = ReadTwips(QStringLiteral("MDIWidth"), Twips::FromPixels(frame.width()), &ok);
    if (ok && width > 0)
        frame.setWidth(Twips::ToPixels(width));

    const double height = ReadTwips(QStringLiteral("MDIHeight"), Twips::FromPixels(frame.height()), &ok);
    if (ok && height > 0)
        frame.setHeight(Twips::ToPixels(height));
    return frame;
}

// A window saved on a screen that is gone would be out of reach: bring it
// back, centred on the primary screen.
void WindowPlacement::KeepOnScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->geometry().intersects(frame))
            return;
    const QRect primary = ScreenRect();
    window->move(primary.left() + (primary.width() - frame.width()) / 2,
                 primary.top() + (primary.height() - frame.height()) / 2);
}

void WindowPlacement::Save(QWidget *window)
{
    const bool maximized = window->windowState() & Qt::WindowMaximized;
    const QSize extra = FrameExtra(window);
    const QRect normal = window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    const QMargins margins(window->geometry().left() - window->frameGeometry().left(),
                           window->geometry().top() - window->frameGeometry().top(), 0, 0);

    auto save = [](const QString &key, const QString &value) {
        SettingsStore::SaveSetting(AppName, Section, key, value);
    };
    save(QStringLiteral("MDIWState"), QString::number(maximized ? 2 : 0));
    save(QStringLiteral("MDILeft"), SettingsStore::SingleText(Twips::FromPixels(normal.left() - margins.left())));
    save(QStringLiteral("MDITop"), SettingsStore::SingleText(Twips::FromPixels(normal.top() - margins.top())));
    save(QStringLiteral("MDIWidth"), SettingsStore::SingleText(Twips::FromPixels(normal.width() + extra.width())));
    save(QStringLiteral("MDIHeight"), SettingsStore::SingleText(Twips::FromPixels(normal.height() + extra.height())));
}
