#pragma once

#include "nimbdesk/gauges/cwgauge.h"

#include <optional>

namespace nimbdesk
{

// A barometer dial. The pressure arrives in inches of mercury and shows in the unit set: 0 inches of mercury
// ("29.92 inHg"), 1 millimetres of mercury ("760 mm Hg"), 2 hectopascals ("1013 hPa").
class CWpres : public CWgauge
{
    Q_OBJECT

public:
    static constexpr short INHG = 0;
    static constexpr short MMHG = 1;
    static constexpr short HPA = 2;

    explicit CWpres(QWidget *parent = nullptr);

    void SetValue(float inHg);
    void SetUnit(short unit);

protected:
    Caption caption() const override;
    void paintDial(QPainter &painter, const QRectF &dial) const override;

private:
    void paintTicks(QPainter &painter, const QPointF &centre, qreal radius, qreal length) const;
    void paintNeedle(QPainter &painter, const QPointF &centre, qreal radius, qreal angle) const;

    short m_unit = INHG;
    std::optional<float> m_inHg;
};

} // namespace nimbdesk
