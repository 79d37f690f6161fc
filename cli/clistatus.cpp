#include "cli/clicommands.h"

#include "cli/clialerts.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clitext.h"

#include <nlohmann/json.hpp>

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
    // The events of the gravest warning and the gravest watch in force, as the window's tray marks them; empty
    // when none is.
    std::string warning;
    std::string watch;
    std::string error;
    CliExit exit = CliExit::Ok;
};

std::string eventOf(const WAlertRecord *alert)
{
    return alert ? plainText(alert->event) : std::string();
}

StatusReport gather(CliSession &session, const WLocation &location)
{
    StatusReport report;
    try {
        report.observation = fetchObservation(session, location);
        const std::vector<WAlertRecord> alerts = fetchAlerts(session, location);
        report.warning = eventOf(gravest(alerts, &isWarning));
        report.watch = eventOf(gravest(alerts, &isWatch));
    } catch (const CliError &error) {
        report.error = error.what();
        report.exit = error.status();
    }
    return report;
}

std::string className(const StatusReport &report, std::int64_t now)
{
    if (!report.error.empty())
        return "error";
    if (!report.warning.empty())
        return "warning";
    if (!report.watch.empty())
        return "watch";
    const auto &time = report.observation->time;
    return time && now - *time > STALE_AFTER_SECONDS ? "stale" : "normal";
}

std::string statusLine(const StatusReport &report, const CliUnits &units)
{
    std::string line = "--";
    if (report.observation && report.observation->temperature)
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
            {"warning", report.warning.empty() ? json(nullptr) : json(report.warning)},
            {"watch", report.watch.empty() ? json(nullptr) : json(report.watch)}, {"observation", observation},
            {"error", report.error.empty() ? json(nullptr) : json(report.error)}});
    } else if (report.error.empty()) {
        out << line << '\n';
    }
    if (!report.error.empty())
        std::cerr << "nimbrel: " << report.error << '\n';
    return report.exit;
}
