// Feeds arbitrary bytes to the METAR decoder and to the second pass that reads the rest of the report in words.
// Besides the sanitizers' checks, a decoded time must lie within the month before "now" (or a few days after it,
// when a 31st is carried into the next month), and the ceiling must be the height of one of the layers.
#include "corekit/lstring.h"
#include "meteo/reader/wmetar_p.h"
#include "meteo/reader/wmetarobservation_p.h"
#include "meteo/reader/wobservationwords.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace corekit;
using namespace meteo;

namespace
{

bool ceilingIsALayer(const WObservation &observation)
{
    return !observation.ceilingFt
        || std::any_of(observation.sky.begin(), observation.sky.end(),
            [&](const WSkyLayer &layer) { return layer.heightFt == observation.ceilingFt; });
}

void observe(const LString &report, const WMetarReport &decoded)
{
    const WObservation observation = metarObservation(report, decoded);
    if (!ceilingIsALayer(observation) || (observation.visibilityMi && *observation.visibilityMi < 0.0f))
        __builtin_trap();
    for (const WWeather &weather : observation.weather) {
        if (weather.text.empty())
            __builtin_trap();
    }
    const WObservationWords words(WCondition::Celsius, WObservationWords::Distance::Metric);
    if (words.line(observation).empty()
        != (observation.weather.empty() && observation.sky.empty() && !observation.visibilityMi
            && !observation.humidityPct && !observation.heatIndexC && !observation.windChillC))
        __builtin_trap();
}

} // namespace

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
    observe(report, out);
    return 0;
}
