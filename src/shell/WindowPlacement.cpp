#include "WindowPlacement.h"

#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

const QString WindowPlacement::AppName = QStringLiteral("ScintillaMDI");
const QString WindowPlacement::Section = QStringLiteral("Settings");

namespace {

QRect ScreenRect()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

double ReadTwips(const QString &key, double fallback, bool *ok)
{
    const QString text = SettingsStore::GetSetting(WindowPlacement::AppName, WindowPlacement::Section, key,
                                                   SettingsStore::SingleText(fallback));
    const std::optional<double> value = SettingsStore::ReadNumber(text);
    *ok = value.has_value();
    return value.value_or(fallback);
}

} // namespace

namespace {
constexpr int FrameCheckInterval = 50;  // ms
constexpr int FrameChecks = 40;         // two seconds in all
} // namespace

WindowPlacement::WindowPlacement(QWidget *window)
    : QObject(window), m_window(window)
{
    window->installEventFilter(this);
    m_frameWatch.setInterval(FrameCheckInterval);
    connect(&m_frameWatch, &QTimer::timeout, this, &WindowPlacement::CheckForFrame);
}

void WindowPlacement::Restore()
{
    RestoreState();
    if (!IsNormal())
        return; // a maximized or minimized window cannot be placed
    PlaceFromSettings();
    m_placeWhenExposed = true;
}

void WindowPlacement::PlaceFromSettings()
{
    ApplyFrame(RestoreEdges());
}

// Before the window is framed its frame counts as nothing: the size given is
// then the outer size, and the position is the frame's (the window has no
// native window yet, so the window system places it frame included).
void WindowPlacement::ApplyFrame(const QRect &frame)
{
    if (!IsNormal())
        return;
    const QMargins margins = FrameMargins();
    m_window->resize(std::max(1, frame.width() - margins.left() - margins.right()),
                     std::max(1, frame.height() - margins.top() - margins.bottom()));
    m_window->move(frame.topLeft());
    KeepOnScreen();
}

// The first exposure comes after the window manager has framed the window:
// the placement is made again with the frame's real edges, and the defaults
// (centred, the current outer size) are computed from the real outer size.
// Every geometry change in the normal state shows the normal frame.
bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Show && m_placeWhenExposed && m_window->windowHandle())
            m_window->windowHandle()->installEventFilter(this);
        else if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            NoteNormalFrame();
    } else if (watched == m_window->windowHandle() && event->type() == QEvent::Expose && m_placeWhenExposed
               && m_window->windowHandle()->isExposed()) {
        m_placeWhenExposed = false;
        m_window->windowHandle()->removeEventFilter(this);
        PlaceFromSettings();
        NoteNormalFrame();
        AwaitFrame();
    }
    return false;
}

// A busy window manager may announce the frame only after the first
// exposure; the window would then be placed as if it had none, its client
// area where the frame belongs. Until a frame shows, look again for a short
// while and place once more when it does. A window manager that draws no
// frame costs two seconds of idle checks.
void WindowPlacement::AwaitFrame()
{
    if (!FrameMargins().isNull())
        return;
    m_frameChecks = 0;
    m_frameWatch.start();
}

void WindowPlacement::CheckForFrame()
{
    if (FrameMargins().isNull()) {
        if (++m_frameChecks >= FrameChecks)
            m_frameWatch.stop();
        return;
    }
    m_frameWatch.stop();
    PlaceFromSettings();
    NoteNormalFrame();
}

bool WindowPlacement::IsNormal() const
{
    return !(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

QMargins WindowPlacement::FrameMargins() const
{
    return MarginsBetween(m_window->frameGeometry(), m_window->geometry());
}

// While the window manager reparents the window, Qt may measure the frame
// against the wrong parent and report an outer rectangle smaller than the
// inner one. No frame has a negative edge: such a reading counts as no frame
// yet, so the placement waits for the real one instead of growing the
// window by the difference.
QMargins WindowPlacement::MarginsBetween(const QRect &outer, const QRect &inner)
{
    const QMargins margins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                           outer.bottom() - inner.bottom());
    if (margins.left() < 0 || margins.top() < 0 || margins.right() < 0 || margins.bottom() < 0)
        return QMargins();
    return margins;
}

void WindowPlacement::NoteNormalFrame()
{
    if (IsNormal() && m_window->isVisible())
        m_normalFrame = FrameMargins();
}

void WindowPlacement::RestoreState()
{
    const std::optional<int> state =
        SettingsStore::ReadInteger16(SettingsStore::GetSetting(AppName, Section, QStringLiteral("MDIWState"), "0"));
    if (!state)
        return;
    switch (*state) {
    case 0:
        m_window->setWindowState(m_window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        break;
    case 1:
        m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
        break;
    case 2:
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    default: // not a window state: the window keeps the one it has
        break;
    }
}

// Works on the outer rectangle; each edge is taken before the next default
// is computed, so the top default is centred on the height at that moment.
QRect WindowPlacement::RestoreEdges() const
{
    const QRect screen = ScreenRect();
    QRect frame = m_window->frameGeometry();
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
void WindowPlacement::KeepOnScreen()
{
    const QRect frame = m_window->frameGeometry();
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen->geometry().intersects(frame))
            return;
    const QRect primary = ScreenRect();
    m_window->move(primary.left() + (primary.width() - frame.width()) / 2,
                   primary.top() + (primary.height() - frame.height()) / 2);
}

// A maximized window's frame is not the normal one (window managers drop the
// borders), so the normal rectangle gets the frame last seen in the normal
// state; a window that has never been normal has only its current frame.
void WindowPlacement::Save()
{
    const bool maximized = m_window->windowState() & Qt::WindowMaximized;
    NoteNormalFrame();
    const QMargins frame = m_normalFrame.isNull() ? FrameMargins() : m_normalFrame;
    const QRect normal = m_window->normalGeometry().isValid() ? m_window->normalGeometry() : m_window->geometry();
    const QRect outer = normal.marginsAdded(frame);

    auto save = [](const QString &key, const QString &value) {
        SettingsStore::SaveSetting(AppName, Section, key, value);
    };
    save(QStringLiteral("MDIWState"), QString::number(maximized ? 2 : 0));
    save(QStringLiteral("MDILeft"), SettingsStore::SingleText(Twips::FromPixels(outer.left())));
    save(QStringLiteral("MDITop"), SettingsStore::SingleText(Twips::FromPixels(outer.top())));
    save(QStringLiteral("MDIWidth"), SettingsStore::SingleText(Twips::FromPixels(outer.width())));
    save(QStringLiteral("MDIHeight"), SettingsStore::SingleText(Twips::FromPixels(outer.height())));
}
