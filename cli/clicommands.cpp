#include "cli/clicommands.h"

#include "cli/clialerts.h"
#include "cli/clicached.h"
#include "cli/clifailure.h"
#include "cli/clifollow.h"
#include "cli/cliobservation.h"
#include "cli/clipointforecast.h"
#include "cli/clisession.h"
#include "cli/clistorm.h"
#include "cli/clitext.h"
#include "meteo/base/wcondition.h"
#include "meteo/reader/wnearbycondition.h"
#include "settings/lmessagekind.h"
#include "settings/lsettings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <iostream>
#include <map>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

namespace
{

using json = nlohmann::ordered_json;

// Says on standard error that the service holds nothing, and returns the status that says so to a script.
CliExit nothing(const std::string &message)
{
    std::cerr << "nimbrel: " << message << '\n';
    return CliExit::Nothing;
}

// The kinds --kinds names, or those enabled in the settings, in the window's order.
std::vector<const LMessageKindInfo *> chosenKinds(CliSession &session)
{
    const std::vector<std::string> &named = session.options().kinds;
    std::vector<const LMessageKindInfo *> kinds;
    for (const LMessageKindInfo &kind : messageKinds()) {
        std::uint32_t enabled = 0;
        if (named.empty())
            session.keeper().GetInt(LSettings::SPECIAL, kind.key, enabled, false);
        else
            enabled = std::find(named.begin(), named.end(), kind.name) != named.end();
        if (enabled)
            kinds.push_back(&kind);
    }
    return kinds;
}

} // namespace

CliObservation fetchObservation(CliSession &session, const WLocation &location)
{
    LString station;
    location.getCityData(WLocation::STATION_KEY, station);
    WCondition condition = CliObservation::blankCondition();
    WReader &reader = session.reader();
    int result = reader.getCondition(location, condition);
    const WFailure failure = reader.lastFailure();
    WStationUsed nearby;
    result = WNearbyCondition::fetch(
        reader, location, session.nearbyStations(), result, condition, std::time(nullptr), nearby);
    switch (result) {
    case L_OK: {
        CliObservation observation
            = CliObservation::fromCondition(condition, nearby.isNearby() ? nearby.station : std::string(station));
        observation.nearby = nearby;
        return observation;
    }
    case L_DB:
        throw CliError(CliExit::Nothing, std::string(location.getName()) + " has no observation station");
    case L_ERROR:
        throw CliError(
            CliExit::NoObservation, "the observation page of " + std::string(station) + " holds no observation");
    default:
        throw CliError(
            CliExit::Fetch, "cannot fetch the observation of " + std::string(station) + ": " + failureReason(failure));
    }
}

std::string fetchText(CliSession &session, const WLocation &location, CliTextFetch fetch, const std::string &what)
{
    LString text;
    const int result = (session.reader().*fetch)(location, text);
    if (result == L_OK)
        return plainText(std::string_view(text, text.length()));
    if (result == L_INPUT || result == L_NOTFOUND)
        return {};
    throw CliError(CliExit::Fetch, "cannot fetch the " + what + ": " + failureReason(session.reader().lastFailure()));
}

CliExit runPlaces(CliSession &session, std::ostream &out)
{
    if (session.options().saved)
        return runSavedPlaces(session, out);
    if (!session.options().argument)
        throw CliError(CliExit::Usage, "places needs a QUERY (see nimbrel --help)");
    const std::string &query = *session.options().argument;
    const std::vector<CliPlace> places = session.places().find(query);
    if (session.options().json) {
        json list = json::array();
        for (const CliPlace &place : places)
            list.push_back(place.toJson());
        out << jsonLine({{"query", query}, {"places", list}});
    } else {
        for (const CliPlace &place : places) {
            out << place.id() << '\t' << place.label();
            if (place.distanceKm)
                out << '\t' << std::lround(*place.distanceKm) << " km";
            out << '\n';
        }
    }
    return places.empty() ? nothing("no place matches \"" + query + "\"") : CliExit::Ok;
}

CliExit runNow(CliSession &session, std::ostream &out)
{
    const CliPlace place = session.place();
    const CliObservation observation = fetchObservation(session, session.location(place));
    const std::int64_t now = std::time(nullptr);
    if (session.options().json) {
        json object{{"place", place.toJson()}};
        observation.toJson(object, now);
        out << jsonLine(object);
    } else {
        out << place.label() << '\n' << observation.text(session.units(), now);
    }
    return CliExit::Ok;
}

CliExit runForecast(CliSession &session, std::ostream &out)
{
    if (session.options().periods || session.options().hourly)
        return runPointForecast(session, out);
    const CliPlace place = session.place();
    const std::string forecast = fetchText(session, session.location(place), &WReader::getForecast, "forecast");
    if (session.options().json)
        out << jsonLine({{"place", place.toJson()}, {"forecast", forecast.empty() ? json(nullptr) : json(forecast)}});
    else
        out << forecast;
    return forecast.empty() ? nothing("the service holds no forecast for " + place.label()) : CliExit::Ok;
}

// Every kind is fetched, whatever became of the one before; those that came are printed, and a kind that failed
// fails the command once all are done.
CliExit runMessages(CliSession &session, std::ostream &out)
{
    const CliPlace place = session.place();
    const WLocation location = session.location(place);
    json list = json::array();
    json failed = json::array();
    for (const LMessageKindInfo *kind : chosenKinds(session)) {
        std::string text;
        try {
            text = fetchText(session, location, kind->fetch, kind->name);
        } catch (const CliError &error) {
            std::cerr << "nimbrel: " << error.what() << '\n';
            failed.push_back(kind->name);
        }
        if (text.empty())
            continue;
        list.push_back({{"kind", kind->name}, {"title", kind->title}, {"text", text}});
        if (!session.options().json)
            out << (list.size() > 1 ? "\n" : "") << "== " << kind->title << " ==\n" << text;
    }
    if (session.options().json)
        out << jsonLine({{"place", place.toJson()}, {"messages", list}, {"failed", failed}});
    if (!failed.empty())
        return CliExit::Fetch;
    return list.empty() ? nothing("no messages of the kinds asked for at " + place.label()) : CliExit::Ok;
}

CliExit runAlerts(CliSession &session, std::ostream &out)
{
    if (session.options().follow)
        return runFollow(session, out);
    const CliPlace place = session.place();
    const std::vector<WAlertRecord> alerts = fetchAlerts(session, session.location(place));
    const CliStorm storm(place, session.units(), std::time(nullptr));
    if (session.options().json) {
        json list = json::array();
        for (const WAlertRecord &alert : alerts)
            list.push_back(alertJson(alert, storm));
        out << jsonLine({{"place", place.toJson()}, {"alerts", list}});
    } else {
        out << alertsText(alerts, storm);
    }
    return CliExit::Ok;
}

CliExit runCommand(CliSession &session, std::istream &in, std::ostream &out)
{
    const std::string &command = session.options().command;
    if (session.options().cached)
        return runCached(session, out);
    if (command == "decode")
        return runDecode(session, in, out);
    const std::map<std::string, CliExit (*)(CliSession &, std::ostream &)> commands
        = {{"places", &runPlaces}, {"now", &runNow}, {"forecast", &runForecast}, {"messages", &runMessages},
            {"alerts", &runAlerts}, {"status", &runStatus}};
    return commands.at(command)(session, out);
}

} // namespace cli
