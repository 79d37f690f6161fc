#pragma once

#include "tools/ldtgen/sourcedata.h"

#include <string>
#include <vector>

namespace ldtgen
{

// Picks a city's forecast zone among the zones of its own state: the zone forecasts are fetched from the state's
// page, so a zone across the state line ("flz201" for Atmore, Alabama) would never be found there.
class ZoneFinder
{
public:
    explicit ZoneFinder(const std::vector<Zone> &zones);

    // The package's zone for the place when it lies in the place's state, otherwise the zone of that state whose
    // centre is nearest; "" when the state has no zone with a known centre.
    std::string choose(const CensusEntry &place) const;

private:
    std::vector<Zone> m_zones;
};

// The lower-case state code that starts a zone code: "il" for "ilz104".
std::string zoneState(const std::string &zone);

} // namespace ldtgen
