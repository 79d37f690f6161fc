#include "nimbdesk/tray/alertmark.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include <initializer_list>

namespace nimbdesk
{

namespace
{

// The mark covers this share of the icon's side.
constexpr qreal MARK_SHARE = 0.58;

QPixmap markedPixmap(const QIcon &icon, int size, int count, const QColor &color)
{
    QPixmap pixmap = icon.pixmap(size, size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = size * MARK_SHARE;
    const QRectF mark(size - side, 0, side, side);
    painter.setPen(QPen(Qt::white, qMax(1.0, size / 24.0)));
    painter.setBrush(color);
    painter.drawEllipse(mark.adjusted(0.5, 0.5, -0.5, -0.5));
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(qMax(1, qRound(side * 0.7)));
    painter.setFont(font);
    painter.setPen(color.lightness() > 150 ? Qt::black : Qt::white);
    painter.drawText(mark, Qt::AlignCenter, count > 9 ? QStringLiteral("9+") : QString::number(count));
    return pixmap;
}

} // namespace

QIcon markedIcon(const QIcon &icon, int count, const QColor &color)
{
    QIcon marked;
    for (const int size : {16, 22, 24, 32, 48, 64})
        marked.addPixmap(markedPixmap(icon, size, count, color));
    return marked;
}

} // namespace nimbdesk
