#pragma once

#include "nimbdesk/gauges/cwcontrol.h"

#include <QString>

namespace nimbdesk
{

// The header line with the place shown: "Boston, Massachusetts". Text too long for the width ends in an ellipsis.
class CWlabel : public CWcontrol
{
    Q_OBJECT

public:
    explicit CWlabel(QWidget *parent = nullptr);

    void SetText(const QString &text);
    QString GetText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

} // namespace nimbdesk
