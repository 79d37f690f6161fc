#pragma once

#include "meteo/reader/wobservation.h"
#include "meteo/reader/wobservationwords.h"

#include <QString>
#include <QWidget>

// The observation in words under the gauges: "Light rain, mist · Overcast 400 ft · Visibility 1½ mi · Humidity
// 93%". One line, as tall as one line of its font whatever it holds, ended with an ellipsis where the window is
// narrower; the whole line is its tooltip. So neither the words nor their length ever move or widen the gauges.
class CWeatherLine : public QWidget
{
    Q_OBJECT

public:
    explicit CWeatherLine(QWidget *parent = nullptr);

    void SetObservation(const WObservation &observation);
    // The temperature scale of "Feels like".
    void SetScale(WCondition::TempScale scale);
    // Miles and feet, or kilometres and metres.
    void SetDistance(WObservationWords::Distance distance);
    QString GetText() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    WObservation m_observation;
    WCondition::TempScale m_scale = WCondition::Celsius;
    WObservationWords::Distance m_distance = WObservationWords::Distance::Imperial;
    QString m_text;
};
