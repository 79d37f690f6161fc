#include "cli/clicached.h"

#include "cli/clialerts.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clistorm.h"
#include "cli/clitext.h"
#include "settings/lplacecache.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ctime>
#include <iostream>
#include <optional>

using namespace meteo;
using namespace settings;

namespace cli
{

namespace
{

using json = nlohmann::ordered_json;

struct Kept {
    CliPlace place;
    LPlaceCacheRecord record;
    std::int64_t now = 0;
};

CliExit nothing(const std::string &message)
{
    std::cerr << "nimbrel: " << message << '\n';
    return CliExit::Nothing;
}

// The place's record; a file that cannot be used is said once on standard error, and counts as none.
std::optional<Kept> load(CliSession &session)
{
    Kept kept{session.place(), {}, std::time(nullptr)};
    const LPlaceCache cache(LPlaceCache::directoryFor(session.options().settingsDir));
    std::string reason;
    const LPlaceCache::Loaded loaded = cache.load(kept.place.stateId, kept.place.cityId, kept.now, kept.record, reason);
    if (loaded == LPlaceCache::Loaded::Read)
        return kept;
    if (loaded != LPlaceCache::Loaded::Missing)
        std::cerr << "nimbrel: the kept values in " << cache.pathOf(kept.place.stateId, kept.place.cityId)
                  << " are not used: " << reason << '\n';
    return std::nullopt;
}

CliExit noneKept(const Kept &kept, const std::string &what)
{
    return nothing("no " + what + " is kept for " + kept.place.label());
}

// "Kept 2025-01-12 13:51 EST (3 hours ago)"
std::string keptLine(std::int64_t fetched, std::int64_t now)
{
    return "Kept " + localTime(fetched) + " (" + agoText(now - fetched) + ")\n";
}

json keptJson(std::int64_t fetched, std::int64_t now)
{
    return {{"time", isoTime(fetched, false)}, {"age_minutes", (now - fetched) / 60}};
}

CliExit printNow(const Kept &kept, CliSession &session, std::ostream &out)
{
    if (!kept.record.condition)
        return noneKept(kept, "observation");
    const CliObservation observation = CliObservation::fromCondition(*kept.record.condition, kept.place.station);
    if (session.options().json) {
        json object{{"place", kept.place.toJson()}, {"kept", keptJson(kept.record.written, kept.now)}};
        observation.toJson(object, kept.now);
        out << jsonLine(object);
    } else {
        out << kept.place.label() << '\n'
            << keptLine(kept.record.written, kept.now) << observation.text(session.units(), kept.now);
    }
    return CliExit::Ok;
}

CliExit printForecast(const Kept &kept, CliSession &session, std::ostream &out)
{
    if (!kept.record.forecast)
        return noneKept(kept, "forecast");
    const LCachedText &forecast = *kept.record.forecast;
    const std::string text = plainText(forecast.text);
    if (session.options().json) {
        out << jsonLine(
            {{"place", kept.place.toJson()}, {"kept", keptJson(forecast.fetched, kept.now)}, {"forecast", text}});
    } else {
        out << keptLine(forecast.fetched, kept.now) << text;
    }
    return CliExit::Ok;
}

// The kinds --kinds names, or all that were kept, in the window's order.
CliExit printMessages(const Kept &kept, CliSession &session, std::ostream &out)
{
    const std::vector<std::string> &named = session.options().kinds;
    json list = json::array();
    for (const LMessageKindInfo &kind : messageKinds()) {
        const std::optional<LCachedText> &message = kept.record.messages[indexOf(kind.kind)];
        if (!message || (!named.empty() && std::find(named.begin(), named.end(), kind.name) == named.end()))
            continue;
        const std::string text = plainText(message->text);
        list.push_back({{"kind", kind.name}, {"title", kind.title}, {"kept", keptJson(message->fetched, kept.now)},
            {"text", text}});
        if (!session.options().json) {
            out << (list.size() > 1 ? "\n" : "") << "== " << kind.title << " ==\n"
                << keptLine(message->fetched, kept.now) << text;
        }
    }
    if (session.options().json)
        out << jsonLine({{"place", kept.place.toJson()}, {"messages", list}});
    return list.empty() ? noneKept(kept, "message of the kinds asked for") : CliExit::Ok;
}

// Alerts that expired since they were kept are left out.
CliExit printAlerts(const Kept &kept, CliSession &session, std::ostream &out)
{
    std::vector<WAlertRecord> alerts = kept.record.alerts;
    std::erase_if(alerts, [&](const WAlertRecord &alert) {
        const std::int64_t until = alert.expires != 0 ? alert.expires : alert.ends;
        return until != 0 && until <= kept.now;
    });
    const CliStorm storm(kept.place, session.units(), kept.now);
    if (session.options().json) {
        json list = json::array();
        for (const WAlertRecord &alert : alerts)
            list.push_back(alertJson(alert, storm));
        out << jsonLine(
            {{"place", kept.place.toJson()}, {"kept", keptJson(kept.record.written, kept.now)}, {"alerts", list}});
    } else {
        out << keptLine(kept.record.written, kept.now) << alertsText(alerts, storm);
    }
    return CliExit::Ok;
}

} // namespace

CliExit runCached(CliSession &session, std::ostream &out)
{
    const std::optional<Kept> kept = load(session);
    if (!kept)
        return nothing("no values are kept for " + session.place().label() + " (the desktop program keeps them)");
    const std::string &command = session.options().command;
    if (command == "now")
        return printNow(*kept, session, out);
    if (command == "forecast")
        return printForecast(*kept, session, out);
    if (command == "messages")
        return printMessages(*kept, session, out);
    return printAlerts(*kept, session, out);
}

} // namespace cli
