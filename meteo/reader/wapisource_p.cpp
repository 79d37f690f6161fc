#include "meteo/reader/wapisource_p.h"

#include "corekit/lex.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wapiclient_p.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wkeptlines_p.h"
#include "meteo/reader/wpointforecast_p.h"
#include "meteo/reader/wserviceurl_p.h"
#include "meteo/reader/wzonescanner_p.h"

#include <algorithm>
#include <chrono>

using namespace corekit;

namespace meteo
{

namespace
{

using nlohmann::json;

void show(LInfoLine *infoLine, const LString &text)
{
    if (infoLine)
        infoLine->SetText(text);
}

// The first message of a zone forecast product for the zone, as the page scanner keeps it; empty when the
// product has no segment for the zone. The scanner reads the lines as a page hands them out, carriage returns
// dropped, each with its line feed.
std::string zoneSegment(const std::string &product, const std::string &zone)
{
    WZoneScanner scanner(zone.c_str(), true);
    std::string piece;
    LString line;
    for (std::size_t start = 0; start < product.size();) {
        const std::size_t end = std::min(product.find('\n', start), product.size() - 1) + 1;
        piece.assign(product, start, end - start);
        std::erase(piece, '\r');
        line.assign(piece.data(), piece.size());
        start = end;
        if (!scanner.feed(line))
            break;
    }
    return std::string(static_cast<const char *>(scanner.text()));
}

// ".THURSDAY NIGHT...Breezy. Mostly clear. Lows around 60." The service ends some texts with a stray " =", the
// end-of-message sign of old teletype bulletins.
std::string periodLine(std::string_view name, std::string forecast)
{
    std::replace_if(
        forecast.begin(), forecast.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    const std::size_t end = forecast.find_last_not_of(" =");
    forecast.erase(end == std::string::npos ? 0 : end + 1);
    std::string line(1, '.');
    line.append(capitals(name)).append("...").append(forecast);
    return line;
}

} // namespace

WApiSource::WApiSource(Clock clock)
    : m_clock(std::move(clock))
{
}

int WApiSource::getText(
    WApiProduct product, const WLocation &location, const WApiAccess &access, LInfoLine *infoLine, LString &text)
{
    selectPlace(location);
    if (m_place.zone().empty() && (product == WApiProduct::Forecast || m_place.point().empty()))
        return L_NOTFOUND;
    LString firstText;
    firstText.printf("Getting %s...", productKind(product).description);
    show(infoLine, firstText);
    WApiClient client = this->client(access);
    std::string out;
    if (const int result = fetchText(product, client, out); result != L_OK) {
        show(infoLine,
            result == L_FORMAT ? "Error: cannot read the server's answer" : "Error: cannot connect to server");
        return result;
    }
    show(infoLine, "Reading data from server...");
    if (infoLine)
        infoLine->Clear();
    text.assign(out.data(), out.size());
    return out.empty() ? L_INPUT : L_OK;
}

void WApiSource::beginUpdate(bool force)
{
    if (force)
        m_cache.staleAll();
    m_alertsPath.clear();
    m_place.beginUpdate();
}

// A new place starts the forecast search afresh.
void WApiSource::selectPlace(const WLocation &location)
{
    if (m_place.select(location)) {
        m_forecastNewest.clear();
        m_forecastFrom.clear();
    }
}

int WApiSource::fetchText(WApiProduct product, WApiClient &client, std::string &text)
{
    if (product == WApiProduct::Forecast)
        return forecast(client, text);
    const WProductKind &kind = productKind(product);
    return kind.apiType ? bulletin(client, kind.apiType, text) : alerts(client, kind.alertKind, text);
}

// The office's newest zone forecast product; if it has no segment for the place, the one before it. Neither
// having one means that the office has nothing for the place now: an empty text. Only for an office that issues
// no zone forecast product at all does the zone's forecast periods stand in; for the others the service answers
// that request with 404.
int WApiSource::forecast(WApiClient &client, std::string &text)
{
    const char *type = productKind(WApiProduct::Forecast).apiType;
    const WApiOffice *office = nullptr;
    std::string newest;
    int result = m_place.office(client, now(), office);
    if (result != L_OK
        || (result = officeRequest(client, m_products.newest(client, type, office->cwa, newest))) != L_OK)
        return result;
    if (newest.empty())
        return zonePeriods(client, text);
    if (newest == m_forecastNewest)
        return m_forecastFrom.empty() ? L_OK : segment(client, *office, m_forecastFrom, text);
    std::string from = newest;
    if ((result = segment(client, *office, newest, text)) != L_OK
        || (text.empty() && (result = nextNewest(client, *office, newest, from, text)) != L_OK))
        return result;
    m_forecastNewest = newest;
    m_forecastFrom = text.empty() ? std::string() : from;
    return L_OK;
}

int WApiSource::nextNewest(
    WApiClient &client, const WApiOffice &office, const std::string &newest, std::string &from, std::string &text)
{
    std::vector<std::string> ids;
    const int result
        = officeRequest(client, m_products.listed(client, productKind(WApiProduct::Forecast).apiType, office.cwa, ids));
    if (result != L_OK)
        return result;
    const auto next = std::find_if(ids.begin(), ids.end(), [&newest](const std::string &id) { return id != newest; });
    if (next == ids.end())
        return L_OK;
    from = *next;
    return segment(client, office, from, text);
}

// The segment for the place's zone, or else for the zone the service gives the place, where that differs.
int WApiSource::segment(WApiClient &client, const WApiOffice &office, const std::string &id, std::string &text)
{
    std::string product;
    if (const int result = m_products.text(client, id, product); result != L_OK)
        return result;
    text = zoneSegment(product, m_place.zone());
    if (text.empty() && !office.forecastZone.empty() && office.forecastZone != m_place.zone())
        text = zoneSegment(product, office.forecastZone);
    return L_OK;
}

// {"properties": {"periods": [{"name": "Tonight", "detailedForecast": "Partly cloudy..."}, ...]}}
int WApiSource::zonePeriods(WApiClient &client, std::string &text)
{
    json document;
    const std::string path = "zones/forecast/" + m_place.zone() + "/forecast";
    if (const int result = client.get(path, WApiClient::Accept::GeoJson, document); result != L_OK)
        return result;
    const json *properties = memberOf(document, "properties");
    const json::array_t *periods = properties ? listOf(*properties, "periods") : nullptr;
    if (!periods)
        return L_FORMAT;
    for (const json &period : *periods) {
        const std::string_view name = textOf(period, "name");
        const std::string_view forecast = textOf(period, "detailedForecast");
        if (!name.empty() && !forecast.empty())
            keepLine(text, periodLine(name, std::string(forecast)));
    }
    return L_OK;
}

int WApiSource::getAlerts(const WLocation &location, const WApiAccess &access, std::vector<WAlertRecord> &alerts)
{
    selectPlace(location);
    if (m_place.point().empty() && m_place.zone().empty())
        return L_NOTFOUND;
    WApiClient client = this->client(access);
    if (const int result = refreshAlerts(client, ALERT_RECORDS); result != L_OK)
        return result;
    alerts = m_alerts.alerts();
    return L_OK;
}

// The answer is read afresh even when it is the one kept (a 304, or still fresh): the periods ended since the last
// reading drop out.
int WApiSource::getPointForecast(
    WForecastSpan span, const WLocation &location, const WApiAccess &access, WForecast &forecast)
{
    selectPlace(location);
    if (m_place.point().empty())
        return L_NOTFOUND;
    WApiClient client = this->client(access);
    std::string path;
    std::string body;
    if (const int result = pointForecastPath(span, client, path); result != L_OK)
        return result;
    // A 404 tells that the point's grid has moved: the point is looked up again.
    if (client.fetch(path, WApiClient::Accept::GeoJson, body) != L_OK)
        return officeRequest(client, L_CONNECT);
    WForecast read;
    if (readPointForecast(body, now(), read) != L_OK) {
        if (access.failure)
            *access.failure = {WFailure::Kind::BadAnswer, client.status(), "the forecast could not be read"};
        return L_FORMAT;
    }
    client.keepAnswer();
    read.fetched = now();
    forecast = std::move(read);
    return L_OK;
}

// The address the point answer names, on the configured base.
int WApiSource::pointForecastPath(WForecastSpan span, WApiClient &client, std::string &path)
{
    const WApiOffice *office = nullptr;
    if (const int result = m_place.office(client, now(), office); result != L_OK)
        return result;
    const std::string &url = span == WForecastSpan::Hours ? office->forecastHourly : office->forecast;
    std::string why;
    if (url.empty())
        why = "the service names no forecast for the place";
    else if (servicePath(url, static_cast<const char *>(client.access().base), path, why))
        return L_OK;
    if (client.access().failure)
        *client.access().failure = {WFailure::Kind::BadAnswer, 0, why};
    return L_FORMAT;
}

int WApiSource::alerts(WApiClient &client, WAlertKind kind, std::string &text)
{
    if (const int result = refreshAlerts(client, static_cast<std::size_t>(kind)); result != L_OK)
        return result;
    text = m_alerts.text(kind);
    return L_OK;
}

// The place's alerts (alertsPath). A good answer serves each of its users once: one that asks again belongs to a later
// update, even where no beginUpdate() said so. A failure is not kept, so that the next operation asks again.
int WApiSource::refreshAlerts(WApiClient &client, std::size_t user)
{
    std::string path;
    if (const int result = alertsPath(client, path); result != L_OK)
        return result;
    if (path == m_alertsPath && !m_alertsServed.test(user)) {
        m_alertsServed.set(user);
        return L_OK;
    }
    m_alertsPath.clear();
    m_alertsUnchanged = false;
    std::string body;
    if (const int result = client.fetch(path, WApiClient::Accept::GeoJson, body, m_alertsMaxAge); result != L_OK)
        return result;
    if (client.unchanged() && path == m_alertsReadPath) {
        m_alerts.dropExpired(now());
    } else {
        m_alertsReadPath.clear();
        if (const int result = m_alerts.read(body, now()); result != L_OK)
            return result;
        m_alertsReadPath = path;
        client.keepAnswer();
    }
    m_alertsUnchanged = client.unchanged();
    m_alertsPath = path;
    m_alertsServed.reset().set(user);
    return L_OK;
}

// With coordinates the alerts of the point, county-based and storm-polygon warnings included; without them the
// alerts of the zone. For the zone and county, one request names both ("alerts/active?zone=KSZ009,KSC201"): the
// service lists an alert of both once. The county comes from the point answer, looked up once for the place.
int WApiSource::alertsPath(WApiClient &client, std::string &path)
{
    if (client.access().alertArea == WAlertArea::Point || m_place.point().empty()) {
        path = m_place.point().empty() ? "alerts/active/zone/" + m_place.zone()
                                       : "alerts/active?point=" + m_place.point();
        return L_OK;
    }
    const WApiOffice *office = nullptr;
    if (const int result = m_place.office(client, now(), office); result != L_OK)
        return result;
    const std::string &zone = office->forecastZone.empty() ? m_place.zone() : office->forecastZone;
    std::string zones = zone;
    if (!office->county.empty())
        zones += (zones.empty() ? "" : ",") + office->county;
    if (zones.empty())
        return L_NOTFOUND;
    path = "alerts/active?zone=" + zones;
    return L_OK;
}

int WApiSource::bulletin(WApiClient &client, const char *type, std::string &text)
{
    const WApiOffice *office = nullptr;
    std::string newest;
    std::string product;
    int result = m_place.office(client, now(), office);
    if (result != L_OK
        || (result = officeRequest(client, m_products.newest(client, type, office->cwa, newest))) != L_OK)
        return result;
    if (newest.empty())
        return L_OK;
    if ((result = m_products.text(client, newest, product)) != L_OK)
        return result;
    text = bulletinBody(product);
    return L_OK;
}

// Passes on the result of a request built from the place's office; a 404 tells that the office has moved.
int WApiSource::officeRequest(WApiClient &client, int result)
{
    if (result != L_OK && client.status() == 404)
        m_place.lost(now());
    return result;
}

WApiClient WApiSource::client(const WApiAccess &access)
{
    return WApiClient(access, &m_cache, now());
}

std::int64_t WApiSource::now() const
{
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace meteo
