#include "nimbdesk/gauges/cwgauge.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace nimbdesk
{

namespace
{

// The unit is set a little smaller than the number, so that the number catches the eye.
constexpr qreal UNIT_SCALE = 0.8;
// An old reading shows through at this opacity; the "old" mark is set at this size of the font.
constexpr qreal STALE_OPACITY = 0.35;
constexpr qreal STALE_MARK_SCALE = 0.75;

} // namespace

CWgauge::CWgauge(QWidget *parent)
    : CWcontrol(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QString CWgauge::displayText() const
{
    const Caption text = caption();
    return text.unit.isEmpty() ? text.value : text.value + QLatin1Char(' ') + text.unit;
}

void CWgauge::SetStale(bool stale)
{
    if (stale == m_stale)
        return;
    m_stale = stale;
    update();
}

QSize CWgauge::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 5, line * 5 + line / 2};
}

QSize CWgauge::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 3, line * 4};
}

CWgauge::Caption CWgauge::noValue()
{
    return {QStringLiteral("--"), QString()};
}

QString CWgauge::formatNumber(double value, int decimals)
{
    if (std::fabs(value) <= 0.5 * std::pow(10.0, -decimals))
        value = 0.0;
    return QString::asprintf("%.*f", decimals, value);
}

void CWgauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), backColor());

    const qreal margin = fontMetrics().height() * 0.25;
    const QRectF inner = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    const qreal textHeight = captionHeight();
    const QRectF dial(inner.left(), inner.top(), inner.width(), inner.height() - textHeight - margin);
    const QRectF text(inner.left(), inner.bottom() - textHeight, inner.width(), textHeight);

    if (m_stale)
        painter.setOpacity(STALE_OPACITY);
    painter.save();
    paintDial(painter, dial);
    painter.restore();
    paintCaption(painter, text);
    if (m_stale)
        paintStaleMark(painter, inner);
    paintFocus(painter);
}

void CWgauge::paintStaleMark(QPainter &painter, const QRectF &area) const
{
    painter.setOpacity(1.0);
    painter.setPen(foreColor());
    painter.setFont(scaledFont(font(), STALE_MARK_SCALE));
    painter.drawText(area, Qt::AlignTop | Qt::AlignRight, tr("old"));
}

// Number and unit share one baseline; when both do not fit across the gauge they shrink together.
void CWgauge::paintCaption(QPainter &painter, const QRectF &area) const
{
    const Caption text = caption();
    const QString unit = text.unit.isEmpty() ? QString() : QLatin1Char(' ') + text.unit;
    QFont valueFont = font();
    valueFont.setBold(true);
    QFont unitFont = scaledFont(font(), UNIT_SCALE);
    const auto widthOf = [&] {
        return QFontMetricsF(valueFont).horizontalAdvance(text.value) + QFontMetricsF(unitFont).horizontalAdvance(unit);
    };
    if (widthOf() > area.width()) {
        const qreal factor = area.width() / widthOf();
        valueFont = scaledFont(valueFont, factor);
        unitFont = scaledFont(unitFont, factor);
    }
    const QFontMetricsF metrics(valueFont);
    const qreal baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    const qreal left = area.left() + (area.width() - widthOf()) / 2;

    painter.setPen(foreColor());
    painter.setFont(valueFont);
    painter.drawText(QPointF(left, baseline), text.value);
    painter.setFont(unitFont);
    painter.drawText(QPointF(left + metrics.horizontalAdvance(text.value), baseline), unit);
}

qreal CWgauge::captionHeight() const
{
    QFont valueFont = font();
    valueFont.setBold(true);
    return QFontMetricsF(valueFont).height();
}

} // namespace nimbdesk
