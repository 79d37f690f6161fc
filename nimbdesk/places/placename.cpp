#include "nimbdesk/places/placename.h"

#include "meteo/location/wlocationdb.h"
#include "nimbdesk/common/lstringqt.h"

using namespace meteo;

namespace nimbdesk
{

QString placeName(const settings::LPlaceId &place)
{
    const WLocationDB &database = WLocationDB::getLocationDB();
    WState state;
    WCity city;
    if (database.getState(place.stateId, state) != 0 || database.getCity(place.cityId, city) != 0)
        return QString();
    return QStringLiteral("%1, %2").arg(toQString(city.getName()), toQString(state.getName()));
}

QString cityName(const settings::LPlaceId &place)
{
    WCity city;
    if (WLocationDB::getLocationDB().getCity(place.cityId, city) != 0)
        return QString();
    return toQString(city.getName());
}

} // namespace nimbdesk
