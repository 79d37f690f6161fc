// The desktop's side of the alert benchmark (scripts/bench-alerts.py), on the bus DBUS_SESSION_BUS_ADDRESS names: a
// notification server that prints each notification it is sent, with the time it came, and logind's Manager, which
// tells of a resume from suspend when a line "resume" comes on standard input.
//
//   notify 1796000012345 Tornado Warning — East Williston, New York
//   resumed 1796000020000
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>
#include <iostream>
#include <string>

class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public slots:
    uint Notify(const QString &, uint replaces, const QString &, const QString &title, const QString &,
        const QStringList &, const QVariantMap &, int)
    {
        std::printf("notify %lld %s\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()),
            title.toUtf8().constData());
        std::fflush(stdout);
        return replaces != 0 ? replaces : ++m_last;
    }
    void CloseNotification(uint) { }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

signals:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    uint m_last = 0;
};

namespace
{

void tellResume(QDBusConnection &bus)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
    signal << false;
    bus.send(signal);
    std::printf("resumed %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    NotificationServer server;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))
        || !bus.registerService(QStringLiteral("org.freedesktop.login1"))) {
        std::fprintf(
            stderr, "alertbench_bus: cannot serve on the bus: %s\n", bus.lastError().message().toUtf8().constData());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&bus, &input] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            input.setEnabled(false);
            QCoreApplication::quit();
        } else if (line == "resume") {
            tellResume(bus);
        }
    });
    return QCoreApplication::exec();
}

#include "alertbench_bus.moc"
