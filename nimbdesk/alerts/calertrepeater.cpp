#include "nimbdesk/alerts/calertrepeater.h"

#include <chrono>

namespace nimbdesk
{

CAlertRepeater::CAlertRepeater(CDesktopNotifier &desktop, Clock clock, QObject *parent)
    : QObject(parent)
    , m_desktop(desktop)
    , m_clock(std::move(clock))
{
    m_timer.setInterval(std::chrono::seconds(INTERVAL));
    connect(&m_timer, &QTimer::timeout, this, &CAlertRepeater::Beat);
}

void CAlertRepeater::Start(const CDesktopNotifier::Notice &notice)
{
    const QString key = notice.keys.value(0);
    if (key.isEmpty() || m_seen.contains(key) || m_seen.contains(notice.replaces))
        return;
    m_pending.remove(notice.replaces);
    const std::int64_t now = m_clock();
    m_pending.insert(key, {notice, now, now});
    m_timer.start();
}

void CAlertRepeater::Seen(const QString &key)
{
    m_seen.insert(key);
    m_pending.remove(key);
    if (m_pending.isEmpty())
        m_timer.stop();
}

// Each repeat replaces the notification it repeats, so that one stays on the screen; one the service has not
// answered yet waits for the next beat.
void CAlertRepeater::Beat()
{
    const std::int64_t now = m_clock();
    m_pending.removeIf([now](const auto &entry) { return now - entry.value().started >= LIMIT; });
    for (Pending &pending : m_pending) {
        if (now - pending.sent < INTERVAL || !m_desktop.isShown(pending.notice.keys.value(0)))
            continue;
        pending.sent = now;
        CDesktopNotifier::Notice again = pending.notice;
        again.replaces = again.keys.value(0);
        m_desktop.Notify(again);
    }
    if (m_pending.isEmpty())
        m_timer.stop();
}

} // namespace nimbdesk
