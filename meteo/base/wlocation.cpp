#include "meteo/base/wlocation.h"

#include "corekit/lex.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

using namespace corekit;

namespace meteo
{

namespace
{

// The value of "alat(41.5726)": the whole of it a finite number of degrees within the limit.
std::optional<double> degreesOf(const LString &data, const char *key, double limit)
{
    LString text;
    if (WLocation::getDataToken(data, key, text) != L_OK)
        return std::nullopt;
    const char *end = static_cast<const char *>(text) + text.length();
    double value = 0;
    const auto [stop, error] = std::from_chars(static_cast<const char *>(text), end, value);
    if (error != std::errc() || stop != end || text.isEmpty() || !std::isfinite(value) || std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

} // namespace

WLocation::WLocation() = default;
WLocation::WLocation(const WLocation &other) = default;
WLocation &WLocation::operator=(const WLocation &other) = default;
WLocation::~WLocation() = default;

int WLocation::getDataToken(const LString &data, const char *key, LString &value)
{
    const char *wanted = key ? key : "";
    unsigned long position;
    if (data.find(wanted, position) != 0)
        return L_NOTFOUND;
    const char *open = static_cast<const char *>(data) + position + std::strlen(wanted);
    if (*open != '(')
        return L_FORMAT;
    const char *close = std::strchr(open + 1, ')');
    if (!close)
        return L_FORMAT;
    value.assign(open + 1, static_cast<unsigned long>(close - open - 1));
    return L_OK;
}

void WLocation::setName(const LString &name)
{
    m_name = name;
}

void WLocation::setShortState(const LString &shortState)
{
    m_shortState = shortState;
}

void WLocation::setCityData(const LString &cityData)
{
    m_cityData = cityData;
}

int WLocation::getCityData(const char *key, LString &value) const
{
    return getDataToken(m_cityData, key, value);
}

std::optional<WLocation::Coordinates> WLocation::coordinatesOf(const LString &data)
{
    const std::optional<double> latitude = degreesOf(data, LATITUDE_KEY, 90);
    const std::optional<double> longitude = degreesOf(data, LONGITUDE_KEY, 180);
    if (!latitude || !longitude)
        return std::nullopt;
    return Coordinates{*latitude, *longitude};
}

std::optional<WLocation::Coordinates> WLocation::getCoordinates() const
{
    return coordinatesOf(m_cityData);
}

} // namespace meteo
