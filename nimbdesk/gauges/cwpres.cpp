#include "nimbdesk/gauges/cwpres.h"

#include "meteo/base/wconvert.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace meteo;

namespace nimbdesk
{

namespace
{

// The dial spans 28 to 31 inches of mercury (948 to 1050 hPa), where nearly all sea-level readings fall.
constexpr float LOWEST_INHG = 28.0f;
constexpr float HIGHEST_INHG = 31.0f;
// The arc opens downwards: it starts at the lower left (225 degrees counter-clockwise from three o'clock) and
// sweeps 270 degrees clockwise to the lower right.
constexpr qreal START_ANGLE = 225.0;
constexpr qreal SPAN_ANGLE = 270.0;

QPointF atAngle(const QPointF &centre, qreal degrees, qreal distance)
{
    const qreal radians = degrees * std::numbers::pi / 180.0;
    return {centre.x() + distance * std::cos(radians), centre.y() - distance * std::sin(radians)};
}

} // namespace

CWpres::CWpres(QWidget *parent)
    : CWgauge(parent)
{
}

void CWpres::SetValue(float inHg)
{
    if (std::isfinite(inHg))
        m_inHg = inHg;
    else
        m_inHg.reset();
    update();
}

void CWpres::SetUnit(short unit)
{
    m_unit = unit;
    update();
}

CWgauge::Caption CWpres::caption() const
{
    if (!m_inHg)
        return noValue();
    if (m_unit == MMHG)
        return {formatNumber(INHG2MMHG(*m_inHg), 0), QStringLiteral("mm Hg")};
    if (m_unit == HPA)
        return {formatNumber(INHG2HPA(*m_inHg), 0), QStringLiteral("hPa")};
    return {formatNumber(*m_inHg, 2), QStringLiteral("inHg")};
}

// A track arc in a faint shade, the part up to the reading in the text colour, and a needle from the hub.
void CWpres::paintDial(QPainter &painter, const QRectF &dial) const
{
    const qreal radius = std::min(dial.width(), dial.height()) / 2 - 1;
    const qreal pen = std::max(1.5, radius * 0.14);
    const QPointF centre = dial.center() + QPointF(0, radius * 0.12);
    const qreal arc = radius - pen / 2;
    const QRectF box(centre.x() - arc, centre.y() - arc, 2 * arc, 2 * arc);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(shade(0.22), pen, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(box, qRound(START_ANGLE * 16), qRound(-SPAN_ANGLE * 16));
    paintTicks(painter, centre, radius - pen * 1.5, pen * 0.9);
    if (!m_inHg)
        return;

    const qreal level = std::clamp((*m_inHg - LOWEST_INHG) / (HIGHEST_INHG - LOWEST_INHG), 0.0f, 1.0f);
    painter.setPen(QPen(foreColor(), pen, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(box, qRound(START_ANGLE * 16), qRound(-SPAN_ANGLE * level * 16));
    paintNeedle(painter, centre, radius - pen * 1.6, START_ANGLE - SPAN_ANGLE * level);
}

// A tick every half inch of mercury, inside the arc.
void CWpres::paintTicks(QPainter &painter, const QPointF &centre, qreal radius, qreal length) const
{
    painter.setPen(QPen(shade(0.45), std::max(1.0, length * 0.35), Qt::SolidLine, Qt::FlatCap));
    const int count = static_cast<int>(std::lround((HIGHEST_INHG - LOWEST_INHG) / 0.5f));
    for (int tick = 0; tick <= count; ++tick) {
        const qreal angle = START_ANGLE - SPAN_ANGLE * tick / count;
        painter.drawLine(atAngle(centre, angle, radius), atAngle(centre, angle, radius - length));
    }
}

void CWpres::paintNeedle(QPainter &painter, const QPointF &centre, qreal radius, qreal angle) const
{
    const qreal width = std::max(1.0, radius * 0.09);
    painter.setPen(QPen(foreColor(), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, atAngle(centre, angle, radius));
    painter.setPen(Qt::NoPen);
    painter.setBrush(foreColor());
    painter.drawEllipse(centre, width * 1.8, width * 1.8);
}

} // namespace nimbdesk
