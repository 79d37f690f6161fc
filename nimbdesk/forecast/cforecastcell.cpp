#include "nimbdesk/forecast/cforecastcell.h"

#include "nimbdesk/forecast/forecastwords.h"
#include "nimbdesk/forecast/skypicture.h"

#include <QFocusEvent>
#include <QPainter>
#include <QToolTip>

using namespace meteo;

namespace nimbdesk
{

namespace
{

// The picture is this many lines of the font high; the three lines of text follow it.
constexpr qreal PICTURE_LINES = 2.8;
constexpr int TEXT_LINES = 3;

} // namespace

CForecastCell::CForecastCell(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CForecastCell::SetPeriod(const WForecastPeriod &period, const ForecastWords &words)
{
    m_period = period;
    m_name = ForecastWords::cleaned(period.name);
    m_temperature = words.highOrLow(period);
    m_chance = period.precipitationChance && *period.precipitationChance > 0
        ? tr("%1% precip.").arg(*period.precipitationChance)
        : QString();
    setToolTip(ForecastWords::cleaned(period.detailedForecast));
    setAccessibleName(words.spoken(period));
    setAccessibleDescription(toolTip());
    update();
}

QSize CForecastCell::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 5, static_cast<int>(line * (PICTURE_LINES + TEXT_LINES + 0.5))};
}

QSize CForecastCell::minimumSizeHint() const
{
    return {fontMetrics().height() * 3, sizeHint().height()};
}

QRectF CForecastCell::pictureArea() const
{
    const qreal side = fontMetrics().height() * PICTURE_LINES;
    return {(width() - side) / 2, 0, side, side};
}

void CForecastCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const SkyColors colors = SkyColors::of(palette());
    drawSkyPicture(painter, pictureArea(), m_period.sky, m_period.isDaytime, colors);
    const int line = fontMetrics().height();
    QRect text(0, static_cast<int>(pictureArea().bottom()), width(), line);
    const QStringList lines{fontMetrics().elidedText(m_name, Qt::ElideRight, width()), m_temperature};
    painter.setPen(palette().color(QPalette::WindowText));
    for (const QString &shown : lines) {
        painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, shown);
        text.translate(0, line);
    }
    painter.setPen(colors.rain);
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, m_chance);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

// A keyboard cannot hover: the focus shows the detailed forecast as the pointer would.
void CForecastCell::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && !toolTip().isEmpty())
        QToolTip::showText(mapToGlobal(QPoint(0, height())), toolTip(), this);
    update();
}

void CForecastCell::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace nimbdesk
