#pragma once

#include "corekit/lkeeper.h"
#include "corekit/lstring.h"
#include "meteo/base/walert.h"
#include "meteo/base/wfailure.h"
#include "meteo/base/wfetchlimits.h"
#include "meteo/base/wforecast.h"
#include "meteo/meteo_export.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace meteo
{

class WApiSource;
class WCondition;
class WLocation;
class WPageAlerts;
class WProductScanner;
struct WApiAccess;
struct WProductKind;
enum class WApiProduct;

// Everything the library fetches from the National Weather Service's web servers: the zone forecast, the forecast
// of the place's point and the special messages for a place. Every fetch reads its settings afresh from the keeper
// (section "Internet"). Progress goes to the info line, if there is one. The state pages are fetched whole for every
// call; of the web service the reader keeps what outlasts a call (the place's office, product texts, the place's alerts
// for one update), so that one update cycle asks little of it. A failed answer is never kept.
//
// The reader owns neither its info line nor its keeper; a copy shares both with the reader it was made from, and
// has its own copy of what the reader kept.
// A reader is used by one thread at a time, except abortFetch() and allowFetch(), which any thread may call.
class METEO_EXPORT WReader
{
public:
    // Seconds since 1970: when answers of the web service go stale, alerts expire, and which month a report's day
    // is of.
    using Clock = std::function<std::int64_t()>;

    // Without a clock the system's is used.
    explicit WReader(corekit::LInfoLine *infoLine = nullptr, Clock clock = {});
    WReader(const WReader &other);
    WReader &operator=(const WReader &other);
    ~WReader();

    // Null silences the reader.
    void SetInfoLine(corekit::LInfoLine *infoLine);
    corekit::LInfoLine *infoLine() const { return m_infoLine; }
    // Stores the keeper and lays down the defaults where the keeper holds no value yet: UseProxy 0,
    // ProxyLocation "", ConditionsBase and WarningsBase the National Weather Service's addresses, ProductSource 1
    // (the texts come from the web service), ApiBase the web service's address, Contact "" (an e-mail address
    // the requests name in their User-Agent, so that the service can reach whoever runs the program) and
    // AlertArea 0 (the web service's alerts at the place's coordinates; 1: those of its forecast zone and county).
    void SetKeeper(corekit::LKeeper *keeper);

    // Makes the fetch under way fail with L_CONNECT within about a second, even while the server stalls, and so
    // every later fetch until allowFetch(). Lets a worker thread be stopped promptly.
    void abortFetch();
    void allowFetch();
    // Marks the start of an update: the operations after it ask the web service afresh for what the last update's
    // shared (the place's alerts). Without it an operation that asks a second time for the same answer starts a
    // new update all the same.
    //
    // The reader keeps the last good answer of each address of the web service it asks for more than once (the
    // place's point, its alerts, the offices' product lists) and asks for it again conditionally (If-None-Match,
    // If-Modified-Since): an answer of 304 leaves what it had, and an unchanged alerts answer is not read again.
    // While the server calls an answer fresh (Cache-Control: max-age) its address is not asked at all, except in a
    // forced update (a person's "update now"), which asks for everything.
    void beginUpdate(bool force = false);
    // The longest the web service's alerts answer is taken as fresh, whatever the server says: an alert watch that
    // checks every minute gives a minute. By default as long as the server says.
    void setAlertsMaxAge(std::int64_t seconds);
    // Whether the last getAlerts from the web service handed out the alerts of the answer before: the server
    // answered 304, or that answer was still fresh. False after a failure, and for the state pages.
    bool alertsUnchanged() const;
    // The ids of the alerts that cancellations in the web service's last alerts answer name (they are no longer in
    // force, and getAlerts hands out no record of a cancellation); none for the state pages.
    std::vector<std::string> cancelledAlerts() const;
    // Until when (seconds since 1970) the web service asked not to be asked again, by the Retry-After of its
    // answer of 429 or 503 to the last request (at most an hour ahead); 0 when it asked nothing.
    std::int64_t retryAfter() const { return m_retryAfter; }

    // How the last fetch from a server ended: kind None when it succeeded. After an operation returned L_CONNECT
    // or L_FORMAT it tells why.
    const WFailure &lastFailure() const { return m_lastFailure; }
    // Replaces the time limits of every later fetch (by default those of WFetchLimits).
    void setFetchLimits(const WFetchLimits &limits);

    // Fetches the current-conditions page of the place's station ("acode") and decodes its report into
    // condition. Only the values the report holds are written; the gust always is (-1 for none).
    //   L_OK       condition updated;
    //   L_DB       the place has no station; nothing fetched, nothing shown;
    //   L_CONNECT  the page could not be fetched; condition untouched;
    //   L_ERROR    the page holds no report of the station with a temperature, dew point, pressure or wind (a
    //              report of another station is none); condition untouched.
    int getCondition(const WLocation &location, WCondition &condition);

    // Each returns the texts for the place, every line ended by "\r\n". With ProductSource 0 they come from the
    // state's product page (WarningsBase + short state + page name): the messages for the place's forecast zone
    // ("azone") or station ("acode"). Otherwise from the web service at ApiBase: the zone's segment of the
    // office's zone forecast, the alerts in force at the place's coordinates ("alat", "alon"; the zone's without
    // them), and the office's newest discussion, summary and public information statement.
    //   L_OK         text holds the messages;
    //   L_NOTFOUND   the place has no such code; nothing fetched, text untouched;
    //   L_INPUT      the page or the service holds nothing for the place; text emptied;
    //   L_CONNECT    the page or an answer could not be fetched whole; text untouched;
    //   L_FORMAT     an answer of the service came but could not be read; text untouched.
    int getWarnings(const WLocation &location, corekit::LString &text);
    // The first message for the zone only.
    int getForecast(const WLocation &location, corekit::LString &text);
    int getWatches(const WLocation &location, corekit::LString &text);
    int getStatements(const WLocation &location, corekit::LString &text);
    int getDiscussion(const WLocation &location, corekit::LString &text);
    int getSummary(const WLocation &location, corekit::LString &text);
    int getPublic(const WLocation &location, corekit::LString &text);

    // The alerts in force for the place, one record each (walert.h), made of what the warnings, watches and
    // statements operations fetched: from the web service the place's alert answer (which the three share within
    // an update, so an update that ran one of them asks nothing more; otherwise it is fetched here), from the state
    // pages the messages of the three kinds the last scans for the place kept. Most severe first from the service;
    // warnings, watches, then statements from the pages. Shows nothing on the info line.
    //   L_OK         alerts holds the records, none when nothing is in force;
    //   L_NOTFOUND   the place has no zone or coordinates; alerts untouched;
    //   L_CONNECT    the service's answer could not be had; alerts untouched;
    //   L_FORMAT     the service's answer came but could not be read; alerts untouched.
    int getAlerts(const WLocation &location, std::vector<WAlertRecord> &alerts);

    // The forecast of the place's point from the web service (wforecast.h): its day and night periods ("Tonight",
    // "Tuesday"), or its hours. The address comes from the place's point answer, and is followed on ApiBase only
    // when it names the service's own host or ApiBase's. Asked for conditionally like the place's alerts. Shows
    // nothing on the info line.
    //   L_OK        forecast holds the periods (or hours) not yet ended;
    //   L_NOTFOUND  the place has no coordinates, or the texts come from the state pages (ProductSource 0):
    //               nothing fetched, forecast untouched;
    //   L_CONNECT   an answer could not be fetched (503, 500, "Forecast Grid Expired" included); forecast untouched;
    //   L_FORMAT    the answer came but could not be read, or named a URL of another host; forecast untouched.
    int getForecastPeriods(const WLocation &location, WForecast &forecast);
    int getForecastHours(const WLocation &location, WForecast &forecast);

private:
    using LineHandler = std::function<bool(const corekit::LString &line)>;

    bool usesApi() const;
    int getText(WApiProduct product, const WLocation &location, corekit::LString &text);
    WApiAccess apiAccess();
    int getApiText(WApiProduct product, const WLocation &location, corekit::LString &text);
    int getPageAlerts(
        const WLocation &location, const corekit::LString &address, const WProductKind &kind, corekit::LString &out);
    int getZoneText(
        const WLocation &location, const corekit::LString &address, const WProductKind &kind, corekit::LString &out);
    int getCityText(
        const WLocation &location, const corekit::LString &address, const WProductKind &kind, corekit::LString &out);
    int scanPage(const corekit::LString &address, const corekit::LString &description, WProductScanner &scanner,
        corekit::LString &out);
    int readPage(const corekit::LString &address, const corekit::LString &firstText, const LineHandler &eachLine);
    corekit::LString productAddress(const WLocation &location, const char *page) const;
    void showText(const corekit::LString &text) const;
    void clearText() const;
    std::string contact() const;
    std::int64_t now() const;

    corekit::LInfoLine *m_infoLine;
    corekit::LKeeper *m_keeper;
    std::atomic<bool> m_abort;
    WFetchLimits m_limits;
    Clock m_clock;
    std::unique_ptr<WApiSource> m_api;
    std::unique_ptr<WPageAlerts> m_pageAlerts;
    WFailure m_lastFailure;
    std::int64_t m_retryAfter = 0;
};

} // namespace meteo
