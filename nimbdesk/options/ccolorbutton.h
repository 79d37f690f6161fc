#pragma once

#include <QAbstractButton>

#include <cstdint>
#include <optional>

namespace nimbdesk
{

// A button that shows one colour as a swatch with a black outline, light grey while it has none. Colours are the
// settings' COLORREF values (0x00BBGGRR). A click opens the colour dialog on the colour; a confirmed choice goes
// through takeColor.
class CColorButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CColorButton(QWidget *parent = nullptr);

    void setColor(std::uint32_t colorref);
    // The colour as set (0 while none is).
    std::uint32_t color() const { return m_color.value_or(0); }
    bool hasColor() const { return m_color.has_value(); }

    // Takes a colour chosen in the colour dialog and emits colorChosen; an invalid colour (the dialog was cancelled)
    // changes nothing.
    void takeColor(const QColor &color);

    QSize sizeHint() const override;

signals:
    void colorChosen();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void chooseColor();

    std::optional<std::uint32_t> m_color;
};

} // namespace nimbdesk
