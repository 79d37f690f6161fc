#pragma once

#include "meteo/location/wplaceindex_p.h"
#include "meteo/location/wplacesearch.h"
#include "meteo/location/wplacetext_p.h"

#include <string>
#include <string_view>
#include <vector>

namespace meteo
{

// The ways of finding a place, one per kind of query. Each returns its places best first, at most
// WPlaceSearch::MAX_RESULTS of them; the ZIP code and the station take the query folded (see wplacetext_p.h).

// "50309": the city of the ZIP code; nothing when the code is not five digits or not listed.
std::vector<WPlaceMatch> findByZipCode(const WPlaceIndex &index, const std::string &folded);
// "kdsm": the places of the station, nearest to it first; nothing when the text is not a station's code.
std::vector<WPlaceMatch> findByStation(const WPlaceIndex &index, const std::string &folded);
// The places within WPlaceSearch::NEARBY_KM of the point, nearest first.
std::vector<WPlaceMatch> findNearby(const WPlaceIndex &index, const WTypedPoint &point);
// "des moines iowa", "Springfield, IL": the places by name, ranked as WPlaceSearch describes.
std::vector<WPlaceMatch> findByName(const WPlaceIndex &index, std::string_view typed);

// The match record of the city at position city of the index.
WPlaceMatch placeMatch(const WPlaceIndex &index, std::uint32_t city, WPlaceMatchKind kind, double distanceKm);

} // namespace meteo
