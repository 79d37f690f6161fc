#include "meteo/reader/wstormwords.h"

#include "meteo/base/wconvert.h"

#include <cmath>

namespace meteo
{

namespace
{

constexpr double KM_PER_MILE = 1.609344;
// A storm whose closest approach stays this far off passes by; nearer, when it comes matters most.
constexpr double PASSING_KM = 16.0;
constexpr const char *POINTS[] = {"N", "NE", "E", "SE", "S", "SW", "W", "NW"};
constexpr const char *POINT_WORDS[]
    = {"north", "northeast", "east", "southeast", "south", "southwest", "west", "northwest"};

// The nearest of the eight points of the compass: 200 degrees is 4 (south).
int compassPoint(double degrees)
{
    return static_cast<int>(std::lround(degrees / 45.0) % 8);
}

} // namespace

WStormWords::WStormWords(Speed speed)
    : m_speed(speed)
{
}

std::string WStormWords::line(
    const WStormMotion &motion, const WStormApproach &approach, const std::string &closestClock) const
{
    const char *subject = motion.points.size() > 1 ? "Line of storms" : "Storm";
    return subject + where(approach) + heading(motion) + ahead(motion, approach, closestClock)
        + " (estimated from the warning's storm motion)";
}

// " 12 mi SW of you", or " over you" within half a unit.
std::string WStormWords::where(const WStormApproach &approach) const
{
    const std::string away = distance(approach.distanceKm);
    if (away.empty())
        return " over you";
    return ' ' + away + ' ' + POINTS[compassPoint(approach.bearingDeg)] + " of you";
}

// ", moving NE at 43 mph": toward the opposite of where the storm comes from.
std::string WStormWords::heading(const WStormMotion &motion) const
{
    if (motion.speedKt == 0)
        return ", nearly stationary";
    const int knots = motion.speedKt;
    const float mph = knots2MPH(static_cast<unsigned int>(knots));
    std::string speed;
    if (m_speed == Speed::Kmh)
        speed = std::to_string(std::lround(MPH2KMPH(mph))) + " km/h";
    else if (m_speed == Speed::Kt)
        speed = std::to_string(knots) + " kt";
    else
        speed = std::to_string(std::lround(mph)) + " mph";
    return std::string(", moving ") + POINTS[compassPoint(motion.fromDeg + 180.0)] + " at " + speed;
}

std::string WStormWords::ahead(
    const WStormMotion &motion, const WStormApproach &approach, const std::string &clock) const
{
    if (motion.speedKt == 0)
        return {};
    if (approach.movingAway)
        return "; moving away";
    const std::string closest = distance(approach.closestKm);
    const std::string side = closest + ' ' + POINTS[compassPoint(approach.closestBearingDeg)];
    if (approach.stillNearing)
        return "; still nearing at " + clock + ", " + (closest.empty() ? "over you" : side);
    if (approach.closestKm >= PASSING_KM)
        return "; passing " + closest + " to the " + POINT_WORDS[compassPoint(approach.closestBearingDeg)] + " about "
            + clock;
    return closest.empty() ? "; over you about " + clock : "; closest about " + clock + ", " + side;
}

// "12 mi" or "19 km" in whole units; "" for what rounds to none.
std::string WStormWords::distance(double km) const
{
    const long whole = std::lround(m_speed == Speed::Kmh ? km : km / KM_PER_MILE);
    if (whole == 0)
        return {};
    return std::to_string(whole) + (m_speed == Speed::Kmh ? " km" : " mi");
}

} // namespace meteo
