#pragma once

#include "corekit/lstring.h"
#include "meteo/reader/wfailure.h"
#include "meteo/reader/wfetchlimits.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace meteo
{

// Which alerts are the place's.
enum class WAlertArea {
    // Those in force at the place's coordinates (storm-based warnings included), or without coordinates its zone's.
    Point,
    // Those of the place's forecast zone and of its county, as the service names them ("KSZ009", "KSC201").
    ZoneAndCounty,
};

// Where and how the reader reaches the National Weather Service's web service; read afresh from the keeper for
// every operation.
struct WApiAccess {
    // "https://api.weather.gov/"
    corekit::LString base;
    bool useProxy = false;
    // Who runs the program, for the User-Agent: "ops@example.org", or empty.
    std::string contact;
    corekit::LString proxyLocation;
    // Set from another thread to make the request under way fail at once.
    const std::atomic<bool> *abort = nullptr;
    WFetchLimits limits;
    WAlertArea alertArea = WAlertArea::Point;
    // Where each fetch records how it ended, if given.
    WFailure *failure = nullptr;
    // Where each fetch records until when (seconds since 1970) a server that refused it with 429 or 503 asked not
    // to be asked again (Retry-After), if given; 0 when it asked nothing.
    std::int64_t *retryAfter = nullptr;
};

// One update cycle asks for the forecast and the special messages within seconds, and the next one minutes
// later. An office found lost stands for the rest of its cycle: this many seconds, where no new update is marked.
constexpr std::int64_t API_CYCLE_SECONDS = 60;

} // namespace meteo
