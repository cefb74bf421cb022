#include "AboutPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Deep(24, 58, 110);
const QColor Light(64, 118, 184);
const QColor Panel(238, 242, 248);

void Sky(QPainter &p)
{
    QLinearGradient sky(0, 0, AboutPicture::Width, 150);
    sky.setColorAt(0, Deep);
    sky.setColorAt(1, Light);
    p.fillRect(QRect(0, 0, AboutPicture::Width, 155), sky);
    p.fillRect(QRect(0, 155, AboutPicture::Width, AboutPicture::Height - 155), Panel);
}

// Faint lines of code behind the name.
void CodeLines(QPainter &p)
{
    QFont mono(QStringLiteral("Liberation Mono"));
    mono.setPixelSize(10);
    p.setFont(mono);
    p.setPen(QColor(255, 255, 255, 38));
    const char *const lines[] = {"#include <editor.h>", "for (auto &doc : documents)", "    doc.colourise();",
                                 "if (modified) save(doc);", "return 0;"};
    int y = 28;
    for (const char *line : lines) {
        p.drawText(150, y, QString::fromLatin1(line));
        y += 24;
    }
}

// A page with a pair of braces: the program's sign.
void Sign(QPainter &p)
{
    QPainterPath page;
    page.moveTo(22, 22);
    page.lineTo(70, 22);
    page.lineTo(86, 38);
    page.lineTo(86, 112);
    page.lineTo(22, 112);
    page.closeSubpath();
    p.setPen(QPen(QColor(255, 255, 255, 220), 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(page);
    QFont braces(QStringLiteral("Liberation Mono"));
    braces.setPixelSize(34);
    braces.setBold(true);
    p.setFont(braces);
    p.setPen(QColor(255, 214, 102));
    p.drawText(QRect(22, 38, 64, 64), Qt::AlignCenter, QStringLiteral("{ }"));
}

void Titles(QPainter &p)
{
    QFont name(QStringLiteral("Liberation Sans"));
    name.setPixelSize(34);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QPoint(104, 62), QStringLiteral("Ferrolan"));

    QFont subtitle(QStringLiteral("WenQuanYi Micro Hei"));
    subtitle.setPixelSize(17);
    p.setFont(subtitle);
    p.setPen(QColor(225, 235, 250));
    p.drawText(QPoint(106, 90), QStringLiteral("多文档编辑器 2009"));
}

} // namespace

QPixmap AboutPicture::Draw(qreal scale)
{
    QPixmap pixmap(QSize(Width, Height) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Panel);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    Sky(painter);
    CodeLines(painter);
    Sign(painter);
    Titles(painter);
    return pixmap;
}
