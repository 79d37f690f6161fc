#pragma once

#include "meteo/meteo_base_export.h"

#include <cstdint>
#include <string>

namespace meteo
{

// The moment (seconds since 1970) written as the web service writes its times, at the offset from UTC given in
// seconds: '2026-05-21T12:00:00-05:00', and '+00:00' rather than 'Z' for UTC. The offset of a forecast period
// (WForecastPeriod::utcOffset) writes the period back as the answer gave it.
METEO_BASE_EXPORT std::string isoTime(std::int64_t seconds, int utcOffset);

} // namespace meteo
