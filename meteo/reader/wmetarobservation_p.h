#pragma once

#include "meteo/base/wobservation.h"

namespace corekit
{
class LString;
}

namespace meteo
{

struct WMetarReport;

// The observation of a report that decodeMetar() has decoded: the second pass over its text, with the humidity and
// the temperature it feels like from the decoded temperature, dew point and wind speed. Unlike the values the
// reader keeps from earlier reports, the words describe this report alone: a report without weather has none.
WObservation metarObservation(const corekit::LString &text, const WMetarReport &decoded);

} // namespace meteo
