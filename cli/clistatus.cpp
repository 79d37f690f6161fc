#include "cli/clicommands.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clitext.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <ctime>
#include <iostream>
#include <optional>

// The status line: the temperature, and while a warning is in force a mark and the warning's event, for status
// bars that run the program every few minutes; with waybar's JSON, a class a style sheet can colour.

namespace
{

using json = nlohmann::ordered_json;

// Stations report hourly; one whose last report is older than this has stopped reporting for now.
constexpr std::int64_t STALE_AFTER_SECONDS = 2 * 3600;
constexpr const char *WARNING_MARK = "⚠";

struct StatusReport {
    std::optional<CliObservation> observation;
    std::string warnings;
    std::string watches;
    std::string error;
    CliExit exit = CliExit::Ok;
};

StatusReport gather(CliSession &session, const WLocation &location)
{
    StatusReport report;
    try {
        report.observation = fetchObservation(session, location);
        report.warnings = fetchText(session, location, &WReader::getWarnings, "warnings");
        report.watches = fetchText(session, location, &WReader::getWatches, "watches");
    } catch (const CliError &error) {
        report.error = error.what();
        report.exit = error.status();
    }
    return report;
}

// The event of the first message: "EXCESSIVE HEAT WARNING - EXCESSIVE HEAT WARNING REMAINS..." gives "Excessive
// Heat Warning".
std::string eventOf(const std::string &messages)
{
    std::string event = messages.substr(0, std::min(messages.find(" - "), messages.find('\n')));
    bool wordStart = true;
    for (char &c : event) {
        const auto byte = static_cast<unsigned char>(c);
        c = static_cast<char>(wordStart ? std::toupper(byte) : std::tolower(byte));
        wordStart = c == ' ' || c == '-' || c == '/';
    }
    return event;
}

std::string className(const StatusReport &report, std::int64_t now)
{
    if (!report.error.empty())
        return "error";
    if (!report.warnings.empty())
        return "warning";
    if (!report.watches.empty())
        return "watch";
    const auto &time = report.observation->time;
    return time && now - *time > STALE_AFTER_SECONDS ? "stale" : "normal";
}

std::string statusLine(const StatusReport &report, const CliUnits &units)
{
    std::string line = "--";
    if (report.observation && report.observation->temperature)
        line = units.temperature(*report.observation->temperature, true);
    if (!report.warnings.empty())
        line += std::string(" ") + WARNING_MARK + ' ' + eventOf(report.warnings);
    return line;
}

std::string tooltip(const StatusReport &report, const CliPlace &place, const CliUnits &units, std::int64_t now)
{
    std::string text = place.label() + '\n';
    if (report.observation)
        text += report.observation->text(units, now);
    for (const std::string *messages : {&report.warnings, &report.watches}) {
        if (!messages->empty())
            text += WARNING_MARK + (' ' + eventOf(*messages)) + '\n';
    }
    if (!report.error.empty())
        text += report.error + '\n';
    return text.substr(0, text.size() - 1);
}

} // namespace

CliExit runStatus(CliSession &session, std::ostream &out)
{
    const CliPlace place = session.place();
    const StatusReport report = gather(session, session.location(place));
    const std::int64_t now = std::time(nullptr);
    const CliUnits units = session.units();
    const std::string line = statusLine(report, units);
    if (session.options().format == CliOptions::Format::Waybar) {
        out << jsonLine(
            {{"text", line}, {"tooltip", tooltip(report, place, units, now)}, {"class", className(report, now)}});
    } else if (session.options().json) {
        json observation = nullptr;
        if (report.observation)
            report.observation->toJson(observation, now);
        out << jsonLine({{"place", place.toJson()}, {"text", line}, {"class", className(report, now)},
            {"warning", report.warnings.empty() ? json(nullptr) : json(eventOf(report.warnings))},
            {"watch", report.watches.empty() ? json(nullptr) : json(eventOf(report.watches))},
            {"observation", observation}, {"error", report.error.empty() ? json(nullptr) : json(report.error)}});
    } else if (report.error.empty()) {
        out << line << '\n';
    }
    if (!report.error.empty())
        std::cerr << "nimbrel: " << report.error << '\n';
    return report.exit;
}
