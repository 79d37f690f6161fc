#pragma once

#include "nimbdesk/gauges/cwcontrol.h"

#include <QString>

class QPainter;

namespace nimbdesk
{

// A gauge: a dial above a one-line caption that gives the value and its unit ("24 °C", "1013 hPa"). Until its first
// value arrives a gauge reads "--" and its dial shows no reading, so that no one takes a zero for an observation.
class CWgauge : public CWcontrol
{
    Q_OBJECT

public:
    explicit CWgauge(QWidget *parent = nullptr);

    // The caption as one text: "24 °C", "Calm", "--".
    QString displayText() const;
    // An old reading is dimmed and marked "old" in the corner, so that no one takes it for the weather now.
    void SetStale(bool stale);
    bool IsStale() const { return m_stale; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The caption in two parts, the number ("24", "17 G 29", "Calm", "--") and the unit ("°C", "MPH", none).
    struct Caption {
        QString value;
        QString unit;
    };
    virtual Caption caption() const = 0;
    // "--" with no unit: the caption of a gauge that has no value yet.
    static Caption noValue();

protected:
    // A number as "%.0f" would print it, but never "-0": -0.3 °C reads "0".
    static QString formatNumber(double value, int decimals);

    virtual void paintDial(QPainter &painter, const QRectF &dial) const = 0;

    void paintEvent(QPaintEvent *event) override;

private:
    void paintCaption(QPainter &painter, const QRectF &area) const;
    void paintStaleMark(QPainter &painter, const QRectF &area) const;
    qreal captionHeight() const;

    bool m_stale = false;
};

} // namespace nimbdesk
