#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meteo
{

// One period of the web service's forecast for a point: a day or night ("Tonight", "Tuesday") of the forecast, or
// one hour of the hourly forecast. Values the answer leaves out or sends as null stay empty: none is made up.
struct WForecastPeriod {
    // From 1, in the answer's order.
    int number = 0;
    // "Tonight", "Tuesday Night"; empty for an hour.
    std::string name;
    // Seconds since 1970, and the offset from UTC the answer wrote them with (in seconds; -18000 for "-05:00"),
    // so that they can be written back as the service gave them.
    std::int64_t start = 0;
    std::int64_t end = 0;
    int utcOffset = 0;
    bool isDaytime = false;
    // Degrees Celsius, whatever unit the answer used.
    std::optional<double> temperature;
    // Percent.
    std::optional<int> precipitationChance;
    // "5 to 10 mph" or "7 mph", as given; and read from it in miles per hour (a single speed is both).
    std::string windSpeed;
    std::optional<double> windSpeedLow;
    std::optional<double> windSpeedHigh;
    // "SSW"; empty when the answer gives none.
    std::string windDirection;
    // "Chance Showers And Thunderstorms"
    std::string shortForecast;
    // The sentences of a day or night period; empty for an hour.
    std::string detailedForecast;
    // The sky or weather kind its picture shows, read from the answer's icon address: "skc", "few", "sct", "bkn",
    // "ovc", "rain", "rain_showers", "tsra", "tsra_sct", "snow", "fzra", "fog", "wind_few", "hot", "cold", ...
    // The first kind the address names; empty when it names none.
    std::string sky;
    // The chance the icon address writes after the kind ("tsra,40"), percent.
    std::optional<int> skyChance;
    // Hours only: degrees Celsius and percent.
    std::optional<double> dewPoint;
    std::optional<int> relativeHumidity;
};

// A forecast for a point as one answer of the web service gave it: the day and night periods, or the hours.
struct WForecast {
    // Seconds since 1970: when the forecasters last changed it ("updateTime"), and when the service made the
    // answer ("generatedAt"); 0 when the answer does not say.
    std::int64_t updated = 0;
    std::int64_t generated = 0;
    // When the reader fetched it, seconds since 1970.
    std::int64_t fetched = 0;
    // The service is known to hand out stale copies: an answer changed more than 18 hours ago, or whose first
    // period still to come started more than 6 hours ago, is old. An old forecast is shown only marked with its
    // age.
    bool old = false;
    // The periods not yet ended when the answer was read, in order.
    std::vector<WForecastPeriod> periods;
};

} // namespace meteo
