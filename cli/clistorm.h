#pragma once

#include "cli/cliunits.h"
#include "meteo/base/walert.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace cli
{

struct CliPlace;

// Where the storm of a warning lies from the place, estimated at one moment from the motion the warning states.
class CliStorm
{
public:
    CliStorm(const CliPlace &place, const CliUnits &units, std::int64_t now);

    // "Storm 31 mi S of you, moving N at 43 mph; over you about 14:05 (estimated ...)", the closest approach's time
    // in the local zone; "" where the alert states no motion or it gives no estimate.
    std::string line(const meteo::WAlertRecord &alert) const;
    // The members "motion" (time, from_deg, speed_kt, points as [latitude, longitude]) and "approach"
    // (distance_km, bearing_deg, closest_km, closest_time, moving_away), each null where there is none.
    void addJson(const meteo::WAlertRecord &alert, nlohmann::ordered_json &object) const;

private:
    std::optional<meteo::WStormApproach> approach(const meteo::WAlertRecord &alert) const;

    std::optional<double> m_latitude;
    std::optional<double> m_longitude;
    CliUnits m_units;
    std::int64_t m_now;
};

} // namespace cli
