#include "cli/clicommands.h"

#include "cli/clialerts.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clitext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

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
    // The events of the gravest warning and the gravest watch in force, as the window's tray marks them; empty
    // when none is.
    std::string warning;
    std::string watch;
    // What could not be fetched, one line each, and the exit status of the first.
    std::vector<std::string> errors;
    CliExit failure = CliExit::Ok;

    void fail(const CliError &error)
    {
        errors.emplace_back(error.what());
        if (failure == CliExit::Ok)
            failure = error.status();
    }
};

std::string eventOf(const WAlertRecord *alert)
{
    return alert ? plainText(alert->event) : std::string();
}

// The observation and the alerts are fetched apart: a warning in force is shown whatever became of the observation.
StatusReport gather(CliSession &session, const WLocation &location)
{
    StatusReport report;
    try {
        report.observation = fetchObservation(session, location);
    } catch (const CliError &error) {
        report.fail(error);
    }
    try {
        const std::vector<WAlertRecord> alerts = fetchAlerts(session, location);
        report.warning = eventOf(gravest(alerts, &isWarning));
        report.watch = eventOf(gravest(alerts, &isWatch));
    } catch (const CliError &error) {
        report.fail(error);
    }
    return report;
}

// A warning or a watch that came through outranks what failed; an alert answer that failed may hide one, which
// "error" tells before "normal" or "stale" could reassure.
std::string className(const StatusReport &report, std::int64_t now)
{
    if (!report.warning.empty())
        return "warning";
    if (!report.watch.empty())
        return "watch";
    if (!report.errors.empty() || !report.observation)
        return "error";
    const auto &time = report.observation->time;
    return time && now - *time > STALE_AFTER_SECONDS ? "stale" : "normal";
}

bool hasTemperature(const StatusReport &report)
{
    return report.observation && report.observation->temperature;
}

// Whether the line tells anything: a temperature or a warning.
bool holdsValue(const StatusReport &report)
{
    return hasTemperature(report) || !report.warning.empty();
}

std::string joined(const std::vector<std::string> &errors)
{
    std::string text;
    for (const std::string &error : errors)
        text += (text.empty() ? "" : "; ") + error;
    return text;
}

std::string statusLine(const StatusReport &report, const CliUnits &units)
{
    std::string line = "--";
    if (hasTemperature(report))
        line = units.temperature(*report.observation->temperature, true);
    if (!report.warning.empty())
        line += std::string(" ") + WARNING_MARK + ' ' + report.warning;
    return line;
}

std::string tooltip(const StatusReport &report, const CliPlace &place, const CliUnits &units, std::int64_t now)
{
    std::string text = place.label() + '\n';
    if (report.observation)
        text += report.observation->text(units, now);
    for (const std::string *event : {&report.warning, &report.watch}) {
        if (!event->empty())
            text += WARNING_MARK + (' ' + *event) + '\n';
    }
    for (const std::string &error : report.errors)
        text += error + '\n';
    return text.substr(0, text.size() - 1);
}

json statusJson(const StatusReport &report, const CliPlace &place, const std::string &line, std::int64_t now)
{
    json observation = nullptr;
    if (report.observation)
        report.observation->toJson(observation, now);
    return {{"place", place.toJson()}, {"text", line}, {"class", className(report, now)},
        {"warning", report.warning.empty() ? json(nullptr) : json(report.warning)},
        {"watch", report.watch.empty() ? json(nullptr) : json(report.watch)}, {"observation", observation},
        {"error", report.errors.empty() ? json(nullptr) : json(joined(report.errors))}};
}

void printErrors(const StatusReport &report)
{
    for (const std::string &error : report.errors)
        std::cerr << "nimbrel: " << error << '\n';
}

// The classes from the gravest down, so that the line of several places takes the gravest of theirs.
constexpr std::array<std::string_view, 5> CLASS_RANK = {"warning", "watch", "error", "stale", "normal"};

std::string graver(const std::string &a, const std::string &b)
{
    return std::find(CLASS_RANK.begin(), CLASS_RANK.end(), a) <= std::find(CLASS_RANK.begin(), CLASS_RANK.end(), b) ? a
                                                                                                                    : b;
}

// "Des Moines, IA: 27°F", and in the bar's text the name alone, as the tray tip says it: "Des Moines 27°F".
struct StatusAll {
    std::vector<std::string> lines;
    std::vector<std::string> shortLines;
    std::vector<std::string> tooltips;
    json list = json::array();
    std::string className = "normal";
    bool anyValue = false;
    CliExit failure = CliExit::Ok;

    void add(const StatusReport &report, const CliPlace &place, const CliUnits &units, std::int64_t now)
    {
        const std::string line = statusLine(report, units);
        lines.push_back(place.label() + ": " + line);
        shortLines.push_back(place.name + ' ' + line);
        tooltips.push_back(tooltip(report, place, units, now));
        list.push_back(statusJson(report, place, line, now));
        className = graver(className, ::cli::className(report, now));
        anyValue = anyValue || holdsValue(report);
        if (failure == CliExit::Ok)
            failure = report.failure;
    }
};

std::string joinedWith(const std::vector<std::string> &parts, const std::string &separator)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : separator) + part;
    return text;
}

// Every saved place: its observation and its alerts, two requests each, one place after the other.
CliExit runStatusAll(CliSession &session, std::ostream &out)
{
    const std::vector<CliPlace> saved = session.savedPlaces();
    if (saved.empty())
        throw CliError(CliExit::Usage, "no place saved in the desktop program");
    const std::int64_t now = std::time(nullptr);
    const CliUnits units = session.units();
    StatusAll all;
    for (const CliPlace &place : saved) {
        const StatusReport report = gather(session, session.location(place));
        all.add(report, place, units, now);
        printErrors(report);
    }
    if (session.options().format == CliOptions::Format::Waybar)
        out << jsonLine({{"text", joinedWith(all.shortLines, ", ")}, {"tooltip", joinedWith(all.tooltips, "\n\n")},
            {"class", all.className}});
    else if (session.options().json)
        out << jsonLine({{"places", all.list}});
    else
        out << joinedWith(all.lines, "\n") << '\n';
    return all.anyValue ? CliExit::Ok : all.failure;
}

} // namespace

// A line with a value is success, whatever else failed: the failures are in the tooltip, on standard error and in
// the class. Without one, the status of the first failure.
CliExit runStatus(CliSession &session, std::ostream &out)
{
    if (session.options().all)
        return runStatusAll(session, out);
    const CliPlace place = session.place();
    const StatusReport report = gather(session, session.location(place));
    const std::int64_t now = std::time(nullptr);
    const CliUnits units = session.units();
    const std::string line = statusLine(report, units);
    if (session.options().format == CliOptions::Format::Waybar) {
        out << jsonLine(
            {{"text", line}, {"tooltip", tooltip(report, place, units, now)}, {"class", className(report, now)}});
    } else if (session.options().json) {
        out << jsonLine(statusJson(report, place, line, now));
    } else if (report.errors.empty() || holdsValue(report)) {
        out << line << '\n';
    }
    printErrors(report);
    return holdsValue(report) ? CliExit::Ok : report.failure;
}

} // namespace cli
