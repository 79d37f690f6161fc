#include "tools/ldtgen/geo.h"

#include "meteo/location/wlocation.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace ldtgen
{

double angularDistance(const GeoPoint &a, const GeoPoint &b)
{
    const double sinLat = std::sin((b.lat - a.lat) / 2);
    const double sinLon = std::sin((b.lon - a.lon) / 2);
    const double h = sinLat * sinLat + std::cos(a.lat) * std::cos(b.lat) * sinLon * sinLon;
    return 2 * std::asin(std::sqrt(std::fmin(1.0, h)));
}

// The mean radius of the earth.
constexpr double earthRadiusKm = 6371.0;

double distanceKm(const GeoPoint &a, const GeoPoint &b)
{
    return angularDistance(a, b) * earthRadiusKm;
}

std::string formatDegrees(double radians)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", radians * 180 / std::numbers::pi);
    std::string degrees(text);
    while (degrees.back() == '0')
        degrees.pop_back();
    if (degrees.back() == '.')
        degrees.pop_back();
    return degrees == "-0" ? "0" : degrees;
}

std::string positionTokens(const GeoPoint &point)
{
    using meteo::WLocation;
    return std::string(WLocation::LATITUDE_KEY) + '(' + formatDegrees(point.lat) + ')' + WLocation::LONGITUDE_KEY + '('
        + formatDegrees(point.lon) + ')';
}

} // namespace ldtgen
