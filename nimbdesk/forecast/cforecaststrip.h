#pragma once

#include "meteo/base/wforecast.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QHBoxLayout;
class QLabel;

namespace nimbdesk
{

class CForecastCell;

// The next periods of the forecast side by side, each a cell with its picture. An old forecast, or one kept after a
// fetch failed, is marked with its age: "Old forecast, issued 20 h ago". Until a forecast comes, it shows nothing.
class CForecastStrip : public QWidget
{
    Q_OBJECT

public:
    // The strip shows at most this many periods: three and a half days.
    static constexpr int MAX_PERIODS = 7;

    explicit CForecastStrip(QWidget *parent = nullptr);

    // A fetched forecast, shown at once.
    void SetForecast(const meteo::WForecast &forecast);
    // The last fetch failed: the strip keeps what it shows, marked with its age.
    void SetFailed();
    void SetFahrenheit(bool fahrenheit);
    // The calendar clock the ages are told by (seconds since 1970); the system's by default.
    void SetCalendar(std::function<std::int64_t()> calendar);
    // Tells the age anew; the window calls it each minute.
    void RefreshAge();

    const std::vector<CForecastCell *> &cells() const { return m_cells; }
    QString note() const;

private:
    void fill();

    meteo::WForecast m_forecast;
    bool m_failed = false;
    bool m_fahrenheit = true;
    std::function<std::int64_t()> m_calendar;
    std::vector<CForecastCell *> m_cells;
    QHBoxLayout *m_row = nullptr;
    QLabel *m_note = nullptr;
};

} // namespace nimbdesk
