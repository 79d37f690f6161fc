#pragma once

#include "tools/ldtgen/sourcedata.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ldtgen
{

// One record of the location files. States leave state at 0 and hold their short code as data ("il"); areas and
// cities name their state, and a city's data lists its station, zone and position, and for a city whose state
// has another of the same name, its county (and where that county holds both, the kind of place:
// "Waukesha County, village"):
//   acode(KORD)azone(ILZ104)alat(41.837)alon(-87.6849)
//   acode(KMFE)azone(TXZ253)alat(26.3549)alon(-98.7403)acounty(Starr County)
// The centre of a city is kept beside its data for the lists built from the cities.
struct LocationRecord {
    std::uint32_t id = 0;
    std::uint32_t state = 0;
    std::string name;
    std::string data;
    GeoPoint centre;
};

// What building changed against the package's own choices, for the generator's summary.
struct BuildCounts {
    std::size_t designatedDropped = 0;
    std::size_t countiesNamed = 0;
    std::size_t zipsOutsideStates = 0;
    std::size_t stationsReplaced = 0;
    std::size_t principalStations = 0;
    std::size_t zonesReplaced = 0;
    std::size_t outsideStates = 0;
};

struct LocationSet {
    std::vector<LocationRecord> states;
    std::vector<LocationRecord> areas;
    std::vector<LocationRecord> cities;
    // ZIP codes with the nearest city of their state, and the positions of the cities' stations.
    std::vector<LocationRecord> zipCodes;
    std::vector<LocationRecord> stations;
    BuildCounts counts;
};

// Builds the states (by Census state code), the counties as areas (by five-digit county code) and the cities
// (by seven-digit place code) of the 50 states, the District of Columbia and Puerto Rico. A place that the
// Census only designated is left out when an incorporated place of its state has the same name and lies within
// 10 km of it: then they are one town. Records come ordered by state, then by name. Then the ZIP codes and the
// stations (see searchlists.h). False, with a reason, when the data cannot give every city a station and a zone
// or a name cannot be written.
bool buildLocationSet(const SourceData &source, LocationSet &set, std::string &error);

} // namespace ldtgen
