#pragma once

#include "meteo/base/wforecast.h"

#include <cstdint>
#include <string_view>

namespace meteo
{

// An answer of the web service's point forecast ("gridpoints/TOP/32,81/forecast" or ".../forecast/hourly"), as
// the records of wforecast.h: {"properties": {"units": "us", "updateTime": "...", "generatedAt": "...",
// "periods": [{"number": 1, "name": "Tonight", "startTime": "2026-05-21T18:00:00-05:00", ...}, ...]}}.
// The periods ended by now (seconds since 1970) are dropped, and the forecast is marked old by the rules of
// WForecast. L_OK; L_FORMAT, forecast untouched, when the text is no JSON or holds no list of periods.
// A period whose times cannot be read is left out: whether it has ended cannot be told.
int readPointForecast(std::string_view answer, std::int64_t now, WForecast &forecast);

// An answer the forecasters last changed more than this long ago is old; so is one whose first period still to
// come started more than FIRST_PERIOD_AGE ago.
constexpr std::int64_t OLD_UPDATE_AGE = 18 * 3600;
constexpr std::int64_t OLD_FIRST_PERIOD_AGE = 6 * 3600;

} // namespace meteo
