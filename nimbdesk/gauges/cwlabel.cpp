#include "nimbdesk/gauges/cwlabel.h"

#include <QPainter>

namespace nimbdesk
{

CWlabel::CWlabel(QWidget *parent)
    : CWcontrol(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CWlabel::SetText(const QString &text)
{
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QString CWlabel::GetText() const
{
    return m_text;
}

QSize CWlabel::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.horizontalAdvance(m_text) + metrics.height() * 2, metrics.height() * 3 / 2};
}

QSize CWlabel::minimumSizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return {metrics.height() * 4, metrics.height() * 3 / 2};
}

void CWlabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), backColor());
    const int margin = fontMetrics().height() / 2;
    const QRect area = rect().adjusted(margin, 0, -margin, 0);
    painter.setPen(foreColor());
    painter.drawText(area, Qt::AlignCenter, fontMetrics().elidedText(m_text, Qt::ElideRight, area.width()));
    paintFocus(painter);
}

} // namespace nimbdesk
