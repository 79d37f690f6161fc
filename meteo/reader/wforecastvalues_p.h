#pragma once

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace meteo
{

// The values of one period of the web service's point forecast, each read on its own from whatever form the
// answer gives it in. The service sends numbers, numbers written as text ("72"), quantities
// ({"unitCode": "wmoUnit:degC", "value": 22.8}) or null; none of these readers makes up a value where the answer
// has none.

// The unit system an answer names in its "units" property: "us" (°F, mph) or "si" (°C, km/h).
enum class WForecastUnits { Us, Si };

// A number, or a text that is wholly one ("30", "-4.5"); empty for anything else. A quantity gives its "value".
std::optional<double> forecastNumber(const nlohmann::json &value);
// The same, rounded to a whole percent.
std::optional<int> forecastPercent(const nlohmann::json &value);

// Degrees Celsius of a period's "temperature" with its "temperatureUnit" ("F" or "C"), or of a quantity with its
// unitCode ("wmoUnit:degF"); where neither names a unit, the answer's units decide.
std::optional<double> forecastTemperature(
    const nlohmann::json &temperature, std::string_view temperatureUnit, WForecastUnits units);
// Degrees Celsius of an hour's "dewpoint" quantity: degC as the service sends it, or degF.
std::optional<double> forecastDewPoint(const nlohmann::json &dewPoint);

// The speeds of a wind text, in miles per hour: "5 to 10 mph" gives 5 and 10, "7 mph" gives 7 and 7, "10 to 20
// km/h" the same in miles per hour. A text without a unit is in the answer's units. False when the text holds no
// speed ("Calm" is none).
bool windSpeedRange(std::string_view text, WForecastUnits units, double &low, double &high);

// The weather kind a period's icon address names, and the chance written after it:
// ".../icons/land/night/tsra_hi,30/bkn?size=medium" gives "tsra_hi" and 30; ".../day/few?size=small" gives
// "few" and no chance. The first kind the address names counts; one the service is not known to draw gives an
// empty kind.
void skyOf(std::string_view icon, std::string &sky, std::optional<int> &chance);

} // namespace meteo
