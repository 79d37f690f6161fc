#pragma once

#include <stdexcept>
#include <string>

namespace cli
{

// The exit status of the program, which scripts rely on.
enum class CliExit {
    Ok = 0,
    // The service holds nothing for the place (no forecast; no message of the kinds asked for).
    Nothing = 1,
    // A command line that cannot be understood, or a place that is unknown or ambiguous.
    Usage = 2,
    // A page or an answer could not be fetched.
    Fetch = 3,
    // The observation page holds no observation.
    NoObservation = 4,
    // The location files or the settings are missing or damaged.
    Damaged = 5,
    // Standard output could not be written: the output is incomplete.
    Output = 6,
};

// Ends a command with its exit status and one line for standard error.
class CliError : public std::runtime_error
{
public:
    CliError(CliExit status, const std::string &message)
        : std::runtime_error(message)
        , m_status(status)
    {
    }

    CliExit status() const { return m_status; }

private:
    CliExit m_status;
};

} // namespace cli
