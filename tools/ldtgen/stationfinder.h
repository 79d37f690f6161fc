#pragma once

#include "tools/ldtgen/sourcedata.h"

#include <string>
#include <vector>

namespace ldtgen
{

// Picks a city's reporting station among the stations that can serve it: in the United States (by the ICAO
// prefix: K, and PA, PF, PO, PP, PH, TI, TJ for Alaska, Hawaii and the Caribbean), with an all-letter
// four-character code ("k1a9" is left out), with a known position, and within the forecast zones' coverage: the
// package gives a zone only to stations near the zones, which leaves out "kqta" in Japan and "paor", whose
// recorded position lies across the date line.
class StationFinder
{
public:
    explicit StationFinder(const std::vector<Station> &stations);

    // Whether code ("kord") names a station that can serve a city.
    bool isCandidate(const std::string &code) const;
    // The package's choice for the place when it can serve it, otherwise the nearest station that can; "" when
    // there is none.
    std::string choose(const CensusEntry &place) const;
    std::string nearest(const GeoPoint &point) const;

private:
    std::vector<Station> m_candidates;
};

} // namespace ldtgen
