#pragma once

#include "corekit/lkeeper.h"
#include "corekit/lstring.h"
#include "meteo/reader/walerts_p.h"
#include "meteo/reader/wapiaccess_p.h"
#include "meteo/reader/wapiplace_p.h"
#include "meteo/reader/wapiproducts_p.h"
#include "meteo/reader/wproductkind_p.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class WApiClient;
class WLocation;

// The zone forecast and the special messages of a place from the National Weather Service's web service, in the
// layout of the state pages' texts. Unlike the pages it keeps answers between operations, so that a cycle asks
// little of the service: the place's office (looked up once), product texts by id, and the alerts of the place
// (one answer for warnings, watches and statements).
class WApiSource
{
public:
    // Seconds since 1970.
    using Clock = std::function<std::int64_t()>;

    // Without a clock the system's is used.
    explicit WApiSource(Clock clock = {});

    // One operation of the reader, with its results and info-line texts:
    //   L_OK         text holds the product's text, every line ended by "\r\n";
    //   L_NOTFOUND   the place lacks what the product needs (a zone for the forecast, coordinates or a zone for
    //                the rest); nothing fetched, nothing shown, text untouched;
    //   L_INPUT      the service has nothing for the place; text emptied;
    //   L_CONNECT    an answer could not be had or was not what was asked for; text untouched.
    int getText(
        WApiProduct product, const WLocation &location, const WApiAccess &access, LInfoLine *infoLine, LString &text);
    // The alerts in force for the place, from the same answer as the warnings, watches and statements texts: a
    // cycle that asked for one of those asks nothing more. L_OK, L_NOTFOUND or L_CONNECT as getText, silently.
    int getAlerts(const WLocation &location, const WApiAccess &access, std::vector<WAlertRecord> &alerts);

private:
    void selectPlace(const WLocation &location);
    int fetchText(WApiProduct product, WApiClient &client, std::string &text);
    int forecast(WApiClient &client, std::string &text);
    int nextNewest(
        WApiClient &client, const WApiOffice &office, const std::string &newest, std::string &from, std::string &text);
    int segment(WApiClient &client, const WApiOffice &office, const std::string &id, std::string &text);
    int zonePeriods(WApiClient &client, std::string &text);
    int alerts(WApiClient &client, WAlertKind kind, std::string &text);
    int refreshAlerts(WApiClient &client);
    int bulletin(WApiClient &client, const char *type, std::string &text);
    int officeRequest(WApiClient &client, int result);
    std::int64_t now() const;

    Clock m_clock;
    WApiPlace m_place;
    WApiProducts m_products;
    // The newest zone forecast product last looked at, and the product that held the place's segment ("" when
    // none did): while the newest stays, the search is not repeated.
    std::string m_forecastNewest;
    std::string m_forecastFrom;
    // The last answer of the alert listing (or its failure), shared by the three kinds for a cycle.
    std::string m_alertsPath;
    std::int64_t m_alertsAt = 0;
    int m_alertsResult = 0;
    WAlertList m_alerts;
};
