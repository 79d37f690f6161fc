#pragma once

#include "nimbdesk/options/cpropertypage.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace nimbdesk
{

// The "Internet" page, section "Internet": the base address of the current-conditions server and whether a nearby
// station stands in for a quiet one, where the forecast and special messages come from (the NWS web service or the
// per-state pages) with the address of each, and the proxy, and the contact address the web service's requests
// name. Each address can be edited only while its
// choice is made, and is kept and stored either way.
class CInternetPpg : public CPropertyPage
{
    Q_OBJECT

public:
    explicit CInternetPpg(corekit::LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;

protected:
    void load() override;
    void store() override;

private:
    QLineEdit *addressEdit(const char *name);
    QWidget *labelledAddress(const QString &text, QLineEdit *edit);
    QWidget *sourceGroup();
    QRadioButton *sourceButton(const QString &text, const char *name, int source);
    QCheckBox *nearbyStationBox();
    QWidget *proxyGroup();
    QWidget *contactRow();
    void enableSourceAddresses();

    QLineEdit *m_conditionsBase = nullptr;
    QCheckBox *m_useNearbyStation = nullptr;
    QButtonGroup *m_productSource = nullptr;
    QWidget *m_apiAddress = nullptr;
    QLineEdit *m_apiBase = nullptr;
    QWidget *m_pagesAddress = nullptr;
    QLineEdit *m_warningsBase = nullptr;
    QCheckBox *m_useProxy = nullptr;
    QLineEdit *m_proxyLocation = nullptr;
    QLineEdit *m_contact = nullptr;
};

} // namespace nimbdesk
