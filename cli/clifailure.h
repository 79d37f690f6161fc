#pragma once

#include "meteo/base/wfailure.h"

#include <string>

namespace cli
{

// Why a fetch failed, for standard error and the status tooltips: "cannot connect to the server", "not found
// (404)", "timed out", or the server's own title of the problem.
std::string failureReason(const meteo::WFailure &failure);

} // namespace cli
