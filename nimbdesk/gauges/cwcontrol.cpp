#include "nimbdesk/gauges/cwcontrol.h"

#include "nimbdesk/common/colorref.h"
#include "settings/lsettings.h"

#include <QFocusEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace corekit;
using namespace settings;

namespace nimbdesk
{

namespace
{

// Focus that comes and goes with the window or a menu keeps the look it had: the first control of a window that
// opens shows no frame, and one reached by Tab keeps its frame while another window is in front.
bool followsWindow(const QFocusEvent *event)
{
    return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

} // namespace

CWcontrol::CWcontrol(QWidget *parent)
    : QWidget(parent)
    , m_fore(colorFromColorref(LSettings::RED))
    , m_back(colorFromColorref(0))
{
    setFocusPolicy(Qt::TabFocus);
}

void CWcontrol::SetForeColor(std::uint32_t colorref)
{
    m_fore = colorFromColorref(colorref);
    update();
}

void CWcontrol::SetBackColor(std::uint32_t colorref)
{
    m_back = colorFromColorref(colorref);
    update();
}

void CWcontrol::SetFont(const QFont &font)
{
    setFont(font);
}

QFont CWcontrol::GetFont() const
{
    return font();
}

QColor CWcontrol::shade(qreal strength) const
{
    const auto mix
        = [strength](int back, int fore) { return static_cast<int>(std::lround(back + (fore - back) * strength)); };
    return QColor(
        mix(m_back.red(), m_fore.red()), mix(m_back.green(), m_fore.green()), mix(m_back.blue(), m_fore.blue()));
}

QFont CWcontrol::scaledFont(const QFont &font, qreal factor)
{
    QFont scaled = font;
    if (scaled.pointSizeF() > 0)
        scaled.setPointSizeF(scaled.pointSizeF() * factor);
    else
        scaled.setPixelSize(std::max(1, static_cast<int>(std::lround(scaled.pixelSize() * factor))));
    return scaled;
}

void CWcontrol::paintFocus(QPainter &painter) const
{
    if (!hasKeyboardFocus())
        return;
    const qreal width = std::max(1.0, fontMetrics().height() / 8.0);
    painter.setPen(QPen(m_fore, width, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(width / 2, width / 2, -width / 2, -width / 2));
}

void CWcontrol::focusInEvent(QFocusEvent *event)
{
    if (!followsWindow(event))
        m_keyboardFocus = true;
    QWidget::focusInEvent(event);
}

void CWcontrol::focusOutEvent(QFocusEvent *event)
{
    if (!followsWindow(event))
        m_keyboardFocus = false;
    QWidget::focusOutEvent(event);
}

} // namespace nimbdesk
