#include "nimbdesk/worker/cnetworkwatch.h"

namespace nimbdesk
{

CNetworkWatch::CNetworkWatch(QObject *parent)
    : QObject(parent)
{
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return;
    QNetworkInformation *information = QNetworkInformation::instance();
    m_available = information != nullptr;
    if (!information)
        return;
    m_last = information->reachability();
    connect(information, &QNetworkInformation::reachabilityChanged, this, &CNetworkWatch::ReachabilityChanged);
}

void CNetworkWatch::ReachabilityChanged(QNetworkInformation::Reachability reachability)
{
    const bool back = reachability == QNetworkInformation::Reachability::Online
        && m_last != QNetworkInformation::Reachability::Online && m_last != QNetworkInformation::Reachability::Unknown;
    m_last = reachability;
    if (back)
        emit networkBack();
}

} // namespace nimbdesk
