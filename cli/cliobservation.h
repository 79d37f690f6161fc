#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "meteo/base/wobservation.h"
#include "meteo/reader/wnearbycondition.h"

#include <nlohmann/json_fwd.hpp>

namespace corekit
{
class LString;
}
namespace meteo
{
class WCondition;
}

namespace cli
{

class CliUnits;

// One observation as the commands print it, each value absent where the report did not hold it.
struct CliObservation {
    // The direction of a variable wind, as the decoder gives it.
    static constexpr int VARIABLE_WIND = 400;

    // The station whose report this is, and when a nearby one stood in for the place's quiet station, which and
    // how far away (nearby.isNearby()).
    std::string station;
    meteo::WStationUsed nearby;
    // Seconds since 1970.
    std::optional<std::int64_t> time;
    // Degrees C, inches of mercury, degrees, knots.
    std::optional<float> temperature;
    std::optional<float> dewPoint;
    std::optional<float> pressure;
    std::optional<int> windDirection;
    std::optional<int> windSpeed;
    std::optional<int> windGust;
    // Visibility, weather, sky, humidity and how it feels.
    meteo::WObservation details;

    // A condition for the reader or the decoder to fill: both write only the values a report holds, so what this
    // one holds afterwards that no report can say marks the values that were absent.
    static meteo::WCondition blankCondition();
    static CliObservation fromCondition(const meteo::WCondition &condition, std::string station);
    // The station of a report: its first group after "METAR" or "SPECI" ("KJFK").
    static std::string stationOf(const std::string &report);

    // "Temperature:  76 °F" and the like, one line each, for the values present, then the rest in words; the time
    // in the local zone with its age at now, or in UTC when now is absent.
    std::string text(const CliUnits &units, std::optional<std::int64_t> now) const;
    // The fields of the JSON schema, in °C, inHg, knots, miles and feet, null where absent; the time in the local
    // zone with its offset, and its age in minutes, when now is given, else in UTC.
    void toJson(nlohmann::ordered_json &object, std::optional<std::int64_t> now) const;
};

// "3 hours ago", "just now".
std::string agoText(std::int64_t seconds);
// "2025-01-12 13:51 EST"
std::string localTime(std::int64_t seconds);
// "13:51", in the local zone.
std::string localClock(std::int64_t seconds);
// "2025-01-12T13:51:00-05:00", or "2025-01-12T18:51:00Z" when utc.
std::string isoTime(std::int64_t seconds, bool utc);

} // namespace cli
