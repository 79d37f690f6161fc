#pragma once

#include "meteo/base/walert.h"
#include "meteo/meteo_export.h"

#include <string>
#include <vector>

namespace meteo
{

// The text the reader's warnings, watches or statements operation gives for these records: the texts of the
// alerts of the kind, in their order, in the reader's layout ("A\r\n B\r\n"); empty when there are none. A window
// that drops an alert as it expires makes its ticker's text anew with it, without asking the service.
METEO_EXPORT std::string alertsText(const std::vector<WAlertRecord> &alerts, WAlertKind kind);

} // namespace meteo
