#pragma once

#include "settings/lplacelist.h"

#include <QString>

namespace nimbdesk
{

// "Springfield, Illinois"; empty when the location files do not list the place. The process-wide location
// database must be open.
QString placeName(const settings::LPlaceId &place);
// "Springfield": the city alone, for lists that name several places on one line.
QString cityName(const settings::LPlaceId &place);

} // namespace nimbdesk
