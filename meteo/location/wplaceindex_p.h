#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace meteo
{

// What a place search looks through, read once from the location files. Names are kept twice: as written, and
// folded for comparison (see wplacetext_p.h).

struct WIndexedState {
    std::uint32_t id = 0;
    std::string name; // "Iowa"
    std::string foldedName; // "iowa"
    std::string code; // "ia"
};

struct WIndexedCity {
    std::uint32_t id = 0;
    std::uint32_t stateId = 0;
    std::uint32_t state = 0; // index into WPlaceIndex::states
    std::string name; // as a list shows it: "Mesquite (Starr County)" where the state has two of the name
    std::string foldedName; // the plain name folded: "mesquite"
    std::string station; // "KMFE"
    std::string zone; // "TXZ253"
    double latitude = 0; // degrees
    double longitude = 0;
};

struct WIndexedZip {
    std::uint32_t code = 0; // 50309
    std::uint32_t city = 0; // index into WPlaceIndex::cities
    float distanceKm = 0;
};

struct WIndexedStation {
    std::string code; // "KDSM"
    double latitude = 0;
    double longitude = 0;
};

struct WPlaceIndex {
    std::vector<WIndexedState> states; // in file order
    std::vector<WIndexedCity> cities; // in file order: by state, then by name
    std::vector<WIndexedZip> zipCodes; // by code
    std::vector<WIndexedStation> stations; // by code
};

// Reads the index from the location files of directory ("" for the current directory). False, with the name of
// the file that is missing or damaged in error ("cannot read zipcodes.ldt"), and why where that shows without
// reading it ("zipcodes.ldt is a FIFO, not a regular file").
bool loadPlaceIndex(const std::string &directory, WPlaceIndex &index, std::string &error);

} // namespace meteo
