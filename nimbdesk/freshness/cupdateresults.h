#pragma once

#include "corekit/lex.h"
#include "meteo/base/wfailure.h"
#include "settings/lmessagekind.h"

#include <array>
#include <cstdint>

namespace nimbdesk
{

// What became of each fetch of one update cycle. The worker fills it as the cycle runs and publishes it when the
// cycle ends; the window reads it then, to tell which results are fresh and which failed.
struct CUpdateResults {
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
    // The forecast's periods and hours for the strip and the chart; not tried with the state pages as the source.
    Fetch periods;
    Fetch hours;
    // By settings::indexOf the kind of special message.
    std::array<Fetch, settings::MESSAGE_KIND_COUNT> messages;
};

} // namespace nimbdesk
