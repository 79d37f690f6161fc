#pragma once

#include "cli/clierror.h"
#include "meteo/location/wlocationdb.h"
#include "meteo/location/wplacesearch.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli
{

// A city of the location database with its state, and how a search found it.
struct CliPlace {
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    // "Mesquite (Starr County)" where the state has two of the name.
    std::string name;
    // "IL" and "Illinois".
    std::string state;
    std::string stateName;
    std::string station;
    std::string zone;
    std::optional<double> latitude;
    std::optional<double> longitude;
    // Absent for a place named by its ids.
    std::optional<meteo::WPlaceMatchKind> match;
    // From the ZIP code's centre, the station or the coordinates typed.
    std::optional<double> distanceKm;

    // "17/1772000", as the command line takes it.
    std::string id() const;
    // "Springfield, IL"
    std::string label() const;
    // The place in the JSON schema: id, state_id, city_id, name, state, state_name, station, zone, latitude,
    // longitude, match and distance_km, null where absent.
    nlohmann::ordered_json toJson() const;
};

// Finding places by what a person types, with the search of the location dialog. Each operation throws CliError
// (CliExit::Damaged) when the location files cannot be read.
class CliPlaces
{
public:
    // The location files in directory. Reads the states only; the search reads its files when first asked.
    explicit CliPlaces(const std::string &directory);

    // The places the query names, best first: a name with or without its state, a ZIP code, a station or
    // coordinates, as WPlaceSearch takes them.
    std::vector<CliPlace> find(const std::string &query) const;
    // The one place the text names: "STATE_ID/CITY_ID"; a name that one place has exactly, or one place of the
    // state typed with it; the nearest place of a ZIP code, a station or coordinates. Throws CliError
    // (CliExit::Usage) for no such place, or for several, which the message lists.
    CliPlace resolve(const std::string &text) const;
    // The place of the two ids; throws CliError (CliExit::Usage) when there is none.
    CliPlace byIds(std::uint32_t stateId, std::uint32_t cityId) const;

private:
    struct State {
        std::uint32_t id;
        std::string code;
        std::string name;
    };

    std::vector<State> readStates() const;
    const State &stateOf(std::uint32_t id) const;
    const meteo::WPlaceSearch &search() const;
    CliPlace fromMatch(const meteo::WPlaceMatch &match) const;
    CliError unknown(const std::string &message) const;

    std::string m_directory;
    meteo::WLocationDB m_db;
    std::vector<State> m_states;
    mutable meteo::WPlaceSearch m_search;
};

} // namespace cli
