#include "ui/qt/images.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace quorlin {

QPixmap discPixmap(const QColor& color)
{
    QPixmap pixmap(kDiscSize, kDiscSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(1, 1, kDiscSize - 2, kDiscSize - 2));
    QRadialGradient shine(QPointF(8.5, 8.5), 5.5);
    shine.setColorAt(0, QColor(255, 255, 255, 200));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(shine);
    painter.drawEllipse(QRectF(3, 3, 11, 11));
    return pixmap;
}

namespace {

// A red rounded tile with a glowing lamp and its rays.
QPixmap iconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(214, 48, 49));
    tile.setColorAt(1, QColor(128, 16, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    QRadialGradient glow(QPointF(32, 30), 16);
    glow.setColorAt(0, QColor(255, 250, 220));
    glow.setColorAt(0.7, QColor(255, 214, 120));
    glow.setColorAt(1, QColor(255, 160, 60));
    p.setBrush(glow);
    p.drawEllipse(QPointF(32, 30), 12, 12);
    p.setBrush(QColor(250, 235, 200));
    p.drawRoundedRect(QRectF(26, 43, 12, 8), 2, 2);
    QPen ray(QColor(255, 236, 180), 3, Qt::SolidLine, Qt::RoundCap);
    p.setPen(ray);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(32, 30);
        p.rotate(i * 45.0);
        p.drawLine(QPointF(0, -17), QPointF(0, -22));
        p.restore();
    }
    return pixmap;
}

}  // namespace

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(iconPixmap(size));
    return icon;
}

}  // namespace quorlin
