#pragma once

#include <QLabel>

namespace nimbdesk
{

// The status line: one line of text, cut short with "…" where the window is too narrow for it, so that a long
// message never widens the window. The whole text stays in text(); the tooltip may tell more.
class CStatusLine : public QLabel
{
    Q_OBJECT

public:
    explicit CStatusLine(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace nimbdesk
