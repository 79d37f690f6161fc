#include "tools/ldtgen/zonefinder.h"

#include "tools/ldtgen/geo.h"
#include "tools/ldtgen/latintext.h"

#include <algorithm>
#include <cctype>

namespace ldtgen
{

std::string zoneState(const std::string &zone)
{
    return zone.size() == 6 && zone[2] == 'z' ? zone.substr(0, 2) : std::string();
}

ZoneFinder::ZoneFinder(const std::vector<Zone> &zones)
{
    for (const Zone &zone : zones) {
        if (zone.located && !zoneState(zone.code).empty())
            m_zones.push_back(zone);
    }
    std::sort(m_zones.begin(), m_zones.end(), [](const Zone &a, const Zone &b) { return a.code < b.code; });
}

// Ties go to the first code in alphabetical order, so that the choice never depends on the input's order.
std::string ZoneFinder::choose(const CensusEntry &place) const
{
    const std::string state = changeCase(place.state, std::tolower);
    if (zoneState(place.zone) == state)
        return place.zone;
    const Zone *best = nullptr;
    double bestDistance = 0;
    for (const Zone &zone : m_zones) {
        const double distance = distanceKm(place.centre, zone.centre);
        if (zoneState(zone.code) == state && (!best || distance < bestDistance)) {
            best = &zone;
            bestDistance = distance;
        }
    }
    return best ? best->code : std::string();
}

} // namespace ldtgen
