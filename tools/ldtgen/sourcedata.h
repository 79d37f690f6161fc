#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ldtgen
{

// A point on the globe in radians, as the correlation files give it.
struct GeoPoint {
    double lat = 0;
    double lon = 0;
};

// A Census place or county: its code (state code then place or county code: 1714000 is Chicago, 17031 Cook
// County), its Census name with the kind of place ("Chicago city", "Cook County"), its state ("IL"), its centre,
// and for places the station and forecast zone that the package found nearest ("kmdw", "ilz104").
struct CensusEntry {
    std::uint32_t code = 0;
    std::string name;
    std::string state;
    GeoPoint centre;
    std::string station;
    std::string zone;
};

// A reporting station ("kord"); located is false for the few the package knows no position of, and
// inZoneList tells that the package gave it a forecast zone, which it does only near the zones' coverage.
struct Station {
    std::string code;
    GeoPoint location;
    bool located = false;
    bool inZoneList = false;
};

// A public forecast zone ("ilz104"); located is false for zones without a known centre.
struct Zone {
    std::string code;
    GeoPoint centre;
    bool located = false;
};

// A county subdivision (a township, a census county division): its county's five-digit code, which begins its own
// ten-digit code (1901591002, Dodge township, lies in county 19015, Boone County, Iowa), and its centre.
struct Subdivision {
    std::uint32_t county = 0;
    GeoPoint centre;
};

// A ZIP code tabulation area: the five digits ("00601", "50309") and its centre.
struct ZipArea {
    std::string code;
    GeoPoint centre;
};

struct SourceData {
    std::vector<CensusEntry> places;
    std::vector<CensusEntry> counties;
    std::vector<Subdivision> subdivisions;
    std::vector<Station> stations;
    std::vector<Zone> zones;
    std::vector<ZipArea> zipAreas;
};

// Reads places.gz, stations.gz, zones.gz and zctas.gz of the weather-util-data package from directory.
bool loadSourceData(const std::string &directory, SourceData &data, std::string &error);

// The parts of the correlation files' values: "(0.5775578, -1.4927283)" and "('kalx', 0.0070861)".
bool parsePoint(const std::string &text, GeoPoint &point);
std::string quotedCode(const std::string &text);

} // namespace ldtgen
