#pragma once

#include "nimbdesk/cpropertypage.h"

class QCheckBox;
class QLineEdit;

// The "Internet" page, section "Internet": the base addresses of the two servers and the proxy. The proxy address
// can be edited only while "Use proxy" is checked, and is kept and stored either way.
class CInternetPpg : public CPropertyPage
{
    Q_OBJECT

public:
    explicit CInternetPpg(LKeeper *keeper, QWidget *parent = nullptr);

    QString caption() const override;

protected:
    void load() override;
    void store() override;

private:
    QLineEdit *addressEdit(const char *name);
    QWidget *proxyGroup();

    QLineEdit *m_conditionsBase = nullptr;
    QLineEdit *m_warningsBase = nullptr;
    QCheckBox *m_useProxy = nullptr;
    QLineEdit *m_proxyLocation = nullptr;
};
