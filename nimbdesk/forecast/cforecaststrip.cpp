#include "nimbdesk/forecast/cforecaststrip.h"

#include "nimbdesk/forecast/cforecastcell.h"
#include "nimbdesk/forecast/forecastwords.h"
#include "nimbdesk/freshness/timetext.h"

#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

using namespace meteo;

namespace nimbdesk
{

CForecastStrip::CForecastStrip(QWidget *parent)
    : QWidget(parent)
    , m_calendar([] { return currentTime(); })
{
    setAccessibleName(tr("Forecast periods"));
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(0, 0, 0, 0);
    for (int index = 0; index < MAX_PERIODS; ++index) {
        auto *cell = new CForecastCell(this);
        cell->setObjectName(QStringLiteral("period%1").arg(index + 1));
        cell->hide();
        m_row->addWidget(cell, 1);
        m_cells.push_back(cell);
    }
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("forecastAge"));
    m_note->setWordWrap(true);
    m_note->hide();
    m_row->addWidget(m_note);
}

void CForecastStrip::SetForecast(const WForecast &forecast)
{
    m_forecast = forecast;
    m_failed = false;
    fill();
}

void CForecastStrip::SetFailed()
{
    m_failed = true;
    RefreshAge();
}

void CForecastStrip::SetFahrenheit(bool fahrenheit)
{
    m_fahrenheit = fahrenheit;
    fill();
}

void CForecastStrip::SetCalendar(std::function<std::int64_t()> calendar)
{
    m_calendar = std::move(calendar);
    RefreshAge();
}

// An old forecast is aged from when the forecasters last changed it, a kept one from when it was fetched.
void CForecastStrip::RefreshAge()
{
    const bool empty = m_forecast.periods.empty();
    const std::int64_t now = m_calendar();
    QString text;
    if (!empty && m_forecast.old) {
        const std::int64_t issued = m_forecast.updated != 0 ? m_forecast.updated : m_forecast.fetched;
        text = tr("Old forecast, issued %1").arg(ageText(now - issued));
    } else if (!empty && m_failed) {
        text = tr("Not updated, forecast from %1").arg(ageText(now - m_forecast.fetched));
    }
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
}

QString CForecastStrip::note() const
{
    return m_note->text();
}

void CForecastStrip::fill()
{
    const ForecastWords words(m_fahrenheit);
    const std::size_t shown = std::min<std::size_t>(m_forecast.periods.size(), MAX_PERIODS);
    for (std::size_t index = 0; index < m_cells.size(); ++index) {
        if (index < shown)
            m_cells[index]->SetPeriod(m_forecast.periods[index], words);
        m_cells[index]->setVisible(index < shown);
    }
    RefreshAge();
}

} // namespace nimbdesk
