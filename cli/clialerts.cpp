#include "cli/clialerts.h"

#include "cli/clicommands.h"
#include "cli/clifailure.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clistorm.h"
#include "cli/clitext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string_view>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

namespace
{

using json = nlohmann::ordered_json;

// The name of the kind of special message the alert lands in, as --kinds and the messages command name it.
const char *kindName(WAlertKind kind)
{
    switch (kind) {
    case WAlertKind::Watch:
        return "watches";
    case WAlertKind::Statement:
        return "statements";
    case WAlertKind::Warning:
        break;
    }
    return "warnings";
}

// Page records hold no severity, urgency, certainty or times: empty texts and 0 seconds mean absent.
json textOrNull(const std::string &text)
{
    return text.empty() ? json(nullptr) : json(plainText(text));
}

json timeOrNull(std::int64_t seconds)
{
    return seconds > 0 ? json(isoTime(seconds, false)) : json(nullptr);
}

} // namespace

std::vector<WAlertRecord> fetchAlerts(CliSession &session, const WLocation &location)
{
    for (const CliTextFetch fetch : {&WReader::getWarnings, &WReader::getWatches, &WReader::getStatements})
        fetchText(session, location, fetch, "alerts");
    std::vector<WAlertRecord> alerts;
    if (session.reader().getAlerts(location, alerts) == L_CONNECT)
        throw CliError(CliExit::Fetch, "cannot fetch the alerts: " + failureReason(session.reader().lastFailure()));
    return alerts;
}

bool isWarning(const WAlertRecord &alert)
{
    return alertCategory(alert) == WAlertCategory::Warning;
}

bool isWatch(const WAlertRecord &alert)
{
    return alertCategory(alert) == WAlertCategory::Watch;
}

const WAlertRecord *gravest(const std::vector<WAlertRecord> &alerts, bool (*passes)(const WAlertRecord &))
{
    const WAlertRecord *found = nullptr;
    for (const WAlertRecord &alert : alerts) {
        if (passes(alert) && (!found || severityRank(alert.severity) < severityRank(found->severity)))
            found = &alert;
    }
    return found;
}

std::string alertsText(const std::vector<WAlertRecord> &alerts, const CliStorm &storm)
{
    std::string text;
    for (const WAlertRecord &alert : alerts) {
        if (!text.empty())
            text += '\n';
        text += plainText(alert.event);
        text += '\n';
        if (!alert.severity.empty())
            text += fieldLine("Severity:", plainText(alert.severity));
        if (!alert.headline.empty())
            text += fieldLine("Headline:", plainText(alert.headline));
        if (alert.sent > 0)
            text += fieldLine("Issued:", localTime(alert.sent));
        if (alert.expires > 0)
            text += fieldLine("Expires:", localTime(alert.expires));
        if (const std::string line = storm.line(alert); !line.empty())
            text += fieldLine("Storm:", line);
    }
    return text;
}

json alertJson(const WAlertRecord &alert, const CliStorm &storm)
{
    json references = json::array();
    for (const std::string &reference : alert.references)
        references.push_back(plainText(reference));
    json object = {{"id", plainText(alert.id)}, {"event", plainText(alert.event)}, {"kind", kindName(alert.kind)},
        {"severity", textOrNull(alert.severity)}, {"urgency", textOrNull(alert.urgency)},
        {"certainty", textOrNull(alert.certainty)}, {"headline", textOrNull(alert.headline)},
        {"sent", timeOrNull(alert.sent)}, {"effective", timeOrNull(alert.effective)},
        {"expires", timeOrNull(alert.expires)}, {"ends", timeOrNull(alert.ends)},
        {"message_type", textOrNull(alert.messageType)}, {"references", references}};
    storm.addJson(alert, object);
    return object;
}

} // namespace cli
