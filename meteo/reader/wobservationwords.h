#pragma once

#include "meteo/base/wcondition.h"
#include "meteo/base/wobservation.h"
#include "meteo/meteo_export.h"

#include <string>

namespace meteo
{

// An observation in words, in a person's units, as UTF-8 text:
//   "Thunderstorm, light rain, mist · Broken 800 ft (CB), overcast 3,500 ft · Visibility 2½ mi · Humidity 74% ·
//    Feels like 80°F"
// Each part is left out when the observation lacks it; an observation with nothing to say gives "".
class METEO_EXPORT WObservationWords
{
public:
    // Distances in miles and heights in feet, or in kilometres (metres below one) and metres.
    enum class Distance { Imperial, Metric };

    WObservationWords(WCondition::TempScale scale, Distance distance);

    std::string line(const WObservation &observation) const;
    // The weather groups' texts joined: "thunderstorm, light rain, mist".
    static std::string weather(const WObservation &observation);

private:
    std::string sky(const WObservation &observation) const;
    std::string visibility(const WObservation &observation) const;
    std::string feelsLike(const WObservation &observation) const;
    std::string height(int feet) const;

    WCondition::TempScale m_scale;
    Distance m_distance;
};

} // namespace meteo
