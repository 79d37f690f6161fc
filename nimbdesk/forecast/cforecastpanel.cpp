#include "nimbdesk/forecast/cforecastpanel.h"

#include "nimbdesk/forecast/cforecaststrip.h"
#include "nimbdesk/forecast/chourchart.h"

#include <QGridLayout>
#include <QToolButton>

#include <algorithm>

using namespace meteo;

namespace nimbdesk
{

CForecastPanel::CForecastPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_strip = new CForecastStrip(this);
    m_strip->setObjectName(QStringLiteral("forecastStrip"));
    m_toggle = new QToolButton(this);
    m_toggle->setObjectName(QStringLiteral("hoursMore"));
    m_toggle->setText(QStringLiteral(">>"));
    m_toggle->setCheckable(true);
    m_toggle->setToolTip(tr("Show the next 48 hours"));
    m_toggle->setAccessibleName(m_toggle->toolTip());
    m_toggle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_chart = new CHourChart(this);
    m_chart->setObjectName(QStringLiteral("hourChart"));
    m_chart->hide();
    layout->addWidget(m_strip, 0, 0);
    layout->addWidget(m_toggle, 0, 1);
    layout->addWidget(m_chart, 1, 0, 1, 2);
    connect(m_toggle, &QToolButton::toggled, this, &CForecastPanel::SetChartOpen);
    hide();
}

void CForecastPanel::ShowPeriods(const WForecast &forecast)
{
    m_strip->SetForecast(forecast);
    m_filled = !forecast.periods.empty();
    showIfFilled();
}

void CForecastPanel::ShowHours(const WForecast &forecast)
{
    m_chart->SetHours(forecast);
    m_toggle->setEnabled(m_chart->hourCount() > 0);
}

void CForecastPanel::PeriodsFailed()
{
    m_strip->SetFailed();
}

// The chart drops the hours that ended by itself; a strip of periods that ended would show a day gone by.
std::optional<WForecastPeriod> CForecastPanel::ShowKept(
    const WForecast &periods, const WForecast &hours, std::int64_t now)
{
    WForecast current = periods;
    std::erase_if(current.periods, [now](const WForecastPeriod &period) { return period.end <= now; });
    ShowPeriods(current);
    PeriodsFailed();
    ShowHours(hours);
    if (m_chart->hourCount() == 0)
        SetChartOpen(false);
    return current.periods.empty() ? std::nullopt : std::optional(current.periods.front());
}

void CForecastPanel::SetAvailable(bool available)
{
    m_available = available;
    if (!available)
        SetChartOpen(false);
    showIfFilled();
}

void CForecastPanel::SetFahrenheit(bool fahrenheit)
{
    m_strip->SetFahrenheit(fahrenheit);
    m_chart->SetFahrenheit(fahrenheit);
}

void CForecastPanel::SetCalendar(const std::function<std::int64_t()> &calendar)
{
    m_strip->SetCalendar(calendar);
    m_chart->SetCalendar(calendar);
}

void CForecastPanel::RefreshAge()
{
    m_strip->RefreshAge();
    m_chart->update();
}

// The window's layout grows the window to the chart's height when it shows, but does not give the room back once it
// is hidden: the window is made smaller again by what it grew.
void CForecastPanel::SetChartOpen(bool open)
{
    m_toggle->setChecked(open);
    if (open == m_chart->isVisible())
        return;
    QWidget *top = window();
    const int height = top->height();
    if (open) {
        m_grown = m_chart->sizeHint().height() + layout()->spacing();
        m_chart->show();
        settleLayouts();
        top->resize(top->width(), std::max(top->height(), height + m_grown));
        return;
    }
    m_chart->hide();
    settleLayouts();
    top->resize(top->width(), height - m_grown);
    m_grown = 0;
}

// The layouts from here up to the window take the chart's showing or hiding into account now, not later.
void CForecastPanel::settleLayouts()
{
    for (QWidget *holder = this; holder; holder = holder->isWindow() ? nullptr : holder->parentWidget()) {
        if (holder->layout()) {
            holder->layout()->invalidate();
            holder->layout()->activate();
        }
    }
}

void CForecastPanel::showIfFilled()
{
    setVisible(m_available && m_filled);
}

} // namespace nimbdesk
