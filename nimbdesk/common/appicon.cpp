#include "nimbdesk/common/appicon.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <initializer_list>

namespace nimbdesk
{

namespace
{

// The picture in the 64 x 64 units of nimbrel.svg: the dial's centre and radius, its track from 225 degrees
// (lower left) clockwise to -45 degrees (lower right), and the reading up to 60 degrees.
constexpr qreal UNITS = 64;
constexpr QPointF CENTRE(32, 36);
constexpr qreal RADIUS = 20;

void paintTile(QPainter &painter)
{
    QPainterPath tile;
    tile.addRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    painter.fillPath(tile, QColor(0x15, 0x19, 0x1f));
}

void paintDial(QPainter &painter)
{
    const QRectF box(CENTRE.x() - RADIUS, CENTRE.y() - RADIUS, 2 * RADIUS, 2 * RADIUS);
    painter.setPen(QPen(QColor(0x4a, 0x1a, 0x1a), 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(box, 225 * 16, -270 * 16);
    painter.setPen(QPen(QColor(0xe8, 0x33, 0x2a), 6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(box, 225 * 16, -165 * 16);
}

void paintNeedle(QPainter &painter)
{
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(CENTRE, QPointF(38.5, 24.74));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(CENTRE, 4.5, 4.5);
}

QPixmap iconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / UNITS, size / UNITS);
    paintTile(painter);
    paintDial(painter);
    paintNeedle(painter);
    return pixmap;
}

} // namespace

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(iconPixmap(size));
    return icon;
}

} // namespace nimbdesk
