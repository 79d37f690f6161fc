// Feeds arbitrary bytes to the place search over the real location files. Besides the sanitizers' checks, no
// search may return more than the limit, a place without its ids, or a nearby place beyond the radius.
#include "meteo/location/wplacesearch.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace meteo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static WPlaceSearch search;
    if (!search.isLoaded() && search.load(NIMBREL_LOCATION_DATA) != 0)
        __builtin_trap();
    const auto found = search.find(std::string_view(reinterpret_cast<const char *>(data), size));
    if (found.size() > WPlaceSearch::MAX_RESULTS)
        __builtin_trap();
    for (const WPlaceMatch &match : found) {
        if (match.stateId == 0 || match.cityId == 0 || match.name.empty())
            __builtin_trap();
        if (match.kind == WPlaceMatchKind::Coordinates && match.distanceKm > WPlaceSearch::NEARBY_KM)
            __builtin_trap();
    }
    return 0;
}
