#pragma once

#include "tools/ldtgen/sourcedata.h"

#include <string>

namespace ldtgen
{

// The distance along the ground between two points, in kilometres: the place search's great-circle distance, so
// that the distances written into the files are the ones the search measures.
double distanceKm(const GeoPoint &a, const GeoPoint &b);

// An angle in radians as decimal degrees with at most four decimals (about 11 m) and no trailing zeros:
// 0.7301942 gives "41.837", -1.5303909 gives "-87.6849", and a value that rounds to zero gives "0".
std::string formatDegrees(double radians);

// The position tokens of a record's data: "alat(41.837)alon(-87.6849)".
std::string positionTokens(const GeoPoint &point);

} // namespace ldtgen
