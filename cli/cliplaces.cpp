#include "cli/cliplaces.h"

#include "cli/clierror.h"
#include "corekit/lex.h"
#include "corekit/lvector.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <tuple>

namespace
{

constexpr std::uint32_t UNITED_STATES = 1;
// How many candidates an error message lists.
constexpr std::size_t LISTED = 12;

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// 0 the name is the query, 1 it begins with it, 2 it holds it, 3 no match.
int rank(const std::string &lowerName, const std::string &lowerQuery)
{
    if (lowerName == lowerQuery)
        return 0;
    const std::size_t at = lowerName.find(lowerQuery);
    return at == 0 ? 1 : at != std::string::npos ? 2 : 3;
}

// "Springfield" of "Springfield, IL".
std::string placeName(const std::string &query)
{
    return trimmed(query.substr(0, query.rfind(',')));
}

bool parseId(std::string_view text, std::uint32_t &id)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
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
    const LString cityData(data.c_str());
    const auto token = [&cityData](const char *key) {
        LString value;
        return WLocation::getDataToken(cityData, key, value) == L_OK ? nlohmann::ordered_json(std::string(value))
                                                                     : nlohmann::ordered_json(nullptr);
    };
    const auto coordinate = [&token](const char *key) {
        const nlohmann::ordered_json text = token(key);
        char *end = nullptr;
        const double value = text.is_string() ? std::strtod(text.get_ref<const std::string &>().c_str(), &end) : 0;
        return end && *end == '\0' ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
    };
    return {{"id", id()}, {"state_id", stateId}, {"city_id", cityId}, {"name", name}, {"state", state},
        {"state_name", stateName}, {"station", token("acode")}, {"zone", token("azone")},
        {"latitude", coordinate("alat")}, {"longitude", coordinate("alon")}};
}

CliPlaces::CliPlaces(const std::string &directory)
    : m_db(LString(directory.c_str()))
    , m_states(readStates())
{
}

std::vector<CliPlaces::State> CliPlaces::readStates() const
{
    LVector<WState> list;
    if (m_db.getStateList(UNITED_STATES, list) != 0 || list.size() == 0)
        throw CliError(CliExit::Damaged, "the location file states.ldt is missing or damaged");
    std::vector<State> states;
    for (std::uint32_t i = 0; i < list.size(); ++i) {
        std::string code(list[i].getData());
        std::transform(code.begin(), code.end(), code.begin(), [](unsigned char c) { return std::toupper(c); });
        states.push_back({list[i].getId(), code, std::string(list[i].getName())});
    }
    return states;
}

// "IL", "il" or "Illinois".
const CliPlaces::State *CliPlaces::findState(const std::string &text) const
{
    const std::string wanted = lower(trimmed(text));
    for (const State &state : m_states) {
        if (lower(state.code) == wanted || lower(state.name) == wanted)
            return &state;
    }
    return nullptr;
}

// A place not found may be one that stands behind damage in the city file, which the iterator takes for its end:
// the list reads the whole file and fails on damage anywhere. Read only when a place was not found, it costs a
// command that succeeds nothing.
CliError CliPlaces::unknown(const std::string &message) const
{
    LVector<WCity> cities;
    if (m_db.getCityList(UNITED_STATES, m_states.front().id, cities) != 0)
        return CliError(CliExit::Damaged, "the location file cities.ldt is damaged");
    return CliError(CliExit::Usage, message);
}

std::vector<CliPlace> CliPlaces::find(const std::string &query) const
{
    const std::size_t comma = query.rfind(',');
    const State *state = nullptr;
    if (comma != std::string::npos) {
        state = findState(query.substr(comma + 1));
        if (!state)
            return {};
    }
    const std::string name = placeName(query);
    if (name.empty())
        return {};
    std::vector<CliPlace> places = matching(name, state);
    if (places.size() > MAX_RESULTS)
        places.resize(MAX_RESULTS);
    return places;
}

// One pass over the city file, for one state or for all.
std::vector<CliPlace> CliPlaces::matching(const std::string &name, const State *state) const
{
    const std::string wanted = lower(name);
    std::vector<std::pair<int, CliPlace>> found;
    if (m_db.initCityIterator(UNITED_STATES, state ? state->id : WLocationDB::ALL_STATES) != 0)
        throw CliError(CliExit::Damaged, "the location file cities.ldt is missing or damaged");
    WCity city;
    while (m_db.getNextCity(city) == 0) {
        const std::string cityName(city.getName());
        const int order = rank(lower(cityName), wanted);
        const auto of = std::find_if(
            m_states.begin(), m_states.end(), [&city](const State &s) { return s.id == city.getStateId(); });
        if (order < 3 && of != m_states.end())
            found.push_back({order, {of->id, city.getId(), cityName, of->code, of->name, std::string(city.getData())}});
    }
    m_db.closeCityIterator();
    std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return std::tie(a.first, a.second.name, a.second.state) < std::tie(b.first, b.second.name, b.second.state);
    });
    std::vector<CliPlace> places;
    for (auto &[order, place] : found)
        places.push_back(std::move(place));
    return places;
}

CliPlace CliPlaces::byIds(std::uint32_t stateId, std::uint32_t cityId) const
{
    WCity city;
    const auto state
        = std::find_if(m_states.begin(), m_states.end(), [stateId](const State &s) { return s.id == stateId; });
    if (state == m_states.end() || m_db.getCity(cityId, city) != 0 || city.getStateId() != stateId)
        throw unknown("no place " + std::to_string(stateId) + '/' + std::to_string(cityId));
    return {stateId, cityId, std::string(city.getName()), state->code, state->name, std::string(city.getData())};
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
    const std::string name = lower(placeName(text));
    std::vector<CliPlace> exact;
    std::copy_if(places.begin(), places.end(), std::back_inserter(exact),
        [&name](const CliPlace &place) { return lower(place.name) == name; });
    if (exact.size() == 1)
        return exact.front();
    if (!exact.empty())
        throw CliError(CliExit::Usage, "\"" + text + "\" names several places; give one of these:" + listed(exact));
    if (places.empty())
        throw unknown("no place matches \"" + text + "\"");
    throw CliError(CliExit::Usage, "no place is named \"" + text + "\"; did you mean one of these?" + listed(places));
}
