// The point forecast's answers read into records: the recorded answers of the web service field by field, and
// edited copies for what the recordings do not hold (nulls, numbers sent as text, SI units, stale answers).
#include "meteo/reader/wpointforecast_p.h"

#include "corekit/lex.h"
#include "meteo/base/wisotime.h"
#include "meteo/base/wisotime_p.h"
#include "meteo/reader/wforecastvalues_p.h"
#include "meteo/reader/wserviceurl_p.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

using namespace corekit;
using namespace meteo;

namespace
{

using json = nlohmann::json;

// 2026-05-21T17:30:00Z, the moment the recorded answers' times are relative to.
constexpr std::int64_t NOW = 1779384600;
constexpr std::int64_t HOUR = 3600;

std::string live(const std::string &name)
{
    return nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/live/" + name);
}

WForecast read(const std::string &answer, std::int64_t now = NOW)
{
    WForecast forecast;
    EXPECT_EQ(readPointForecast(answer, now, forecast), L_OK);
    return forecast;
}

// An answer of one period, the fields given over those of a plain one.
std::string onePeriod(const json &fields, const std::string &units = "us")
{
    json period = {{"number", 1}, {"name", "Tonight"}, {"startTime", "2026-05-21T18:00:00-05:00"},
        {"endTime", "2026-05-22T07:00:00-05:00"}, {"isDaytime", false}};
    period.update(fields);
    return json{{"properties", {{"units", units}, {"updateTime", "2026-05-21T16:00:00+00:00"}, {"periods", {period}}}}}
        .dump();
}

TEST(WPointForecast, dayAndNightPeriodsAsRecorded)
{
    const WForecast forecast = read(live("gridpoints_FWD_89,104_forecast.json"));
    std::int64_t updated = 0;
    std::int64_t generated = 0;
    ASSERT_TRUE(parseIsoTime("2026-05-21T15:58:25+00:00", updated));
    ASSERT_TRUE(parseIsoTime("2026-05-21T16:33:03+00:00", generated));
    EXPECT_EQ(forecast.updated, updated);
    EXPECT_EQ(forecast.generated, generated);
    EXPECT_FALSE(forecast.old);
    ASSERT_EQ(forecast.periods.size(), 5u);

    const WForecastPeriod &first = forecast.periods[0];
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.name, "This Afternoon");
    EXPECT_EQ(first.start, NOW - HOUR / 2);
    EXPECT_EQ(first.end, NOW + 6 * HOUR + HOUR / 2);
    EXPECT_EQ(first.utcOffset, 0);
    EXPECT_FALSE(first.isDaytime);
    EXPECT_NEAR(first.temperature.value(), 28.333, 0.001);
    EXPECT_EQ(first.precipitationChance, 30);
    EXPECT_EQ(first.windSpeed, "15 to 20 mph");
    EXPECT_EQ(first.windSpeedLow, 15.0);
    EXPECT_EQ(first.windSpeedHigh, 20.0);
    EXPECT_EQ(first.windDirection, "S");
    EXPECT_EQ(first.shortForecast, "first period");
    EXPECT_TRUE(first.detailedForecast.starts_with("A chance of showers and thunderstorms. Partly sunny"));
    EXPECT_EQ(first.sky, "tsra_sct");
    EXPECT_EQ(first.skyChance, 30);

    // "/night/tsra_hi,30/bkn": the first kind the address names.
    EXPECT_TRUE(forecast.periods[1].isDaytime);
    EXPECT_EQ(forecast.periods[1].sky, "tsra_hi");
    EXPECT_EQ(forecast.periods[1].skyChance, 30);
    // {"unitCode": "wmoUnit:percent", "value": null}, and an icon without a chance.
    EXPECT_EQ(forecast.periods[2].precipitationChance, std::nullopt);
    EXPECT_EQ(forecast.periods[2].sky, "sct");
    EXPECT_EQ(forecast.periods[2].skyChance, std::nullopt);
    EXPECT_EQ(forecast.periods[4].number, 5);
}

// Hawaii writes its times at -10:00; its first period ("Overnight") ended at 16:00 UTC, before now.
TEST(WPointForecast, periodsEndedAreDroppedAndOffsetsKept)
{
    const WForecast forecast = read(live("gridpoints_HFO_154,145_forecast.json"));
    ASSERT_EQ(forecast.periods.size(), 15u);
    const WForecastPeriod &first = forecast.periods[0];
    EXPECT_EQ(first.number, 2);
    EXPECT_EQ(first.name, "Wednesday");
    EXPECT_EQ(first.utcOffset, -36000);
    EXPECT_EQ(isoTime(first.start, first.utcOffset), "2026-05-21T06:00:00-10:00");
    EXPECT_EQ(isoTime(first.end, first.utcOffset), "2026-05-21T18:00:00-10:00");
    EXPECT_EQ(first.windSpeedLow, 23.0);
    EXPECT_EQ(first.windSpeedHigh, 26.0);
    EXPECT_EQ(first.sky, "rain_showers");
    EXPECT_EQ(forecast.periods[1].windSpeed, "24 mph");
    EXPECT_EQ(forecast.periods[1].windSpeedLow, 24.0);
    EXPECT_EQ(forecast.periods[1].windSpeedHigh, 24.0);
    EXPECT_FALSE(forecast.old);

    // An hour later the "Wednesday" period is still running.
    EXPECT_EQ(read(live("gridpoints_HFO_154,145_forecast.json"), NOW + HOUR).periods.size(), 15u);
}

TEST(WPointForecast, hoursAsRecorded)
{
    const WForecast forecast = read(live("gridpoints_FWD_89,104_forecast_hourly.json"));
    ASSERT_EQ(forecast.periods.size(), 156u);
    const WForecastPeriod &hour = forecast.periods[0];
    EXPECT_EQ(hour.name, "");
    EXPECT_EQ(hour.end - hour.start, HOUR);
    EXPECT_TRUE(hour.isDaytime);
    EXPECT_NEAR(hour.temperature.value(), 26.111, 0.001);
    EXPECT_NEAR(hour.dewPoint.value(), 22.778, 0.001);
    EXPECT_EQ(hour.relativeHumidity, 82);
    EXPECT_EQ(hour.precipitationChance, 23);
    EXPECT_EQ(hour.windSpeedLow, 15.0);
    EXPECT_EQ(hour.windSpeedHigh, 15.0);
    EXPECT_EQ(hour.sky, "tsra");
    EXPECT_EQ(hour.skyChance, 23);
    EXPECT_EQ(hour.detailedForecast, "");
    EXPECT_EQ(forecast.periods.back().number, 156);
    EXPECT_EQ(forecast.periods.back().sky, "tsra_hi");

    // The first hour ends at 18:00: at that moment it has ended.
    EXPECT_EQ(read(live("gridpoints_FWD_89,104_forecast_hourly.json"), NOW + HOUR / 2).periods.front().number, 2);
}

// Values as text or null, and answers in SI units, as other real answers send them.
TEST(WPointForecast, valuesInEveryFormTheServiceSends)
{
    const WForecastPeriod asText = read(
        onePeriod({{"temperature", "72"}, {"probabilityOfPrecipitation", "30"},
            {"relativeHumidity", {{"unitCode", "wmoUnit:percent"}, {"value", "64"}}},
            {"dewpoint", {{"unitCode", "wmoUnit:degF"}, {"value", 50}}}, {"temperatureUnit", "F"},
            {"windSpeed", "7 mph"}})).periods.at(0);
    EXPECT_NEAR(asText.temperature.value(), 22.222, 0.001);
    EXPECT_EQ(asText.precipitationChance, 30);
    EXPECT_EQ(asText.relativeHumidity, 64);
    EXPECT_NEAR(asText.dewPoint.value(), 10.0, 0.001);
    EXPECT_EQ(asText.windSpeedLow, 7.0);

    const WForecastPeriod nulls = read(
        onePeriod({{"temperature", nullptr}, {"probabilityOfPrecipitation", nullptr}, {"windSpeed", nullptr},
            {"windDirection", nullptr}, {"icon", nullptr},
            {"dewpoint", {{"unitCode", "wmoUnit:degC"}, {"value", nullptr}}}, {"temperatureUnit", "F"},
            {"number", "x"}})).periods.at(0);
    EXPECT_EQ(nulls.temperature, std::nullopt);
    EXPECT_EQ(nulls.precipitationChance, std::nullopt);
    EXPECT_EQ(nulls.windSpeed, "");
    EXPECT_EQ(nulls.windSpeedLow, std::nullopt);
    EXPECT_EQ(nulls.sky, "");
    EXPECT_EQ(nulls.dewPoint, std::nullopt);
    EXPECT_EQ(nulls.number, 1);

    const WForecastPeriod si
        = read(onePeriod({{"temperature", 22}, {"temperatureUnit", "C"}, {"windSpeed", "16 to 32 km/h"},
                             {"icon", "https://api.weather.gov/icons/land/night/tsra_storm,20?size=small"}},
                   "si"))
              .periods.at(0);
    EXPECT_EQ(si.temperature, 22.0);
    EXPECT_NEAR(si.windSpeedLow.value(), 9.942, 0.001);
    EXPECT_NEAR(si.windSpeedHigh.value(), 19.884, 0.001);
    // A kind the service is not known to draw.
    EXPECT_EQ(si.sky, "");
    EXPECT_EQ(si.skyChance, std::nullopt);
    // Without temperatureUnit the answer's units decide.
    EXPECT_EQ(read(onePeriod({{"temperature", 10}}, "si")).periods.at(0).temperature, 10.0);
    EXPECT_NEAR(read(onePeriod({{"temperature", 50}})).periods.at(0).temperature.value(), 10.0, 0.001);
}

// Old by the time of the last change (18 hours) and by the start of the first period to come (6 hours).
TEST(WPointForecast, oldAnswers)
{
    const std::string answer = live("gridpoints_FWD_89,104_forecast.json");
    std::int64_t updated = 0;
    ASSERT_TRUE(parseIsoTime("2026-05-21T15:58:25+00:00", updated));
    // The first period (17:00 to 00:00) starts the list until midnight.
    EXPECT_FALSE(read(answer, NOW + 5 * HOUR).old);
    EXPECT_TRUE(read(answer, NOW + 6 * HOUR).old);

    json changedLongAgo = json::parse(live("gridpoints_HFO_154,145_forecast.json"));
    changedLongAgo["properties"]["updateTime"] = "2026-05-20T23:29:00+00:00";
    EXPECT_TRUE(read(changedLongAgo.dump()).old);
    changedLongAgo["properties"]["updateTime"] = "2026-05-20T23:31:00+00:00";
    EXPECT_FALSE(read(changedLongAgo.dump()).old);
}

TEST(WPointForecast, unreadableAnswersLeaveTheForecast)
{
    WForecast forecast;
    forecast.updated = 7;
    for (const std::string answer : {"<html>busy</html>", "{\"properties\": {}}", "[[[]]]", "{\"periods\": []}"}) {
        EXPECT_EQ(readPointForecast(answer, NOW, forecast), L_FORMAT) << answer;
        EXPECT_EQ(forecast.updated, 7);
    }
}

TEST(WServiceUrl, onlyTheServiceOrTheBaseHostIsFollowed)
{
    std::string path;
    std::string why;
    const std::string base = "http://127.0.0.1:8080/api/";
    EXPECT_TRUE(servicePath("https://api.weather.gov/gridpoints/TOP/32,81/forecast?units=si", base, path, why));
    EXPECT_EQ(path, "gridpoints/TOP/32,81/forecast?units=si");
    EXPECT_TRUE(servicePath("HTTPS://API.Weather.gov/gridpoints/TOP/32,81/forecast", base, path, why));
    EXPECT_EQ(path, "gridpoints/TOP/32,81/forecast");
    EXPECT_TRUE(servicePath("http://127.0.0.1:8080/api/gridpoints/A/1,2/forecast/hourly", base, path, why));
    EXPECT_EQ(path, "gridpoints/A/1,2/forecast/hourly");
    EXPECT_TRUE(servicePath("http://127.0.0.1:8080/api/x", "http://127.0.0.1:8080/api", path, why));
    EXPECT_EQ(path, "x");

    path = "kept";
    for (const char *refused : {"https://weather.example.com/gridpoints/TOP/32,81/forecast",
             "https://api.weather.gov@weather.example.com/gridpoints", "https://api.weather.gov.example.com/x",
             "http://127.0.0.1:8081/api/x", "ftp://api.weather.gov/x", "/gridpoints/TOP/32,81/forecast",
             "https://api.weather.gov/x\r\nHost: y"}) {
        EXPECT_FALSE(servicePath(refused, base, path, why)) << refused;
        EXPECT_FALSE(why.empty());
    }
    EXPECT_EQ(path, "kept");
    servicePath("https://weather.example.com/x", base, path, why);
    EXPECT_NE(why.find("weather.example.com"), std::string::npos) << why;
}

} // namespace
