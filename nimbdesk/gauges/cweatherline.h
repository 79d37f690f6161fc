#pragma once

#include "meteo/base/wobservation.h"
#include "meteo/reader/wobservationwords.h"

#include <QString>
#include <QWidget>

namespace nimbdesk
{

// The observation in words under the gauges: "Light rain, mist · Overcast 400 ft · Visibility 1½ mi · Humidity
// 93%". One line, as tall as one line of its font whatever it holds, ended with an ellipsis where the window is
// narrower; the whole line is its tooltip. So neither the words nor their length ever move or widen the gauges.
class CWeatherLine : public QWidget
{
    Q_OBJECT

public:
    explicit CWeatherLine(QWidget *parent = nullptr);

    // The station is said, after the words, to those who hear the line: "observed at KIKV (Ankeny, 14 km) ..."
    // when it is not the place's own; empty otherwise.
    void SetObservation(const meteo::WObservation &observation, const QString &station = QString());
    // The temperature scale of "Feels like".
    void SetScale(meteo::WCondition::TempScale scale);
    // Miles and feet, or kilometres and metres.
    void SetDistance(meteo::WObservationWords::Distance distance);
    QString GetText() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    meteo::WObservation m_observation;
    meteo::WCondition::TempScale m_scale = meteo::WCondition::Celsius;
    meteo::WObservationWords::Distance m_distance = meteo::WObservationWords::Distance::Imperial;
    QString m_text;
    QString m_station;
};

} // namespace nimbdesk
