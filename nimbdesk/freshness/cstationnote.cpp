#include "nimbdesk/freshness/cstationnote.h"

#include "meteo/reader/wnearbycondition.h"
#include "nimbdesk/freshness/timetext.h"

#include <cmath>

using namespace meteo;

namespace nimbdesk
{

namespace
{

QString clock(std::int64_t time, std::int64_t now)
{
    return QString::fromStdString(clockTime(time, now));
}

} // namespace

QString CStationNote::Note(const WStationUsed &station, std::int64_t observed, std::int64_t now)
{
    if (!station.isNearby())
        return QString();
    return tr("at %1 %2: %3").arg(stationName(station), clock(observed, now), quiet(station, now));
}

QString CStationNote::Line(const WStationUsed &station, std::int64_t observed, std::int64_t now)
{
    if (!station.isNearby())
        return QString();
    return tr("Observed at %1 %2: %3").arg(stationName(station), clock(observed, now), quiet(station, now));
}

// "KIKV (Ankeny, 14 km)", or "KIKV (14 km)" for a station no place of the files is named after.
QString CStationNote::stationName(const WStationUsed &station)
{
    const QString code = QString::fromStdString(station.station);
    const int km = static_cast<int>(std::lround(station.distanceKm));
    if (station.place.empty())
        return tr("%1 (%2 km)").arg(code).arg(km);
    return tr("%1 (%2, %3 km)").arg(code, QString::fromStdString(station.place)).arg(km);
}

QString CStationNote::quiet(const WStationUsed &station, std::int64_t now)
{
    const QString code = QString::fromStdString(station.requested);
    if (station.requestedLastReport == 0)
        return tr("%1 has no report").arg(code);
    return tr("%1 has not reported since %2").arg(code, clock(station.requestedLastReport, now));
}

} // namespace nimbdesk
