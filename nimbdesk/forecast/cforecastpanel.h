#pragma once

#include "meteo/base/wforecast.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QToolButton;

namespace nimbdesk
{

class CForecastStrip;
class CHourChart;

// The forecast at a glance under the gauges: the strip of periods with a ">>" button beside it that opens and
// closes the chart of the next 48 hours. The window grows by the chart while it is open and is its own size again
// once it is closed. Hidden while there is no forecast of the web service to show.
class CForecastPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CForecastPanel(QWidget *parent = nullptr);

    void ShowPeriods(const meteo::WForecast &forecast);
    void ShowHours(const meteo::WForecast &forecast);
    // The fetch of the periods failed: the strip goes on with its age.
    void PeriodsFailed();
    // What was kept of the place from an earlier run, marked with its age as after a failed fetch: the periods
    // and hours not yet ended at now (seconds since 1970). Empty ones leave nothing of the place shown before.
    // Returns the first period shown, for the tray.
    std::optional<meteo::WForecastPeriod> ShowKept(
        const meteo::WForecast &periods, const meteo::WForecast &hours, std::int64_t now);
    // False with the state pages as the source, which give no forecast of this kind.
    void SetAvailable(bool available);
    void SetFahrenheit(bool fahrenheit);
    void SetCalendar(const std::function<std::int64_t()> &calendar);
    void RefreshAge();
    void SetChartOpen(bool open);

    CForecastStrip *strip() const { return m_strip; }
    CHourChart *chart() const { return m_chart; }
    QToolButton *toggle() const { return m_toggle; }

private:
    void showIfFilled();
    void settleLayouts();

    CForecastStrip *m_strip = nullptr;
    CHourChart *m_chart = nullptr;
    QToolButton *m_toggle = nullptr;
    bool m_available = true;
    bool m_filled = false;
    // What the window grew by when the chart opened.
    int m_grown = 0;
};

} // namespace nimbdesk
