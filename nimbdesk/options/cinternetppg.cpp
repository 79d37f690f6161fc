#include "nimbdesk/options/cinternetppg.h"

#include "meteo/reader/wreadersettings.h"
#include "settings/lsettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include <cstdint>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

// Any value of ProductSource but that of the state pages, or none, means the web service, as it does to the reader.
constexpr int SOURCE_STATE_PAGES = static_cast<int>(WReaderSettings::SOURCE_STATE_PAGES);
constexpr int SOURCE_WEB_SERVICE = static_cast<int>(WReaderSettings::SOURCE_WEB_SERVICE);

} // namespace

CInternetPpg::CInternetPpg(LKeeper *keeper, QWidget *parent)
    : CPropertyPage(keeper, parent)
{
    m_conditionsBase = addressEdit(LSettings::CONDITIONS_BASE);
    auto *conditionsLabel = new QLabel(tr("Current conditions URL"), this);
    conditionsLabel->setBuddy(m_conditionsBase);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(conditionsLabel);
    layout->addWidget(m_conditionsBase);
    layout->addWidget(nearbyStationBox());
    layout->addWidget(sourceGroup());
    layout->addWidget(contactRow());
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
    m_useNearbyStation->setChecked(readInt(LSettings::INTERNET, LSettings::USE_NEARBY_STATION,
                                       LSettings::DefaultOf(LSettings::INTERNET, LSettings::USE_NEARBY_STATION))
        != 0);
    m_warningsBase->setText(readString(LSettings::INTERNET, LSettings::WARNINGS_BASE));
    const std::uint32_t source = readInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, SOURCE_WEB_SERVICE);
    m_productSource->button(source == SOURCE_STATE_PAGES ? SOURCE_STATE_PAGES : SOURCE_WEB_SERVICE)->setChecked(true);
    // An empty address would leave the service unreachable; its own address is the one to offer.
    const QString apiBase = readString(LSettings::INTERNET, LSettings::API_BASE);
    m_apiBase->setText(apiBase.isEmpty() ? QLatin1String(WReaderSettings::DEFAULT_API_BASE) : apiBase);
    m_contact->setText(readString(LSettings::INTERNET, LSettings::CONTACT));
}

void CInternetPpg::store()
{
    writeInt(LSettings::INTERNET, LSettings::USE_PROXY, m_useProxy->isChecked() ? 1 : 0);
    writeString(LSettings::INTERNET, LSettings::PROXY_LOCATION, m_proxyLocation->text());
    writeString(LSettings::INTERNET, LSettings::CONDITIONS_BASE, m_conditionsBase->text());
    writeInt(LSettings::INTERNET, LSettings::USE_NEARBY_STATION, m_useNearbyStation->isChecked() ? 1 : 0);
    writeString(LSettings::INTERNET, LSettings::WARNINGS_BASE, m_warningsBase->text());
    writeInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, static_cast<std::uint32_t>(m_productSource->checkedId()));
    writeString(LSettings::INTERNET, LSettings::API_BASE, m_apiBase->text());
    writeString(LSettings::INTERNET, LSettings::CONTACT, m_contact->text().trimmed());
}

QLineEdit *CInternetPpg::addressEdit(const char *name)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    connect(edit, &QLineEdit::textChanged, this, [this] { setModified(); });
    return edit;
}

// The label and the edit under a choice, indented to line up with the choice's text.
QWidget *CInternetPpg::labelledAddress(const QString &text, QLineEdit *edit)
{
    auto *holder = new QWidget(this);
    auto *label = new QLabel(text, holder);
    label->setBuddy(edit);
    auto *layout = new QVBoxLayout(holder);
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
        + style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    layout->setContentsMargins(indent, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(edit);
    return holder;
}

QWidget *CInternetPpg::sourceGroup()
{
    auto *box = new QGroupBox(tr("Forecast and special messages"), this);
    m_productSource = new QButtonGroup(box);
    QRadioButton *webService = sourceButton(tr("NWS web service"), "webService", SOURCE_WEB_SERVICE);
    QRadioButton *statePages = sourceButton(tr("State product pages"), "statePages", SOURCE_STATE_PAGES);
    webService->setChecked(true);
    m_apiBase = addressEdit(LSettings::API_BASE);
    m_apiAddress = labelledAddress(tr("Web service URL"), m_apiBase);
    m_warningsBase = addressEdit(LSettings::WARNINGS_BASE);
    m_pagesAddress = labelledAddress(tr("Special messages URL"), m_warningsBase);
    enableSourceAddresses();
    connect(m_productSource, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        enableSourceAddresses();
        if (checked)
            setModified();
    });
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(webService);
    layout->addWidget(m_apiAddress);
    layout->addWidget(statePages);
    layout->addWidget(m_pagesAddress);
    return box;
}

QRadioButton *CInternetPpg::sourceButton(const QString &text, const char *name, int source)
{
    auto *button = new QRadioButton(text, this);
    button->setObjectName(QLatin1String(name));
    m_productSource->addButton(button, source);
    return button;
}

// The web service asks programs to name a way to reach whoever runs them; the address goes in the User-Agent.
QWidget *CInternetPpg::contactRow()
{
    auto *holder = new QWidget(this);
    m_contact = addressEdit(LSettings::CONTACT);
    m_contact->setPlaceholderText(tr("optional, e.g. you@example.com"));
    auto *label = new QLabel(tr("Contact (e-mail) for the weather service"), holder);
    label->setBuddy(m_contact);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_contact);
    return holder;
}

QCheckBox *CInternetPpg::nearbyStationBox()
{
    m_useNearbyStation = new QCheckBox(tr("Use a nearby station when the place's station is quiet"), this);
    m_useNearbyStation->setObjectName(QLatin1String(LSettings::USE_NEARBY_STATION));
    connect(m_useNearbyStation, &QCheckBox::toggled, this, [this] { setModified(); });
    return m_useNearbyStation;
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

void CInternetPpg::enableSourceAddresses()
{
    const bool webService = m_productSource->checkedId() == SOURCE_WEB_SERVICE;
    m_apiAddress->setEnabled(webService);
    m_pagesAddress->setEnabled(!webService);
}

} // namespace nimbdesk
