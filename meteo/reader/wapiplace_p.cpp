#include "meteo/reader/wapiplace_p.h"

#include "corekit/lex.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wapiclient_p.h"
#include "meteo/reader/wjson_p.h"

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace corekit;

namespace meteo
{

namespace
{

using nlohmann::json;

bool isAlphanumeric(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

// 39.74560 gives "39.7456", 40.0 gives "40", -0.00001 gives "0".
std::string canonical(double degrees)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::fixed, 4);
    std::string text(buffer, result.ptr);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.'))
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string pointOf(const WLocation &location)
{
    const std::optional<WLocation::Coordinates> point = location.getCoordinates();
    if (!point)
        return {};
    return canonical(point->latitude) + ',' + canonical(point->longitude);
}

std::string zoneOf(const WLocation &location)
{
    LString zone;
    if (location.getCityData(WLocation::ZONE_KEY, zone) != L_OK || !isAlphanumeric(static_cast<const char *>(zone)))
        return {};
    return static_cast<const char *>(zone);
}

// A point names its office as "cwa": "TOP"; a zone as a list: "cwa": ["TOP"].
std::string officeCode(const json &properties)
{
    const json *cwa = memberOf(properties, "cwa");
    if (cwa && cwa->is_array() && !cwa->empty())
        cwa = &cwa->get_ref<const json::array_t &>().front();
    const std::string_view code = cwa ? textOf(*cwa) : std::string_view();
    return isAlphanumeric(code) ? std::string(code) : std::string();
}

// "https://api.weather.gov/zones/forecast/KSZ009" gives "KSZ009".
std::string lastSegment(const json &properties, const char *name)
{
    const std::string_view url = textOf(properties, name);
    const std::string_view segment = url.substr(url.rfind('/') + 1);
    return isAlphanumeric(segment) ? std::string(segment) : std::string();
}

} // namespace

bool WApiPlace::select(const WLocation &location)
{
    std::string point = pointOf(location);
    std::string zone = zoneOf(location);
    if (point == m_point && zone == m_zone)
        return false;
    *this = WApiPlace();
    m_point = std::move(point);
    m_zone = std::move(zone);
    return true;
}

int WApiPlace::office(WApiClient &client, std::int64_t now, const WApiOffice *&office)
{
    const bool due = now >= m_notBefore;
    if (m_known && (!m_stale || !due)) {
        office = &m_office;
        return L_OK;
    }
    m_known = false;
    m_stale = false;
    const int result = lookUp(client);
    m_known = result == L_OK;
    if (m_known)
        office = &m_office;
    return result;
}

void WApiPlace::lost(std::int64_t now)
{
    m_stale = true;
    m_notBefore = now + API_CYCLE_SECONDS;
}

void WApiPlace::beginUpdate()
{
    m_notBefore = 0;
}

int WApiPlace::lookUp(WApiClient &client)
{
    json document;
    const bool byPoint = !m_point.empty();
    const std::string path = byPoint ? "points/" + m_point : "zones/forecast/" + m_zone;
    if (const int result = client.get(path, WApiClient::Accept::GeoJson, document); result != L_OK)
        return result;
    const json *properties = memberOf(document, "properties");
    if (!properties || !properties->is_object())
        return L_FORMAT;
    m_office.cwa = officeCode(*properties);
    m_office.forecastZone = byPoint ? lastSegment(*properties, "forecastZone") : m_zone;
    m_office.county = byPoint ? lastSegment(*properties, "county") : std::string();
    m_office.forecast = byPoint ? textOf(*properties, "forecast") : std::string_view();
    m_office.forecastHourly = byPoint ? textOf(*properties, "forecastHourly") : std::string_view();
    return m_office.cwa.empty() ? L_FORMAT : L_OK;
}

} // namespace meteo
