#pragma once

#include <cstdint>
#include <string>

namespace ldtgen
{

// A Census place under the name people use, and whether the Census only designated it for counting (a CDP, or in
// Puerto Rico a "zona urbana" or "comunidad") rather than it being an incorporated town.
struct CommonName {
    std::string name;
    bool designated = false;
    // The kind the Census name ended in: "city", "village", "CDP"; empty for one the table does not know.
    std::string kind;
};

// Census names carry the kind of place, which people do not say: "Abbeville city" is Abbeville, "Agawam Town
// city" in Massachusetts is Agawam, "San Buenaventura (Ventura) city" is Ventura, "Milford city (balance)" is
// Milford. Consolidated governments and a few others are named through a table by their place code.
CommonName commonName(std::uint32_t code, const std::string &censusName, const std::string &state);

} // namespace ldtgen
