#pragma once

#include "meteo/meteo_base_export.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace meteo
{

// Where a storm was and how it moved, as a warning's motion line states it:
//   "2024-05-21T19:26:00-00:00...storm...213DEG...37KT...40.92,-95.39"
// the time of the fix ("-00:00" is UTC), the direction the storm moves FROM in degrees clockwise from true north,
// its speed in knots, and its position, or the positions along a line of storms ("43.43,-85.39 43.28,-85.62").
struct WStormPoint {
    // Degrees north and east: 40.92, -95.39.
    double latitude = 0;
    double longitude = 0;
};

struct WStormMotion {
    // Seconds since 1970.
    std::int64_t time = 0;
    // 213: the storm comes from the south-southwest and travels toward 33 degrees.
    int fromDeg = 0;
    int speedKt = 0;
    // One point, or the points of a line of storms in their order along it; never empty.
    std::vector<WStormPoint> points;
};

// The motion a line states; nothing for a line that lacks a part, has a part it does not expect, a direction beyond
// 0 to 360 degrees, a speed that is not a whole number of knots, or a position off the globe.
METEO_BASE_EXPORT std::optional<WStormMotion> parseStormMotion(std::string_view text);

// Where a storm lies from a place now and where it will come nearest, if it keeps its motion.
struct WStormApproach {
    // From the place to the nearest point of the storm (of the line) now: kilometres along the ground, and degrees
    // clockwise from true north.
    double distanceKm = 0;
    double bearingDeg = 0;
    // The nearest the storm comes from now on within the next two hours, where it then lies from the place, and
    // when (seconds since 1970).
    double closestKm = 0;
    double closestBearingDeg = 0;
    std::int64_t closestTime = 0;
    // The storm moves, and is nearest now: it draws away from the place.
    bool movingAway = false;
    // The storm is still drawing nearer two hours from now: the closest figures are those at that time.
    bool stillNearing = false;
};

// How far ahead an estimate looks, and how old a motion may be for one: storms change course and speed, and a
// motion is reissued within minutes to an hour while the warning lasts.
constexpr std::int64_t STORM_ESTIMATE_SECONDS = 2 * 3600;

// Where the storm lies from the place at the latitude and longitude (degrees) at now (seconds since 1970), each of
// its points moved along its motion from the motion's time to now. Distances and bearings are measured on a flat
// map around the place (x east = longitude difference times the cosine of the place's latitude, y north = latitude
// difference), close enough within the few hundred kilometres a warning covers; distances to a point are then
// measured along the ground. Nothing for a motion more than two hours old or more than ten minutes ahead of now.
METEO_BASE_EXPORT std::optional<WStormApproach> estimateStormApproach(
    const WStormMotion &motion, double latitude, double longitude, std::int64_t now);

} // namespace meteo
