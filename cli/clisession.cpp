#include "cli/clisession.h"

#include "cli/clidatadir.h"
#include "cli/clierror.h"
#include "meteo/location/wlocationdb.h"
#include "meteo/reader/wreadersettings.h"
#include "settings/lplacelist.h"
#include "settings/lsettings.h"

#include <cstdint>
#include <iostream>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

namespace
{

// "2" names the second saved place; a ZIP code has five digits, so a number of one or two is never one.
bool isSavedNumber(const std::string &text)
{
    return !text.empty() && text.size() <= 2 && text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

CliSession::CliSession(const CliOptions &options)
    : m_options(options)
    , m_keeper(options.settingsDir)
{
}

LKeeper &CliSession::keeper()
{
    if (!m_keeperChecked) {
        checkSettingsFile();
        applyOverrides();
        // The window's defaults, in memory, for the settings the window has not stored yet.
        LSettings::InitDefaults(m_keeper);
        m_keeperChecked = true;
    }
    return m_keeper;
}

// Damaged lines are passed over as the window passes over them until it mends the file; a file that cannot be read
// at all would leave every setting at its default, which the person must know.
void CliSession::checkSettingsFile()
{
    const std::string path = m_keeper.file().FilePath(false);
    std::string reason;
    const int result = m_keeper.file().Check(false, reason);
    if (result == L_INPUT)
        throw CliError(CliExit::Damaged, "cannot read the settings file " + path + " (" + reason + ")");
    if (result != L_OK)
        std::cerr << "nimbrel: the settings file " << path << " has damaged lines, which are passed over (" << reason
                  << ")\n";
}

void CliSession::applyOverrides()
{
    const std::pair<const char *, const std::string *> addresses[] = {
        {LSettings::CONDITIONS_BASE, &m_options.conditionsBase},
        {LSettings::API_BASE, &m_options.apiBase},
        {LSettings::WARNINGS_BASE, &m_options.warningsBase},
    };
    for (const auto &[key, value] : addresses) {
        if (!value->empty())
            m_keeper.SetString(LSettings::INTERNET, key, value->c_str(), false);
    }
    if (!m_options.source.empty())
        m_keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE,
            m_options.source == "api" ? WReaderSettings::SOURCE_WEB_SERVICE : WReaderSettings::SOURCE_STATE_PAGES,
            false);
}

CliUnits CliSession::units()
{
    if (m_options.units != CliOptions::Units::Settings)
        return CliUnits::choose(m_options.units, m_keeper);
    return CliUnits::choose(m_options.units, keeper());
}

const CliPlaces &CliSession::places()
{
    if (!m_places) {
        m_dataDirectory = findDataDirectory(dataDirectoryCandidates(m_options.dataDir));
        m_places = std::make_unique<CliPlaces>(m_dataDirectory);
    }
    return *m_places;
}

CliPlace CliSession::place()
{
    if (m_options.argument && isSavedNumber(*m_options.argument))
        return savedPlace(*m_options.argument);
    if (m_options.argument) {
        CliPlace place = places().resolve(*m_options.argument);
        // The search's index of every place is done with: its memory serves the fetches that follow.
        m_places.reset();
        return place;
    }
    std::uint32_t state = 0;
    std::uint32_t city = 0;
    if (keeper().GetInt(LSettings::LOCATION, LSettings::STATE, state, false) != L_OK
        || keeper().GetInt(LSettings::LOCATION, LSettings::CITY, city, false) != L_OK)
        throw CliError(CliExit::Usage, "no place given, and none chosen in the desktop program");
    return places().byIds(state, city);
}

std::vector<CliPlace> CliSession::savedPlaces()
{
    LPlaceList::Parsed saved = LPlaceList::Load(keeper());
    const CliPlaces &all = places();
    LPlaceList::DropMissing(saved, [&all](const LPlaceId &id) {
        try {
            all.byIds(id.stateId, id.cityId);
            return true;
        } catch (const CliError &) {
            return false;
        }
    });
    for (const std::string &note : saved.damaged)
        std::cerr << "nimbrel: a saved place is left out: " << note << '\n';
    std::vector<CliPlace> list;
    for (const LPlaceId &id : saved.places)
        list.push_back(all.byIds(id.stateId, id.cityId));
    return list;
}

CliPlace CliSession::savedPlace(const std::string &number)
{
    const std::vector<CliPlace> saved = savedPlaces();
    const std::size_t index = std::stoul(number);
    if (index < 1 || index > saved.size())
        throw CliError(CliExit::Usage,
            "there is no saved place " + number + " (" + std::to_string(saved.size())
                + " saved; see nimbrel places --saved)");
    m_places.reset();
    return saved[index - 1];
}

WLocation CliSession::location(const CliPlace &place)
{
    WLocation location;
    if (WLocationDB(m_dataDirectory.c_str()).makeUSLocation(place.stateId, place.cityId, location) != 0)
        throw CliError(CliExit::Damaged, "the location files in " + m_dataDirectory + " are damaged");
    return location;
}

WReader &CliSession::reader()
{
    if (!m_reader) {
        m_reader = std::make_unique<WReader>();
        m_reader->SetKeeper(&keeper());
    }
    return *m_reader;
}

const WNearbyStations &CliSession::nearbyStations()
{
    if (!m_nearbyStations) {
        m_nearbyStations = std::make_unique<WNearbyStations>();
        std::uint32_t use = LSettings::DefaultOf(LSettings::INTERNET, LSettings::USE_NEARBY_STATION);
        keeper().GetInt(LSettings::INTERNET, LSettings::USE_NEARBY_STATION, use, false);
        if (use != 0)
            m_nearbyStations->load(m_dataDirectory);
    }
    return *m_nearbyStations;
}

} // namespace cli
