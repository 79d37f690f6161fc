#include "tools/ldtgen/stationfinder.h"

#include "tools/ldtgen/geo.h"

#include <algorithm>
#include <string_view>

namespace ldtgen
{

namespace
{

constexpr std::string_view usPrefixes[] = {"pa", "pf", "po", "pp", "ph", "ti", "tj"};

bool isUsMetarCode(const std::string &code)
{
    if (code.size() != 4 || !std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        return false;
    const std::string_view prefix = std::string_view(code).substr(0, 2);
    return code.front() == 'k'
        || std::find(std::begin(usPrefixes), std::end(usPrefixes), prefix) != std::end(usPrefixes);
}

} // namespace

StationFinder::StationFinder(const std::vector<Station> &stations)
{
    for (const Station &station : stations) {
        if (station.located && station.inZoneList && isUsMetarCode(station.code))
            m_candidates.push_back(station);
    }
    std::sort(
        m_candidates.begin(), m_candidates.end(), [](const Station &a, const Station &b) { return a.code < b.code; });
}

bool StationFinder::isCandidate(const std::string &code) const
{
    const auto found = std::lower_bound(m_candidates.begin(), m_candidates.end(), code,
        [](const Station &station, const std::string &wanted) { return station.code < wanted; });
    return found != m_candidates.end() && found->code == code;
}

std::string StationFinder::choose(const CensusEntry &place) const
{
    return isCandidate(place.station) ? place.station : nearest(place.centre);
}

// Ties go to the first code in alphabetical order, so that the choice never depends on the input's order.
std::string StationFinder::nearest(const GeoPoint &point) const
{
    const Station *best = nullptr;
    double bestDistance = 0;
    for (const Station &station : m_candidates) {
        const double distance = distanceKm(point, station.location);
        if (!best || distance < bestDistance) {
            best = &station;
            bestDistance = distance;
        }
    }
    return best ? best->code : std::string();
}

} // namespace ldtgen
