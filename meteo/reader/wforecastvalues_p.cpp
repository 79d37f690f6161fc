#include "meteo/reader/wforecastvalues_p.h"

#include "meteo/reader/wjson_p.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace meteo
{

namespace
{

using nlohmann::json;

constexpr double KILOMETRES_PER_MILE = 1.609344;

// The kinds the service draws (its icon list), as its addresses name them.
constexpr std::array<std::string_view, 34> SKY_KINDS = {"skc", "few", "sct", "bkn", "ovc", "wind_skc", "wind_few",
    "wind_sct", "wind_bkn", "wind_ovc", "snow", "rain_snow", "rain_sleet", "snow_sleet", "fzra", "rain_fzra",
    "snow_fzra", "sleet", "rain", "rain_showers", "rain_showers_hi", "tsra", "tsra_sct", "tsra_hi", "tornado",
    "hurricane", "tropical_storm", "dust", "smoke", "haze", "hot", "cold", "blizzard", "fog"};

std::optional<double> numberOfText(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number))
        return std::nullopt;
    return number;
}

double celsiusOfFahrenheit(double fahrenheit)
{
    return (fahrenheit - 32.0) * 5.0 / 9.0;
}

// "wmoUnit:degF" gives "degF"; "" when the value is no quantity.
std::string_view unitOf(const json &value)
{
    const std::string_view code = textOf(value, "unitCode");
    return code.substr(code.find(':') + 1);
}

// The next whole or decimal number of the text, from position; position moves past it.
std::optional<double> nextNumber(std::string_view text, std::size_t &position)
{
    const std::size_t start = text.find_first_of("0123456789", position);
    if (start == std::string_view::npos)
        return std::nullopt;
    std::size_t end = text.find_first_not_of("0123456789.", start);
    end = end == std::string_view::npos ? text.size() : end;
    position = end;
    return numberOfText(text.substr(start, end - start));
}

} // namespace

std::optional<double> forecastNumber(const json &value)
{
    if (value.is_object()) {
        const json *inner = memberOf(value, "value");
        return inner && !inner->is_object() ? forecastNumber(*inner) : std::nullopt;
    }
    if (value.is_number())
        return value.get<double>();
    return value.is_string() ? numberOfText(textOf(value)) : std::nullopt;
}

std::optional<int> forecastPercent(const json &value)
{
    const std::optional<double> number = forecastNumber(value);
    if (!number || std::fabs(*number) > 1000.0)
        return std::nullopt;
    return static_cast<int>(std::lround(*number));
}

std::optional<double> forecastTemperature(
    const json &temperature, std::string_view temperatureUnit, WForecastUnits units)
{
    const std::optional<double> value = forecastNumber(temperature);
    if (!value)
        return std::nullopt;
    std::string_view unit = unitOf(temperature);
    if (unit.empty())
        unit = temperatureUnit;
    if (unit.empty())
        unit = units == WForecastUnits::Si ? "C" : "F";
    if (unit == "F" || unit == "degF")
        return celsiusOfFahrenheit(*value);
    if (unit == "C" || unit == "degC")
        return value;
    return std::nullopt;
}

std::optional<double> forecastDewPoint(const json &dewPoint)
{
    const std::optional<double> value = forecastNumber(dewPoint);
    if (value && unitOf(dewPoint) == "degF")
        return celsiusOfFahrenheit(*value);
    return value;
}

bool windSpeedRange(std::string_view text, WForecastUnits units, double &low, double &high)
{
    std::size_t position = 0;
    const std::optional<double> first = nextNumber(text, position);
    if (!first)
        return false;
    const std::optional<double> second = nextNumber(text, position);
    const bool kilometres = text.find("km/h") != std::string_view::npos
        || (text.find("mph") == std::string_view::npos && units == WForecastUnits::Si);
    const double scale = kilometres ? 1.0 / KILOMETRES_PER_MILE : 1.0;
    low = *first * scale;
    high = second.value_or(*first) * scale;
    return true;
}

void skyOf(std::string_view icon, std::string &sky, std::optional<int> &chance)
{
    sky.clear();
    chance.reset();
    icon = icon.substr(0, icon.find('?'));
    // The kind follows the ground and the time of day: "/icons/land/day/".
    for (const std::string_view time : {"/day/", "/night/"}) {
        if (const std::size_t found = icon.find(time); found != std::string_view::npos) {
            icon.remove_prefix(found + time.size());
            break;
        }
    }
    const std::string_view first = icon.substr(0, icon.find('/'));
    const std::string_view kind = first.substr(0, first.find(','));
    if (kind.empty() || std::find(SKY_KINDS.begin(), SKY_KINDS.end(), kind) == SKY_KINDS.end())
        return;
    sky = kind;
    if (const std::size_t comma = first.find(','); comma != std::string_view::npos)
        chance = forecastPercent(json(std::string(first.substr(comma + 1))));
}

} // namespace meteo
