#pragma once

#include "corekit/lex.h"
#include "meteo/base/wfailure.h"

#include <array>
#include <cstdint>

namespace nimbdesk
{

// What became of each fetch of one update cycle. The worker fills it as the cycle runs and publishes it when the
// cycle ends; the window reads it then, to tell which results are fresh and which failed.
struct CUpdateResults {
    // The kinds of special message by index, as the worker's product flags and WM_MESSAGE_READY name them.
    static constexpr int DISCUSSION = 0;
    static constexpr int SUMMARY = 1;
    static constexpr int PUBLIC = 2;
    static constexpr int WATCHES = 3;
    static constexpr int STATEMENTS = 4;
    static constexpr int WARNINGS = 5;
    static constexpr int MESSAGE_KINDS = 6;

    // The order in which a cycle fetches the kinds, and so the order in which the window joins them.
    static constexpr std::array<int, MESSAGE_KINDS> CYCLE_ORDER
        = {WARNINGS, DISCUSSION, SUMMARY, WATCHES, STATEMENTS, PUBLIC};

    struct Fetch {
        // False when the cycle did not fetch it: a kind of message that is not enabled.
        bool tried = false;
        // The reader's result: L_OK, L_INPUT (nothing for the place), L_CONNECT, ...
        int code = corekit::L_OK;
        // When the fetch ended, in seconds since 1970-01-01 00:00:00 UTC.
        std::int64_t time = 0;
        // Why an L_CONNECT came: the reader's last failure then.
        meteo::WFailure failure;
    };

    // The place the cycle fetched for, by its state and city identifiers.
    std::uint32_t state = 0;
    std::uint32_t city = 0;
    Fetch condition;
    Fetch forecast;
    std::array<Fetch, MESSAGE_KINDS> messages;
};

} // namespace nimbdesk
