#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wapisource_p.h"
#include "meteo/reader/wcityscanner_p.h"
#include "meteo/reader/wdecodereport.h"
#include "meteo/reader/wmarkertable_p.h"
#include "meteo/reader/wpagealerts_p.h"
#include "meteo/reader/wproduct_p.h"
#include "meteo/reader/wproductkind_p.h"
#include "meteo/reader/wreadersettings.h"
#include "meteo/reader/wwebpage_p.h"
#include "meteo/reader/wzonescanner_p.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

using namespace corekit;

namespace meteo
{

namespace
{

// The station a report is of, its first group after the report type: 'KDSM' of 'METAR KDSM 121854Z ...'.
std::string_view stationOf(std::string_view report)
{
    for (const std::string_view type : {"METAR ", "SPECI "}) {
        if (report.starts_with(type))
            report.remove_prefix(type.size());
    }
    report.remove_prefix(std::min(report.find_first_not_of(' '), report.size()));
    return report.substr(0, report.find(' '));
}

// A page that holds another station's report (a server's mix-up) holds no observation of the place's.
bool isReportOf(const LString &report, const LString &station)
{
    const std::string_view named = stationOf(std::string_view(report, report.length()));
    const std::string_view wanted(station, station.length());
    return named.size() == wanted.size() && std::equal(named.begin(), named.end(), wanted.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
}

} // namespace

WReader::WReader(LInfoLine *infoLine, Clock clock)
    : m_infoLine(infoLine)
    , m_keeper(nullptr)
    , m_abort(false)
    , m_clock(clock)
    , m_api(std::make_unique<WApiSource>(std::move(clock)))
    , m_pageAlerts(std::make_unique<WPageAlerts>())
{
}

WReader::WReader(const WReader &other)
    : m_infoLine(other.m_infoLine)
    , m_keeper(other.m_keeper)
    , m_abort(other.m_abort.load())
    , m_limits(other.m_limits)
    , m_clock(other.m_clock)
    , m_api(std::make_unique<WApiSource>(*other.m_api))
    , m_pageAlerts(std::make_unique<WPageAlerts>(*other.m_pageAlerts))
    , m_lastFailure(other.m_lastFailure)
    , m_retryAfter(other.m_retryAfter)
{
}

WReader &WReader::operator=(const WReader &other)
{
    m_infoLine = other.m_infoLine;
    m_keeper = other.m_keeper;
    m_abort = other.m_abort.load();
    m_limits = other.m_limits;
    m_clock = other.m_clock;
    *m_api = *other.m_api;
    *m_pageAlerts = *other.m_pageAlerts;
    m_lastFailure = other.m_lastFailure;
    m_retryAfter = other.m_retryAfter;
    return *this;
}

WReader::~WReader() = default;

void WReader::SetInfoLine(LInfoLine *infoLine)
{
    m_infoLine = infoLine;
}

void WReader::SetKeeper(LKeeper *keeper)
{
    m_keeper = keeper;
    if (!m_keeper)
        return;
    m_keeper->InitInt(WReaderSettings::INTERNET, WReaderSettings::USE_PROXY, 0, false);
    m_keeper->InitString(WReaderSettings::INTERNET, WReaderSettings::PROXY_LOCATION, "", false);
    m_keeper->InitString(
        WReaderSettings::INTERNET, WReaderSettings::CONDITIONS_BASE, WReaderSettings::DEFAULT_CONDITIONS_BASE, false);
    m_keeper->InitString(
        WReaderSettings::INTERNET, WReaderSettings::WARNINGS_BASE, WReaderSettings::DEFAULT_WARNINGS_BASE, false);
    m_keeper->InitInt(
        WReaderSettings::INTERNET, WReaderSettings::PRODUCT_SOURCE, WReaderSettings::SOURCE_WEB_SERVICE, false);
    m_keeper->InitString(
        WReaderSettings::INTERNET, WReaderSettings::API_BASE, WReaderSettings::DEFAULT_API_BASE, false);
    m_keeper->InitString(WReaderSettings::INTERNET, WReaderSettings::CONTACT, "", false);
    m_keeper->InitInt(WReaderSettings::INTERNET, WReaderSettings::ALERT_AREA, WReaderSettings::ALERT_AREA_POINT, false);
}

void WReader::abortFetch()
{
    m_abort = true;
}

void WReader::allowFetch()
{
    m_abort = false;
}

void WReader::beginUpdate(bool force)
{
    m_api->beginUpdate(force);
}

void WReader::setAlertsMaxAge(std::int64_t seconds)
{
    m_api->setAlertsMaxAge(seconds);
}

bool WReader::alertsUnchanged() const
{
    return usesApi() && m_api->alertsUnchanged();
}

void WReader::setFetchLimits(const WFetchLimits &limits)
{
    m_limits = limits;
}

std::vector<std::string> WReader::cancelledAlerts() const
{
    return usesApi() ? m_api->cancelledAlerts() : std::vector<std::string>();
}

int WReader::getCondition(const WLocation &location, WCondition &condition)
{
    LString station;
    if (location.getCityData(WLocation::STATION_KEY, station) != L_OK || station.isEmpty())
        return L_DB;
    LString address;
    if (m_keeper)
        m_keeper->GetString(WReaderSettings::INTERNET, WReaderSettings::CONDITIONS_BASE, address, false);
    address += station;
    address += ".html";

    WMarkerTable markers;
    markers.addMarker("ob", WMarkerTable::MatchWhole);
    std::string stripped;
    const int result = readPage(address, "Getting current conditions...", [&](const LString &line) {
        stripHTMLTags(std::string_view(line), true, stripped);
        if (!stripped.empty())
            markers.feed(LString(stripped.data(), stripped.size()));
        return true;
    });
    if (result != L_OK)
        return result;

    const LString report = markers.valueOf("ob");
    if (!isReportOf(report, station) || decodeReport(report, condition, now()) != L_OK) {
        showText("Error: cannot obtain conditions");
        return L_ERROR;
    }
    clearText();
    return L_OK;
}

int WReader::getWarnings(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Warnings, location, text);
}

int WReader::getForecast(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Forecast, location, text);
}

int WReader::getWatches(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Watches, location, text);
}

int WReader::getStatements(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Statements, location, text);
}

int WReader::getDiscussion(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Discussion, location, text);
}

int WReader::getSummary(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Summary, location, text);
}

int WReader::getPublic(const WLocation &location, LString &text)
{
    return getText(WApiProduct::Public, location, text);
}

int WReader::getText(WApiProduct product, const WLocation &location, LString &text)
{
    if (usesApi())
        return getApiText(product, location, text);
    const WProductKind &kind = productKind(product);
    const LString address = productAddress(location, kind.page);
    if (kind.prefix)
        return getCityText(location, address, kind, text);
    // The kinds the web service takes from its alerts are the page's alerts as well.
    if (!kind.apiType)
        return getPageAlerts(location, address, kind, text);
    return getZoneText(location, address, kind, text);
}

bool WReader::usesApi() const
{
    std::uint32_t source = WReaderSettings::SOURCE_WEB_SERVICE;
    if (m_keeper)
        m_keeper->GetInt(WReaderSettings::INTERNET, WReaderSettings::PRODUCT_SOURCE, source, false);
    return source != WReaderSettings::SOURCE_STATE_PAGES;
}

int WReader::getAlerts(const WLocation &location, std::vector<WAlertRecord> &alerts)
{
    if (usesApi())
        return m_api->getAlerts(location, apiAccess(), alerts);
    LString zone;
    if (location.getCityData(WLocation::ZONE_KEY, zone) != L_OK || zone.isEmpty())
        return L_NOTFOUND;
    alerts = m_pageAlerts->records(static_cast<const char *>(zone));
    return L_OK;
}

int WReader::getForecastPeriods(const WLocation &location, WForecast &forecast)
{
    if (!usesApi())
        return L_NOTFOUND;
    return m_api->getPointForecast(WForecastSpan::Periods, location, apiAccess(), forecast);
}

int WReader::getForecastHours(const WLocation &location, WForecast &forecast)
{
    if (!usesApi())
        return L_NOTFOUND;
    return m_api->getPointForecast(WForecastSpan::Hours, location, apiAccess(), forecast);
}

WApiAccess WReader::apiAccess()
{
    WApiAccess access;
    std::uint32_t useProxy = 0;
    std::uint32_t area = WReaderSettings::ALERT_AREA_POINT;
    if (m_keeper) {
        m_keeper->GetInt(WReaderSettings::INTERNET, WReaderSettings::ALERT_AREA, area, false);
        m_keeper->GetString(WReaderSettings::INTERNET, WReaderSettings::API_BASE, access.base, false);
        m_keeper->GetInt(WReaderSettings::INTERNET, WReaderSettings::USE_PROXY, useProxy, false);
        m_keeper->GetString(WReaderSettings::INTERNET, WReaderSettings::PROXY_LOCATION, access.proxyLocation, false);
    }
    access.contact = contact();
    access.useProxy = useProxy != 0;
    access.alertArea
        = area == WReaderSettings::ALERT_AREA_ZONE_AND_COUNTY ? WAlertArea::ZoneAndCounty : WAlertArea::Point;
    access.abort = &m_abort;
    access.limits = m_limits;
    access.failure = &m_lastFailure;
    access.retryAfter = &m_retryAfter;
    return access;
}

int WReader::getApiText(WApiProduct product, const WLocation &location, LString &text)
{
    return m_api->getText(product, location, apiAccess(), m_infoLine, text);
}

// The zone scan of every message for the place, whose messages become the kind's alert records; a page that could
// not be read leaves the records as they were, like the text.
int WReader::getPageAlerts(const WLocation &location, const LString &address, const WProductKind &kind, LString &out)
{
    LString zone;
    if (location.getCityData(WLocation::ZONE_KEY, zone) != L_OK || zone.isEmpty())
        return L_NOTFOUND;
    WZoneScanner scanner(zone, kind.firstOnly);
    const int result = scanPage(address, kind.description, scanner, out);
    if (result != L_CONNECT)
        m_pageAlerts->keep(static_cast<const char *>(zone), kind.alertKind, scanner.messages());
    return result;
}

int WReader::getZoneText(const WLocation &location, const LString &address, const WProductKind &kind, LString &out)
{
    LString zone;
    if (location.getCityData(WLocation::ZONE_KEY, zone) != L_OK || zone.isEmpty())
        return L_NOTFOUND;
    WZoneScanner scanner(zone, kind.firstOnly);
    return scanPage(address, kind.description, scanner, out);
}

int WReader::getCityText(const WLocation &location, const LString &address, const WProductKind &kind, LString &out)
{
    LString code;
    if (location.getCityData(WLocation::STATION_KEY, code) != L_OK || code.isEmpty())
        return L_NOTFOUND;
    WCityScanner scanner(kind.prefix, code);
    return scanPage(address, kind.description, scanner, out);
}

// The text is gathered aside and replaces out only once the whole page has been read.
int WReader::scanPage(const LString &address, const LString &description, WProductScanner &scanner, LString &out)
{
    LString firstText;
    firstText.printf("Getting %s...", static_cast<const char *>(description));
    const int result = readPage(address, firstText, [&scanner](const LString &line) { return scanner.feed(line); });
    if (result != L_OK)
        return result;
    clearText();
    out = scanner.text();
    return scanner.isEmpty() ? L_INPUT : L_OK;
}

// Fetches the page and hands its lines to eachLine until the page ends or eachLine returns false. L_OK (the
// caller clears the info line once it has made sense of the page), or L_CONNECT with the error left on the line.
int WReader::readPage(const LString &address, const LString &firstText, const LineHandler &eachLine)
{
    showText(firstText);
    std::uint32_t useProxy = 0;
    LString proxyLocation;
    if (m_keeper) {
        m_keeper->GetInt(WReaderSettings::INTERNET, WReaderSettings::USE_PROXY, useProxy, false);
        m_keeper->GetString(WReaderSettings::INTERNET, WReaderSettings::PROXY_LOCATION, proxyLocation, false);
    }
    WWebPage page(useProxy != 0, proxyLocation, &m_abort);
    page.setLimits(m_limits);
    page.setContact(contact());
    const int opened = page.open(address);
    m_lastFailure = page.failure();
    if (opened != L_OK) {
        page.close();
        showText("Error: cannot connect to server");
        return L_CONNECT;
    }
    showText("Reading data from server...");
    LString line;
    while (page.readLine(line) == L_OK && eachLine(line)) { }
    page.close();
    return L_OK;
}

LString WReader::productAddress(const WLocation &location, const char *page) const
{
    LString address;
    if (m_keeper)
        m_keeper->GetString(WReaderSettings::INTERNET, WReaderSettings::WARNINGS_BASE, address, false);
    address += location.getShortState();
    address += page;
    return address;
}

std::string WReader::contact() const
{
    LString contact;
    if (m_keeper)
        m_keeper->GetString(WReaderSettings::INTERNET, WReaderSettings::CONTACT, contact, false);
    return static_cast<const char *>(contact);
}

std::int64_t WReader::now() const
{
    return m_clock ? m_clock() : static_cast<std::int64_t>(std::time(nullptr));
}

void WReader::showText(const LString &text) const
{
    if (m_infoLine)
        m_infoLine->SetText(text);
}

void WReader::clearText() const
{
    if (m_infoLine)
        m_infoLine->Clear();
}

} // namespace meteo
