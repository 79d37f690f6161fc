#pragma once

#include <cstdint>

namespace meteo
{

// The settings the reader reads from its keeper, all in section "Internet", and the defaults WReader::SetKeeper
// lays down where none is stored.
struct WReaderSettings {
    static constexpr const char *INTERNET = "Internet";
    static constexpr const char *USE_PROXY = "UseProxy";
    static constexpr const char *PROXY_LOCATION = "ProxyLocation";
    static constexpr const char *CONDITIONS_BASE = "ConditionsBase";
    static constexpr const char *WARNINGS_BASE = "WarningsBase";
    static constexpr const char *PRODUCT_SOURCE = "ProductSource";
    static constexpr const char *API_BASE = "ApiBase";
    // An e-mail address the User-Agent names, so that the service can reach whoever runs the program; "" for none.
    static constexpr const char *CONTACT = "Contact";
    static constexpr const char *ALERT_AREA = "AlertArea";

    // Where the forecast and the special messages come from (ProductSource); any other value means the web service.
    static constexpr std::uint32_t SOURCE_STATE_PAGES = 0;
    static constexpr std::uint32_t SOURCE_WEB_SERVICE = 1;

    // Which alerts the web service is asked for (AlertArea): those at the place's point, or those of its forecast
    // zone and county.
    static constexpr std::uint32_t ALERT_AREA_POINT = 0;
    static constexpr std::uint32_t ALERT_AREA_ZONE_AND_COUNTY = 1;

    // The current-conditions pages are served over https only.
    static constexpr const char *DEFAULT_CONDITIONS_BASE = "https://tgftp.nws.noaa.gov/weather/current/";
    // The historical home of the NWS interactive weather information network; its state pages are no longer
    // served, and the web service gives the same texts.
    static constexpr const char *DEFAULT_WARNINGS_BASE = "http://iwin.nws.noaa.gov/iwin/";
    static constexpr const char *DEFAULT_API_BASE = "https://api.weather.gov/";
};

} // namespace meteo
