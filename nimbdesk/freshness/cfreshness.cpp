#include "nimbdesk/freshness/cfreshness.h"

#include "corekit/lex.h"
#include "nimbdesk/freshness/timetext.h"

#include <algorithm>
#include <cctype>

namespace
{

constexpr std::int64_t HOUR = 3600;

// The observation is named with the items, after them.
constexpr int OBSERVATION = CFreshness::ITEMS;

struct Item {
    const char *name;
    // How long a kept text stays true when its fetches fail: a warning or a watch runs out within hours, a
    // discussion is replaced twice a day.
    std::int64_t keepFor;
};

// By item: the kinds of special message by their index, then the forecast and the observation.
constexpr std::array<Item, CFreshness::ITEMS + 1> ITEM_TABLE
    = {{{"discussion", 12 * HOUR}, {"summary", 12 * HOUR}, {"public information", 24 * HOUR}, {"watches", 6 * HOUR},
        {"statements", 6 * HOUR}, {"warnings", 6 * HOUR}, {"forecast", 12 * HOUR}, {"observation", 0}}};

std::string reasonOf(int code)
{
    switch (code) {
    case L_CONNECT:
        return "cannot connect to server";
    case L_INPUT:
        return "nothing for the place on the server";
    case L_DB:
        return "the place has no weather station";
    case L_NOTFOUND:
        return "the place has no forecast zone";
    case L_MEM:
        return "out of memory";
    default:
        return "the server's answer could not be read";
    }
}

std::string capitalized(std::string text)
{
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// "forecast", "forecast and warnings", "observation, forecast and warnings".
std::string joined(const std::vector<const char *> &names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

std::size_t triedCount(const CUpdateResults &results)
{
    std::size_t count = (results.condition.tried ? 1 : 0) + (results.forecast.tried ? 1 : 0);
    for (const CUpdateResults::Fetch &fetch : results.messages)
        count += fetch.tried ? 1 : 0;
    return count;
}

} // namespace

void CFreshness::TextArrived(int item, const std::string &text)
{
    if (item >= 0 && item < ITEMS)
        m_arrived[item] = text;
}

void CFreshness::Observed(std::int64_t time)
{
    m_observed = time;
    m_hasObservation = true;
}

void CFreshness::CycleFinished(const CUpdateResults &results, std::int64_t now)
{
    changePlace(results);
    m_failures.clear();
    m_story.clear();
    settleObservation(results.condition, now);
    settleText(FORECAST, results.forecast, now);
    for (const int kind : CUpdateResults::CYCLE_ORDER)
        settleText(kind, results.messages[kind], now);
    m_arrived = {};
    noteCycle(results, now);
}

std::string CFreshness::ForecastText() const
{
    return markedText(FORECAST);
}

std::vector<std::string> CFreshness::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const int kind : CUpdateResults::CYCLE_ORDER) {
        if (m_kept[kind].held)
            texts.push_back(markedText(kind));
    }
    return texts;
}

CFreshness::Age CFreshness::ObservationAge(std::int64_t now) const
{
    if (!m_hasObservation)
        return Age::None;
    if (m_observed > now + AHEAD_LIMIT)
        return Age::Ahead;
    return now - m_observed > OLD_AFTER ? Age::Old : Age::Fresh;
}

std::string CFreshness::ObservedLine(std::int64_t now) const
{
    const Age age = ObservationAge(now);
    if (age == Age::None)
        return std::string();
    // How old says more than the day and the zone.
    if (age == Age::Old)
        return "Observed " + twelveHourTime(m_observed) + ", " + ageText(now - m_observed);
    std::string line = "Observed " + observedAt(now);
    if (age == Age::Ahead)
        line += ", ahead of this computer's clock";
    return line;
}

std::string CFreshness::ObservedNote(std::int64_t now) const
{
    switch (ObservationAge(now)) {
    case Age::None:
        return std::string();
    case Age::Old:
        return "observed " + ageText(now - m_observed);
    case Age::Ahead:
        return "observed " + clockTime(m_observed, now) + ", ahead of the clock";
    case Age::Fresh:
        break;
    }
    return clockTime(m_observed, now);
}

// "1:54 PM CST".
std::string CFreshness::observedAt(std::int64_t now) const
{
    return clockTime(m_observed, now) + ' ' + zoneName(m_observed);
}

// Nothing of one place is shown for another; nor does its last full update count for it.
void CFreshness::changePlace(const CUpdateResults &results)
{
    if (results.state == m_state && results.city == m_city)
        return;
    m_state = results.state;
    m_city = results.city;
    m_kept = {};
    m_firstCycle = 0;
    m_lastSuccess = 0;
    m_lastFullUpdate = 0;
}

void CFreshness::settleObservation(const CUpdateResults::Fetch &fetch, std::int64_t now)
{
    if (!fetch.tried)
        return;
    if (fetch.code == L_OK) {
        tell(OBSERVATION, "updated, observed " + observedAt(now) + '.');
        return;
    }
    m_failures.push_back({OBSERVATION, fetch.code});
    tell(OBSERVATION, "not updated (" + reasonOf(fetch.code) + ").");
}

// A kind that is not enabled shows nothing; one with nothing in force for the place ("L_INPUT") is gone. A
// forecast always exists, so for it nothing on the server is a failure like any other.
void CFreshness::settleText(int item, const CUpdateResults::Fetch &fetch, std::int64_t now)
{
    Kept &kept = m_kept[item];
    kept.fresh = false;
    if (!fetch.tried) {
        kept = Kept();
    } else if (fetch.code == L_OK) {
        kept = {std::move(m_arrived[item]), fetch.time, true, true};
        tell(item, "updated.");
    } else if (fetch.code == L_INPUT && item != FORECAST) {
        kept = Kept();
        tell(item, "nothing in force for the place.");
    } else {
        m_failures.push_back({item, fetch.code});
        tell(item, "not updated (" + reasonOf(fetch.code) + ")" + holdFailed(item, now) + '.');
    }
}

// What became of the text kept for an item whose fetch failed: "; showing the text of 1:50 PM".
std::string CFreshness::holdFailed(int item, std::int64_t now)
{
    Kept &kept = m_kept[item];
    if (!kept.held)
        return std::string();
    const std::string fetched = clockTime(kept.time, now);
    if (now - kept.time <= ITEM_TABLE[item].keepFor)
        return "; showing the text of " + fetched;
    kept = Kept();
    return "; the text of " + fetched + " was dropped, older than " + std::to_string(ITEM_TABLE[item].keepFor / HOUR)
        + " hours";
}

// "Forecast: not updated (cannot connect to server)."
void CFreshness::tell(int item, const std::string &what)
{
    m_story += capitalized(ITEM_TABLE[item].name) + ": " + what + '\n';
}

void CFreshness::noteCycle(const CUpdateResults &results, std::int64_t now)
{
    m_lastCycle = now;
    if (m_firstCycle == 0)
        m_firstCycle = now;
    m_failed = !m_failures.empty();
    const bool anySucceeded = m_failures.size() < triedCount(results);
    if (!m_failed) {
        m_lastFullUpdate = now;
        m_statusLine = "Last updated: " + shortDateTime(now);
    } else {
        m_statusLine = failureLine(anySucceeded, now);
    }
    if (anySucceeded)
        m_lastSuccess = now;
    m_story += m_lastFullUpdate != 0 ? "Last full update: " + shortDateTime(m_lastFullUpdate) + '.'
                                     : std::string("No full update yet.");
}

// One line: what failed and why, and since when the window is not up to date.
std::string CFreshness::failureLine(bool anySucceeded, std::int64_t now) const
{
    std::string reason = reasonOf(m_failures.front().code);
    const bool oneReason = std::all_of(m_failures.begin(), m_failures.end(),
        [&](const Failure &failure) { return failure.code == m_failures.front().code; });
    if (!oneReason)
        reason += " and other errors";
    if (!anySucceeded) {
        const std::int64_t since = m_lastSuccess != 0 ? m_lastSuccess : m_firstCycle;
        return "No update succeeded since " + clockTime(since, now) + ": " + reason + '.';
    }
    std::vector<const char *> names;
    for (const Failure &failure : m_failures)
        names.push_back(ITEM_TABLE[failure.item].name);
    const std::string last = m_lastFullUpdate != 0 ? "Last full update " + clockTime(m_lastFullUpdate, now) + '.'
                                                   : std::string("No full update yet.");
    return capitalized(joined(names)) + " not updated: " + reason + ". " + last;
}

// "[as of 1:50 PM] " before a text kept from an earlier cycle.
std::string CFreshness::markedText(int item) const
{
    const Kept &kept = m_kept[item];
    if (!kept.held || kept.fresh)
        return kept.text;
    return "[as of " + clockTime(kept.time, m_lastCycle) + "] " + kept.text;
}
