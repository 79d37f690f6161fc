#include "tools/ldtgen/locationset.h"

#include "meteo/base/wlocation.h"
#include "tools/ldtgen/countyfinder.h"
#include "tools/ldtgen/geo.h"
#include "tools/ldtgen/latintext.h"
#include "tools/ldtgen/placename.h"
#include "tools/ldtgen/principalstation.h"
#include "tools/ldtgen/searchlists.h"
#include "tools/ldtgen/statetable.h"
#include "tools/ldtgen/stationfinder.h"
#include "tools/ldtgen/zonefinder.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace ldtgen
{

namespace
{

// Census codes begin with the two digits of the state: 17 in 1714000 (Chicago) and in 17031 (Cook County).
constexpr std::uint32_t placesPerState = 100000;
constexpr std::uint32_t countiesPerState = 1000;
// The reader keeps at most this many bytes of a text value.
constexpr std::size_t longestText = 1023;
// A designated place this near an incorporated one of the same name is the same town.
constexpr double sameTownKm = 10;

using StateIds = std::map<std::string, std::uint32_t>;

// A name as it will be written: composed UTF-8, not empty, no double quote, within the reader's limit.
bool writableName(const std::string &name, std::string &composed)
{
    return composeLatin(name, composed) && !composed.empty() && composed.find('"') == std::string::npos
        && composed.size() <= longestText;
}

// The state code of every county of a known state; a postal code met with two state codes is an error.
bool collectStates(const SourceData &source, StateIds &ids, std::string &error)
{
    for (const CensusEntry &county : source.counties) {
        if (!stateName(county.state))
            continue;
        const std::uint32_t id = county.code / countiesPerState;
        const auto [entry, added] = ids.emplace(county.state, id);
        if (!added && entry->second != id) {
            error = "state " + county.state + " has two state codes";
            return false;
        }
    }
    return true;
}

void buildStates(const StateIds &ids, LocationSet &set)
{
    for (const auto &[code, id] : ids)
        set.states.push_back({id, 0, stateName(code), changeCase(code, std::tolower), {}});
    std::sort(set.states.begin(), set.states.end(),
        [](const LocationRecord &a, const LocationRecord &b) { return a.id < b.id; });
}

bool buildAreas(const SourceData &source, const StateIds &ids, LocationSet &set, std::string &error)
{
    for (const CensusEntry &county : source.counties) {
        const auto state = ids.find(county.state);
        if (state == ids.end())
            continue;
        LocationRecord area{county.code, state->second, {}, positionTokens(county.centre), county.centre};
        if (!writableName(county.name, area.name)) {
            error = "county " + std::to_string(county.code) + " has an unusable name";
            return false;
        }
        set.areas.push_back(area);
    }
    std::sort(set.areas.begin(), set.areas.end(),
        [](const LocationRecord &a, const LocationRecord &b) { return a.id < b.id; });
    return true;
}

// A place of a known state under its common name, before the choice of station and zone; county is set when
// another place of the state has the same name.
struct NamedEntry {
    const CensusEntry *place;
    std::uint32_t state;
    CommonName name;
    std::string county;
};

bool nameCities(
    const SourceData &source, const StateIds &ids, std::vector<NamedEntry> &named, LocationSet &set, std::string &error)
{
    for (const CensusEntry &place : source.places) {
        const auto state = ids.find(place.state);
        if (state == ids.end() || place.code / placesPerState != state->second) {
            ++set.counts.outsideStates;
            continue;
        }
        NamedEntry entry{&place, state->second, commonName(place.code, place.name, place.state), {}};
        const std::string spoken = entry.name.name;
        if (!writableName(spoken, entry.name.name)) {
            error = "place " + std::to_string(place.code) + " (" + place.name + ") has an unusable name";
            return false;
        }
        named.push_back(entry);
    }
    return true;
}

using NameKey = std::pair<std::uint32_t, std::string>;

void dropDesignatedTwins(std::vector<NamedEntry> &named, LocationSet &set)
{
    std::multimap<NameKey, const CensusEntry *> incorporated;
    for (const NamedEntry &entry : named) {
        if (!entry.name.designated)
            incorporated.emplace(NameKey(entry.state, entry.name.name), entry.place);
    }
    const auto twin = [&incorporated](const NamedEntry &entry) {
        const auto [first, last] = incorporated.equal_range(NameKey(entry.state, entry.name.name));
        return entry.name.designated && std::any_of(first, last, [&entry](const auto &namesake) {
            return distanceKm(entry.place->centre, namesake.second->centre) <= sameTownKm;
        });
    };
    const auto end = std::remove_if(named.begin(), named.end(), twin);
    set.counts.designatedDropped = static_cast<std::size_t>(named.end() - end);
    named.erase(end, named.end());
}

// Namesakes of one county ("Pewaukee" city and "Pewaukee" village, both in Waukesha County) are told apart by
// their kind as well: "Waukesha County, village".
void addKindsWhereCountiesMatch(std::vector<NamedEntry> &named)
{
    using CountyKey = std::tuple<std::uint32_t, std::string, std::string>;
    std::map<CountyKey, int> uses;
    for (const NamedEntry &entry : named)
        ++uses[CountyKey(entry.state, entry.name.name, entry.county)];
    for (NamedEntry &entry : named) {
        if (!entry.county.empty() && !entry.name.kind.empty()
            && uses[CountyKey(entry.state, entry.name.name, entry.county)] > 1)
            entry.county += ", " + entry.name.kind;
    }
}

// Names the county of every place whose state has another place of its name: "Mesquite" in Dallas County and
// "Mesquite" in Starr County, Texas.
bool nameCountiesOfNamesakes(
    const SourceData &source, std::vector<NamedEntry> &named, LocationSet &set, std::string &error)
{
    std::map<NameKey, int> uses;
    for (const NamedEntry &entry : named)
        ++uses[NameKey(entry.state, entry.name.name)];
    std::map<std::uint32_t, std::string> countyNames;
    for (const LocationRecord &area : set.areas)
        countyNames.emplace(area.id, area.name);
    const CountyFinder counties(source.subdivisions);
    for (NamedEntry &entry : named) {
        if (uses[NameKey(entry.state, entry.name.name)] < 2)
            continue;
        const auto county = countyNames.find(counties.nearest(entry.state, entry.place->centre));
        if (county == countyNames.end() || county->second.find(')') != std::string::npos) {
            error = "no usable county for place " + std::to_string(entry.place->code);
            return false;
        }
        entry.county = county->second;
        ++set.counts.countiesNamed;
    }
    addKindsWhereCountiesMatch(named);
    return true;
}

bool chooseStation(
    const CensusEntry &place, const StationFinder &stations, std::string &station, LocationSet &set, std::string &error)
{
    const char *principal = principalStation(place.code);
    if (principal && !stations.isCandidate(principal)) {
        error = std::string("principal station ") + principal + " is not a usable station";
        return false;
    }
    station = principal ? principal : stations.choose(place);
    if (station.empty()) {
        error = "no station for place " + std::to_string(place.code);
        return false;
    }
    set.counts.principalStations += principal ? 1 : 0;
    set.counts.stationsReplaced += !principal && station != place.station ? 1 : 0;
    return true;
}

bool addCity(const NamedEntry &entry, const StationFinder &stations, const ZoneFinder &zones, LocationSet &set,
    std::string &error)
{
    const CensusEntry &place = *entry.place;
    std::string station;
    if (!chooseStation(place, stations, station, set, error))
        return false;
    const std::string zone = zones.choose(place);
    if (zone.empty()) {
        error = "no forecast zone for place " + std::to_string(place.code);
        return false;
    }
    set.counts.zonesReplaced += zone != place.zone ? 1 : 0;
    std::string data = std::string(meteo::WLocation::STATION_KEY) + '(' + changeCase(station, std::toupper) + ')'
        + meteo::WLocation::ZONE_KEY + '(' + changeCase(zone, std::toupper) + ')' + positionTokens(place.centre);
    if (!entry.county.empty())
        data += "acounty(" + entry.county + ")";
    set.cities.push_back({place.code, entry.state, entry.name.name, data, place.centre});
    return true;
}

// By state, then by name as a reader orders it ("Cataño" as "catano", not after every plain letter), then by code.
void sortCities(std::vector<LocationRecord> &cities)
{
    const auto key = [](const LocationRecord &city) { return std::tuple(city.state, foldLatin(city.name)); };
    std::vector<std::pair<std::tuple<std::uint32_t, std::string>, LocationRecord>> keyed;
    for (LocationRecord &city : cities)
        keyed.emplace_back(key(city), std::move(city));
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        return std::tie(a.first, a.second.name, a.second.id) < std::tie(b.first, b.second.name, b.second.id);
    });
    cities.clear();
    for (auto &entry : keyed)
        cities.push_back(std::move(entry.second));
}

} // namespace

bool buildLocationSet(const SourceData &source, LocationSet &set, std::string &error)
{
    set = LocationSet();
    StateIds ids;
    std::vector<NamedEntry> named;
    if (!collectStates(source, ids, error) || !buildAreas(source, ids, set, error)
        || !nameCities(source, ids, named, set, error))
        return false;
    buildStates(ids, set);
    dropDesignatedTwins(named, set);
    if (!nameCountiesOfNamesakes(source, named, set, error))
        return false;
    const StationFinder stations(source.stations);
    const ZoneFinder zones(source.zones);
    for (const NamedEntry &entry : named) {
        if (!addCity(entry, stations, zones, set, error))
            return false;
    }
    sortCities(set.cities);
    buildZipCodes(source, set);
    return buildStationList(source, set, error);
}

} // namespace ldtgen
