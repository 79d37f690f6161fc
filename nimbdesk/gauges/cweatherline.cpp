#include "nimbdesk/gauges/cweatherline.h"

#include <QPainter>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

CWeatherLine::CWeatherLine(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setAccessibleName(tr("Weather in words"));
}

void CWeatherLine::SetObservation(const WObservation &observation, const QString &station)
{
    m_observation = observation;
    m_station = station;
    refresh();
}

void CWeatherLine::SetScale(WCondition::TempScale scale)
{
    m_scale = scale;
    refresh();
}

void CWeatherLine::SetDistance(WObservationWords::Distance distance)
{
    m_distance = distance;
    refresh();
}

// The width is the window's to give: the line takes what it gets and never asks for more.
QSize CWeatherLine::sizeHint() const
{
    return minimumSizeHint();
}

QSize CWeatherLine::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.height() * 4, metrics.height() * 3 / 2};
}

void CWeatherLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int margin = fontMetrics().height() / 4;
    const QRect area = rect().adjusted(margin, 0, -margin, 0);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(
        area, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(m_text, Qt::ElideRight, area.width()));
}

// The words come from the library's tables, never from the report's own text, so they need no cleaning.
void CWeatherLine::refresh()
{
    m_text = QString::fromStdString(WObservationWords(m_scale, m_distance).line(m_observation));
    setToolTip(m_text);
    setAccessibleDescription(m_station.isEmpty() ? m_text : tr("%1, observed %2").arg(m_text, m_station));
    update();
}

} // namespace nimbdesk
