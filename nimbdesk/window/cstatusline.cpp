#include "nimbdesk/window/cstatusline.h"

#include <QPainter>
#include <QStyle>

namespace nimbdesk
{

CStatusLine::CStatusLine(QWidget *parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize CStatusLine::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

void CStatusLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(
        &painter, area, static_cast<int>(alignment()), palette(), isEnabled(), shown, foregroundRole());
}

} // namespace nimbdesk
