#pragma once

#include "meteo/meteo_base_export.h"

#include <cstdint>
#include <string_view>

namespace meteo
{

// The moment an ISO 8601 time with its offset names ('2024-07-19T03:00:00-07:00', '2026-09-02T07:47:16Z',
// fractions of a second allowed), in seconds since 1970. False, seconds untouched, for anything else.
// Private to the library: the web service's alerts and products and the storm motions of alerts read their times
// with it.
METEO_BASE_EXPORT bool parseIsoTime(std::string_view text, std::int64_t &seconds);
// The same, giving also the offset from UTC the text wrote (seconds east of UTC: -18000 for '-05:00', 0 for 'Z').
METEO_BASE_EXPORT bool parseIsoTime(std::string_view text, std::int64_t &seconds, int &utcOffset);

} // namespace meteo
