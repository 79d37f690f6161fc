#pragma once

#include "meteo/base/wforecast.h"

#include <QWidget>

namespace nimbdesk
{

class ForecastWords;

// One period of the strip: its picture, its name, "High 84°F" or "Low 58°F" and the chance of precipitation when
// there is one. Its detailed forecast is its tooltip, shown also when the keyboard brings the focus; assistive
// tools read "Tonight: low 58, thunderstorms likely, chance of rain 70 percent".
class CForecastCell : public QWidget
{
    Q_OBJECT

public:
    explicit CForecastCell(QWidget *parent = nullptr);

    void SetPeriod(const meteo::WForecastPeriod &period, const ForecastWords &words);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QRectF pictureArea() const;

    meteo::WForecastPeriod m_period;
    QString m_name;
    QString m_temperature;
    QString m_chance;
};

} // namespace nimbdesk
