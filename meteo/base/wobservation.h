#pragma once

#include "meteo/meteo_base_export.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meteo
{

// What a report says beyond the gauges' values, read in a second pass over its body (the groups between the
// station and "RMK"): the visibility, the present weather, the sky, and the humidity and the temperature it feels
// like. Each member is empty when the report lacks it. Codes stay as the report writes them, so that the record
// reads like the report: a layer's cover is "BKN", a weather group's descriptor "TS".
//
// 'KDSM 211854Z 17023G37KT 2 1/2SM -TSRA BR BKN008CB OVC035 24/19 A2951' gives visibility 2.5 mi; the weather
// "-" "TS" {"RA"} "thunderstorm, light rain" and "" "" {"BR"} "mist"; the layers "BKN" 800 ft "CB" and
// "OVC" 3,500 ft; the ceiling 800 ft; humidity 74%.

// Whether the visibility is the value itself or a bound of it: 'M1/4SM' is less than a quarter of a mile,
// 'P6SM' and '9999' (10 km or more) more than the value.
enum class WBound { Exact, Below, Above };

// One present-weather group: '+TSRAGR' is intensity "+", descriptor "TS", phenomena {"RA", "GR"}, text "heavy
// thunderstorm with rain and hail". The intensity is "-" (light), "+" (heavy), "VC" (in the vicinity) or empty
// (moderate); 'NSW' (no significant weather) is a group of its own with no codes.
struct METEO_BASE_EXPORT WWeather {
    std::string intensity;
    std::string descriptor;
    std::vector<std::string> phenomena;
    std::string text;
};

// One sky-cover group: 'BKN008CB' is cover "BKN", 800 ft, cloud "CB". The cover is "FEW", "SCT", "BKN", "OVC",
// "VV" (vertical visibility into an obscured sky), "CLR" or "SKC" (clear; no height); the cloud "CB"
// (cumulonimbus), "TCU" (towering cumulus) or empty. Automatic stations write '///' for a height they cannot
// measure: the height is then empty.
struct METEO_BASE_EXPORT WSkyLayer {
    std::string cover;
    std::optional<int> heightFt;
    std::string cloud;
};

struct METEO_BASE_EXPORT WObservation {
    std::optional<float> visibilityMi; // statute miles
    WBound visibilityBound = WBound::Exact;
    std::vector<WWeather> weather; // in the report's order
    std::vector<WSkyLayer> sky; // in the report's order, lowest first
    std::optional<int> ceilingFt; // the lowest broken or overcast layer, or the vertical visibility
    std::optional<float> humidityPct; // relative humidity, percent
    std::optional<float> heatIndexC; // degrees C; only from 80 F up
    std::optional<float> windChillC; // degrees C; only at 50 F or below with wind of 3 mph or more
};

// The visibility, weather, sky and ceiling of a report such as 'KJFK 121851Z 18010KT 10SM -RA BR OVC004 24/12
// A3001 RMK AO2'. Groups it does not know are passed over; bad input never throws (only a failed allocation does).
// The humidity, heat index and wind chill stay empty: addComfort() adds them.
METEO_BASE_EXPORT WObservation readObservation(std::string_view report);

// Adds the humidity, heat index and wind chill that the report's decoded temperature and dew point (degrees C)
// and wind speed (knots) give; each stays empty when a value it needs is absent or beyond anything the air has
// reached (a damaged report), or when it does not apply.
METEO_BASE_EXPORT void addComfort(WObservation &observation, std::optional<float> temperatureC,
    std::optional<float> dewPointC, std::optional<float> windKnots);

} // namespace meteo
