#pragma once

#include "cli/clierror.h"

#include <iosfwd>

namespace cli
{

class CliSession;

// "forecast --periods" and "forecast --hourly": the forecast of the place's point from the web service, as a
// table in the chosen units, or as JSON (nimbrel(1)). Throws CliError: Usage when the state pages are the
// source (they hold no such forecast), Fetch when it cannot be fetched or read; CliExit::Nothing when the place
// has no coordinates or no period is left.
CliExit runPointForecast(CliSession &session, std::ostream &out);

} // namespace cli
