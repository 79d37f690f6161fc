#pragma once

#include "meteo/meteo_export.h"

#include <cstdint>
#include <string>

namespace meteo
{

class WCondition;
class WLocation;
class WNearbyStations;
class WReader;

// Which station an observation came from when it is not the place's own: the station ("KIKV"), the place it
// reports for ("Ankeny", or empty), how far it lies from the place, the place's own station ("KDSM") and the time of
// that station's last report (seconds since 1970; 0 when its page had none to give).
struct WStationUsed {
    std::string station;
    std::string place;
    double distanceKm = 0;
    std::string requested;
    std::int64_t requestedLastReport = 0;

    // False while the observation is the place's own station's.
    bool isNearby() const { return !station.empty(); }
};

// The step after WReader::getCondition that stands in for a quiet station: when the place's own station has no
// report newer than QUIET_AFTER, or its page is missing (404), it takes the observation from the nearest other
// station within WNearbyStations::RANGE_KM that has one, asking at most MAX_ASKED of them, nearest first.
//
//   int result = reader.getCondition(place, condition);
//   WStationUsed used;
//   result = WNearbyCondition::fetch(reader, place, stations, result, condition, now, used);
class METEO_EXPORT WNearbyCondition
{
public:
    static constexpr std::int64_t QUIET_AFTER = 2 * 3600;
    static constexpr int MAX_ASKED = 3;

    // Whether the own station's fetch (its result and the reader's last failure with it, and the condition it
    // left) leaves the place without a recent report at now (seconds since 1970).
    static bool isQuiet(int result, const WReader &reader, const WCondition &condition, std::int64_t now);

    // Given the own station's result and the condition it left: when the station is quiet and a nearby one has a
    // recent report, that report is decoded into condition, used tells whose it is, and L_OK is returned;
    // otherwise condition and the result stay as they were and used is cleared. The reader shows nothing on its
    // info line while it asks the other stations.
    static int fetch(WReader &reader, const WLocation &place, const WNearbyStations &stations, int result,
        WCondition &condition, std::int64_t now, WStationUsed &used);
};

} // namespace meteo
