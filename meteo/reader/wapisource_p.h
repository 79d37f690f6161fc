#pragma once

#include "corekit/lkeeper.h"
#include "corekit/lstring.h"
#include "meteo/base/wforecast.h"
#include "meteo/reader/walerts_p.h"
#include "meteo/reader/wapiaccess_p.h"
#include "meteo/reader/wapicache_p.h"
#include "meteo/reader/wapiclient_p.h"
#include "meteo/reader/wapiplace_p.h"
#include "meteo/reader/wapiproducts_p.h"
#include "meteo/reader/wproductkind_p.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace meteo
{

class WLocation;

// Which forecast of a point: its day and night periods, or its hours.
enum class WForecastSpan { Periods, Hours };

// The zone forecast and the special messages of a place from the National Weather Service's web service, in the
// layout of the state pages' texts. Unlike the pages it keeps answers between operations, so that a cycle asks
// little of the service: the place's office (looked up once), product texts by id, and the alerts of the place
// (one answer for the warnings, watches and statements of an update). Every answer asked for again is asked for
// conditionally, and not at all while the server calls it fresh. A failed answer is never kept.
class WApiSource
{
public:
    // Seconds since 1970.
    using Clock = std::function<std::int64_t()>;

    // Without a clock the system's is used.
    explicit WApiSource(Clock clock = {});

    // A new update begins: its operations ask the service afresh for the alerts of the place, and for an office
    // that an answer of 404 showed to be lost. A forced one asks even for the answers that are still fresh.
    void beginUpdate(bool force = false);
    // The longest the alerts' answer is taken as fresh, whatever the server says; by default as long as it says.
    void setAlertsMaxAge(std::int64_t seconds) { m_alertsMaxAge = seconds; }
    // Whether the last alerts fetched were those of the answer before (a 304, or an answer still fresh).
    bool alertsUnchanged() const { return m_alertsUnchanged; }
    // The ids the cancellations of the last alerts answer reference.
    const std::vector<std::string> &cancelledAlerts() const { return m_alerts.cancelled(); }

    // One operation of the reader, with its results and info-line texts:
    //   L_OK         text holds the product's text, every line ended by "\r\n";
    //   L_NOTFOUND   the place lacks what the product needs (a zone for the forecast, coordinates or a zone for
    //                the rest); nothing fetched, nothing shown, text untouched;
    //   L_INPUT      the service has nothing for the place; text emptied;
    //   L_CONNECT    an answer could not be had; text untouched;
    //   L_FORMAT     an answer came but could not be read (no JSON, or not what was asked for); text untouched.
    int getText(WApiProduct product, const WLocation &location, const WApiAccess &access, corekit::LInfoLine *infoLine,
        corekit::LString &text);
    // The alerts in force for the place, from the same answer as the warnings, watches and statements texts: an
    // update that asked for one of those asks nothing more. L_OK, L_NOTFOUND, L_CONNECT or L_FORMAT as getText,
    // silently.
    int getAlerts(const WLocation &location, const WApiAccess &access, std::vector<WAlertRecord> &alerts);

    // The forecast of the place's point, by day and night periods or by hours, from the address the point answer
    // names: L_OK; L_NOTFOUND without coordinates; L_CONNECT when an answer could not be had; L_FORMAT when one
    // could not be read, or named an address of another host. Silently; forecast untouched but for L_OK.
    int getPointForecast(WForecastSpan span, const WLocation &location, const WApiAccess &access, WForecast &forecast);

private:
    int pointForecastPath(WForecastSpan span, WApiClient &client, std::string &path);
    void selectPlace(const WLocation &location);
    int fetchText(WApiProduct product, WApiClient &client, std::string &text);
    int forecast(WApiClient &client, std::string &text);
    int nextNewest(
        WApiClient &client, const WApiOffice &office, const std::string &newest, std::string &from, std::string &text);
    int segment(WApiClient &client, const WApiOffice &office, const std::string &id, std::string &text);
    int zonePeriods(WApiClient &client, std::string &text);
    int alerts(WApiClient &client, WAlertKind kind, std::string &text);
    int refreshAlerts(WApiClient &client, std::size_t user);
    int alertsPath(WApiClient &client, std::string &path);
    int bulletin(WApiClient &client, const char *type, std::string &text);
    int officeRequest(WApiClient &client, int result);
    WApiClient client(const WApiAccess &access);
    std::int64_t now() const;

    Clock m_clock;
    WApiCache m_cache;
    WApiPlace m_place;
    WApiProducts m_products;
    // The newest zone forecast product last looked at, and the product that held the place's segment ("" when
    // none did): while the newest stays, the search is not repeated.
    std::string m_forecastNewest;
    std::string m_forecastFrom;
    // The last good answer of the alert listing ("" when there is none to share), and who has taken it: the three
    // kinds by their WAlertKind, and the records (ALERT_RECORDS).
    static constexpr std::size_t ALERT_RECORDS = 3;
    std::string m_alertsPath;
    std::bitset<ALERT_RECORDS + 1> m_alertsServed;
    // The address the records are of: an unchanged answer for it needs no reading.
    std::string m_alertsReadPath;
    WAlertList m_alerts;
    std::int64_t m_alertsMaxAge = WApiClient::ANY_AGE;
    bool m_alertsUnchanged = false;
};

} // namespace meteo
