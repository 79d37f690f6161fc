#pragma once

#include "meteo/base/walert.h"

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <vector>

namespace meteo
{
class WLocation;
}

namespace cli
{

class CliSession;
class CliStorm;

// The alerts in force for the place, most severe first. The state pages' records are made of the scans of the
// warnings, watches and statements pages, so those are read first; from the web service the three share the one
// alert answer that the records are made of. Throws CliError (CliExit::Fetch) when a page or the answer cannot be
// fetched.
std::vector<meteo::WAlertRecord> fetchAlerts(CliSession &session, const meteo::WLocation &location);

// As the window's tray tells them apart: an alert whose event ends in "Warning" is a warning, whatever its ticker
// ("Excessive Heat Warning"; not "Air Quality Alert", which the warnings ticker shows too); one of the watches
// ticker is a watch.
bool isWarning(const meteo::WAlertRecord &alert);
bool isWatch(const meteo::WAlertRecord &alert);
// The gravest of the alerts that pass, the first of equals; null when none passes.
const meteo::WAlertRecord *gravest(
    const std::vector<meteo::WAlertRecord> &alerts, bool (*passes)(const meteo::WAlertRecord &));

// Event, severity, headline, issue and expiry in the local zone, and where its storm lies, one block per alert,
// blocks apart by a blank line.
std::string alertsText(const std::vector<meteo::WAlertRecord> &alerts, const CliStorm &storm);
// The fields of the JSON schema, times with their offset, null where the alert does not say.
nlohmann::ordered_json alertJson(const meteo::WAlertRecord &alert, const CliStorm &storm);

} // namespace cli
