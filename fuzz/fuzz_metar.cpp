// Feeds arbitrary bytes to the METAR decoder. Besides the sanitizers' checks, a decoded time must lie within the
// month before "now" (or a few days after it, when a 31st is carried into the next month).
#include "corekit/lstring.h"
#include "meteo/reader/wmetar_p.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // 1 January 2025 00:30 UTC: a report day ahead of it rolls back into December of the year before.
    const std::int64_t now = 1735691400;
    const LString report(reinterpret_cast<const char *>(data), static_cast<unsigned long>(size));
    WMetarReport out;
    decodeMetar(report, out, now);
    if (out.hasObservationTime && (out.observationTime < now - 32 * 86400 || out.observationTime > now + 4 * 86400))
        __builtin_trap();
    if (out.hasWindGust && out.windGust == 0)
        __builtin_trap();
    return 0;
}
