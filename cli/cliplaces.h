#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/clierror.h"
#include "meteo/location/wlocationdb.h"

// A city of the location database with its state.
struct CliPlace {
    std::uint32_t stateId = 0;
    std::uint32_t cityId = 0;
    std::string name;
    // "IL" and "Illinois".
    std::string state;
    std::string stateName;
    // "acode(KSPI)azone(ILZ051)alat(39.7817)alon(-89.6501)"
    std::string data;

    // "17/1772000", as the command line takes it.
    std::string id() const;
    // "Springfield, IL"
    std::string label() const;
    // The place in the JSON schema: id, state_id, city_id, name, state, state_name, station, zone, latitude and
    // longitude, null where the city's data lacks them.
    nlohmann::ordered_json toJson() const;
};

// Finding places by what a person types. Each throws CliError (CliExit::Damaged) when the location files cannot
// be read.
class CliPlaces
{
public:
    static constexpr std::size_t MAX_RESULTS = 50;

    // The location files in directory.
    explicit CliPlaces(const std::string &directory);

    // The places whose name matches the query ("Springfield", "springfield, il", "Springfield, Illinois"): names
    // equal to it first, then names that begin with it, then names that hold it; by name and state within each.
    std::vector<CliPlace> find(const std::string &query) const;
    // The one place the text names: "STATE_ID/CITY_ID", or a name (with or without its state) that one place has.
    // Throws CliError (CliExit::Usage) for no such place, or for several, which the message lists.
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
    const State *findState(const std::string &text) const;
    std::vector<CliPlace> matching(const std::string &name, const State *state) const;
    CliError unknown(const std::string &message) const;

    // Iterating changes the database object, not the files.
    mutable WLocationDB m_db;
    std::vector<State> m_states;
};
