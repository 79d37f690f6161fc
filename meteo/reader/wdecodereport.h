#pragma once

#include "meteo/meteo_export.h"

#include <cstdint>

namespace corekit
{
class LString;
}

namespace meteo
{

class WCondition;

// Decodes one METAR or SPECI report into a condition exactly as the reader does with the report of an observation
// page, for callers that hold report texts of their own. Only the values the report holds are written; the gust
// always is (-1 for none), the time is the observation's in the local zone, and the observation (visibility,
// weather, sky, how it feels) is this report's alone.
//   L_OK     condition updated;
//   L_ERROR  the text holds no temperature, dew point, pressure or wind ('KXYZ 121851Z NIL', a line of prose);
//            condition untouched.
// The report's day, hour and minute are read as the latest such time at most an hour ahead of now (seconds since
// 1970; without now, the clock's), so that a report of the 28th read on the 1st is of the month before.
METEO_EXPORT int decodeReport(const corekit::LString &report, WCondition &condition);
METEO_EXPORT int decodeReport(const corekit::LString &report, WCondition &condition, std::int64_t now);

} // namespace meteo
