#include "nimbdesk/cinternetppg.h"

#include "nimbdesk/lsettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CInternetPpg::CInternetPpg(LKeeper *keeper, QWidget *parent)
    : CPropertyPage(keeper, parent)
{
    m_conditionsBase = addressEdit(LSettings::CONDITIONS_BASE);
    m_warningsBase = addressEdit(LSettings::WARNINGS_BASE);
    auto *conditionsLabel = new QLabel(tr("Current conditions URL"), this);
    conditionsLabel->setBuddy(m_conditionsBase);
    auto *warningsLabel = new QLabel(tr("Special messages URL"), this);
    warningsLabel->setBuddy(m_warningsBase);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(conditionsLabel);
    layout->addWidget(m_conditionsBase);
    layout->addWidget(warningsLabel);
    layout->addWidget(m_warningsBase);
    layout->addStretch();
    layout->addWidget(proxyGroup());
}

QString CInternetPpg::caption() const
{
    return tr("Internet");
}

void CInternetPpg::load()
{
    m_useProxy->setChecked(readInt(LSettings::INTERNET, LSettings::USE_PROXY, 0) != 0);
    m_proxyLocation->setText(readString(LSettings::INTERNET, LSettings::PROXY_LOCATION));
    m_conditionsBase->setText(readString(LSettings::INTERNET, LSettings::CONDITIONS_BASE));
    m_warningsBase->setText(readString(LSettings::INTERNET, LSettings::WARNINGS_BASE));
}

void CInternetPpg::store()
{
    writeInt(LSettings::INTERNET, LSettings::USE_PROXY, m_useProxy->isChecked() ? 1 : 0);
    writeString(LSettings::INTERNET, LSettings::PROXY_LOCATION, m_proxyLocation->text());
    writeString(LSettings::INTERNET, LSettings::CONDITIONS_BASE, m_conditionsBase->text());
    writeString(LSettings::INTERNET, LSettings::WARNINGS_BASE, m_warningsBase->text());
}

QLineEdit *CInternetPpg::addressEdit(const char *name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    connect(edit, &QLineEdit::textChanged, this, [this] { setModified(); });
    return edit;
}

QWidget *CInternetPpg::proxyGroup()
{
    auto *box = new QGroupBox(tr("Proxy"), this);
    m_useProxy = new QCheckBox(tr("Use proxy"), box);
    m_useProxy->setObjectName(QLatin1String(LSettings::USE_PROXY));
    m_proxyLocation = addressEdit(LSettings::PROXY_LOCATION);
    m_proxyLocation->setEnabled(false);
    auto *label = new QLabel(tr("Proxy Address"), box);
    label->setBuddy(m_proxyLocation);
    connect(m_useProxy, &QCheckBox::toggled, this, [this](bool checked) {
        m_proxyLocation->setEnabled(checked);
        setModified();
    });
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(m_useProxy);
    layout->addWidget(label);
    layout->addWidget(m_proxyLocation);
    return box;
}
