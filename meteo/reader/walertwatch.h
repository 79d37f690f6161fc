#pragma once

#include "meteo/base/walert.h"
#include "meteo/base/wfailure.h"
#include "meteo/meteo_export.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace meteo
{

class WLocation;
class WReader;

// One change among the alerts in force for a place.
struct WAlertChange {
    enum class Kind {
        // The alert came into force.
        New,
        // The alert replaces one in force: it references it, or has its id and a new "sent" time.
        Update,
        // The alert is no longer in force: expired, cancelled, or missing from two answers in a row.
        End,
    };

    Kind kind = Kind::New;
    // The new record for New and Update, the last one in force for End.
    WAlertRecord alert;
    // For Update, the id of the alert in force it replaces (its own id when it is a new issue of the same alert).
    std::string replaced;
};

// Watches the alerts in force for a place between full updates, so that a warning reaches a person within the
// check interval: it decides when to ask (the interval, and after failures a shorter, growing wait), asks the
// reader for the alerts alone, and turns each answer into changes.
//
// The service's listing flickers: an alert missing from one answer has not ended. An alert ends at its expiry
// ("expires", or else "ends"), when a cancellation or an update references it, or when it is missing from two
// answers in a row.
//
// Pure logic around a reader passed to each check: it starts no thread and no timer, and its caller asks when
// nextCheck() or nextExpiry() comes. A watch is used by one thread, the reader's; as check() returns only when its
// request has ended, no more than one request is ever in flight.
class METEO_EXPORT WAlertWatch
{
public:
    // Seconds since 1970.
    using Clock = std::function<std::int64_t()>;
    // A number in [0, 1), for the jitter of the waits after failures.
    using Random = std::function<double()>;

    enum class Outcome {
        // Not due yet: nothing was asked.
        Waiting,
        // The alerts in force are as they were: the server answered 304, its answer was still fresh, or it holds
        // the same alerts.
        Unchanged,
        // changes() lists what came into force, was updated or ended.
        Changed,
        // The alerts could not be had: failure() tells why; the next check comes sooner than the interval.
        Failed,
    };

    static constexpr std::int64_t DEFAULT_INTERVAL = 60;
    // The first wait after a failure; it doubles with each failure in a row, up to the interval.
    static constexpr std::int64_t FIRST_RETRY = 30;
    // Each wait after a failure is made up to this much (a fraction) longer or shorter at random, so that many
    // programs that lost the server together do not come back together.
    static constexpr double JITTER = 0.2;

    // Without a clock the system's is used; without a random source, a seeded generator. The first check is due
    // at once.
    explicit WAlertWatch(Clock clock = {}, Random random = {});

    // Seconds between checks, at least one. A check due later than one interval from now comes sooner.
    void setInterval(std::int64_t seconds);
    std::int64_t interval() const { return m_interval; }
    // When the next check is due (seconds since 1970).
    std::int64_t nextCheck() const { return m_next; }
    // Makes the next check due at once, and forced: it asks the server even for an answer it calls fresh. For a
    // person's "update now", a resume from sleep, the network coming back. A Retry-After still holds.
    void checkNow();

    // When due, asks the reader for the place's alerts (a new update, then getAlerts) and takes the answer in;
    // expiries are taken in as well. The reader is asked for nothing else, and nothing at all when not due.
    Outcome check(WReader &reader, const WLocation &location);
    // Takes in the alerts of the reader's update under way as a check would, due or not, without beginning a new
    // update: where that update's texts already fetched the alerts (a full update's), nothing more is asked. The
    // next check is then an interval away.
    Outcome takeUpdate(WReader &reader, const WLocation &location);
    // Ends the alerts in force whose time has passed, without asking anything; true when any ended (changes()
    // lists them). Can be called at any time.
    bool expire();
    // When the first alert in force expires (seconds since 1970); 0 when none has a time.
    std::int64_t nextExpiry() const;
    // Forgets the alerts in force, without reporting them ended (another place is watched now); the next check is
    // due at once.
    void clear();

    // The alerts in force, most severe first as the reader orders them.
    const std::vector<WAlertRecord> &inForce() const { return m_inForce; }
    // The changes of the last check() or expire(); none after a check that was not due.
    const std::vector<WAlertChange> &changes() const { return m_changes; }
    // Why the last check failed (the reader's lastFailure()); kind None after a success.
    const WFailure &failure() const { return m_failure; }
    // The reader's result of the last check that asked: L_OK, or L_NOTFOUND, L_CONNECT, L_FORMAT.
    int lastResult() const { return m_lastResult; }
    // Until when (seconds since 1970) the server asked not to be asked again (Retry-After, at most an hour); 0
    // when it did not, or that time has passed by the last check.
    std::int64_t retryAfterUntil() const { return m_retryAfter; }
    // Failed checks in a row.
    int failures() const { return m_failures; }

private:
    struct Tracked {
        WAlertRecord record;
        // Answers in a row that did not hold the alert.
        int missing = 0;
    };

    void scheduleAfterSuccess(std::int64_t now);
    void scheduleAfterFailure(std::int64_t now, const WReader &reader);
    void takeIn(const std::vector<WAlertRecord> &answer, const std::vector<std::string> &cancelled);
    void takeRecord(const WAlertRecord &record, std::vector<Tracked> &previous);
    void takeUnanswered(Tracked tracked, const std::vector<std::string> &cancelled);
    void takeExpired(std::int64_t now);
    void publish();
    std::int64_t now() const;

    Clock m_clock;
    Random m_random;
    std::int64_t m_interval = DEFAULT_INTERVAL;
    std::int64_t m_next = 0;
    bool m_forced = false;
    int m_failures = 0;
    int m_lastResult = 0;
    std::int64_t m_retryAfter = 0;
    WFailure m_failure;
    std::vector<Tracked> m_tracked;
    std::vector<WAlertRecord> m_inForce;
    std::vector<WAlertChange> m_changes;
};

} // namespace meteo
