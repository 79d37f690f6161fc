#pragma once

#include "meteo/meteo_base_export.h"

namespace meteo
{

// The mean radius of the earth.
inline constexpr double EARTH_RADIUS_KM = 6371.0;

// The distance along the ground between two points given in degrees, in kilometres (the haversine formula).
METEO_BASE_EXPORT double groundDistanceKm(double latitudeA, double longitudeA, double latitudeB, double longitudeB);

} // namespace meteo
