#include "nimbdesk/freshness/cfreshness.h"

#include "corekit/lex.h"
#include "nimbdesk/freshness/failurewords.h"
#include "nimbdesk/freshness/timetext.h"

#include <QStringList>

#include <algorithm>
#include <utility>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

constexpr std::int64_t HOUR = 3600;

// The observation is named with the items, after them.
constexpr int OBSERVATION = CFreshness::ITEMS;

struct Item {
    int item;
    const char *name;
    // How long a kept text stays true when its fetches fail: a warning or a watch runs out within hours, a
    // discussion is replaced twice a day.
    std::int64_t keepFor;
};

constexpr Item ITEM_TABLE[] = {
    {indexOf(LMessageKind::Warnings), QT_TRANSLATE_NOOP("CFreshness", "warnings"), 6 * HOUR},
    {indexOf(LMessageKind::Discussion), QT_TRANSLATE_NOOP("CFreshness", "discussion"), 12 * HOUR},
    {indexOf(LMessageKind::Summary), QT_TRANSLATE_NOOP("CFreshness", "summary"), 12 * HOUR},
    {indexOf(LMessageKind::Watches), QT_TRANSLATE_NOOP("CFreshness", "watches"), 6 * HOUR},
    {indexOf(LMessageKind::Statements), QT_TRANSLATE_NOOP("CFreshness", "statements"), 6 * HOUR},
    {indexOf(LMessageKind::Public), QT_TRANSLATE_NOOP("CFreshness", "public information"), 24 * HOUR},
    {CFreshness::FORECAST, QT_TRANSLATE_NOOP("CFreshness", "forecast"), 12 * HOUR},
    {OBSERVATION, QT_TRANSLATE_NOOP("CFreshness", "observation"), 0},
};

const Item &itemOf(int item)
{
    return *std::find_if(
        std::begin(ITEM_TABLE), std::end(ITEM_TABLE), [item](const Item &entry) { return entry.item == item; });
}

std::string said(const QString &text)
{
    return text.toStdString();
}

QString nameOf(int item)
{
    return CFreshness::tr(itemOf(item).name);
}

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// "forecast", "forecast and warnings", "observation, forecast and warnings".
QString joined(const QStringList &names)
{
    QString text = names.value(0);
    for (qsizetype i = 1; i < names.size(); ++i) {
        text = i + 1 == names.size() ? CFreshness::tr("%1 and %2").arg(text, names[i])
                                     : CFreshness::tr("%1, %2").arg(text, names[i]);
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

void CFreshness::ForgetPlace(std::uint32_t state, std::uint32_t city)
{
    startPlace(state, city);
    m_arrived = {};
    m_observed = 0;
    m_hasObservation = false;
    m_showingKept = false;
    m_startNote.clear();
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
    for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind)
        settleText(kind, results.messages[kind], now);
    m_arrived = {};
    noteCycle(results, now);
}

void CFreshness::AlertsChecked(const CUpdateResults &results, std::int64_t now)
{
    if (results.state != m_state || results.city != m_city) {
        m_arrived = {};
        return;
    }
    for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind) {
        const CUpdateResults::Fetch &fetch = results.messages[kind];
        if (fetch.tried && fetch.code == L_OK)
            m_kept[kind] = {std::move(m_arrived[kind]), fetch.time, true, true};
        else if (fetch.tried && fetch.code == L_INPUT)
            m_kept[kind] = Kept();
    }
    m_arrived = {};
    m_statusLine = said(tr("%1 — alerts changed %2")
                            .arg(QString::fromStdString(m_cycleLine), QString::fromStdString(clockTime(now, now))));
}

void CFreshness::AlertsExpired(int item, const std::string &text)
{
    if (item < 0 || item >= FORECAST || !m_kept[item].held)
        return;
    if (text.empty())
        m_kept[item] = Kept();
    else
        m_kept[item].text = text;
}

void CFreshness::Restore(const LPlaceCacheRecord &record, std::int64_t now)
{
    startPlace(record.state, record.city);
    const auto take = [&](int item, const std::optional<LCachedText> &text) {
        if (text && now - text->fetched <= itemOf(item).keepFor)
            m_kept[item] = {text->text, text->fetched, true, false};
    };
    take(FORECAST, record.forecast);
    for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind)
        take(kind, record.messages[kind]);
    m_lastCycle = now;
    m_showingKept = true;
    NoteAtStart(said(tr("Showing the values of %1 until the first update.")
                         .arg(QString::fromStdString(shortDateTime(record.written)))));
}

void CFreshness::NoteAtStart(const std::string &line)
{
    m_startNote = line;
    m_statusLine = line;
    m_story = line;
}

std::optional<LCachedText> CFreshness::KeptText(int item) const
{
    if (item < 0 || item >= ITEMS || !m_kept[item].held)
        return std::nullopt;
    return LCachedText{m_kept[item].text, m_kept[item].time};
}

std::string CFreshness::ForecastText() const
{
    return markedText(FORECAST);
}

std::vector<std::string> CFreshness::MessageTexts() const
{
    std::vector<std::string> texts;
    for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind) {
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
    if (age == Age::Old) {
        return said(
            tr("Observed %1, %2").arg(QString::fromStdString(twelveHourTime(m_observed)), ageText(now - m_observed)));
    }
    const QString at = QString::fromStdString(observedAt(now));
    return said(
        age == Age::Ahead ? tr("Observed %1, ahead of this computer's clock").arg(at) : tr("Observed %1").arg(at));
}

std::string CFreshness::ObservedNote(std::int64_t now) const
{
    switch (ObservationAge(now)) {
    case Age::None:
        return std::string();
    case Age::Old:
        return said(tr("observed %1").arg(ageText(now - m_observed)));
    case Age::Ahead:
        return said(tr("observed %1, ahead of the clock").arg(QString::fromStdString(clockTime(m_observed, now))));
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
    if (results.state != m_state || results.city != m_city)
        startPlace(results.state, results.city);
}

void CFreshness::startPlace(std::uint32_t state, std::uint32_t city)
{
    m_state = state;
    m_city = city;
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
        tell(OBSERVATION, tr("updated, observed %1.").arg(QString::fromStdString(observedAt(now))));
        return;
    }
    const QString reason = failureWords(fetch.code, fetch.failure);
    m_failures.push_back({OBSERVATION, said(reason)});
    tell(OBSERVATION, tr("not updated (%1).").arg(reason));
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
        tell(item, tr("updated."));
    } else if (fetch.code == L_INPUT && item != FORECAST) {
        kept = Kept();
        tell(item, tr("nothing in force for the place."));
    } else {
        const QString reason = failureWords(fetch.code, fetch.failure);
        m_failures.push_back({item, said(reason)});
        tell(item, failedText(item, reason, now));
    }
}

// What became of the text kept for an item whose fetch failed: "not updated (timed out); showing the text of
// 1:50 PM."
QString CFreshness::failedText(int item, const QString &reason, std::int64_t now)
{
    Kept &kept = m_kept[item];
    if (!kept.held)
        return tr("not updated (%1).").arg(reason);
    const QString fetched = QString::fromStdString(clockTime(kept.time, now));
    if (now - kept.time <= itemOf(item).keepFor)
        return tr("not updated (%1); showing the text of %2.").arg(reason, fetched);
    kept = Kept();
    const int hours = static_cast<int>(itemOf(item).keepFor / HOUR);
    return tr("not updated (%1); the text of %2 was dropped, older than %n hours.", nullptr, hours)
        .arg(reason, fetched);
}

// "Forecast: not updated (cannot connect to server)."
void CFreshness::tell(int item, const QString &what)
{
    m_story += said(tr("%1: %2").arg(capitalized(nameOf(item)), what)) + '\n';
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
        m_statusLine = said(tr("Last updated: %1").arg(QString::fromStdString(shortDateTime(now))));
    } else {
        m_statusLine = failureLine(anySucceeded, now);
    }
    m_cycleLine = m_statusLine;
    m_showingKept = false;
    if (!m_startNote.empty())
        m_story = std::exchange(m_startNote, std::string()) + '\n' + m_story;
    if (anySucceeded)
        m_lastSuccess = now;
    m_story += said(m_lastFullUpdate != 0
            ? tr("Last full update: %1.").arg(QString::fromStdString(shortDateTime(m_lastFullUpdate)))
            : tr("No full update yet."));
}

// One line: what failed and why, and since when the window is not up to date.
std::string CFreshness::failureLine(bool anySucceeded, std::int64_t now) const
{
    QString reason = QString::fromStdString(m_failures.front().reason);
    const bool oneReason = std::all_of(m_failures.begin(), m_failures.end(),
        [&](const Failure &failure) { return failure.reason == m_failures.front().reason; });
    if (!oneReason)
        reason = tr("%1 and other errors").arg(reason);
    if (!anySucceeded) {
        const std::int64_t since = m_lastSuccess != 0 ? m_lastSuccess : m_firstCycle;
        return said(tr("No update succeeded since %1: %2.").arg(QString::fromStdString(clockTime(since, now)), reason));
    }
    QStringList names;
    for (const Failure &failure : m_failures)
        names << nameOf(failure.item);
    const QString last = m_lastFullUpdate != 0
        ? tr("Last full update %1.").arg(QString::fromStdString(clockTime(m_lastFullUpdate, now)))
        : tr("No full update yet.");
    return said(tr("%1 not updated: %2. %3").arg(capitalized(joined(names)), reason, last));
}

// "[as of 1:50 PM] " before a text kept from an earlier cycle.
std::string CFreshness::markedText(int item) const
{
    const Kept &kept = m_kept[item];
    if (!kept.held || kept.fresh)
        return kept.text;
    return said(tr("[as of %1] %2")
                    .arg(QString::fromStdString(clockTime(kept.time, m_lastCycle)), QString::fromStdString(kept.text)));
}

} // namespace nimbdesk
