// Feeds arbitrary bytes to the point forecast reader as an answer of the web service, read at a fixed moment, and
// the front of them to the address check. Besides the sanitizers' checks: a refused answer leaves the forecast as
// it was; every period kept ends after the moment and none starts after it ends; a wind speed is read in pairs;
// an address accepted is a path without blanks or control characters.
#include "corekit/lex.h"
#include "meteo/reader/wpointforecast_p.h"
#include "meteo/reader/wserviceurl_p.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace corekit;
using namespace meteo;

namespace
{

// 2026-05-21T17:30:00Z.
constexpr std::int64_t NOW = 1779384600;

void checkPeriod(const WForecastPeriod &period)
{
    if (period.end <= NOW || period.windSpeedLow.has_value() != period.windSpeedHigh.has_value())
        __builtin_trap();
    if (period.skyChance && period.sky.empty())
        __builtin_trap();
}

void checkPath(std::string_view input)
{
    std::string path;
    std::string why;
    if (!servicePath(input, "http://127.0.0.1:8080/api/", path, why))
        return;
    if (path.starts_with('/') || std::any_of(path.begin(), path.end(), [](unsigned char c) { return c <= 0x20; }))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    WForecast forecast;
    forecast.generated = -1;
    if (readPointForecast(input, NOW, forecast) != L_OK) {
        if (forecast.generated != -1 || !forecast.periods.empty())
            __builtin_trap();
    } else {
        std::for_each(forecast.periods.begin(), forecast.periods.end(), checkPeriod);
    }
    checkPath(input.substr(0, 200));
    return 0;
}
