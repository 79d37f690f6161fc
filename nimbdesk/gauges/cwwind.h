#pragma once

#include "meteo/base/wcondition.h"
#include "nimbdesk/gauges/cwgauge.h"

#include <optional>

namespace nimbdesk
{

// A compass dial for the wind. Speeds arrive in knots and show in the unit set (1 MPH, 2 KM/H); the direction is the
// one the wind blows from, in degrees, VARIABLE for a variable wind. A speed of 0 reads "Calm"; a gust shows after the
// speed ("17 G 29 MPH" for 15 knots gusting to 25).
class CWwind : public CWgauge
{
    Q_OBJECT

public:
    static constexpr float VARIABLE = meteo::WCondition::VARIABLE_WIND;
    static constexpr short MPH = 1;
    static constexpr short KMPH = 2;

    explicit CWwind(QWidget *parent = nullptr);

    void SetDirection(float degrees);
    void SetUnit(short unit);
    void SetSpeed(short knots);
    // Knots, -1 when no gust was reported.
    void SetGust(short knots);

    // The sixteen-point name of the direction shown in the dial ("WSW", "VRB"), empty when there is none.
    QString directionText() const;

protected:
    Caption caption() const override;
    void paintDial(QPainter &painter, const QRectF &dial) const override;

private:
    bool isCalm() const { return m_knots && *m_knots == 0; }
    bool hasDirection() const;
    QString speedText(short knots) const;
    void paintRing(QPainter &painter, const QPointF &centre, qreal radius) const;
    void paintArrow(QPainter &painter, const QPointF &centre, qreal radius) const;
    void paintDirectionText(QPainter &painter, const QPointF &centre, qreal radius) const;

    short m_unit = MPH;
    std::optional<short> m_knots;
    short m_gust = -1;
    std::optional<float> m_degrees;
};

} // namespace nimbdesk
