#include "nimbdesk/worker/cresumewatch.h"

#include <QTimer>

#include <utility>

namespace nimbdesk
{

CResumeWatch::CResumeWatch(QDBusConnection systemBus, CResumeClocks clocks, QObject *parent)
    : QObject(parent)
    , m_clocks(std::move(clocks))
    , m_wall(m_clocks.wall())
    , m_steady(m_clocks.steady())
    , m_timer(new QTimer(this))
{
    // QtDBus connects signals by the slot's signature only.
    m_listening = systemBus.isConnected()
        && systemBus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
            SLOT(prepareForSleep(bool)));
    connect(m_timer, &QTimer::timeout, this, &CResumeWatch::Look);
    m_timer->start(LOOK_EVERY);
}

void CResumeWatch::Look()
{
    const auto wall = m_clocks.wall();
    const auto steady = m_clocks.steady();
    const auto gap = (wall - m_wall) - (steady - m_steady);
    m_wall = wall;
    m_steady = steady;
    if (gap > JUMP)
        emit resumed();
}

void CResumeWatch::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit resumed();
}

} // namespace nimbdesk
