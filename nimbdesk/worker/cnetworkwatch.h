#pragma once

#include <QNetworkInformation>
#include <QObject>

namespace nimbdesk
{

// Tells when the network came back, so that the alerts are checked at once: through the reachability that Qt's
// network information backend reports (NetworkManager's, or GLib's), where one loads. Without one it stays silent,
// and the checks go on at their interval.
class CNetworkWatch : public QObject
{
    Q_OBJECT

public:
    explicit CNetworkWatch(QObject *parent = nullptr);

    // Whether a backend reports reachability.
    bool available() const { return m_available; }
    // What the backend reports; online after anything less is the network coming back.
    void ReachabilityChanged(QNetworkInformation::Reachability reachability);

signals:
    void networkBack();

private:
    QNetworkInformation::Reachability m_last = QNetworkInformation::Reachability::Unknown;
    bool m_available = false;
};

} // namespace nimbdesk
