#pragma once

#include "nimbdesk/gauges/cwgauge.h"

#include <QPointF>

#include <optional>

namespace nimbdesk
{

// A thermometer for a temperature or a dew point. It takes the value in degrees Celsius and shows it in the scale
// set: 0 Celsius, any other value Fahrenheit.
class CWtemp : public CWgauge
{
    Q_OBJECT

public:
    explicit CWtemp(QWidget *parent = nullptr);

    void SetScale(short scale);
    short GetScale() const;
    void SetValue(float celsius);

protected:
    Caption caption() const override;
    void paintDial(QPainter &painter, const QRectF &dial) const override;

private:
    // Where the thermometer stands in the dial: the tube's axis and width, the bulb, and the span of the scale.
    struct Tube {
        qreal x = 0;
        qreal width = 0;
        qreal bulb = 0;
        qreal inset = 0;
        QPointF bulbCentre;
        qreal scaleBottom = 0;
        qreal scaleTop = 0;
    };

    bool isFahrenheit() const { return m_scale != 0; }
    static Tube tubeIn(const QRectF &dial);
    void paintMercury(QPainter &painter, const Tube &tube, qreal level) const;
    void paintTicks(QPainter &painter, const Tube &tube) const;

    short m_scale = 0;
    std::optional<float> m_celsius;
};

} // namespace nimbdesk
