#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>

// What the seven display controls share: a text colour, a background colour (COLORREF values, as the settings hold
// them) and a font. The defaults are the settings' own defaults, red on black.
class CWcontrol : public QWidget
{
    Q_OBJECT

public:
    explicit CWcontrol(QWidget *parent = nullptr);

    void SetForeColor(std::uint32_t colorref);
    void SetBackColor(std::uint32_t colorref);
    void SetFont(const QFont &font);
    QFont GetFont() const;

protected:
    const QColor &foreColor() const { return m_fore; }
    const QColor &backColor() const { return m_back; }
    // The text colour faded into the background: 0 gives the background, 1 the text colour. Tracks, rings and
    // ticks use it so that they follow whatever pair of colours the user picked.
    QColor shade(qreal strength) const;
    // A font scaled by a factor, whether it was given in points or in pixels.
    static QFont scaledFont(const QFont &font, qreal factor);

private:
    QColor m_fore;
    QColor m_back;
};
