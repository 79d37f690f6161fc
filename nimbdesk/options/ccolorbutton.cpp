#include "nimbdesk/options/ccolorbutton.h"

#include "nimbdesk/common/colorref.h"

#include <QColorDialog>
#include <QPainter>
#include <QPen>

namespace nimbdesk
{

namespace
{

std::uint32_t colorrefFromColor(const QColor &color)
{
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8
        | static_cast<std::uint32_t>(color.blue()) << 16;
}

} // namespace

CColorButton::CColorButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &CColorButton::chooseColor);
}

void CColorButton::setColor(std::uint32_t colorref)
{
    m_color = colorref;
    update();
}

void CColorButton::takeColor(const QColor &color)
{
    if (!color.isValid())
        return;
    setColor(colorrefFromColor(color));
    emit colorChosen();
}

QSize CColorButton::sizeHint() const
{
    return QSize(44, 24);
}

void CColorButton::paintEvent(QPaintEvent *)
{
    const QColor fill = m_color ? colorFromColorref(*m_color) : QColor(Qt::lightGray);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(fill);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // The focus frame has to show on any swatch, so it takes whichever of black and white stands out.
    if (hasFocus()) {
        painter.setPen(QPen(fill.lightness() < 128 ? Qt::white : Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void CColorButton::chooseColor()
{
    const QColor initial = m_color ? colorFromColorref(*m_color) : QColor(Qt::lightGray);
    takeColor(QColorDialog::getColor(initial, this));
}

} // namespace nimbdesk
