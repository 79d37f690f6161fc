#include "meteo/location/wnearbystations.h"

#include "meteo/base/wgrounddistance.h"
#include "meteo/base/wlocation.h"
#include "meteo/location/wlocationdb.h"
#include "meteo/location/wplaceindex_p.h"

#include <algorithm>
#include <cstdint>
#include <utility>

using namespace corekit;

namespace meteo
{

WNearbyStations::WNearbyStations() = default;
WNearbyStations::~WNearbyStations() = default;

int WNearbyStations::load(const std::string &directory)
{
    auto index = std::make_unique<WPlaceIndex>();
    m_index.reset();
    if (!loadPlaceIndex(directory, *index, m_error))
        return -1;
    m_error.clear();
    m_zipCounts.assign(index->cities.size(), 0);
    for (const WIndexedZip &zip : index->zipCodes)
        ++m_zipCounts[zip.city];
    m_index = std::move(index);
    return 0;
}

int WNearbyStations::load(const WLocationDB &database)
{
    const LString &directory = database.getDirectory();
    return load(std::string(directory, directory.length()));
}

std::vector<WNearbyStation> WNearbyStations::near(const WLocation &place) const
{
    const std::optional<WLocation::Coordinates> at = place.getCoordinates();
    if (!m_index || !at)
        return {};
    LString code;
    place.getCityData(WLocation::STATION_KEY, code);
    const std::string own(code, code.length());
    std::vector<WNearbyStation> found;
    for (const WIndexedStation &station : m_index->stations) {
        const double km = groundDistanceKm(at->latitude, at->longitude, station.latitude, station.longitude);
        if (km <= RANGE_KM && station.code != own)
            found.push_back({station.code, placeOf(station.code, station.latitude, station.longitude), km});
    }
    std::sort(found.begin(), found.end(),
        [](const WNearbyStation &a, const WNearbyStation &b) { return a.distanceKm < b.distanceKm; });
    return found;
}

// Of the cities a station reports for, the one with the most ZIP codes names it, the nearest to the station among
// equals: "KIKV" reports for Saylorville, next to the airfield, but is Ankeny's.
std::string WNearbyStations::placeOf(const std::string &code, double latitude, double longitude) const
{
    const WIndexedCity *best = nullptr;
    std::pair<std::uint32_t, double> bestRank{0, 0};
    for (std::size_t i = 0; i < m_index->cities.size(); ++i) {
        const WIndexedCity &city = m_index->cities[i];
        if (city.station != code)
            continue;
        const std::pair<std::uint32_t, double> rank{
            m_zipCounts[i], -groundDistanceKm(latitude, longitude, city.latitude, city.longitude)};
        if (!best || rank > bestRank) {
            best = &city;
            bestRank = rank;
        }
    }
    return best ? best->name : std::string();
}

} // namespace meteo
