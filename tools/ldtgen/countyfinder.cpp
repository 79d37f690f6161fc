#include "tools/ldtgen/countyfinder.h"

#include "tools/ldtgen/geo.h"

#include <algorithm>

namespace ldtgen
{

namespace
{

constexpr std::uint32_t countiesPerState = 1000;

} // namespace

CountyFinder::CountyFinder(const std::vector<Subdivision> &subdivisions)
    : m_subdivisions(subdivisions)
{
    std::stable_sort(m_subdivisions.begin(), m_subdivisions.end(),
        [](const Subdivision &a, const Subdivision &b) { return a.county < b.county; });
}

// Ties go to the lowest county code, so that the choice never depends on the input's order.
std::uint32_t CountyFinder::nearest(std::uint32_t state, const GeoPoint &point) const
{
    const auto byState = [](const Subdivision &subdivision, std::uint32_t wanted) {
        return subdivision.county / countiesPerState < wanted;
    };
    auto it = std::lower_bound(m_subdivisions.begin(), m_subdivisions.end(), state, byState);
    std::uint32_t best = 0;
    double bestDistance = 0;
    for (; it != m_subdivisions.end() && it->county / countiesPerState == state; ++it) {
        const double distance = distanceKm(point, it->centre);
        if (best == 0 || distance < bestDistance) {
            best = it->county;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace ldtgen
