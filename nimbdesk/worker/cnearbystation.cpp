#include "nimbdesk/worker/cnearbystation.h"

#include "corekit/lex.h"

#include <exception>

using namespace meteo;

namespace nimbdesk
{

int CNearbyStation::Fetch(WReader &reader, const WLocation &place, const std::string &directory, int result,
    WCondition &condition, std::int64_t now, WStationUsed &used)
{
    used = {};
    try {
        if (!Load(directory))
            return result;
        return WNearbyCondition::fetch(reader, place, m_stations, result, condition, now, used);
    } catch (const corekit::LEx &) {
    } catch (const std::exception &) {
    }
    used = {};
    return result;
}

bool CNearbyStation::Load(const std::string &directory)
{
    if (!m_stations.isLoaded() || directory != m_directory) {
        m_directory = directory;
        m_stations.load(directory);
    }
    return m_stations.isLoaded();
}

} // namespace nimbdesk
