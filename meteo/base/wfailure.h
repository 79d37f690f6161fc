#pragma once

#include <string>

namespace meteo
{

// Why a fetch failed, so that a person is told "not found (404)" or "timed out" rather than only that the server
// could not be reached.
struct WFailure {
    enum class Kind {
        // The fetch succeeded.
        None,
        // No connection could be made ("Connection refused"), or it broke.
        Connect,
        // The server's name (or the proxy's) does not resolve.
        HostNotFound,
        // The connection or the answer took longer than the fetch limits allow.
        TimedOut,
        // HTTP status 404: the address names nothing on the server.
        NotFound,
        // Another HTTP status than 200 or 404.
        Status,
        // An answer that is not what the server sends: too large, not JSON.
        BadAnswer,
        // The fetch was stopped from another thread.
        Aborted,
    };

    Kind kind = Kind::None;
    // The HTTP status of the answer; 0 when none arrived.
    long httpStatus = 0;
    // For an HTTP status, the server's own title of the problem ("Data Unavailable For Requested Point"), else
    // empty; otherwise the transfer's message ("Failed to connect to 127.0.0.1 port 9: Connection refused").
    std::string text;
};

} // namespace meteo
