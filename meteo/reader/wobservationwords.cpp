#include "meteo/reader/wobservationwords.h"

#include "meteo/base/wconvert.h"

#include <cmath>
#include <cstdio>

using namespace corekit;

namespace meteo
{

namespace
{

constexpr const char *SEPARATOR = " \u00b7 ";
constexpr double KM_PER_MILE = 1.609344;
constexpr double METRES_PER_FOOT = 0.3048;
// Whole miles from here up: '9999' is 6.2 miles, read as "6".
constexpr double WHOLE_MILES_FROM = 5.0;

struct CoverWords {
    const char *cover;
    const char *words;
};

constexpr CoverWords COVERS[] = {{"FEW", "few clouds"}, {"SCT", "scattered clouds"}, {"BKN", "broken"},
    {"OVC", "overcast"}, {"VV", "sky obscured, vertical visibility"}, {"CLR", "clear sky"}, {"SKC", "clear sky"}};

// Halves, quarters and eighths as single characters ("½"); the other sixteenths as plain fractions.
constexpr const char *SIXTEENTHS[] = {"", "1/16", "\u215b", "3/16", "\u00bc", "5/16", "\u215c", "7/16", "\u00bd",
    "9/16", "\u215d", "11/16", "\u00be", "13/16", "\u215e", "15/16"};

std::string capitalized(std::string text)
{
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text;
}

void append(std::string &line, const std::string &part)
{
    if (part.empty())
        return;
    if (!line.empty())
        line += SEPARATOR;
    line += capitalized(part);
}

// 3500 as "3,500"; heights are never negative.
std::string grouped(long value)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0)
            text += ',';
        text += digits[at];
    }
    return text;
}

// Without trailing zeros: 3.7, 10, 0.03.
std::string decimal(double value, int places)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    std::string result(text);
    if (result.find('.') == std::string::npos)
        return result;
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.')
        result.pop_back();
    return result;
}

// 2.5 as "2½", 0.25 as "¼", 3.73 as "3.7", 6.21 as "6", 0.031 (50 m) as "0.03".
std::string miles(double value)
{
    if (value >= WHOLE_MILES_FROM)
        return std::to_string(std::lround(value));
    const long sixteenths = std::lround(value * 16.0);
    if (std::fabs(value * 16.0 - static_cast<double>(sixteenths)) > 0.05)
        return decimal(value, value < 1.0 ? 2 : 1);
    const long whole = sixteenths / 16;
    const long part = sixteenths % 16;
    return (whole > 0 || part == 0 ? std::to_string(whole) : std::string()) + SIXTEENTHS[part];
}

// Metres to the nearest ten below a kilometre ("800 m"), then kilometres ("3.7 km", "10 km").
std::string kilometres(double miles)
{
    const double km = miles * KM_PER_MILE;
    if (km < 1.0)
        return std::to_string(std::lround(km * 100.0) * 10) + " m";
    return (km < 10.0 ? decimal(km, 1) : std::to_string(std::lround(km))) + " km";
}

std::string degrees(float celsius, WCondition::TempScale scale)
{
    const bool celsiusScale = scale == WCondition::Celsius;
    const long value = std::lround(celsiusScale ? celsius : C2F(celsius));
    return std::to_string(value) + (celsiusScale ? "\u00b0C" : "\u00b0F");
}

std::string layerWords(const WSkyLayer &layer)
{
    for (const CoverWords &cover : COVERS) {
        if (layer.cover == cover.cover)
            return cover.words;
    }
    return layer.cover;
}

} // namespace

WObservationWords::WObservationWords(WCondition::TempScale scale, Distance distance)
    : m_scale(scale)
    , m_distance(distance)
{
}

std::string WObservationWords::line(const WObservation &observation) const
{
    std::string line;
    append(line, weather(observation));
    append(line, sky(observation));
    append(line, visibility(observation));
    if (observation.humidityPct)
        append(line, "Humidity " + std::to_string(std::lround(*observation.humidityPct)) + "%");
    append(line, feelsLike(observation));
    return line;
}

std::string WObservationWords::weather(const WObservation &observation)
{
    std::string words;
    for (const WWeather &weather : observation.weather) {
        if (!words.empty())
            words += ", ";
        words += weather.text;
    }
    return words;
}

// "broken 800 ft (CB), overcast 3,500 ft"; a layer of unknown height has its cover only.
std::string WObservationWords::sky(const WObservation &observation) const
{
    std::string words;
    for (const WSkyLayer &layer : observation.sky) {
        if (!words.empty())
            words += ", ";
        words += layerWords(layer);
        if (layer.heightFt) {
            words += ' ';
            words += height(*layer.heightFt);
        }
        if (!layer.cloud.empty()) {
            words += " (";
            words += layer.cloud;
            words += ')';
        }
    }
    return words;
}

std::string WObservationWords::visibility(const WObservation &observation) const
{
    if (!observation.visibilityMi)
        return {};
    std::string words = "Visibility ";
    if (observation.visibilityBound == WBound::Below)
        words += "less than ";
    else if (observation.visibilityBound == WBound::Above)
        words += "more than ";
    const double value = *observation.visibilityMi;
    return words + (m_distance == Distance::Metric ? kilometres(value) : miles(value) + " mi");
}

// The heat index where there is one, else the wind chill.
std::string WObservationWords::feelsLike(const WObservation &observation) const
{
    const std::optional<float> &feel = observation.heatIndexC ? observation.heatIndexC : observation.windChillC;
    return feel ? "Feels like " + degrees(*feel, m_scale) : std::string();
}

// "3,500 ft", or metres to the nearest ten: "1,070 m".
std::string WObservationWords::height(int feet) const
{
    if (m_distance == Distance::Metric)
        return grouped(std::lround(feet * METRES_PER_FOOT / 10.0) * 10) + " m";
    return grouped(feet) + " ft";
}

} // namespace meteo
