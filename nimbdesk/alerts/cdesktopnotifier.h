#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QDBusPendingCallWatcher;

namespace nimbdesk
{

// Desktop notifications through the freedesktop notification service on a D-Bus connection: Notify,
// CloseNotification, and the ActionInvoked and NotificationClosed signals. Each notification stands for one or more
// alerts (their ids are its keys), so that an update can replace the notification of the alert it updates, an alert
// that ends can take its notification away, and a click names the alert.
class CDesktopNotifier : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *SERVICE = "org.freedesktop.Notifications";
    static constexpr const char *PATH = "/org/freedesktop/Notifications";
    // The service answers at once; a desktop that does not is treated as having none.
    static constexpr int CALL_TIMEOUT_MS = 5000;

    struct Notice {
        QStringList keys;
        QString title;
        QString body;
        // Stays until dismissed, with the critical urgency.
        bool critical = false;
        // The sound of the freedesktop sound theme the desktop plays: "dialog-warning"; empty for none.
        QString sound;
        // The event the notification offers never to notify again: "Wind Advisory"; empty for no such action.
        QString muteEvent;
        // The key whose notification this one replaces, if that is still shown.
        QString replaces;
        // What the status line says where nothing else can: "New: Tornado Warning".
        QString brief;
    };

    explicit CDesktopNotifier(const QDBusConnection &bus, QObject *parent = nullptr);

    // Sent without waiting for the answer; when the service does not take it, failed() follows.
    void Notify(const Notice &notice);
    // Takes the key's notification away once no other key shares it.
    void Close(const QString &key);
    // The service has shown the key's notification and not closed it yet.
    bool isShown(const QString &key) const { return m_ids.contains(key); }

signals:
    // The person clicked the notification: one of its keys.
    void activated(const QString &key);
    // The person chose not to be notified of the notification's event again.
    void muteAsked(const QString &key);
    // The notification is gone (closed by the person, expired or taken away): each of its keys.
    void dismissed(const QString &key);
    void failed(const CDesktopNotifier::Notice &notice);

private slots:
    // The service's signals reach string-named slots only.
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    void answered(QDBusPendingCallWatcher *watcher, const Notice &notice);

    QDBusConnection m_bus;
    // Alert id to the service's notification id.
    QHash<QString, uint> m_ids;
};

} // namespace nimbdesk
