#pragma once

#include "nimbdesk/alerts/cdesktopnotifier.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace nimbdesk
{

// Sends the notification of an alert that must not be missed (a Tornado Warning) again in place of itself, with its
// sound, every INTERVAL seconds until the person has seen it -- clicked it, closed it, or opened the window on it --
// and for LIMIT seconds at most. The clock decides what is due; the timer only wakes the repeater.
class CAlertRepeater : public QObject
{
    Q_OBJECT

public:
    // Seconds since 1970.
    using Clock = std::function<std::int64_t()>;

    static constexpr std::int64_t INTERVAL = 30;
    static constexpr std::int64_t LIMIT = 10 * 60;

    CAlertRepeater(CDesktopNotifier &desktop, Clock clock, QObject *parent = nullptr);

    // Repeats the notice, just sent, of one alert; nothing where the alert, or the one it updates, was seen.
    void Start(const CDesktopNotifier::Notice &notice);
    // The person has seen the alert of this key: it is never repeated again.
    void Seen(const QString &key);
    bool isRepeating() const { return !m_pending.isEmpty(); }

    // Sends again what is due by the clock and drops what has repeated for LIMIT.
    void Beat();

private:
    struct Pending {
        CDesktopNotifier::Notice notice;
        std::int64_t started = 0;
        std::int64_t sent = 0;
    };

    CDesktopNotifier &m_desktop;
    Clock m_clock;
    QTimer m_timer;
    QHash<QString, Pending> m_pending;
    QSet<QString> m_seen;
};

} // namespace nimbdesk
