#include "meteo/reader/wnearbycondition.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/location/wnearbystations.h"
#include "meteo/reader/wreader.h"

using namespace corekit;

namespace meteo
{

namespace
{

bool isRecent(const WCondition &condition, std::int64_t now)
{
    return condition.getTime().IsValid()
        && now - static_cast<std::int64_t>(condition.getTime()) <= WNearbyCondition::QUIET_AFTER;
}

// The place as the reader sees it with another station: getCondition reads only the station code.
WLocation placeWithStation(const WLocation &place, const std::string &station)
{
    WLocation other = place;
    other.setCityData(LString(("acode(" + station + ")").c_str()));
    return other;
}

// The reader's info line is lent back whatever happens while the other stations are asked.
class Silenced
{
public:
    explicit Silenced(WReader &reader)
        : m_reader(reader)
        , m_infoLine(reader.infoLine())
    {
        reader.SetInfoLine(nullptr);
    }
    ~Silenced() { m_reader.SetInfoLine(m_infoLine); }
    Silenced(const Silenced &) = delete;
    Silenced &operator=(const Silenced &) = delete;

private:
    WReader &m_reader;
    LInfoLine *m_infoLine;
};

} // namespace

bool WNearbyCondition::isQuiet(int result, const WReader &reader, const WCondition &condition, std::int64_t now)
{
    if (result == L_OK)
        return !isRecent(condition, now);
    return result == L_CONNECT && reader.lastFailure().kind == WFailure::Kind::NotFound;
}

int WNearbyCondition::fetch(WReader &reader, const WLocation &place, const WNearbyStations &stations, int result,
    WCondition &condition, std::int64_t now, WStationUsed &used)
{
    used = {};
    if (!isQuiet(result, reader, condition, now))
        return result;
    LString own;
    place.getCityData(WLocation::STATION_KEY, own);
    const std::int64_t lastReport = result == L_OK ? static_cast<std::int64_t>(condition.getTime()) : 0;
    Silenced silenced(reader);
    int asked = 0;
    for (const WNearbyStation &station : stations.near(place)) {
        if (asked++ == MAX_ASKED)
            break;
        WCondition nearby = condition;
        if (reader.getCondition(placeWithStation(place, station.code), nearby) == L_OK && isRecent(nearby, now)) {
            condition = nearby;
            used = {station.code, station.place, station.distanceKm, std::string(own, own.length()), lastReport};
            return L_OK;
        }
    }
    return result;
}

} // namespace meteo
