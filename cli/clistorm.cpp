#include "cli/clistorm.h"

#include "cli/cliobservation.h"
#include "cli/cliplaces.h"

#include <nlohmann/json.hpp>

#include <cmath>

using namespace corekit;
using namespace meteo;

namespace cli
{

namespace
{

using json = nlohmann::ordered_json;

// Tenths of a kilometre: the estimate is no finer than that.
double tenths(double value)
{
    return std::round(value * 10) / 10;
}

json motionJson(const WStormMotion &motion)
{
    json points = json::array();
    for (const WStormPoint &point : motion.points)
        points.push_back({point.latitude, point.longitude});
    return {{"time", isoTime(motion.time, false)}, {"from_deg", motion.fromDeg}, {"speed_kt", motion.speedKt},
        {"points", points}};
}

json approachJson(const WStormApproach &approach)
{
    return {{"distance_km", tenths(approach.distanceKm)}, {"bearing_deg", std::lround(approach.bearingDeg) % 360},
        {"closest_km", tenths(approach.closestKm)},
        {"closest_time", approach.movingAway ? json(nullptr) : json(isoTime(approach.closestTime, false))},
        {"moving_away", approach.movingAway}};
}

} // namespace

CliStorm::CliStorm(const CliPlace &place, const CliUnits &units, std::int64_t now)
    : m_latitude(place.latitude)
    , m_longitude(place.longitude)
    , m_units(units)
    , m_now(now)
{
}

std::string CliStorm::line(const WAlertRecord &alert) const
{
    const std::optional<WStormApproach> found = approach(alert);
    return found ? m_units.storm(*alert.motion, *found, localClock(found->closestTime)) : std::string();
}

void CliStorm::addJson(const WAlertRecord &alert, nlohmann::ordered_json &object) const
{
    const std::optional<WStormApproach> found = approach(alert);
    object["motion"] = alert.motion ? motionJson(*alert.motion) : json(nullptr);
    object["approach"] = found ? approachJson(*found) : json(nullptr);
}

std::optional<WStormApproach> CliStorm::approach(const WAlertRecord &alert) const
{
    if (!alert.motion || !m_latitude || !m_longitude)
        return std::nullopt;
    return estimateStormApproach(*alert.motion, *m_latitude, *m_longitude, m_now);
}

} // namespace cli
