#pragma once

#include "meteo/location/wnearbystations.h"
#include "meteo/reader/wnearbycondition.h"

#include <cstdint>
#include <string>

namespace meteo
{
class WCondition;
class WLocation;
class WReader;
} // namespace meteo

namespace nimbdesk
{

// The worker's step after the place's own observation: the nearby station that stands in while the place's station
// is quiet (meteo::WNearbyCondition). The station list is read from the location files on first need, on the
// worker's thread, and again when their directory changes.
class CNearbyStation
{
public:
    // As WNearbyCondition::fetch, with the stations of the location files of directory. A list that cannot be
    // read, or a failure while asking, leaves the own result as it was.
    int Fetch(meteo::WReader &reader, const meteo::WLocation &place, const std::string &directory, int result,
        meteo::WCondition &condition, std::int64_t now, meteo::WStationUsed &used);

private:
    bool Load(const std::string &directory);

    meteo::WNearbyStations m_stations;
    std::string m_directory;
};

} // namespace nimbdesk
