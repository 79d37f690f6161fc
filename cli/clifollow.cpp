#include "cli/clifollow.h"

#include "cli/clialerts.h"
#include "cli/clifailure.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clistopsignal.h"
#include "cli/clistorm.h"
#include "cli/clitext.h"
#include "meteo/reader/walertwatch.h"
#include "settings/lsettings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ctime>
#include <iostream>
#include <ostream>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

namespace
{

using json = nlohmann::ordered_json;

std::int64_t checkInterval(CliSession &session)
{
    if (session.options().interval > 0)
        return session.options().interval;
    // As often as the desktop program checks them.
    std::uint32_t minutes = 0;
    if (session.keeper().GetInt(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES, minutes, false) == L_OK
        && minutes >= LSettings::MIN_CHECK_MINUTES && minutes <= LSettings::MAX_CHECK_MINUTES)
        return static_cast<std::int64_t>(minutes) * 60;
    return WAlertWatch::DEFAULT_INTERVAL;
}

// The state pages' alerts are read with the pages' texts, which a watch does not fetch.
void requireWebService(CliSession &session)
{
    std::uint32_t source = 1;
    session.keeper().GetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, source, false);
    if (source == 0)
        throw CliError(CliExit::Usage, "alerts --follow needs the web service (--source api)");
}

const char *changeName(WAlertChange::Kind kind)
{
    switch (kind) {
    case WAlertChange::Kind::Update:
        return "update";
    case WAlertChange::Kind::End:
        return "end";
    case WAlertChange::Kind::New:
        break;
    }
    return "new";
}

// "New: Tornado Warning; Severity: Extreme; Expires: 2026-09-02 03:15 CDT; Headline: Tornado Warning issued..."
std::string changeLine(const WAlertChange &change)
{
    static constexpr const char *TITLES[] = {"New", "Update", "End"};
    const WAlertRecord &alert = change.alert;
    std::string line = TITLES[static_cast<int>(change.kind)] + std::string(": ") + plainText(alert.event);
    if (!alert.severity.empty())
        line += "; Severity: " + plainText(alert.severity);
    if (alert.expires > 0)
        line += "; Expires: " + localTime(alert.expires);
    if (!alert.headline.empty())
        line += "; Headline: " + plainText(alert.headline);
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line + '\n';
}

json changeJson(const WAlertChange &change, const CliStorm &storm)
{
    json object = {{"change", changeName(change.kind)}, {"alert", alertJson(change.alert, storm)}};
    if (change.kind == WAlertChange::Kind::Update)
        object["replaces"] = plainText(change.replaced);
    return object;
}

// Each line goes out at once: a script reads them as they come.
bool print(CliSession &session, const CliPlace &place, const WAlertWatch &watch, std::ostream &out)
{
    const CliStorm storm(place, session.units(), std::time(nullptr));
    for (const WAlertChange &change : watch.changes())
        out << (session.options().json ? jsonLine(changeJson(change, storm)) : changeLine(change)) << std::flush;
    return static_cast<bool>(out);
}

void reportFailure(const WAlertWatch &watch)
{
    std::cerr << "nimbrel: cannot fetch the alerts: " << failureReason(watch.failure());
    if (watch.retryAfterUntil() > 0)
        std::cerr << "; the server asks to wait until " << localClock(watch.retryAfterUntil());
    else
        std::cerr << "; trying again at " << localClock(watch.nextCheck());
    std::cerr << std::endl;
}

std::int64_t nextWake(const WAlertWatch &watch)
{
    const std::int64_t expiry = watch.nextExpiry();
    return expiry > 0 ? std::min(expiry, watch.nextCheck()) : watch.nextCheck();
}

} // namespace

CliExit runFollow(CliSession &session, std::ostream &out)
{
    const CliPlace place = session.place();
    const WLocation location = session.location(place);
    requireWebService(session);
    WAlertWatch watch;
    watch.setInterval(checkInterval(session));
    WReader &reader = session.reader();
    const CliStopSignal stop(reader);
    while (!stop.stopped()) {
        if (watch.expire() && !print(session, place, watch, out))
            return CliExit::Output;
        const WAlertWatch::Outcome outcome = watch.check(reader, location);
        if (stop.stopped())
            break;
        if (outcome == WAlertWatch::Outcome::Failed)
            reportFailure(watch);
        if (!print(session, place, watch, out))
            return CliExit::Output;
        stop.waitUntil(nextWake(watch) * 1000);
    }
    return CliExit::Ok;
}

} // namespace cli
