#pragma once

#include "nimbdesk/options/cpropertypage.h"

class QSlider;

namespace nimbdesk
{

class CColorButton;
class CFontButton;

// The page of one ticker: its scrolling delay, font and text colour, in section "ForecastTicker" or
// "WarningsTicker". Moving the slider does not mark the page modified; the delay is stored all the same.
class CTickerPpg : public CPropertyPage
{
    Q_OBJECT

public:
    enum class Kind {
        Forecast = 0,
        Warnings = 1,
    };

    CTickerPpg(corekit::LKeeper *keeper, Kind kind, QWidget *parent = nullptr);

    QString caption() const override;

protected:
    void load() override;
    void store() override;

private:
    const char *section() const;
    QWidget *speedGroup();

    Kind m_kind;
    QSlider *m_delay = nullptr;
    CFontButton *m_font = nullptr;
    CColorButton *m_textColor = nullptr;
};

} // namespace nimbdesk
