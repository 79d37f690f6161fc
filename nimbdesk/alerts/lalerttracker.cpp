#include "nimbdesk/alerts/lalerttracker.h"

#include <algorithm>
#include <iterator>

using namespace meteo;

namespace nimbdesk
{

namespace
{

// Page messages say nothing of their end; they are remembered this long.
constexpr std::int64_t UNSTATED_LIFETIME = 2 * 24 * 3600;

std::int64_t expiryOf(const WAlertRecord &alert, std::int64_t now)
{
    const std::int64_t end = std::max(alert.expires, alert.ends);
    return end > 0 ? end : now + UNSTATED_LIFETIME;
}

LAlertTracker::StateProblem problemOf(LAlertState::Loaded loaded)
{
    switch (loaded) {
    case LAlertState::Loaded::Whole:
        break;
    case LAlertState::Loaded::Truncated:
        return LAlertTracker::StateProblem::Damaged;
    case LAlertState::Loaded::Unreadable:
        return LAlertTracker::StateProblem::Failed;
    }
    return LAlertTracker::StateProblem::None;
}

// Graver severity first; among equals a warning before a watch, a statement and the others.
bool graver(const WAlertRecord &a, const WAlertRecord &b)
{
    const int rankA = severityRank(a.severity);
    const int rankB = severityRank(b.severity);
    return rankA != rankB ? rankA < rankB : alertCategory(a) < alertCategory(b);
}

} // namespace

bool isSevere(const WAlertRecord &alert)
{
    return severityRank(alert.severity) <= 1;
}

LSeverity severityOf(const WAlertRecord &alert)
{
    constexpr LSeverity BY_RANK[] = {LSeverity::Extreme, LSeverity::Severe, LSeverity::Moderate, LSeverity::Minor};
    const auto rank = static_cast<std::size_t>(severityRank(alert.severity));
    return rank < std::size(BY_RANK) ? BY_RANK[rank] : LSeverity::Moderate;
}

bool LAlertChoice::wants(const WAlertRecord &alert) const
{
    return wants(alertCategory(alert)) && severityOf(alert) >= minimum && muted.count(alert.event) == 0;
}

bool LAlertChoice::wants(WAlertCategory category) const
{
    switch (category) {
    case WAlertCategory::Warning:
        return warnings;
    case WAlertCategory::Watch:
        return watches;
    case WAlertCategory::Statement:
        return statements;
    case WAlertCategory::Other:
        break;
    }
    return others;
}

LAlertTracker::LAlertTracker(LAlertState &state, std::int64_t now)
    : m_state(state)
    , m_stateProblem(problemOf(state.load(now)))
{
}

void LAlertTracker::follow(std::uint64_t place)
{
    m_place = &m_places[place];
}

LAlertDecision LAlertTracker::update(
    const std::vector<WAlertRecord> &alerts, const LAlertChoice &choice, std::int64_t now)
{
    LAlertDecision decision;
    decision.ended = ended(alerts);
    const std::vector<WAlertRecord> news = fresh(alerts, choice);
    if (m_place->starting && news.size() > 1)
        decision.notices.push_back({news, LNoticeKind::InForce, std::string()});
    else
        decision.notices = noticesOf(news);
    m_place->starting = false;
    remember(news, now);
    return decision;
}

std::vector<WAlertRecord> LAlertTracker::fresh(
    const std::vector<WAlertRecord> &alerts, const LAlertChoice &choice) const
{
    std::vector<WAlertRecord> news;
    std::copy_if(alerts.begin(), alerts.end(), std::back_inserter(news),
        [&](const WAlertRecord &alert) { return !m_state.contains(alert.id) && choice.wants(alert); });
    return news;
}

// The gravest of a flood is the first found of its rank, so that the service's order decides among equals.
std::vector<LAlertNotice> LAlertTracker::noticesOf(std::vector<WAlertRecord> news) const
{
    std::vector<LAlertNotice> notices;
    if (news.size() <= MAX_SEPARATE) {
        for (const WAlertRecord &alert : news)
            notices.push_back(single(alert));
        return notices;
    }
    std::stable_sort(news.begin(), news.end(), graver);
    notices.push_back(single(news.front()));
    notices.push_back({{std::next(news.begin()), news.end()}, LNoticeKind::More, std::string()});
    return notices;
}

LAlertNotice LAlertTracker::single(const WAlertRecord &alert) const
{
    return {{alert}, LNoticeKind::Alert, notifiedReference(alert)};
}

std::string LAlertTracker::notifiedReference(const WAlertRecord &alert) const
{
    const auto found = std::find_if(alert.references.begin(), alert.references.end(),
        [this](const std::string &id) { return m_state.contains(id); });
    return found == alert.references.end() ? std::string() : *found;
}

std::vector<std::string> LAlertTracker::ended(const std::vector<WAlertRecord> &alerts)
{
    std::set<std::string> now;
    for (const WAlertRecord &alert : alerts)
        now.insert(alert.id);
    std::vector<std::string> gone;
    std::set_difference(
        m_place->inForce.begin(), m_place->inForce.end(), now.begin(), now.end(), std::back_inserter(gone));
    m_place->inForce = std::move(now);
    return gone;
}

// The state file is written only when it gains alerts, so a quiet cycle writes nothing.
void LAlertTracker::remember(const std::vector<WAlertRecord> &alerts, std::int64_t now)
{
    if (alerts.empty())
        return;
    for (const WAlertRecord &alert : alerts)
        m_state.add(alert.id, expiryOf(alert, now));
    if (!m_state.save(now))
        m_stateProblem = StateProblem::Failed;
}

} // namespace nimbdesk
