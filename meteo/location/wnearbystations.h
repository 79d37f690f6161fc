#pragma once

#include "meteo/meteo_export.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace meteo
{

class WLocation;
class WLocationDB;
struct WPlaceIndex;

// A station near a place: its code ("KIKV"), the name of the place it reports for ("Ankeny"; empty when no city
// of the files names it) and how far it lies from the place.
struct WNearbyStation {
    std::string code;
    std::string place;
    double distanceKm = 0;
};

// The observation stations of the location files ("stations.ldt") by their distance from a place, for when the
// place's own station has nothing recent to say. The files are read once, by load().
class METEO_EXPORT WNearbyStations
{
public:
    // How far a station may lie from the place and still speak for its weather.
    static constexpr double RANGE_KM = 50;

    WNearbyStations();
    ~WNearbyStations();
    WNearbyStations(const WNearbyStations &) = delete;
    WNearbyStations &operator=(const WNearbyStations &) = delete;

    // Reads the location files of the directory (empty: the current directory), or of the database's directory.
    // 0, or -1 when a file is missing or damaged: then no station is near any place and getError() says which.
    int load(const std::string &directory);
    int load(const WLocationDB &database);
    bool isLoaded() const { return m_index != nullptr; }
    const std::string &getError() const { return m_error; }

    // The stations within RANGE_KM of the place ("alat", "alon" of its city data), nearest first, the place's own
    // station ("acode") left out; none when the place has no coordinates.
    std::vector<WNearbyStation> near(const WLocation &place) const;

private:
    std::string placeOf(const std::string &code, double latitude, double longitude) const;

    std::unique_ptr<const WPlaceIndex> m_index;
    // By the index of each city: how many ZIP codes it is the nearest place of.
    std::vector<std::uint32_t> m_zipCounts;
    std::string m_error;
};

} // namespace meteo
