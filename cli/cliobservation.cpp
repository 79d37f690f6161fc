#include "cli/cliobservation.h"

#include "cli/clitext.h"
#include "cli/cliunits.h"
#include "corekit/lage.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wconvert.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <ctime>
#include <iomanip>
#include <sstream>

using namespace corekit;
using namespace meteo;

namespace cli
{

namespace
{

std::tm brokenDown(std::int64_t seconds, bool utc)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (utc)
        gmtime_r(&time, &parts);
    else
        localtime_r(&time, &parts);
    return parts;
}

std::string formatted(const std::tm &parts, const char *format)
{
    std::ostringstream text;
    text << std::put_time(&parts, format);
    return text.str();
}

const char *unitName(LAge::Unit unit)
{
    switch (unit) {
    case LAge::Unit::Minutes:
        return "minute";
    case LAge::Unit::Hours:
        return "hour";
    case LAge::Unit::Days:
        return "day";
    }
    return "";
}

// "KJFK", or "KIKV (14 km away; KDSM has not reported since 2025-01-12 06:54 CST)".
std::string stationLine(const CliObservation &o)
{
    if (!o.nearby.isNearby())
        return o.station;
    const std::string quiet = o.nearby.requestedLastReport
        ? " has not reported since " + localTime(o.nearby.requestedLastReport)
        : " has no report";
    return o.station + " (" + std::to_string(std::lround(o.nearby.distanceKm)) + " km away; " + o.nearby.requested
        + quiet + ")";
}

void stationToJson(const CliObservation &o, nlohmann::ordered_json &object, bool utc)
{
    object["station"] = o.station;
    object["requested_station"] = o.nearby.isNearby() ? o.nearby.requested : o.station;
    object["station_distance_km"] = o.nearby.isNearby()
        ? nlohmann::ordered_json(std::round(o.nearby.distanceKm * 10) / 10)
        : nlohmann::ordered_json(nullptr);
    object["requested_station_last_report"] = o.nearby.requestedLastReport
        ? nlohmann::ordered_json(isoTime(o.nearby.requestedLastReport, utc))
        : nlohmann::ordered_json(nullptr);
}

std::string wind(const CliObservation &o, const CliUnits &units)
{
    if (*o.windSpeed == 0)
        return "calm";
    std::string text;
    if (o.windDirection == CliObservation::VARIABLE_WIND)
        text = "variable ";
    else if (o.windDirection)
        text = std::string(compassPointName(*o.windDirection)) + " (" + std::to_string(*o.windDirection) + "°) ";
    text += units.speed(*o.windSpeed);
    if (o.windGust)
        text += ", gusts " + units.speed(*o.windGust);
    return text;
}

void line(std::ostringstream &out, const char *label, const std::string &value)
{
    out << fieldLine(label, value);
}

// Floats as the decoder holds them print as 24.399999618530273; one or two decimals are what a report says.
nlohmann::ordered_json rounded(const std::optional<float> &value, int decimals)
{
    if (!value)
        return nullptr;
    const double scale = std::pow(10.0, decimals);
    return std::round(*value * scale) / scale;
}

const char *boundName(WBound bound)
{
    return bound == WBound::Below ? "below" : bound == WBound::Above ? "above" : "exact";
}

// What the report says beyond the gauges' values, with the codes as the report writes them.
void detailsToJson(const WObservation &details, nlohmann::ordered_json &object)
{
    object["visibility_mi"] = rounded(details.visibilityMi, 2);
    object["visibility_bound"] = details.visibilityMi ? nlohmann::ordered_json(boundName(details.visibilityBound))
                                                      : nlohmann::ordered_json(nullptr);
    nlohmann::ordered_json weather = nlohmann::ordered_json::array();
    for (const WWeather &group : details.weather)
        weather.push_back({{"intensity", group.intensity}, {"descriptor", group.descriptor},
            {"phenomena", group.phenomena}, {"text", group.text}});
    object["weather"] = weather;
    nlohmann::ordered_json sky = nlohmann::ordered_json::array();
    for (const WSkyLayer &layer : details.sky)
        sky.push_back({{"cover", layer.cover}, {"height_ft", orNull(layer.heightFt)}, {"cloud", layer.cloud}});
    object["sky"] = sky;
    object["ceiling_ft"] = orNull(details.ceilingFt);
    object["heat_index_c"] = rounded(details.heatIndexC, 1);
    object["wind_chill_c"] = rounded(details.windChillC, 1);
}

} // namespace

std::string agoText(std::int64_t seconds)
{
    const LAge age = ageOf(seconds);
    if (age.unit == LAge::Unit::Minutes && age.count == 0)
        return "just now";
    return std::to_string(age.count) + " " + unitName(age.unit) + (age.count == 1 ? "" : "s") + " ago";
}

WCondition CliObservation::blankCondition()
{
    WCondition condition;
    condition.setTemp(NAN);
    condition.setDewPoint(NAN);
    condition.setPressure(NAN);
    condition.setWindDirection(-1);
    condition.setWindSpeed(-1);
    condition.setWindGustSpeed(-1);
    return condition;
}

CliObservation CliObservation::fromCondition(const WCondition &condition, std::string station)
{
    CliObservation o;
    o.station = std::move(station);
    if (condition.getTime().IsValid())
        o.time = static_cast<std::int64_t>(condition.getTime());
    if (!std::isnan(condition.getTemp()))
        o.temperature = condition.getTemp();
    if (!std::isnan(condition.getDewPoint()))
        o.dewPoint = condition.getDewPoint();
    if (!std::isnan(condition.getPressure()))
        o.pressure = condition.getPressure();
    if (condition.getWindDirection() >= 0)
        o.windDirection = condition.getWindDirection();
    if (condition.getWindSpeed() >= 0)
        o.windSpeed = condition.getWindSpeed();
    if (condition.getWindGustSpeed() >= 0)
        o.windGust = condition.getWindGustSpeed();
    o.details = condition.getObservation();
    return o;
}

std::string CliObservation::stationOf(const std::string &report)
{
    std::istringstream groups(report);
    std::string group;
    while (groups >> group && (group == "METAR" || group == "SPECI")) { }
    return group;
}

std::string CliObservation::text(const CliUnits &units, std::optional<std::int64_t> now) const
{
    std::ostringstream out;
    line(out, "Station:", stationLine(*this));
    if (time)
        line(out, "Observed:",
            now ? localTime(*time) + " (" + agoText(*now - *time) + ")"
                : formatted(brokenDown(*time, true), "%Y-%m-%d %H:%M UTC"));
    if (temperature)
        line(out, "Temperature:", units.temperature(*temperature));
    if (dewPoint)
        line(out, "Dew point:", units.temperature(*dewPoint));
    if (windSpeed)
        line(out, "Wind:", wind(*this, units));
    if (pressure)
        line(out, "Pressure:", units.pressure(*pressure));
    if (const std::string words = units.words(details); !words.empty())
        line(out, "Conditions:", words);
    return out.str();
}

void CliObservation::toJson(nlohmann::ordered_json &object, std::optional<std::int64_t> now) const
{
    stationToJson(*this, object, !now);
    object["time"] = time ? nlohmann::ordered_json(isoTime(*time, !now)) : nlohmann::ordered_json(nullptr);
    if (now)
        object["age_minutes"] = time ? nlohmann::ordered_json((*now - *time) / 60) : nlohmann::ordered_json(nullptr);
    object["temperature_c"] = rounded(temperature, 1);
    object["dew_point_c"] = rounded(dewPoint, 1);
    object["relative_humidity"] = rounded(details.humidityPct, 1);
    object["pressure_inhg"] = rounded(pressure, 2);
    object["wind_direction_deg"]
        = windDirection == VARIABLE_WIND ? nlohmann::ordered_json("variable") : orNull(windDirection);
    object["wind_speed_kt"] = orNull(windSpeed);
    object["wind_gust_kt"] = orNull(windGust);
    detailsToJson(details, object);
}

std::string localTime(std::int64_t seconds)
{
    return formatted(brokenDown(seconds, false), "%Y-%m-%d %H:%M %Z");
}

std::string localClock(std::int64_t seconds)
{
    return formatted(brokenDown(seconds, false), "%H:%M");
}

std::string isoTime(std::int64_t seconds, bool utc)
{
    if (utc)
        return formatted(brokenDown(seconds, true), "%Y-%m-%dT%H:%M:%SZ");
    // strftime writes the offset as "-0500"; ISO 8601 with a date and time wants "-05:00".
    const std::string text = formatted(brokenDown(seconds, false), "%Y-%m-%dT%H:%M:%S%z");
    const std::size_t minutes = text.size() - 2;
    return text.substr(0, minutes) + ':' + text.substr(minutes);
}

} // namespace cli
