#include "meteo/location/wplacetext_p.h"

#include <charconv>
#include <cmath>

namespace meteo
{

namespace
{

// Skips spaces and at most one comma between them.
void skipSeparator(std::string_view text, std::size_t &at)
{
    bool comma = false;
    while (at < text.size() && (text[at] == ' ' || (text[at] == ',' && !comma))) {
        comma = comma || text[at] == ',';
        ++at;
    }
}

bool readDegrees(std::string_view text, std::size_t &at, double &value)
{
    const char *first = text.data() + at;
    const char *last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return false;
    at = static_cast<std::size_t>(result.ptr - text.data());
    return true;
}

} // namespace

std::string placeToken(std::string_view data, std::string_view key)
{
    const std::string open = std::string(key) + "(";
    const std::size_t start = data.find(open);
    const std::size_t close = start == std::string_view::npos ? start : data.find(')', start);
    if (close == std::string_view::npos)
        return {};
    return std::string(data.substr(start + open.size(), close - start - open.size()));
}

std::optional<WTypedPoint> parseTypedPoint(std::string_view text)
{
    WTypedPoint point;
    std::size_t at = 0;
    skipSeparator(text, at);
    if (!readDegrees(text, at, point.latitude))
        return std::nullopt;
    const std::size_t beforeSeparator = at;
    skipSeparator(text, at);
    if (at == beforeSeparator || !readDegrees(text, at, point.longitude))
        return std::nullopt;
    skipSeparator(text, at);
    // Written so that "nan" fails too.
    if (at != text.size() || !(std::fabs(point.latitude) <= 90) || !(std::fabs(point.longitude) <= 180))
        return std::nullopt;
    return point;
}

} // namespace meteo
