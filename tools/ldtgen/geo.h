#pragma once

#include "tools/ldtgen/sourcedata.h"

#include <string>

namespace ldtgen
{

// The angle between two points seen from the centre of the earth, in radians (the haversine formula, which stays
// exact for the short distances between a town and its nearest station).
double angularDistance(const GeoPoint &a, const GeoPoint &b);
// The same distance along the ground, in kilometres.
double distanceKm(const GeoPoint &a, const GeoPoint &b);

// An angle in radians as decimal degrees with at most four decimals (about 11 m) and no trailing zeros:
// 0.7301942 gives "41.837", -1.5303909 gives "-87.6849", and a value that rounds to zero gives "0".
std::string formatDegrees(double radians);

// The position tokens of a record's data: "alat(41.837)alon(-87.6849)".
std::string positionTokens(const GeoPoint &point);

} // namespace ldtgen
