#pragma once

#include "meteo/meteo_export.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace meteo
{

class WLocationDB;
struct WPlaceIndex;

// Why a place was found: the kinds of name match rank in this order, before the other kinds, which each query
// gives alone.
enum class WPlaceMatchKind {
    ExactName, // "des moines" is the whole name of Des Moines
    NameStart, // "des mo" begins it
    NameInside, // "moines" stands in it
    ZipCode, // "50309": the nearest city of the ZIP code's state
    Station, // "KDSM": a place that station reports for
    Coordinates, // "41.59, -93.62": a place within 100 km
};

// One place found: the two ids the settings keep and WLocationDB::makeUSLocation takes, the name to show
// ("Des Moines, Iowa"; "Mesquite (Starr County), Texas" where the state has two of the name), the station and zone
// the weather comes from, where the place lies, and for a ZIP code, a station or coordinates how far it lies from
// what was typed (from the ZIP code's centre, the station, the point), in kilometres.
struct WPlaceMatch {
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    std::string name;
    std::string station;
    std::string zone;
    double latitude = 0;
    double longitude = 0;
    WPlaceMatchKind kind = WPlaceMatchKind::ExactName;
    double distanceKm = 0;
};

// Finds places the way people name them, over the location files of one directory:
//   a place name in any state, accents and case ignored: "des moines", "Des Moines, IA", "des moines iowa",
//     "catano" for "Cataño"; exact names rank before names that begin so, before names that hold the text, and
//     within each rank the places of a state that was typed come first, then the rest by name and state;
//   a five-digit ZIP code: "50309" or "50309-1234";
//   a station: "KDSM" or "kdsm", the places it reports for, nearest first (four letters are also tried as a name);
//   coordinates in degrees: "41.59, -93.62" or "41.59 -93.62", the places within 100 km, nearest first.
// At most MAX_RESULTS places come back; text that is none of these finds nothing.
//
// The files are read once, by load(); a search then reads no file. find() may run on several threads at once;
// load() must not run beside any other call.
//
//   WPlaceSearch search;
//   if (search.load(WLocationDB::getLocationDB()) != 0)
//       report(search.getError());
//   for (const WPlaceMatch &place : search.find("springfield, il")) ...
class METEO_EXPORT WPlaceSearch
{
public:
    static constexpr std::size_t MAX_RESULTS = 50;
    static constexpr double NEARBY_KM = 100;

    // Finds nothing until loaded.
    WPlaceSearch();
    ~WPlaceSearch();
    WPlaceSearch(const WPlaceSearch &) = delete;
    WPlaceSearch &operator=(const WPlaceSearch &) = delete;

    // Reads "states.ldt", "cities.ldt", "zipcodes.ldt" and "stations.ldt" of the directory (empty: the current
    // directory), or of the database's directory. 0, or -1 when a file is missing or damaged: then the search
    // finds nothing and getError() says which file ("cannot read zipcodes.ldt").
    int load(const std::string &directory);
    int load(const WLocationDB &database);
    bool isLoaded() const { return m_index != nullptr; }
    const std::string &getError() const { return m_error; }

    std::vector<WPlaceMatch> find(std::string_view query) const;

private:
    std::unique_ptr<const WPlaceIndex> m_index;
    std::string m_error;
};

} // namespace meteo
