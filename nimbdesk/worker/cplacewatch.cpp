#include "nimbdesk/worker/cplacewatch.h"

#include <algorithm>
#include <utility>

using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

bool samePlace(const WLocation &a, const WLocation &b)
{
    return a.getState() == b.getState() && a.getCity() == b.getCity();
}

// The part of a span that place index of count waits.
std::chrono::milliseconds share(std::chrono::milliseconds span, std::size_t index, std::size_t count)
{
    return span * static_cast<long>(index) / static_cast<long>(std::max<std::size_t>(count, 1));
}

} // namespace

CPlaceWatch::CPlaceWatch(WAlertWatch::Clock calendar)
    : m_calendar(std::move(calendar))
{
}

void CPlaceWatch::SetPlaces(const std::vector<WLocation> &places, TimePoint now, std::chrono::milliseconds check)
{
    std::vector<Place> kept;
    kept.reserve(places.size());
    for (const WLocation &location : places) {
        const auto found = std::find_if(m_places.begin(), m_places.end(),
            [&location](const Place &place) { return samePlace(place.location, location); });
        if (found != m_places.end())
            kept.push_back(std::move(*found));
        else
            kept.push_back(Place{location, WAlertWatch(m_calendar), std::nullopt, now, std::nullopt});
    }
    m_places = std::move(kept);
    PlanChecks(now, check);
}

void CPlaceWatch::PlanObservations(TimePoint now, std::chrono::milliseconds interval)
{
    for (std::size_t i = 0; i < m_places.size(); ++i)
        m_places[i].observeAt = now + share(interval, i, m_places.size());
}

void CPlaceWatch::PlanChecks(TimePoint now, std::chrono::milliseconds check)
{
    m_check = check;
    for (std::size_t i = 0; i < m_places.size(); ++i) {
        m_places[i].checkAt = now + share(check, i + 1, m_places.size() + 1);
        m_places[i].watch.setInterval(
            std::max<std::int64_t>(std::chrono::duration_cast<std::chrono::seconds>(check).count(), 1));
    }
}

CPlaceWatch::Turn CPlaceWatch::Next(TimePoint now)
{
    for (std::size_t i = 0; i < m_places.size(); ++i) {
        if (m_places[i].observeAt && *m_places[i].observeAt <= now) {
            m_places[i].observeAt.reset();
            return {Job::Observation, i};
        }
    }
    for (std::size_t i = 0; i < m_places.size(); ++i) {
        if (m_places[i].checkAt <= now) {
            // A check a tick late does not move the next one: the places stay apart.
            m_places[i].checkAt += m_check;
            m_places[i].checkAt = std::max(m_places[i].checkAt, now + m_check / 2);
            return {Job::Alerts, i};
        }
    }
    return {};
}

void CPlaceWatch::CheckAgainIn(std::size_t index, TimePoint now, std::chrono::seconds wait)
{
    m_places[index].checkAt = now + std::max(wait, std::chrono::seconds(1));
}

LPlaceId CPlaceWatch::id(std::size_t index) const
{
    return {m_places[index].location.getState(), m_places[index].location.getCity()};
}

bool CPlaceWatch::lastCondition(std::size_t index, WCondition &condition) const
{
    if (!m_places[index].condition)
        return false;
    condition = *m_places[index].condition;
    return true;
}

void CPlaceWatch::setCondition(std::size_t index, const WCondition &condition)
{
    m_places[index].condition = condition;
}

} // namespace nimbdesk
