#include "tools/ldtgen/searchlists.h"

#include "meteo/base/wlocation.h"
#include "tools/ldtgen/geo.h"
#include "tools/ldtgen/latintext.h"
#include "tools/ldtgen/statetable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

namespace ldtgen
{

namespace
{

// The cities of each state, by the state's postal code ("IA").
std::map<std::string, std::vector<const LocationRecord *>> citiesByPostalCode(const LocationSet &set)
{
    std::map<std::uint32_t, std::string> codes;
    for (const LocationRecord &state : set.states)
        codes.emplace(state.id, changeCase(state.data, std::toupper));
    std::map<std::string, std::vector<const LocationRecord *>> cities;
    for (const LocationRecord &city : set.cities)
        cities[codes[city.state]].push_back(&city);
    return cities;
}

// The nearest city and its distance; ties go to the first in the set's order.
std::pair<const LocationRecord *, double> nearestCity(
    const std::vector<const LocationRecord *> &cities, const GeoPoint &point)
{
    std::pair<const LocationRecord *, double> best{nullptr, 0};
    for (const LocationRecord *city : cities) {
        const double distance = distanceKm(point, city->centre);
        if (!best.first || distance < best.second)
            best = {city, distance};
    }
    return best;
}

std::string oneDecimal(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// The station code of a city's data "acode(KDSM)azone(...)".
std::string stationOf(const LocationRecord &city)
{
    const std::string key = std::string(meteo::WLocation::STATION_KEY) + '(';
    const std::size_t open = city.data.find(key);
    const std::size_t close = city.data.find(')', open);
    return open == std::string::npos || close == std::string::npos
        ? std::string()
        : city.data.substr(open + key.size(), close - open - key.size());
}

} // namespace

void buildZipCodes(const SourceData &source, LocationSet &set)
{
    const auto cities = citiesByPostalCode(set);
    for (const ZipArea &area : source.zipAreas) {
        const char *state = zipState(area.code);
        const auto stateCities = state ? cities.find(state) : cities.end();
        if (stateCities == cities.end()) {
            ++set.counts.zipsOutsideStates;
            continue;
        }
        const auto [city, distance] = nearestCity(stateCities->second, area.centre);
        const std::string data = "acity(" + std::to_string(city->id) + ")adist(" + oneDecimal(distance) + ")";
        set.zipCodes.push_back({static_cast<std::uint32_t>(std::stoul(area.code)), city->state, area.code, data, {}});
    }
    std::sort(set.zipCodes.begin(), set.zipCodes.end(),
        [](const LocationRecord &a, const LocationRecord &b) { return a.id < b.id; });
}

bool buildStationList(const SourceData &source, LocationSet &set, std::string &error)
{
    std::map<std::string, const Station *> byCode;
    for (const Station &station : source.stations) {
        if (station.located)
            byCode.emplace(changeCase(station.code, std::toupper), &station);
    }
    std::map<std::string, GeoPoint> used;
    for (const LocationRecord &city : set.cities) {
        const std::string code = stationOf(city);
        const auto station = byCode.find(code);
        if (station == byCode.end()) {
            error = "station " + code + " of place " + std::to_string(city.id) + " has no position";
            return false;
        }
        used.emplace(code, station->second->location);
    }
    std::uint32_t id = 0;
    for (const auto &[code, location] : used)
        set.stations.push_back({++id, 0, code, positionTokens(location), location});
    return true;
}

} // namespace ldtgen
