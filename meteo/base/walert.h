#pragma once

#include "meteo/base/wstormmotion.h"
#include "meteo/meteo_base_export.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meteo
{

// The kinds of special message an alert is shown among: the warnings, watches and special statements tickers.
enum class WAlertKind { Warning, Watch, Statement };

// One alert in force for a place, as WReader::getAlerts hands it out. The texts of the reader's warnings, watches
// and statements operations are made of the same records, so what the tickers show and what these say agree.
//
// From the web service every field is the alert's own. From the state product pages a record stands for one
// message found for the place: its id is derived from the message's text ("page:" and 16 hexadecimal digits), its
// headline is the line the message headlines between dots (or its first line of words), its event is named by the
// headline ("...WINTER STORM WARNING REMAINS IN EFFECT..." gives "Winter Storm Warning"; otherwise the kind:
// "Warning", "Watch", "Special Statement"), and the times, references, severity, urgency and certainty are empty
// or 0.
struct WAlertRecord {
    // "urn:oid:2.49.0.1.840.0.d0de060466dc387307cc0a44dbed836b1d20c5e5.002.1"
    std::string id;
    // The ids of the alerts this one updates or replaces.
    std::vector<std::string> references;
    // "Severe Thunderstorm Warning"
    std::string event;
    // "Extreme", "Severe", "Moderate", "Minor" or "Unknown"
    std::string severity;
    // "Immediate", "Expected", "Future", "Past" or "Unknown"
    std::string urgency;
    // "Observed", "Likely", "Possible", "Unlikely" or "Unknown"
    std::string certainty;
    // "A SEVERE THUNDERSTORM WARNING REMAINS IN EFFECT UNTIL 315 AM CDT FOR NORTHERN LA CROSSE..."
    std::string headline;
    // As the service wrote it, lines ended by a line feed.
    std::string description;
    // Seconds since 1970; 0 where the alert does not say. The alert's message expires, the hazard ends.
    std::int64_t sent = 0;
    std::int64_t effective = 0;
    std::int64_t expires = 0;
    std::int64_t ends = 0;
    // "Alert" for a new alert, "Update" for one that updates those it references.
    std::string messageType;
    WAlertKind kind = WAlertKind::Warning;
    // What the kind's ticker shows of the alert, lines ended by a line feed: the event in capitals, " - " and the
    // headline, then the description and the instruction.
    std::string text;
    // How the storm a warning is about moves, where the alert says and says it soundly.
    std::optional<WStormMotion> motion;
};

// How grave a severity is, gravest first: "Extreme" 0, "Severe" 1, "Moderate" 2, "Minor" 3, anything else 4.
METEO_BASE_EXPORT int severityRank(std::string_view severity);

// What a person calls an alert, by its event: "Tornado Warning" is a warning (also where the service files it
// with another kind), "Tornado Watch" a watch, "Special Weather Statement" a statement, "Heat Advisory" or "Air
// Quality Alert" another kind. The window's notifications and tray mark and the command line's status agree on it.
enum class WAlertCategory { Warning, Watch, Statement, Other };

METEO_BASE_EXPORT WAlertCategory alertCategory(const WAlertRecord &alert);

} // namespace meteo
