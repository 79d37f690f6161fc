#include "cli/clicommands.h"

#include "cli/clisession.h"
#include "cli/clitext.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace cli
{

// One line per saved place: its number, which PLACE takes, its ids and its name ("2\t38/3807200\tBismarck, ND").
CliExit runSavedPlaces(CliSession &session, std::ostream &out)
{
    const std::vector<CliPlace> saved = session.savedPlaces();
    if (session.options().json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const CliPlace &place : saved)
            list.push_back(place.toJson());
        out << jsonLine({{"places", list}});
    } else {
        for (std::size_t at = 0; at < saved.size(); ++at)
            out << at + 1 << '\t' << saved[at].id() << '\t' << saved[at].label() << '\n';
    }
    if (!saved.empty())
        return CliExit::Ok;
    std::cerr << "nimbrel: no place saved in the desktop program\n";
    return CliExit::Nothing;
}

} // namespace cli
