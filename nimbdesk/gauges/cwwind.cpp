#include "nimbdesk/gauges/cwwind.h"

#include "meteo/base/wconvert.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <array>
#include <cmath>
#include <numbers>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

namespace
{

// A point at a compass bearing (clockwise from north) and a distance from the centre, in widget coordinates where
// y grows downwards.
QPointF atBearing(const QPointF &centre, qreal degrees, qreal distance)
{
    const qreal radians = degrees * std::numbers::pi / 180.0;
    return {centre.x() + distance * std::sin(radians), centre.y() - distance * std::cos(radians)};
}

} // namespace

CWwind::CWwind(QWidget *parent)
    : CWgauge(parent)
{
}

void CWwind::SetDirection(float degrees)
{
    if (std::isfinite(degrees))
        m_degrees = degrees;
    else
        m_degrees.reset();
    update();
}

void CWwind::SetUnit(short unit)
{
    m_unit = unit;
    update();
}

void CWwind::SetSpeed(short knots)
{
    if (knots >= 0)
        m_knots = knots;
    else
        m_knots.reset();
    update();
}

void CWwind::SetGust(short knots)
{
    m_gust = knots;
    update();
}

// A calm has no direction, and neither has a degree count out of the compass other than the variable mark.
bool CWwind::hasDirection() const
{
    if (!m_degrees || !m_knots || isCalm())
        return false;
    return *m_degrees == VARIABLE || (*m_degrees >= 0.0f && *m_degrees <= 360.0f);
}

QString CWwind::directionText() const
{
    if (!hasDirection())
        return {};
    if (*m_degrees == VARIABLE)
        return QStringLiteral("VRB");
    return QString::fromLatin1(compassPointName(*m_degrees));
}

QString CWwind::speedText(short knots) const
{
    const float mph = knots2MPH(static_cast<unsigned int>(knots));
    return formatNumber(m_unit == KMPH ? MPH2KMPH(mph) : mph, 0);
}

CWgauge::Caption CWwind::caption() const
{
    if (!m_knots)
        return noValue();
    if (isCalm())
        return {QStringLiteral("Calm"), QString()};
    QString value = speedText(*m_knots);
    if (m_gust > 0)
        value += QStringLiteral(" G ") + speedText(m_gust);
    return {value, m_unit == KMPH ? QStringLiteral("KM/H") : QStringLiteral("MPH")};
}

// A ring with the compass points marked, the arrow at the side the wind comes from, pointing the way it blows, and
// the direction's name in the middle. The arrow stands out over the ring, so the ring takes a little less room.
void CWwind::paintDial(QPainter &painter, const QRectF &dial) const
{
    const qreal radius = (std::min(dial.width(), dial.height()) / 2 - 1) / 1.08;
    const QPointF centre = dial.center();
    paintRing(painter, centre, radius);
    if (!hasDirection())
        return;
    if (*m_degrees != VARIABLE)
        paintArrow(painter, centre, radius);
    paintDirectionText(painter, centre, radius);
}

void CWwind::paintRing(QPainter &painter, const QPointF &centre, qreal radius) const
{
    const qreal pen = std::max(1.0, radius * 0.07);
    const bool variable = hasDirection() && *m_degrees == VARIABLE;
    QPen ring(variable ? foreColor() : shade(0.3), pen);
    if (variable)
        ring.setDashPattern({1.5, 1.5});
    painter.setPen(ring);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius - pen / 2, radius - pen / 2);

    for (int bearing = 0; bearing < 360; bearing += 45) {
        const bool cardinal = bearing % 90 == 0;
        painter.setPen(
            QPen(bearing == 0 ? foreColor() : shade(cardinal ? 0.6 : 0.4), pen, Qt::SolidLine, Qt::RoundCap));
        const qreal inner = radius - pen * (cardinal ? 3.2 : 2.4);
        painter.drawLine(atBearing(centre, bearing, radius - pen * 1.6), atBearing(centre, bearing, inner));
    }
}

void CWwind::paintArrow(QPainter &painter, const QPointF &centre, qreal radius) const
{
    const qreal bearing = *m_degrees;
    const QPolygonF arrow({atBearing(centre, bearing, radius * 0.5), atBearing(centre, bearing - 22, radius * 1.08),
        atBearing(centre, bearing, radius * 0.86), atBearing(centre, bearing + 22, radius * 1.08)});
    painter.setPen(QPen(backColor(), std::max(1.0, radius * 0.05), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(foreColor());
    painter.drawPolygon(arrow);
}

void CWwind::paintDirectionText(QPainter &painter, const QPointF &centre, qreal radius) const
{
    QFont bold = font();
    bold.setBold(true);
    const QString text = directionText();
    const qreal room = radius * 0.95;
    const qreal width = QFontMetricsF(bold).horizontalAdvance(text);
    if (width > room)
        bold = scaledFont(bold, room / width);
    painter.setFont(bold);
    painter.setPen(foreColor());
    const QRectF box(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2);
    painter.drawText(box, Qt::AlignCenter, text);
}

} // namespace nimbdesk
