// Reading the web service's hourly point forecast (156 hours, about 130 KB) into its records, as every update of
// the window does; the target is under 2 ms.
#include "corekit/lex.h"
#include "meteo/reader/wpointforecast_p.h"
#include "tests/support/tempdir.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace
{

// 2026-05-21T17:30:00Z, the moment the recorded answer's times are relative to: no hour has ended.
constexpr std::int64_t RECORDED_AT = 1779384600;

void readHourlyForecast(benchmark::State &state)
{
    const std::string answer
        = nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/live/gridpoints_FWD_89,104_forecast_hourly.json");
    for (auto _ : state) {
        meteo::WForecast forecast;
        if (meteo::readPointForecast(answer, RECORDED_AT, forecast) != corekit::L_OK || forecast.periods.size() != 156)
            state.SkipWithError("the recorded answer was not read whole");
        benchmark::DoNotOptimize(forecast);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * answer.size()));
}
BENCHMARK(readHourlyForecast)->Unit(benchmark::kMicrosecond);

} // namespace
