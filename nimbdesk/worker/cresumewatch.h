#pragma once

#include <QDBusConnection>
#include <QObject>

#include <chrono>
#include <functional>

class QTimer;

namespace nimbdesk
{

// The two clocks the resume watch compares; tests move them by hand.
struct CResumeClocks {
    std::function<std::chrono::system_clock::time_point()> wall = [] { return std::chrono::system_clock::now(); };
    std::function<std::chrono::steady_clock::time_point()> steady = [] { return std::chrono::steady_clock::now(); };
};

// Tells when the computer woke from suspend, so that the alerts are checked at once instead of up to a check
// interval later. Where logind runs, its PrepareForSleep(false) on the system bus says so. Where it does not, a
// timer compares the wall clock with the steady clock, which stands still while the computer sleeps: the wall
// clock gone more than JUMP further than the steady one between two looks means a sleep (or a clock set forward,
// which does no harm).
class CResumeWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::minutes JUMP{2};
    static constexpr std::chrono::seconds LOOK_EVERY{15};

    // Listens on the bus (a bus that is not connected leaves the clocks alone to tell) and starts the timer.
    explicit CResumeWatch(QDBusConnection systemBus, CResumeClocks clocks = {}, QObject *parent = nullptr);

    // Whether logind's signal is listened to.
    bool listening() const { return m_listening; }
    // The timer's look at the two clocks.
    void Look();

signals:
    void resumed();

private slots:
    // logind's signal: true before the sleep, false after it.
    void prepareForSleep(bool sleeping);

private:
    const CResumeClocks m_clocks;
    std::chrono::system_clock::time_point m_wall;
    std::chrono::steady_clock::time_point m_steady;
    QTimer *m_timer;
    bool m_listening = false;
};

} // namespace nimbdesk
