#include "cli/cliplaces.h"

#include "cli/clitext.h"
#include "corekit/lex.h"
#include "corekit/lvector.h"
#include "meteo/base/wlocation.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <sstream>

using namespace corekit;
using namespace meteo;

namespace cli
{

namespace
{

// How many candidates an error message lists.
constexpr std::size_t LISTED = 12;

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool parseId(std::string_view text, std::uint32_t &id)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string token(const LString &cityData, const char *key)
{
    LString value;
    return WLocation::getDataToken(cityData, key, value) == L_OK ? std::string(value) : std::string();
}

// Whether the query names the place's state after its name: "Des Moines, IA", "des moines iowa".
bool namesState(const std::string &query, const CliPlace &place)
{
    const std::string text = lower(query);
    std::istringstream words(text.substr(std::min(text.size(), place.name.size())));
    for (std::string word; words >> word;) {
        word.erase(std::remove(word.begin(), word.end(), ','), word.end());
        if (word == lower(place.state))
            return true;
    }
    return text.find(lower(place.stateName), place.name.size()) != std::string::npos;
}

// The places of the query's exact name, narrowed to those of the state typed with it when there are such.
std::vector<CliPlace> exactPlaces(const std::vector<CliPlace> &places, const std::string &query)
{
    std::vector<CliPlace> exact;
    std::vector<CliPlace> inState;
    for (const CliPlace &place : places) {
        if (place.match != WPlaceMatchKind::ExactName)
            continue;
        exact.push_back(place);
        if (namesState(query, place))
            inState.push_back(place);
    }
    return inState.empty() ? exact : inState;
}

std::string listed(const std::vector<CliPlace> &places)
{
    std::string text;
    for (std::size_t i = 0; i < places.size() && i < LISTED; ++i)
        text += "\n  " + places[i].id() + "  " + places[i].label();
    if (places.size() > LISTED)
        text += "\n  ... and " + std::to_string(places.size() - LISTED) + " more (nimbrel places lists them)";
    return text;
}

const char *matchName(WPlaceMatchKind kind)
{
    switch (kind) {
    case WPlaceMatchKind::ExactName:
        return "name";
    case WPlaceMatchKind::NameStart:
        return "name_start";
    case WPlaceMatchKind::NameInside:
        return "name_inside";
    case WPlaceMatchKind::ZipCode:
        return "zip_code";
    case WPlaceMatchKind::Station:
        return "station";
    case WPlaceMatchKind::Coordinates:
        break;
    }
    return "coordinates";
}

} // namespace

std::string CliPlace::id() const
{
    return std::to_string(stateId) + '/' + std::to_string(cityId);
}

std::string CliPlace::label() const
{
    return name + ", " + state;
}

nlohmann::ordered_json CliPlace::toJson() const
{
    const auto text = [](const std::string &value) {
        return value.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(value);
    };
    return {{"id", id()}, {"state_id", stateId}, {"city_id", cityId}, {"name", name}, {"state", state},
        {"state_name", stateName}, {"station", text(station)}, {"zone", text(zone)}, {"latitude", orNull(latitude)},
        {"longitude", orNull(longitude)}, {"match", match ? nlohmann::ordered_json(matchName(*match)) : nullptr},
        {"distance_km", orNull(distanceKm)}};
}

CliPlaces::CliPlaces(const std::string &directory)
    : m_directory(directory)
    , m_db(LString(directory.c_str()))
    , m_states(readStates())
{
}

std::vector<CliPlaces::State> CliPlaces::readStates() const
{
    LVector<WState> list;
    if (m_db.getStateList(WLocationDB::UNITED_STATES, list) != 0 || list.size() == 0)
        throw CliError(CliExit::Damaged, "the location file states.ldt is missing or damaged");
    std::vector<State> states;
    for (std::uint32_t i = 0; i < list.size(); ++i) {
        std::string code(list[i].getData());
        std::transform(code.begin(), code.end(), code.begin(), [](unsigned char c) { return std::toupper(c); });
        states.push_back({list[i].getId(), code, std::string(list[i].getName())});
    }
    return states;
}

const CliPlaces::State &CliPlaces::stateOf(std::uint32_t id) const
{
    const auto found = std::find_if(m_states.begin(), m_states.end(), [id](const State &s) { return s.id == id; });
    if (found == m_states.end())
        throw CliError(CliExit::Damaged, "the location files name a state that states.ldt lacks");
    return *found;
}

// The search reads every place when first asked, and fails on damage anywhere in its files.
const WPlaceSearch &CliPlaces::search() const
{
    if (!m_search.isLoaded() && m_search.load(m_directory) != 0)
        throw CliError(
            CliExit::Damaged, "the location files in " + m_directory + " are damaged: " + m_search.getError());
    return m_search;
}

// "Des Moines, Iowa" is the search's name of the place; the state is kept apart here.
CliPlace CliPlaces::fromMatch(const WPlaceMatch &match) const
{
    const State &state = stateOf(match.stateId);
    std::string name = match.name;
    if (name.ends_with(", " + state.name))
        name.resize(name.size() - state.name.size() - 2);
    const bool far = match.kind == WPlaceMatchKind::ZipCode || match.kind == WPlaceMatchKind::Station
        || match.kind == WPlaceMatchKind::Coordinates;
    return {match.stateId, match.cityId, name, state.code, state.name, match.station, match.zone, match.latitude,
        match.longitude, match.kind, far ? std::optional(match.distanceKm) : std::nullopt};
}

std::vector<CliPlace> CliPlaces::find(const std::string &query) const
{
    std::vector<CliPlace> places;
    for (const WPlaceMatch &match : search().find(query))
        places.push_back(fromMatch(match));
    return places;
}

CliPlace CliPlaces::byIds(std::uint32_t stateId, std::uint32_t cityId) const
{
    WCity city;
    const auto state
        = std::find_if(m_states.begin(), m_states.end(), [stateId](const State &s) { return s.id == stateId; });
    if (state == m_states.end() || m_db.getCity(cityId, city) != 0 || city.getStateId() != stateId)
        throw unknown("no place " + std::to_string(stateId) + '/' + std::to_string(cityId));
    const LString &data = city.getData();
    const std::optional<WLocation::Coordinates> point = WLocation::coordinatesOf(data);
    return {stateId, cityId, std::string(city.getName()), state->code, state->name, token(data, WLocation::STATION_KEY),
        token(data, WLocation::ZONE_KEY), point ? std::optional(point->latitude) : std::nullopt,
        point ? std::optional(point->longitude) : std::nullopt, std::nullopt, std::nullopt};
}

CliPlace CliPlaces::resolve(const std::string &text) const
{
    const std::size_t slash = text.find('/');
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    if (slash != std::string::npos && parseId(std::string_view(text).substr(0, slash), stateId)
        && parseId(std::string_view(text).substr(slash + 1), cityId))
        return byIds(stateId, cityId);
    const std::vector<CliPlace> places = find(text);
    if (places.empty())
        throw CliError(CliExit::Usage, "no place matches \"" + text + "\"");
    if (places.front().distanceKm)
        return places.front();
    const std::vector<CliPlace> exact = exactPlaces(places, text);
    if (exact.size() == 1)
        return exact.front();
    if (!exact.empty())
        throw CliError(CliExit::Usage, "\"" + text + "\" names several places; give one of these:" + listed(exact));
    throw CliError(CliExit::Usage, "no place is named \"" + text + "\"; did you mean one of these?" + listed(places));
}

// A place not found may stand behind damage in the city file, where a lookup stops: the search reads every file
// whole and fails on damage anywhere. It is read only when a place was not found, so a command that finds its place
// by its ids does not pay for it.
CliError CliPlaces::unknown(const std::string &message) const
{
    search();
    return CliError(CliExit::Usage, message);
}

} // namespace cli
