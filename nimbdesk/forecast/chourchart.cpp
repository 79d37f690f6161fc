#include "nimbdesk/forecast/chourchart.h"

#include "nimbdesk/forecast/forecastwords.h"
#include "nimbdesk/forecast/skypicture.h"
#include "nimbdesk/freshness/timetext.h"

#include <QDateTime>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

using namespace meteo;

namespace nimbdesk
{

namespace
{

// Hour labels stand every few hours, at the hours of the day divisible by this.
constexpr int LABEL_EVERY = 6;
constexpr qreal BAR_SHARE = 0.6;

int localHour(const WForecastPeriod &hour)
{
    return QDateTime::fromSecsSinceEpoch(hour.start).time().hour();
}

} // namespace

CHourChart::CHourChart(QWidget *parent)
    : QWidget(parent)
    , m_calendar([] { return currentTime(); })
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setAccessibleName(tr("Next 48 hours"));
}

void CHourChart::SetHours(const WForecast &forecast)
{
    m_hours.clear();
    const std::int64_t now = m_calendar();
    for (const WForecastPeriod &hour : forecast.periods) {
        if (hour.end > now && static_cast<int>(m_hours.size()) < HOURS)
            m_hours.push_back(hour);
    }
    m_selected = std::min(m_selected, hourCount() - 1);
    update();
}

void CHourChart::SetFahrenheit(bool fahrenheit)
{
    m_fahrenheit = fahrenheit;
    update();
}

void CHourChart::SetCalendar(std::function<std::int64_t()> calendar)
{
    m_calendar = std::move(calendar);
    update();
}

QSize CHourChart::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 24, line * 9};
}

QSize CHourChart::minimumSizeHint() const
{
    return {fontMetrics().height() * 10, sizeHint().height()};
}

// Room on the left for the temperatures, below for the hours.
QRectF CHourChart::plotArea() const
{
    const QFontMetrics metrics = fontMetrics();
    const qreal left = metrics.horizontalAdvance(QStringLiteral("-00°")) + metrics.height() / 2.0;
    return QRectF(
        left, metrics.height() / 2.0, width() - left - metrics.height() / 2.0, height() - metrics.height() * 2.0);
}

qreal CHourChart::step() const
{
    return m_hours.empty() ? 0 : plotArea().width() / static_cast<qreal>(m_hours.size());
}

int CHourChart::xOf(int index) const
{
    return static_cast<int>(plotArea().left() + step() * (index + 0.5));
}

int CHourChart::hourAt(int x) const
{
    if (m_hours.empty() || x < plotArea().left() || x >= plotArea().right())
        return -1;
    return std::min(hourCount() - 1, static_cast<int>((x - plotArea().left()) / step()));
}

QString CHourChart::hourText(int index) const
{
    if (index < 0 || index >= hourCount())
        return QString();
    return ForecastWords(m_fahrenheit).hour(m_hours[static_cast<std::size_t>(index)]);
}

bool CHourChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString text = hourText(hourAt(help->pos().x()));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this);
    return true;
}

void CHourChart::keyPressEvent(QKeyEvent *event)
{
    if (m_hours.empty() || (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int move = event->key() == Qt::Key_Left ? -1 : 1;
    select(m_selected < 0 ? 0 : std::clamp(m_selected + move, 0, hourCount() - 1));
}

// The picked hour is told as the pointer would tell it, to the eye and to assistive tools.
void CHourChart::select(int index)
{
    m_selected = index;
    const QString text = hourText(index);
    setAccessibleDescription(text);
    QToolTip::showText(mapToGlobal(QPoint(xOf(index), static_cast<int>(plotArea().bottom()))), text, this);
    update();
}

void CHourChart::paintEvent(QPaintEvent *)
{
    if (m_hours.empty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintNights(painter);
    paintBars(painter);
    paintTemperatures(painter);
    paintLabels(painter);
    paintNow(painter);
    paintSelection(painter);
}

// A night is shaded as one band, so that no seam shows between its hours.
void CHourChart::paintNights(QPainter &painter) const
{
    const QRectF plot = plotArea();
    const QColor window = palette().color(QPalette::Window);
    const QColor night = window.lightness() < 128 ? window.lighter(150) : window.darker(112);
    std::size_t index = 0;
    while (index < m_hours.size()) {
        std::size_t end = index;
        while (end < m_hours.size() && !m_hours[end].isDaytime)
            ++end;
        if (end > index)
            painter.fillRect(
                QRectF(plot.left() + step() * index, plot.top(), step() * (end - index), plot.height()), night);
        index = end + 1;
    }
}

void CHourChart::paintBars(QPainter &painter) const
{
    const QRectF plot = plotArea();
    const QColor colour = SkyColors::of(palette()).rain;
    for (std::size_t index = 0; index < m_hours.size(); ++index) {
        const int chance = m_hours[index].precipitationChance.value_or(0);
        const qreal height = plot.height() * chance / 100.0;
        const qreal left = plot.left() + step() * (index + (1 - BAR_SHARE) / 2);
        painter.fillRect(QRectF(left, plot.bottom() - height, step() * BAR_SHARE, height), colour);
    }
}

// The line spans the day's range with a little room above and below, so that it never touches the edges.
void CHourChart::paintTemperatures(QPainter &painter) const
{
    double low = 1e9;
    double high = -1e9;
    for (const WForecastPeriod &hour : m_hours) {
        if (hour.temperature) {
            low = std::min(low, *hour.temperature);
            high = std::max(high, *hour.temperature);
        }
    }
    if (low > high)
        return;
    const QRectF plot = plotArea();
    const double span = std::max(high - low, 1.0);
    const auto yOf
        = [&](double celsius) { return plot.bottom() - plot.height() * (0.15 + 0.7 * (celsius - low) / span); };
    QPainterPath line;
    for (std::size_t index = 0; index < m_hours.size(); ++index) {
        if (!m_hours[index].temperature)
            continue;
        const QPointF point(xOf(static_cast<int>(index)), yOf(*m_hours[index].temperature));
        line.elementCount() == 0 ? line.moveTo(point) : line.lineTo(point);
    }
    painter.setPen(QPen(SkyColors::of(palette()).hot, 2));
    painter.drawPath(line);
    const ForecastWords words(m_fahrenheit);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF axis(0, 0, plot.left() - fontMetrics().height() / 4.0, fontMetrics().height());
    painter.drawText(axis.translated(0, yOf(high) - axis.height() / 2), Qt::AlignRight | Qt::AlignVCenter,
        words.degrees(high) + QStringLiteral("°"));
    painter.drawText(axis.translated(0, yOf(low) - axis.height() / 2), Qt::AlignRight | Qt::AlignVCenter,
        words.degrees(low) + QStringLiteral("°"));
}

void CHourChart::paintLabels(QPainter &painter) const
{
    const QRectF plot = plotArea();
    painter.setPen(palette().color(QPalette::WindowText));
    for (std::size_t index = 0; index < m_hours.size(); ++index) {
        if (localHour(m_hours[index]) % LABEL_EVERY != 0)
            continue;
        const qreal x = plot.left() + step() * index;
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        const QRectF label(x - plot.width() / 8, plot.bottom() + 3, plot.width() / 4, fontMetrics().height());
        painter.drawText(label, Qt::AlignCenter, ForecastWords::hourLabel(m_hours[index]));
    }
}

// Now falls within the first hour still to come, or before it.
void CHourChart::paintNow(QPainter &painter) const
{
    const std::int64_t now = m_calendar();
    const WForecastPeriod &first = m_hours.front();
    const double into = std::clamp(static_cast<double>(now - first.start) / 3600.0, 0.0, 1.0);
    const QRectF plot = plotArea();
    const qreal x = plot.left() + step() * into;
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.drawText(QRectF(x + 3, plot.top(), plot.width() / 4, fontMetrics().height()),
        Qt::AlignLeft | Qt::AlignVCenter, tr("now"));
}

void CHourChart::paintSelection(QPainter &painter) const
{
    if (m_selected < 0 || !hasFocus())
        return;
    const QRectF plot = plotArea();
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(plot.left() + step() * m_selected, plot.top(), step(), plot.height()));
}

} // namespace nimbdesk
