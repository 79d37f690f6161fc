#pragma once

#include "meteo/base/wforecast.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace nimbdesk
{

// The next 48 hours: the temperature as a line over the chance of precipitation as bars, the night hours shaded,
// now marked and the hours labelled in local time. The pointer or the arrow keys pick an hour, whose
// values the tooltip tells: "Thu 2 PM: 84°F, dew point 66°F, humidity 55%, wind SW 10 mph, ...".
class CHourChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int HOURS = 48;

    explicit CHourChart(QWidget *parent = nullptr);

    // The hours still to come of a fetched hourly forecast; the first 48 are drawn.
    void SetHours(const meteo::WForecast &forecast);
    void SetFahrenheit(bool fahrenheit);
    // The calendar clock "now" is marked by (seconds since 1970); the system's by default.
    void SetCalendar(std::function<std::int64_t()> calendar);

    int hourCount() const { return static_cast<int>(m_hours.size()); }
    // The middle of an hour's column, and the hour under an x (-1 for none).
    int xOf(int index) const;
    int hourAt(int x) const;
    QString hourText(int index) const;
    // The hour the arrow keys picked; -1 before any.
    int selectedHour() const { return m_selected; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QRectF plotArea() const;
    qreal step() const;
    void paintNights(QPainter &painter) const;
    void paintBars(QPainter &painter) const;
    void paintTemperatures(QPainter &painter) const;
    void paintLabels(QPainter &painter) const;
    void paintNow(QPainter &painter) const;
    void paintSelection(QPainter &painter) const;
    void select(int index);

    std::vector<meteo::WForecastPeriod> m_hours;
    bool m_fahrenheit = true;
    std::function<std::int64_t()> m_calendar;
    int m_selected = -1;
};

} // namespace nimbdesk
