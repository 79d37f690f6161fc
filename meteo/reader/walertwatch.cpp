#include "meteo/reader/walertwatch.h"

#include "corekit/lex.h"
#include "meteo/reader/wreader.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>
#include <set>
#include <utility>

using namespace corekit;

namespace meteo
{

namespace
{

// Doubling the first wait this often already passes any interval.
constexpr int MOST_DOUBLINGS = 20;
// Missing from this many answers in a row, an alert has ended.
constexpr int ANSWERS_MISSED = 2;

// When the alert's message expires, or else when its hazard ends; 0 when it says neither.
std::int64_t endOf(const WAlertRecord &alert)
{
    return alert.expires != 0 ? alert.expires : alert.ends;
}

bool names(const std::vector<std::string> &ids, const std::string &id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

WAlertWatch::Random defaultRandom()
{
    return [engine = std::mt19937(std::random_device{}())]() mutable {
        return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
    };
}

} // namespace

WAlertWatch::WAlertWatch(Clock clock, Random random)
    : m_clock(std::move(clock))
    , m_random(random ? std::move(random) : defaultRandom())
{
}

void WAlertWatch::setInterval(std::int64_t seconds)
{
    m_interval = std::max<std::int64_t>(1, seconds);
    m_next = std::min(m_next, std::max(now() + m_interval, m_retryAfter));
}

void WAlertWatch::checkNow()
{
    m_next = std::max(now(), m_retryAfter);
    m_forced = true;
}

WAlertWatch::Outcome WAlertWatch::check(WReader &reader, const WLocation &location)
{
    m_changes.clear();
    if (now() < m_next)
        return Outcome::Waiting;
    reader.setAlertsMaxAge(m_interval);
    reader.beginUpdate(m_forced);
    m_forced = false;
    return takeUpdate(reader, location);
}

WAlertWatch::Outcome WAlertWatch::takeUpdate(WReader &reader, const WLocation &location)
{
    const std::int64_t now = this->now();
    m_changes.clear();
    takeExpired(now);
    std::vector<WAlertRecord> answer;
    m_lastResult = reader.getAlerts(location, answer);
    m_failure = m_lastResult == L_OK ? WFailure() : reader.lastFailure();
    if (m_lastResult != L_OK) {
        scheduleAfterFailure(now, reader);
        publish();
        return Outcome::Failed;
    }
    scheduleAfterSuccess(now);
    takeIn(answer, reader.cancelledAlerts());
    publish();
    return m_changes.empty() ? Outcome::Unchanged : Outcome::Changed;
}

bool WAlertWatch::expire()
{
    m_changes.clear();
    takeExpired(now());
    publish();
    return !m_changes.empty();
}

std::int64_t WAlertWatch::nextExpiry() const
{
    std::int64_t first = 0;
    for (const Tracked &tracked : m_tracked) {
        const std::int64_t end = endOf(tracked.record);
        if (end != 0 && (first == 0 || end < first))
            first = end;
    }
    return first;
}

void WAlertWatch::clear()
{
    m_tracked.clear();
    m_changes.clear();
    publish();
    m_next = std::max(now(), m_retryAfter);
}

void WAlertWatch::scheduleAfterSuccess(std::int64_t now)
{
    m_failures = 0;
    m_retryAfter = 0;
    m_next = now + m_interval;
}

// 30 s, 1, 2, 4 minutes... up to the interval, each made longer or shorter by up to JITTER; never before the
// server's Retry-After.
void WAlertWatch::scheduleAfterFailure(std::int64_t now, const WReader &reader)
{
    ++m_failures;
    const std::int64_t base = std::min(FIRST_RETRY << std::min(m_failures - 1, MOST_DOUBLINGS), m_interval);
    const double factor = 1.0 + JITTER * (2.0 * m_random() - 1.0);
    const std::int64_t wait = std::max<std::int64_t>(1, std::llround(static_cast<double>(base) * factor));
    m_retryAfter = reader.retryAfter() > now ? reader.retryAfter() : 0;
    m_next = std::max(now + wait, m_retryAfter);
}

// An alert that a cancellation or another alert of the answer references has been replaced, so the answer's
// own copy of it, should it still be listed, does not count.
void WAlertWatch::takeIn(const std::vector<WAlertRecord> &answer, const std::vector<std::string> &cancelled)
{
    std::set<std::string> superseded(cancelled.begin(), cancelled.end());
    for (const WAlertRecord &record : answer)
        superseded.insert(record.references.begin(), record.references.end());
    std::vector<Tracked> previous = std::exchange(m_tracked, {});
    for (const WAlertRecord &record : answer) {
        if (!superseded.contains(record.id))
            takeRecord(record, previous);
    }
    for (Tracked &unanswered : previous)
        takeUnanswered(std::move(unanswered), cancelled);
}

void WAlertWatch::takeRecord(const WAlertRecord &record, std::vector<Tracked> &previous)
{
    const auto same = std::find_if(
        previous.begin(), previous.end(), [&record](const Tracked &each) { return each.record.id == record.id; });
    const auto referenced = std::find_if(previous.begin(), previous.end(),
        [&record](const Tracked &each) { return names(record.references, each.record.id); });
    if (same != previous.end() && same->record.sent != record.sent)
        m_changes.push_back({WAlertChange::Kind::Update, record, record.id});
    else if (same == previous.end() && referenced != previous.end())
        m_changes.push_back({WAlertChange::Kind::Update, record, referenced->record.id});
    else if (same == previous.end())
        m_changes.push_back({WAlertChange::Kind::New, record, std::string()});
    std::erase_if(previous, [&record](const Tracked &each) {
        return each.record.id == record.id || names(record.references, each.record.id);
    });
    m_tracked.push_back({record, 0});
}

void WAlertWatch::takeUnanswered(Tracked tracked, const std::vector<std::string> &cancelled)
{
    if (names(cancelled, tracked.record.id) || ++tracked.missing >= ANSWERS_MISSED)
        m_changes.push_back({WAlertChange::Kind::End, std::move(tracked.record), std::string()});
    else
        m_tracked.push_back(std::move(tracked));
}

void WAlertWatch::takeExpired(std::int64_t now)
{
    std::erase_if(m_tracked, [this, now](Tracked &tracked) {
        const std::int64_t end = endOf(tracked.record);
        if (end == 0 || end > now)
            return false;
        m_changes.push_back({WAlertChange::Kind::End, std::move(tracked.record), std::string()});
        return true;
    });
}

void WAlertWatch::publish()
{
    m_inForce.clear();
    for (const Tracked &tracked : m_tracked)
        m_inForce.push_back(tracked.record);
}

std::int64_t WAlertWatch::now() const
{
    return m_clock ? m_clock() : static_cast<std::int64_t>(std::time(nullptr));
}

} // namespace meteo
