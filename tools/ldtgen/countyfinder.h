#pragma once

#include "tools/ldtgen/sourcedata.h"

#include <cstdint>
#include <vector>

namespace ldtgen
{

// Tells which county a place lies in. The correlation files give places no county, but county subdivisions carry
// theirs in their code, and they tile the counties: the subdivision whose centre is nearest to a place names its
// county.
class CountyFinder
{
public:
    explicit CountyFinder(const std::vector<Subdivision> &subdivisions);

    // The five-digit code of the county of the subdivision of the state (by its Census code, 48 for Texas) nearest
    // to point; 0 when the state has none.
    std::uint32_t nearest(std::uint32_t state, const GeoPoint &point) const;

private:
    std::vector<Subdivision> m_subdivisions;
};

} // namespace ldtgen
