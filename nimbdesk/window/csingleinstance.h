#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

namespace nimbdesk
{

// One running program per user and settings file. The first to start listens on a local socket named after the
// settings file; a later start with the same file connects, asks the first to show its window, and ends. A socket
// left behind by a program that crashed refuses connections and is replaced. The socket lives in the session's
// runtime folder, which another session names differently; so the running program also holds a lock on a file
// beside the settings ("Nimbrel.conf.running"), and a start that finds it held but the socket out of reach is
// refused.
class CSingleInstance : public QObject
{
    Q_OBJECT

public:
    // How long a second start waits for the first to take its request, in milliseconds.
    static constexpr int HANDOVER_TIMEOUT = 2000;

    explicit CSingleInstance(const QString &settingsFile, QObject *parent = nullptr);
    ~CSingleInstance() override;

    enum class Role { First, HandedOver, Refused };
    // First: this program listens and runs its window; also when the socket or the lock file cannot be made, so
    // that a broken folder never keeps Nimbrel from starting. HandedOver: a running program shows its window
    // instead. Refused: a program runs on the same settings where its socket cannot be reached (refusal() says so).
    Role claim();
    // Why this start was refused, for the person to read.
    QString refusal() const;

    // The socket's name: in $XDG_RUNTIME_DIR when the session has one, else in the temporary folder with the user's
    // id, so that users and settings files never share one: "/run/user/1000/nimbrel-3f2a9c0d1e4b5a67".
    static QString serverName(const QString &settingsFile);

signals:
    // A later start asked for the window.
    void showRequested();

private:
    bool listen();
    bool lockSettings();
    bool handOver();
    void acceptConnection();
    void readRequest(QLocalSocket *socket);

    const QString m_settingsFile;
    const QString m_name;
    QLocalServer m_server;
    int m_lock = -1;
};

} // namespace nimbdesk
