#pragma once

#include "meteo/meteo_base_export.h"

#include <optional>

namespace meteo
{

// How the air feels, by the National Weather Service's formulas. Temperatures in degrees C.

// Relative humidity in percent, from the vapour pressures at the dew point and at the temperature
// (6.11 * 10^(7.5 t / (237.3 + t)) hPa each): 24 C with a dew point of 19 C is 73.6%.
METEO_BASE_EXPORT float relativeHumidity(float temperatureC, float dewPointC);
// The heat index, from 80 F up; below it the air feels as warm as it is and there is none.
METEO_BASE_EXPORT std::optional<float> heatIndex(float temperatureC, float humidityPct);
// The wind chill, at 50 F or below with wind of 3 mph or more; otherwise none.
METEO_BASE_EXPORT std::optional<float> windChill(float temperatureC, float windKnots);

} // namespace meteo
