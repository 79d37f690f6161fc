#include "nimbdesk/gauges/cwtemp.h"

#include "meteo/base/wconvert.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

using namespace meteo;

namespace nimbdesk
{

namespace
{

// The column spans -40 to 50 degrees Celsius (-40 to 122 F), which holds nearly every reading in the US; a value
// beyond it pins the column at an end.
constexpr float LOWEST_C = -40.0f;
constexpr float HIGHEST_C = 50.0f;

qreal levelOf(float celsius)
{
    return std::clamp((celsius - LOWEST_C) / (HIGHEST_C - LOWEST_C), 0.0f, 1.0f);
}

} // namespace

CWtemp::CWtemp(QWidget *parent)
    : CWgauge(parent)
{
}

void CWtemp::SetScale(short scale)
{
    m_scale = scale;
    update();
}

short CWtemp::GetScale() const
{
    return m_scale;
}

void CWtemp::SetValue(float celsius)
{
    if (std::isfinite(celsius))
        m_celsius = celsius;
    else
        m_celsius.reset();
    update();
}

CWgauge::Caption CWtemp::caption() const
{
    if (!m_celsius)
        return noValue();
    if (isFahrenheit())
        return {formatNumber(C2F(*m_celsius), 0), QStringLiteral("°F")};
    return {formatNumber(*m_celsius, 0), QStringLiteral("°C")};
}

// A tube standing on a bulb: the track in a faint shade, the mercury in the text colour, the scale's ticks at the
// right of the tube.
void CWtemp::paintDial(QPainter &painter, const QRectF &dial) const
{
    const Tube tube = tubeIn(dial);
    QPainterPath track;
    track.addRoundedRect(QRectF(tube.x - tube.width / 2, dial.top(), tube.width, tube.bulbCentre.y() - dial.top()),
        tube.width / 2, tube.width / 2);
    QPainterPath bulb;
    bulb.addEllipse(tube.bulbCentre, tube.bulb, tube.bulb);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade(0.22));
    painter.drawPath(track.united(bulb));

    paintTicks(painter, tube);
    if (m_celsius)
        paintMercury(painter, tube, levelOf(*m_celsius));
}

CWtemp::Tube CWtemp::tubeIn(const QRectF &dial)
{
    Tube tube;
    tube.width = std::min(dial.height() * 0.17, dial.width() * 0.25);
    tube.bulb = tube.width;
    tube.inset = tube.width * 0.22;
    tube.x = dial.center().x() - tube.width * 0.6;
    tube.bulbCentre = QPointF(tube.x, dial.bottom() - tube.bulb);
    tube.scaleBottom = tube.bulbCentre.y() - tube.bulb;
    tube.scaleTop = dial.top() + tube.width / 2;
    return tube;
}

void CWtemp::paintMercury(QPainter &painter, const Tube &tube, qreal level) const
{
    const qreal width = tube.width - 2 * tube.inset;
    const qreal y = tube.scaleBottom - level * (tube.scaleBottom - tube.scaleTop);
    QPainterPath column;
    column.addRoundedRect(
        QRectF(tube.x - width / 2, y - width / 2, width, tube.bulbCentre.y() - y + width / 2), width / 2, width / 2);
    QPainterPath bulb;
    bulb.addEllipse(tube.bulbCentre, tube.bulb - tube.inset, tube.bulb - tube.inset);
    painter.setPen(Qt::NoPen);
    painter.setBrush(foreColor());
    painter.drawPath(column.united(bulb));
}

// Ticks every 10 C (20 F) in the scale shown, and a longer one at freezing.
void CWtemp::paintTicks(QPainter &painter, const Tube &tube) const
{
    const float step = isFahrenheit() ? 20.0f : 10.0f;
    const float first = isFahrenheit() ? C2F(LOWEST_C) : LOWEST_C;
    const float last = isFahrenheit() ? C2F(HIGHEST_C) : HIGHEST_C;
    const qreal left = tube.x + tube.width / 2 + tube.inset * 2;
    const qreal length = tube.width;
    const auto yOf
        = [&tube](float celsius) { return tube.scaleBottom - levelOf(celsius) * (tube.scaleBottom - tube.scaleTop); };

    const qreal pen = std::max(1.0, length * 0.12);
    painter.setPen(QPen(shade(0.45), pen, Qt::SolidLine, Qt::FlatCap));
    for (float value = first; value <= last; value += step) {
        const qreal y = yOf(isFahrenheit() ? F2C(value) : value);
        painter.drawLine(QPointF(left, y), QPointF(left + length * 0.5, y));
    }
    painter.setPen(QPen(shade(0.8), pen, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(left, yOf(0.0f)), QPointF(left + length, yOf(0.0f)));
}

} // namespace nimbdesk
