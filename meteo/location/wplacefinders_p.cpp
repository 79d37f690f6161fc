#include "meteo/location/wplacefinders_p.h"

#include "meteo/base/wgrounddistance.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace meteo
{

namespace
{

constexpr std::size_t ZIP_DIGITS = 5;
constexpr std::size_t ZIP_PLUS_FOUR = 10;
constexpr std::size_t STATION_LETTERS = 4;

// Places with their distances, nearest first (then in file order), cut to the most a search returns.
std::vector<WPlaceMatch> nearestFirst(
    const WPlaceIndex &index, std::vector<std::pair<double, std::uint32_t>> &found, WPlaceMatchKind kind)
{
    const std::size_t kept = std::min(found.size(), WPlaceSearch::MAX_RESULTS);
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end());
    std::vector<WPlaceMatch> matches;
    for (std::size_t i = 0; i < kept; ++i)
        matches.push_back(placeMatch(index, found[i].second, kind, found[i].first));
    return matches;
}

const WIndexedStation *stationNamed(const WPlaceIndex &index, const std::string &code)
{
    const auto found = std::lower_bound(index.stations.begin(), index.stations.end(), code,
        [](const WIndexedStation &station, const std::string &wanted) { return station.code < wanted; });
    return found != index.stations.end() && found->code == code ? &*found : nullptr;
}

} // namespace

WPlaceMatch placeMatch(const WPlaceIndex &index, std::uint32_t city, WPlaceMatchKind kind, double distanceKm)
{
    const WIndexedCity &place = index.cities[city];
    WPlaceMatch match;
    match.stateId = place.stateId;
    match.cityId = place.id;
    match.name = place.name + ", " + index.states[place.state].name;
    match.station = place.station;
    match.zone = place.zone;
    match.latitude = place.latitude;
    match.longitude = place.longitude;
    match.kind = kind;
    match.distanceKm = distanceKm;
    return match;
}

// "50309", or with the four digits that the post adds, "50309-1234" (folded to "50309 1234").
std::vector<WPlaceMatch> findByZipCode(const WPlaceIndex &index, const std::string &folded)
{
    const auto digits = [&folded](std::size_t from, std::size_t count) {
        return from + count <= folded.size()
            && std::all_of(folded.begin() + static_cast<std::ptrdiff_t>(from),
                folded.begin() + static_cast<std::ptrdiff_t>(from + count),
                [](char c) { return c >= '0' && c <= '9'; });
    };
    const bool plusFour = folded.size() == ZIP_PLUS_FOUR && folded[ZIP_DIGITS] == ' ' && digits(ZIP_DIGITS + 1, 4);
    if (!digits(0, ZIP_DIGITS) || (folded.size() != ZIP_DIGITS && !plusFour))
        return {};
    std::uint32_t code = 0;
    std::from_chars(folded.data(), folded.data() + ZIP_DIGITS, code);
    const auto found = std::lower_bound(index.zipCodes.begin(), index.zipCodes.end(), code,
        [](const WIndexedZip &zip, std::uint32_t wanted) { return zip.code < wanted; });
    if (found == index.zipCodes.end() || found->code != code)
        return {};
    return {placeMatch(index, found->city, WPlaceMatchKind::ZipCode, found->distanceKm)};
}

// A station the files give no position of lists its places in file order.
std::vector<WPlaceMatch> findByStation(const WPlaceIndex &index, const std::string &folded)
{
    const auto letterOrDigit = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    if (folded.size() != STATION_LETTERS || !std::all_of(folded.begin(), folded.end(), letterOrDigit))
        return {};
    std::string code = folded;
    std::transform(code.begin(), code.end(), code.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    const WIndexedStation *station = stationNamed(index, code);
    const auto distance = [station](const WIndexedCity &city) {
        return station ? groundDistanceKm(station->latitude, station->longitude, city.latitude, city.longitude) : 0.0;
    };
    std::vector<std::pair<double, std::uint32_t>> found;
    for (std::uint32_t i = 0; i < index.cities.size(); ++i) {
        if (index.cities[i].station == code)
            found.emplace_back(distance(index.cities[i]), i);
    }
    return nearestFirst(index, found, WPlaceMatchKind::Station);
}

std::vector<WPlaceMatch> findNearby(const WPlaceIndex &index, const WTypedPoint &point)
{
    std::vector<std::pair<double, std::uint32_t>> found;
    for (std::uint32_t i = 0; i < index.cities.size(); ++i) {
        const WIndexedCity &city = index.cities[i];
        const double distance = groundDistanceKm(point.latitude, point.longitude, city.latitude, city.longitude);
        if (distance <= WPlaceSearch::NEARBY_KM)
            found.emplace_back(distance, i);
    }
    return nearestFirst(index, found, WPlaceMatchKind::Coordinates);
}

} // namespace meteo
