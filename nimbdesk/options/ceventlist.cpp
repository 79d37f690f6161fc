#include "nimbdesk/options/ceventlist.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QVBoxLayout>

namespace nimbdesk
{

namespace
{

// Events the service issues most, for a list without the service.
constexpr const char *BUILT_IN[]
    = {"Air Quality Alert", "Avalanche Warning", "Blizzard Warning", "Coastal Flood Advisory", "Coastal Flood Warning",
        "Coastal Flood Watch", "Cold Weather Advisory", "Dense Fog Advisory", "Dust Storm Warning",
        "Excessive Heat Warning", "Extreme Cold Warning", "Extreme Heat Warning", "Extreme Wind Warning",
        "Fire Weather Watch", "Flash Flood Warning", "Flash Flood Watch", "Flood Advisory", "Flood Warning",
        "Flood Watch", "Freeze Warning", "Freeze Watch", "Frost Advisory", "Gale Warning", "Hard Freeze Warning",
        "Heat Advisory", "High Surf Advisory", "High Wind Warning", "High Wind Watch", "Hurricane Warning",
        "Hurricane Watch", "Ice Storm Warning", "Lake Effect Snow Warning", "Red Flag Warning", "Rip Current Statement",
        "Severe Thunderstorm Warning", "Severe Thunderstorm Watch", "Severe Weather Statement", "Small Craft Advisory",
        "Special Marine Warning", "Special Weather Statement", "Storm Surge Warning", "Tornado Warning",
        "Tornado Watch", "Tropical Storm Warning", "Tropical Storm Watch", "Tsunami Warning", "Wind Advisory",
        "Wind Chill Advisory", "Winter Storm Warning", "Winter Storm Watch", "Winter Weather Advisory"};

// The service's last answer in this run, which stands where it cannot be asked again.
QStringList &lastAnswer()
{
    static QStringList events;
    return events;
}

// Names from outside reach the list without control characters.
QString cleaned(QString text)
{
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text.trimmed();
}

} // namespace

CEventList::CEventList(QWidget *parent)
    : QWidget(parent)
    , m_list(new QListWidget(this))
    , m_source(new QLabel(this))
{
    m_list->setObjectName(QStringLiteral("MutedEvents"));
    m_source->setObjectName(QStringLiteral("EventSource"));
    m_source->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Never notify me of these events (they still show in the tickers):"), this));
    layout->addWidget(m_list);
    layout->addWidget(m_source);
    connect(m_list, &QListWidget::itemChanged, this, &CEventList::changed);
    QStringList events = lastAnswer();
    if (events.isEmpty()) {
        for (const char *event : BUILT_IN)
            events << QLatin1String(event);
    }
    fill(events, {});
    m_source->setText(
        lastAnswer().isEmpty() ? tr("The events most issued.") : tr("All events of the weather service."));
}

void CEventList::fetch(const QString &apiBase)
{
    if (apiBase.isEmpty())
        return;
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(QUrl(apiBase + QStringLiteral("alerts/types")));
    request.setTransferTimeout(FETCH_TIMEOUT_MS);
    // The weather service asks every client to name itself.
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Nimbrel"));
    QNetworkReply *reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { answered(reply); });
    m_source->setText(tr("Asking the weather service for the names of all events..."));
}

// The answer reads {"eventTypes": ["911 Telephone Outage Emergency", "Administrative Message", ...]}.
void CEventList::answered(QNetworkReply *reply)
{
    reply->deleteLater();
    const QJsonArray types
        = QJsonDocument::fromJson(reply->readAll()).object().value(QLatin1String("eventTypes")).toArray();
    QStringList events;
    for (const QJsonValue &type : types) {
        if (!cleaned(type.toString()).isEmpty())
            events << cleaned(type.toString());
    }
    if (reply->error() != QNetworkReply::NoError || events.isEmpty()) {
        const QString reason
            = reply->error() != QNetworkReply::NoError ? reply->errorString() : tr("no event names in its answer");
        m_source->setText(lastAnswer().isEmpty()
                ? tr("The events most issued: the weather service could not give all (%1).").arg(reason)
                : tr("The events the weather service gave before: it could not be asked again (%1).").arg(reason));
        return;
    }
    lastAnswer() = events;
    fill(events, muted());
    m_source->setText(tr("All events of the weather service."));
}

// The muted events stay checked, also those the service does not name.
void CEventList::fill(QStringList events, const QStringList &checked)
{
    events << checked;
    events.sort(Qt::CaseInsensitive);
    events.removeDuplicates();
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const QString &event : std::as_const(events)) {
        auto *item = new QListWidgetItem(event, m_list);
        item->setCheckState(checked.contains(event) ? Qt::Checked : Qt::Unchecked);
    }
}

QStringList CEventList::names(bool checkedOnly) const
{
    QStringList events;
    for (int i = 0; i < m_list->count(); ++i) {
        if (!checkedOnly || m_list->item(i)->checkState() == Qt::Checked)
            events << m_list->item(i)->text();
    }
    return events;
}

void CEventList::setMuted(const QStringList &events)
{
    fill(names(false), events);
}

QStringList CEventList::muted() const
{
    return names(true);
}

} // namespace nimbdesk
