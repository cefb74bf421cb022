#include "ToolbarIcons.h"

#include <QAction>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor Paper(255, 255, 255);
const QColor Folder(230, 180, 60);
const QColor Blue(40, 90, 170);

void Page(QPainter &p, const QRectF &r, const QColor &ink)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(Paper);
    p.setPen(QPen(ink, 1));
    p.drawPath(path);
}

void Lines(QPainter &p, const QColor &ink, const QList<std::pair<int, int>> &spans, int top)
{
    p.setPen(QPen(ink, 1.4));
    int y = top;
    for (const auto &[left, right] : spans) {
        p.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
        y += 3;
    }
}

void Letter(QPainter &p, const QColor &ink, const QString &letter, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(14);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
}

// Lines, letters and outlines in ink; the fills read on light and dark alike.
void DrawImage(QPainter &p, const QString &key, const QColor &ink)
{
    if (key == QLatin1String("New")) {
        Page(p, QRectF(3.5, 1.5, 9, 13), ink);
    } else if (key == QLatin1String("Open")) {
        p.setPen(QPen(ink, 1));
        p.setBrush(Folder.darker(115));
        p.drawRect(QRectF(1.5, 3.5, 12, 10));
        p.setBrush(Folder);
        QPolygonF flap({QPointF(3.5, 6.5), QPointF(15.5, 6.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)});
        p.drawPolygon(flap);
    } else if (key == QLatin1String("Save")) {
        p.setPen(QPen(ink, 1));
        p.setBrush(Blue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Paper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
    } else if (key == QLatin1String("Print")) {
        p.setPen(QPen(ink, 1));
        p.setBrush(Paper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Paper);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
    } else if (key == QLatin1String("Cut")) {
        p.setPen(QPen(ink, 1.3));
        p.drawLine(QPointF(4, 1), QPointF(10, 10));
        p.drawLine(QPointF(12, 1), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
    } else if (key == QLatin1String("Copy")) {
        Page(p, QRectF(1.5, 1.5, 8, 10), ink);
        Page(p, QRectF(6.5, 4.5, 8, 10), ink);
    } else if (key == QLatin1String("Paste")) {
        p.setPen(QPen(ink, 1));
        p.setBrush(Folder.darker(130));
        p.drawRect(QRectF(1.5, 2.5, 10, 12));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(4.5, 1.5, 4, 2));
        Page(p, QRectF(7.5, 6.5, 7, 8), ink);
    } else if (key == QLatin1String("Bold")) {
        Letter(p, ink, QStringLiteral("B"), true, false, false);
    } else if (key == QLatin1String("Italic")) {
        Letter(p, ink, QStringLiteral("I"), false, true, false);
    } else if (key == QLatin1String("Underline")) {
        Letter(p, ink, QStringLiteral("U"), false, false, true);
    } else if (key == QLatin1String("Align-Left")) {
        Lines(p, ink, {{1, 14}, {1, 10}, {1, 14}, {1, 8}, {1, 12}}, 2);
    } else if (key == QLatin1String("Align-Centre")) {
        Lines(p, ink, {{1, 14}, {4, 11}, {2, 13}, {5, 10}, {3, 12}}, 2);
    } else if (key == QLatin1String("Align-Right")) {
        Lines(p, ink, {{1, 14}, {5, 14}, {1, 14}, {7, 14}, {3, 14}}, 2);
    }
}

QString ThemeName(const QString &key)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("New"), QStringLiteral("document-new")},
        {QStringLiteral("Open"), QStringLiteral("document-open")},
        {QStringLiteral("Save"), QStringLiteral("document-save")},
        {QStringLiteral("Print"), QStringLiteral("document-print")},
        {QStringLiteral("Cut"), QStringLiteral("edit-cut")},
        {QStringLiteral("Copy"), QStringLiteral("edit-copy")},
        {QStringLiteral("Paste"), QStringLiteral("edit-paste")},
        {QStringLiteral("Bold"), QStringLiteral("format-text-bold")},
        {QStringLiteral("Italic"), QStringLiteral("format-text-italic")},
        {QStringLiteral("Underline"), QStringLiteral("format-text-underline")},
        {QStringLiteral("Align-Left"), QStringLiteral("format-justify-left")},
        {QStringLiteral("Align-Centre"), QStringLiteral("format-justify-center")},
        {QStringLiteral("Align-Right"), QStringLiteral("format-justify-right")},
    };
    return names.value(key);
}

} // namespace

QColor ToolbarIcons::InkOf(const QPalette &palette)
{
    // The buttons lie flat on the window background.
    return palette.color(QPalette::Active, QPalette::WindowText);
}

QIcon ToolbarIcons::Drawn(const QString &key)
{
    return Drawn(key, QGuiApplication::palette());
}

QIcon ToolbarIcons::Drawn(const QString &key, const QPalette &palette)
{

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawImage(painter, key, InkOf(palette));
    painter.end();
    return QIcon(pixmap);
}

QIcon ToolbarIcons::Icon(const QString &key)
{
    return Icon(key, QGuiApplication::palette());
}

QIcon ToolbarIcons::Icon(const QString &key, const QPalette &palette)
{
    const QString themeName = ThemeName(key);
    if (!themeName.isEmpty() && QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    return Drawn(key, palette);
}

void ToolbarIcons::Attach(QAction *action, const QString &key)
{
    action->setProperty(KeyProperty, key);
    action->setIcon(Icon(key));
}

void ToolbarIcons::Redraw(const QList<QAction *> &actions, const QPalette &palette)
{
    for (QAction *action : actions)
        if (const QString key = action->property(KeyProperty).toString(); !key.isEmpty())
            action->setIcon(Icon(key, palette));
}
