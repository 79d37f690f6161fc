#pragma once

#include "nimbdesk/options/cpropertypage.h"

#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QSpinBox;

namespace nimbdesk
{

class CColorButton;
class CFontButton;

// The "General" page, section "General": the update interval, the units of the gauges, their fonts and colours.
class CGeneralPpg : public CPropertyPage
{
    Q_OBJECT

public:
    explicit CGeneralPpg(corekit::LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;
    // Refuses an update interval outside LSettings::MIN_INTERVAL..MAX_INTERVAL minutes.
    QString checkData() override;

protected:
    void load() override;
    void store() override;

private:
    QLayout *intervalRow();
    QGroupBox *scaleGroup(
        const QString &title, const QStringList &labels, const QStringList &names, QButtonGroup *&group);
    QLayout *fontsAndColors();
    QCheckBox *autostartBox();
    void storeAutostart();

    QSpinBox *m_interval = nullptr;
    QButtonGroup *m_temperatureScale = nullptr;
    QButtonGroup *m_windSpeedScale = nullptr;
    QButtonGroup *m_pressureScale = nullptr;
    CFontButton *m_font = nullptr;
    CFontButton *m_headerFont = nullptr;
    CColorButton *m_foreground = nullptr;
    CColorButton *m_background = nullptr;
    QCheckBox *m_autostart = nullptr;
};

} // namespace nimbdesk
