#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

class QPainter;

namespace nimbdesk
{

// What the seven display controls share: a text colour, a background colour (COLORREF values, as the settings hold
// them) and a font. The defaults are the settings' own defaults, red on black. Tab reaches each control, so that
// a keyboard and a screen reader can go from reading to reading.
class CWcontrol : public QWidget
{
    Q_OBJECT

public:
    explicit CWcontrol(QWidget *parent = nullptr);

    void SetForeColor(std::uint32_t colorref);
    void SetBackColor(std::uint32_t colorref);
    void SetFont(const QFont &font);
    QFont GetFont() const;
    // The focus came from the keyboard (Tab, a shortcut), not with the window's activation, and the control has it.
    bool hasKeyboardFocus() const { return hasFocus() && m_keyboardFocus; }

protected:
    const QColor &foreColor() const { return m_fore; }
    const QColor &backColor() const { return m_back; }
    // The text colour faded into the background: 0 gives the background, 1 the text colour. Tracks, rings and
    // ticks use it so that they follow whatever pair of colours the user picked.
    QColor shade(qreal strength) const;
    // A font scaled by a factor, whether it was given in points or in pixels.
    static QFont scaledFont(const QFont &font, qreal factor);
    // A dashed frame in the text colour while the control has the keyboard focus; painted last.
    void paintFocus(QPainter &painter) const;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QColor m_fore;
    QColor m_back;
    bool m_keyboardFocus = false;
};

} // namespace nimbdesk
