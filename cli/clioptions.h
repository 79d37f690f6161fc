#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli
{

// The command line: "nimbrel [options] COMMAND [ARGUMENT]", options before or after the command.
struct CliOptions {
    enum class Units { Settings, Us, Metric };
    enum class Format { Text, Waybar };

    std::string command;
    // The place, the query of "places" or the report of "decode"; absent when not given.
    std::optional<std::string> argument;
    bool json = false;
    // "alerts --follow": keep running and print each change.
    bool follow = false;
    // "now --cached" and the like: the values the desktop program kept at its last update, without a request.
    bool cached = false;
    // Seconds between the checks of --follow; 0: as the settings say.
    std::int64_t interval = 0;
    bool help = false;
    bool version = false;
    Units units = Units::Settings;
    Format format = Format::Text;
    std::string settingsDir;
    std::string dataDir;
    std::string conditionsBase;
    std::string apiBase;
    std::string warningsBase;
    // "api" or "pages"; empty: as the settings say.
    std::string source;
    // The kinds of special message asked for with --kinds; empty: those enabled in the settings.
    std::vector<std::string> kinds;
};

// Throws CliError (CliExit::Usage) for an unknown option or command, a missing or bad value, or an argument too
// many.
CliOptions parseCommandLine(const std::vector<std::string> &arguments);

// The text of --help; the manual page nimbrel(1) says the same at more length.
const char *usageText();

} // namespace cli
