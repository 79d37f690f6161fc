#include "meteo/reader/wmetarobservation_p.h"

#include "corekit/lstring.h"
#include "meteo/reader/wmetar_p.h"

#include <string_view>

using namespace corekit;

namespace meteo
{

namespace
{

std::optional<float> present(bool flag, float value)
{
    return flag ? std::optional<float>(value) : std::nullopt;
}

} // namespace

WObservation metarObservation(const LString &text, const WMetarReport &decoded)
{
    WObservation observation = readObservation(std::string_view(text, text.length()));
    addComfort(observation, present(decoded.hasTemperature, decoded.temperature),
        present(decoded.hasDewPoint, decoded.dewPoint),
        present(decoded.hasWindSpeed, static_cast<float>(decoded.windSpeed)));
    return observation;
}

} // namespace meteo
