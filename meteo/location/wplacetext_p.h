#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meteo
{

// Text as a place search compares it: lower case, Latin letters without their accents, every run of other
// characters (spaces, punctuation, bytes that are not UTF-8) one space, none at either end, and "saint", "sainte",
// "fort" and "mount" shortened as names often write them. "Cataño" gives "catano", "St. Louis" and "Saint Louis"
// give "st louis", "Winston-Salem" gives "winston salem". Letters of other scripts stay as they are.
std::string foldPlaceText(std::string_view text);

// The value of the token "key(value)" in a city's data, "" when it has none.
std::string placeToken(std::string_view data, std::string_view key);

// Degrees of latitude and longitude as people write them: "41.59, -93.62", "41.59 -93.62", "41.59,-93.62".
struct WTypedPoint {
    double latitude = 0;
    double longitude = 0;
};
std::optional<WTypedPoint> parseTypedPoint(std::string_view text);

} // namespace meteo
