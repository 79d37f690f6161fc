#pragma once

#include "meteo/reader/walert.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace meteo
{

// Active alerts of the web service, sorted into the three kinds of special message that the reader hands out.
// Private to the library; the tests and fuzzers reach it through the internal library.

// The kind of an alert by its event name: names ending in "Watch" are watches; those ending in "Statement",
// and "Short Term Forecast", "Hazardous Weather Outlook" and "Hydrologic Outlook", are statements; the rest
// ("Tornado Warning", "Heat Advisory", "Civil Emergency", "Air Quality Alert") are warnings.
WAlertKind alertKind(std::string_view event);

// The alerts of one answer of the active-alert listing (a GeoJSON FeatureCollection), most severe first.
class WAlertList
{
public:
    // Replaces the list with the alerts of the answer that are in force at now (seconds since 1970): actual (no
    // tests, exercises or drafts), not cancelled, not expired, each id once, with an event name. Ordered by
    // severity (Extreme, Severe, Moderate, Minor, then the rest), then newest first; the answer's order breaks
    // ties. L_OK, or L_FORMAT with the list emptied when the answer is not JSON, is not of the shape of the
    // service's answers (withinJsonLimits) or holds no "features" list.
    int read(std::string_view answer, std::int64_t now);

    // Leaves out the alerts that have expired by now, as read() would have.
    void dropExpired(std::int64_t now);

    const std::vector<WAlertRecord> &alerts() const { return m_alerts; }
    // The ids that the answer's cancellations (actual alerts of messageType "Cancel") reference.
    const std::vector<std::string> &cancelled() const { return m_cancelled; }
    // The alerts of one kind in the reader's layout ("A\r\n B\r\n"); empty when there are none.
    std::string text(WAlertKind kind) const;

private:
    std::vector<WAlertRecord> m_alerts;
    std::vector<std::string> m_cancelled;
};

// The moment an ISO 8601 time with its offset names ('2024-07-19T03:00:00-07:00', '2026-09-02T07:47:16Z',
// fractions of a second allowed), in seconds since 1970. False, seconds untouched, for anything else.
bool parseIsoTime(std::string_view text, std::int64_t &seconds);

} // namespace meteo
