#pragma once

#include "cli/clierror.h"

#include <iosfwd>
#include <string>

namespace corekit
{
class LString;
}
namespace meteo
{
class WLocation;
}
namespace meteo
{
class WReader;
}

namespace cli
{

class CliSession;
struct CliObservation;

// Runs the command of the session's options; failures throw CliError.
CliExit runCommand(CliSession &session, std::istream &in, std::ostream &out);

CliExit runPlaces(CliSession &session, std::ostream &out);
// "places --saved"; none saved is CliExit::Nothing.
CliExit runSavedPlaces(CliSession &session, std::ostream &out);
CliExit runNow(CliSession &session, std::ostream &out);
CliExit runForecast(CliSession &session, std::ostream &out);
CliExit runMessages(CliSession &session, std::ostream &out);
// No alert in force is success, with nothing to print or an empty list.
CliExit runAlerts(CliSession &session, std::ostream &out);
CliExit runStatus(CliSession &session, std::ostream &out);
CliExit runDecode(CliSession &session, std::istream &in, std::ostream &out);

// The observation of the place's station; throws CliError: CliExit::Nothing when the place has no station,
// Fetch when the page cannot be fetched, NoObservation when it holds no observation.
CliObservation fetchObservation(CliSession &session, const meteo::WLocation &location);
// A text of the reader (the forecast, a kind of special message), cleaned for a terminal; empty when the service
// holds none for the place. Throws CliError (CliExit::Fetch) naming what when it cannot be fetched.
using CliTextFetch = int (meteo::WReader::*)(const meteo::WLocation &, corekit::LString &);
std::string fetchText(
    CliSession &session, const meteo::WLocation &location, CliTextFetch fetch, const std::string &what);

} // namespace cli
