#pragma once

#include "meteo/base/wlocation.h"

namespace nimbreltest
{

// A place as the location files give it to the reader: the short state ("ia") and the city data
// ("acode(KDMX) azone(IAZ086)").
inline meteo::WLocation readerPlace(const char *state, const char *cityData)
{
    meteo::WLocation location;
    location.setShortState(state);
    location.setCityData(cityData);
    return location;
}

} // namespace nimbreltest
