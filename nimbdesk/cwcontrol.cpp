#include "nimbdesk/cwcontrol.h"

#include "nimbdesk/colorref.h"

#include <algorithm>
#include <cmath>

CWcontrol::CWcontrol(QWidget *parent)
    : QWidget(parent)
    , m_fore(colorFromColorref(255))
    , m_back(colorFromColorref(0))
{
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
