#pragma once

#include <cstdint>
#include <string>

namespace meteo
{

class WApiClient;
class WLocation;

// The forecast office of a place, as the web service names it.
struct WApiOffice {
    // The office's three-letter code: "TOP".
    std::string cwa;
    // The place's forecast zone by the service's reckoning ("KSZ009"), which may be newer than the location
    // database's.
    std::string forecastZone;
    // The place's county zone ("KSC201"), from the point answer; empty for a place without coordinates.
    std::string county;
    // The addresses of the point's forecast, by day and night periods and by hours, as the point answer names
    // them ("https://api.weather.gov/gridpoints/TOP/32,81/forecast"); empty for a place without coordinates.
    std::string forecast;
    std::string forecastHourly;
};

// The place the reader works for, and its office, looked up once and kept: with the place's coordinates through
// "points/{lat},{lon}", without them through its forecast zone ("zones/forecast/{zone}").
class WApiPlace
{
public:
    // Takes the coordinates ("alat", "alon") and the forecast zone ("azone") of the location. True when they
    // differ from the last place's: the office is then forgotten.
    bool select(const WLocation &location);

    // "39.7456,-97.0892": at most four decimals and no trailing zeros, the canonical form of the service's
    // addresses. Empty when the place has no coordinates, or coordinates that cannot be read.
    const std::string &point() const { return m_point; }
    // "KSZ009"; empty when the place has no zone, or one that is not made of letters and digits.
    const std::string &zone() const { return m_zone; }

    // L_OK with the office, or L_CONNECT or L_FORMAT (WApiClient::get) when it cannot be looked up. A failed
    // lookup is not kept: the next call asks again. After lost() the office is looked up again at the next update.
    int office(WApiClient &client, std::int64_t now, const WApiOffice *&office);
    // A request built from the office answered 404: the office has changed its code or the zones have moved.
    void lost(std::int64_t now);
    // A new update begins: a lost office is looked up at once.
    void beginUpdate();

private:
    int lookUp(WApiClient &client);

    std::string m_point;
    std::string m_zone;
    WApiOffice m_office;
    bool m_known = false;
    bool m_stale = false;
    // A lost office stands until this time or the next update, whichever comes first: the rest of the update goes
    // on with it.
    std::int64_t m_notBefore = 0;
};

} // namespace meteo
