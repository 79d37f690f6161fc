#include "cli/clioptions.h"

#include "cli/clierror.h"
#include "settings/lmessagekind.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <string_view>

using namespace corekit;
using namespace settings;

namespace cli
{

namespace
{

constexpr std::array<std::string_view, 7> COMMANDS
    = {"places", "now", "forecast", "messages", "alerts", "status", "decode"};

using Setter = std::function<void(CliOptions &, const std::string &)>;

struct ValueOption {
    std::string_view name;
    Setter set;
};

CliError usage(const std::string &message)
{
    return CliError(CliExit::Usage, message + " (see nimbrel --help)");
}

template<typename Value, std::size_t N>
Value choose(const std::string &option, const std::string &value,
    const std::array<std::pair<std::string_view, Value>, N> &choices)
{
    for (const auto &[name, chosen] : choices) {
        if (value == name)
            return chosen;
    }
    throw usage("invalid value \"" + value + "\" for " + option);
}

std::vector<std::string> kindList(const std::string &value)
{
    std::vector<std::string> kinds;
    for (std::size_t start = 0; start <= value.size();) {
        const std::size_t comma = std::min(value.find(',', start), value.size());
        const std::string kind = value.substr(start, comma - start);
        if (!findMessageKind(kind))
            throw usage("unknown kind of message \"" + kind + "\" for --kinds");
        kinds.push_back(kind);
        start = comma + 1;
    }
    return kinds;
}

// A day between checks is as good as none; a longer interval is a mistake.
constexpr std::int64_t LONGEST_INTERVAL = 24 * 60 * 60;

std::int64_t seconds(const std::string &option, const std::string &value)
{
    std::int64_t parsed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || parsed < 1
        || parsed > LONGEST_INTERVAL)
        throw usage("invalid value \"" + value + "\" for " + option + ": seconds from 1 to 86400");
    return parsed;
}

const std::array<ValueOption, 10> VALUE_OPTIONS = {{
    {"--units",
        [](CliOptions &o, const std::string &v) {
            o.units = choose<CliOptions::Units, 2>(
                "--units", v, {{{"us", CliOptions::Units::Us}, {"metric", CliOptions::Units::Metric}}});
        }},
    {"--format",
        [](CliOptions &o, const std::string &v) {
            o.format = choose<CliOptions::Format, 2>(
                "--format", v, {{{"text", CliOptions::Format::Text}, {"waybar", CliOptions::Format::Waybar}}});
        }},
    {"--source",
        [](CliOptions &o, const std::string &v) {
            o.source = choose<std::string, 2>("--source", v, {{{"api", "api"}, {"pages", "pages"}}});
        }},
    {"--kinds", [](CliOptions &o, const std::string &v) { o.kinds = kindList(v); }},
    {"--interval", [](CliOptions &o, const std::string &v) { o.interval = seconds("--interval", v); }},
    {"--settings-dir", [](CliOptions &o, const std::string &v) { o.settingsDir = v; }},
    {"--data-dir", [](CliOptions &o, const std::string &v) { o.dataDir = v; }},
    {"--conditions-base", [](CliOptions &o, const std::string &v) { o.conditionsBase = v; }},
    {"--api-base", [](CliOptions &o, const std::string &v) { o.apiBase = v; }},
    {"--warnings-base", [](CliOptions &o, const std::string &v) { o.warningsBase = v; }},
}};

const ValueOption *findValueOption(std::string_view name)
{
    for (const ValueOption &option : VALUE_OPTIONS) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

bool takeFlag(CliOptions &options, const std::string &argument)
{
    if (argument == "--json")
        options.json = true;
    else if (argument == "--follow")
        options.follow = true;
    else if (argument == "--cached")
        options.cached = true;
    else if (argument == "--help" || argument == "-h")
        options.help = true;
    else if (argument == "--version")
        options.version = true;
    else
        return false;
    return true;
}

void takePositional(CliOptions &options, const std::string &argument)
{
    if (options.command.empty()) {
        if (std::find(COMMANDS.begin(), COMMANDS.end(), argument) == COMMANDS.end())
            throw usage("unknown command \"" + argument + "\"");
        options.command = argument;
    } else if (!options.argument) {
        options.argument = argument;
    } else {
        throw usage("unexpected argument \"" + argument + "\"");
    }
}

bool cachedCommand(const std::string &command)
{
    return command == "now" || command == "forecast" || command == "messages" || command == "alerts";
}

// "--units metric" or "--units=metric"; returns how many arguments it took.
std::size_t takeOption(CliOptions &options, const std::vector<std::string> &arguments, std::size_t at)
{
    const std::string &argument = arguments[at];
    if (takeFlag(options, argument))
        return 1;
    const std::size_t equals = argument.find('=');
    const ValueOption *option = findValueOption(std::string_view(argument).substr(0, equals));
    if (!option)
        throw usage("unknown option \"" + argument + "\"");
    if (equals != std::string::npos) {
        option->set(options, argument.substr(equals + 1));
        return 1;
    }
    if (at + 1 >= arguments.size())
        throw usage("option " + argument + " needs a value");
    option->set(options, arguments[at + 1]);
    return 2;
}

} // namespace

CliOptions parseCommandLine(const std::vector<std::string> &arguments)
{
    CliOptions options;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < arguments.size();) {
        const std::string &argument = arguments[at];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            ++at;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            at += takeOption(options, arguments, at);
        } else {
            takePositional(options, argument);
            ++at;
        }
    }
    if (options.command.empty() && !options.help && !options.version)
        throw usage("no command given");
    if ((options.follow || options.interval) && options.command != "alerts" && !options.help && !options.version)
        throw usage("--follow and --interval go with alerts only");
    if (options.cached && (options.follow || !cachedCommand(options.command)) && !options.help && !options.version)
        throw usage("--cached goes with now, forecast, messages and alerts only");
    return options;
}

const char *usageText()
{
    return R"(Usage: nimbrel [options] COMMAND [ARGUMENT]
The weather of a place in the United States, from the National Weather Service.

Commands:
  places QUERY        places that QUERY names, best first: "Springfield, IL", a ZIP code,
                      a station ("KDSM") or coordinates ("41.59, -93.62")
  now [PLACE]         the current observation
  forecast [PLACE]    the zone forecast
  messages [PLACE]    the special messages of the kinds asked for
  alerts [PLACE]      the alerts in force: event, severity, headline, issued and expires
  alerts --follow [PLACE]
                      keep watching: one line for each alert as it comes into force, is
                      updated or ends, until interrupted
  status [PLACE]      one line for a status bar
  decode [REPORT|-]   decode METAR reports, one per line of standard input with -

PLACE is what "nimbrel places" takes, when it names one place ("Des Moines, IA", "50309"; for a
station or coordinates the nearest place), or STATE_ID/CITY_ID as "nimbrel places" shows it.
Without PLACE, the place chosen in the desktop program.

Options:
  --json                  print JSON (the schema is in nimbrel(1))
  --cached                with now, forecast, messages or alerts: print what the desktop
                          program kept at its last update, with its age, and fetch nothing
  --interval SECONDS      seconds between the checks of alerts --follow (default: the
                          desktop program's alert check, every minute)
  --units us|metric       units of the text output (default: those of the settings)
  --kinds LIST            kinds for messages, comma-separated: warnings, watches, statements,
                          discussion, summary, public (default: those enabled in the settings)
  --format text|waybar    output of status: plain text, or waybar's JSON
  --settings-dir DIR      read the settings from DIR instead of ~/.config/Nimbrel
  --data-dir DIR          read the location files from DIR
  --conditions-base URL   fetch the observation pages from URL
  --api-base URL          fetch from the web service at URL
  --warnings-base URL     fetch the state product pages from URL
  --source api|pages      take forecast, messages and alerts from the web service or the
                          state pages
  -h, --help              print this help and exit
  --version               print the version and exit

Exit status: 0 success; 1 nothing for the place; 2 usage error, unknown or ambiguous place;
3 a fetch failed; 4 the page holds no observation; 5 damaged location files or settings;
6 standard output could not be written.
)";
}

} // namespace cli
