#include "tools/ldtgen/geo.h"

#include "meteo/base/wgrounddistance.h"
#include "meteo/base/wlocation.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace ldtgen
{

namespace
{

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

} // namespace

double distanceKm(const GeoPoint &a, const GeoPoint &b)
{
    return meteo::groundDistanceKm(degrees(a.lat), degrees(a.lon), degrees(b.lat), degrees(b.lon));
}

std::string formatDegrees(double radians)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", degrees(radians));
    std::string written(text);
    while (written.back() == '0')
        written.pop_back();
    if (written.back() == '.')
        written.pop_back();
    return written == "-0" ? "0" : written;
}

std::string positionTokens(const GeoPoint &point)
{
    using meteo::WLocation;
    return std::string(WLocation::LATITUDE_KEY) + '(' + formatDegrees(point.lat) + ')' + WLocation::LONGITUDE_KEY + '('
        + formatDegrees(point.lon) + ')';
}

} // namespace ldtgen
