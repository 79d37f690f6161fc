#include "meteo/base/wgrounddistance.h"

#include <cmath>
#include <numbers>

namespace meteo
{

namespace
{

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

} // namespace

// The haversine formula, exact enough at every distance between two places.
double groundDistanceKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB)
{
    const double sinLat = std::sin(radians(latitudeB - latitudeA) / 2);
    const double sinLon = std::sin(radians(longitudeB - longitudeA) / 2);
    const double h = sinLat * sinLat + std::cos(radians(latitudeA)) * std::cos(radians(latitudeB)) * sinLon * sinLon;
    return 2 * EARTH_RADIUS_KM * std::asin(std::sqrt(std::fmin(1.0, h)));
}

} // namespace meteo
