#pragma once

#include "meteo/base/wgrounddistance.h"
#include "meteo/base/wplacefold.h"

#include <optional>
#include <string>
#include <string_view>

namespace meteo
{

// The value of the token "key(value)" in a city's data, "" when it has none.
std::string placeToken(std::string_view data, std::string_view key);

// Degrees of latitude and longitude as people write them: "41.59, -93.62", "41.59 -93.62", "41.59,-93.62".
struct WTypedPoint {
    double latitude = 0;
    double longitude = 0;
};
std::optional<WTypedPoint> parseTypedPoint(std::string_view text);

} // namespace meteo
