#pragma once

#include <cstdint>

namespace meteo
{
class WReader;
}

namespace cli
{

// SIGINT and SIGTERM, caught for as long as the object lives, end a command that keeps running: they abort the
// reader's fetch under way and wake a wait. One object at a time.
class CliStopSignal
{
public:
    explicit CliStopSignal(meteo::WReader &reader);
    ~CliStopSignal();
    CliStopSignal(const CliStopSignal &) = delete;
    CliStopSignal &operator=(const CliStopSignal &) = delete;

    bool stopped() const;
    // Waits until the time (milliseconds since 1970) or a signal; true when a signal came.
    bool waitUntil(std::int64_t milliseconds) const;
};

} // namespace cli
