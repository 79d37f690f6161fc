#include "nimbdesk/alerts/cdesktopnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace nimbdesk
{

namespace
{

constexpr const char *APP_NAME = "Nimbrel";
// The icon and desktop entry the package installs.
constexpr const char *APP_ICON = "nimbrel";
// The urgency hint: 1 normal, 2 critical.
constexpr uchar URGENCY_NORMAL = 1;
constexpr uchar URGENCY_CRITICAL = 2;
// Expiry in milliseconds: 0 never, -1 the server's choice.
constexpr int NEVER_EXPIRES = 0;
constexpr int SERVER_DEFAULT = -1;
// The actions' keys: "default" is what a click on the notification invokes.
constexpr const char *ACTION_DEFAULT = "default";
constexpr const char *ACTION_MUTE = "mute";

QVariantMap hintsOf(const CDesktopNotifier::Notice &notice)
{
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(notice.critical ? URGENCY_CRITICAL : URGENCY_NORMAL));
    hints.insert(QStringLiteral("desktop-entry"), QLatin1String(APP_ICON));
    if (!notice.sound.isEmpty())
        hints.insert(QStringLiteral("sound-name"), notice.sound);
    return hints;
}

// Key and label, one after the other.
QStringList actionsOf(const CDesktopNotifier::Notice &notice)
{
    QStringList actions{QLatin1String(ACTION_DEFAULT), CDesktopNotifier::tr("Show")};
    if (!notice.muteEvent.isEmpty())
        actions << QLatin1String(ACTION_MUTE)
                << CDesktopNotifier::tr("Don't notify me of %1 again").arg(notice.muteEvent);
    return actions;
}

} // namespace

CDesktopNotifier::CDesktopNotifier(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    m_bus.connect(QLatin1String(SERVICE), QLatin1String(PATH), QLatin1String(SERVICE), QStringLiteral("ActionInvoked"),
        this, SLOT(actionInvoked(uint, QString)));
    m_bus.connect(QLatin1String(SERVICE), QLatin1String(PATH), QLatin1String(SERVICE),
        QStringLiteral("NotificationClosed"), this, SLOT(notificationClosed(uint, uint)));
}

void CDesktopNotifier::Notify(const Notice &notice)
{
    if (!m_bus.isConnected()) {
        emit failed(notice);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(SERVICE), QLatin1String(PATH), QLatin1String(SERVICE), QStringLiteral("Notify"));
    // The replaced alert has ended: its notification belongs to the update alone from now on, so that closing the
    // ended alert leaves it.
    const uint replaces = notice.replaces.isEmpty() ? 0u : m_ids.take(notice.replaces);
    for (const QString &key : notice.keys) {
        if (replaces != 0)
            m_ids.insert(key, replaces);
    }
    call << QLatin1String(APP_NAME) << replaces << QLatin1String(APP_ICON) << notice.title << notice.body
         << actionsOf(notice) << hintsOf(notice) << (notice.critical ? NEVER_EXPIRES : SERVER_DEFAULT);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CALL_TIMEOUT_MS), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, notice](QDBusPendingCallWatcher *finished) { answered(finished, notice); });
}

void CDesktopNotifier::Close(const QString &key)
{
    const uint id = m_ids.take(key);
    if (id == 0 || !m_bus.isConnected())
        return;
    for (const uint other : std::as_const(m_ids)) {
        if (other == id)
            return;
    }
    m_bus.call(QDBusMessage::createMethodCall(QLatin1String(SERVICE), QLatin1String(PATH), QLatin1String(SERVICE),
                   QStringLiteral("CloseNotification"))
            << id,
        QDBus::NoBlock);
}

void CDesktopNotifier::answered(QDBusPendingCallWatcher *watcher, const Notice &notice)
{
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        emit failed(notice);
        return;
    }
    for (const QString &key : notice.keys)
        m_ids.insert(key, reply.value());
}

void CDesktopNotifier::actionInvoked(uint id, const QString &action)
{
    // Notifications of other programs have no key.
    const QString key = m_ids.key(id);
    if (key.isEmpty())
        return;
    if (action == QLatin1String(ACTION_DEFAULT))
        emit activated(key);
    else if (action == QLatin1String(ACTION_MUTE))
        emit muteAsked(key);
}

void CDesktopNotifier::notificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    const QStringList keys = m_ids.keys(id);
    for (const QString &key : keys)
        m_ids.remove(key);
    for (const QString &key : keys)
        emit dismissed(key);
}

} // namespace nimbdesk
