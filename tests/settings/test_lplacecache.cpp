#include "settings/lplacecache.h"

#include "corekit/lex.h"
#include "corekit/lstring.h"
#include "meteo/reader/wdecodereport.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace corekit;
using namespace meteo;
using namespace settings;

using nimbreltest::TempDir;

namespace
{

constexpr std::uint32_t STATE = 16;
constexpr std::uint32_t CITY = 37;
// 2024-07-21 19:00 UTC, shortly after the report below.
constexpr std::int64_t NOW = 1721588400;

WCondition decoded(const char *report)
{
    WCondition condition;
    EXPECT_EQ(decodeReport(LString(report), condition, NOW), L_OK);
    return condition;
}

WForecastPeriod period(int number, const std::string &name)
{
    WForecastPeriod result;
    result.number = number;
    result.name = name;
    result.start = NOW + number * 43200;
    result.end = result.start + 43200;
    result.utcOffset = -18000;
    result.isDaytime = number % 2 == 1;
    result.temperature = 30.5;
    result.windSpeed = "5 to 10 mph";
    result.windSpeedLow = 5;
    result.windSpeedHigh = 10;
    result.windDirection = "SSW";
    result.shortForecast = "Chance Showers And Thunderstorms";
    result.detailedForecast = "A chance of showers and thunderstorms after 1pm.";
    result.sky = "tsra";
    result.skyChance = 40;
    return result;
}

// Every kind of field a cache holds: numbers, optional ones present and absent, texts, lists, nested records.
LPlaceCacheRecord fullRecord()
{
    LPlaceCacheRecord record;
    record.state = STATE;
    record.city = CITY;
    record.written = NOW;
    record.condition = decoded("KDSM 211854Z 17023G37KT 2 1/2SM -TSRA BR BKN008CB OVC035 24/19 A2951");
    record.station = WStationUsed{"KIKV", "Ankeny", 14.2, "KDSM", NOW - 5 * 3600};
    record.forecast = LCachedText{".TONIGHT...Showers likely. Lows in the lower 70s.\n", NOW - 600};
    record.messages[indexOf(LMessageKind::Warnings)] = LCachedText{"SEVERE THUNDERSTORM WARNING - ...", NOW - 300};
    record.messages[indexOf(LMessageKind::Public)] = LCachedText{"PUBLIC INFORMATION STATEMENT", NOW - 900};
    WAlertRecord alert;
    alert.id = "urn:oid:2.49.0.1.840.0.d0de060466dc387307cc0a44dbed836b1d20c5e5.002.1";
    alert.references = {"urn:oid:2.49.0.1.840.0.0001.001.1"};
    alert.event = "Severe Thunderstorm Warning";
    alert.severity = "Severe";
    alert.headline = "Severe Thunderstorm Warning issued July 21 at 1:54PM CDT";
    alert.description = "At 154 PM CDT, a severe thunderstorm was located near Des Moines.\n";
    alert.sent = NOW - 400;
    alert.expires = NOW + 2700;
    alert.messageType = "Update";
    alert.kind = WAlertKind::Statement;
    alert.text = "SEVERE THUNDERSTORM WARNING - ...\n";
    alert.motion = WStormMotion{NOW - 400, 213, 35, {{41.59, -93.62}, {41.40, -93.80}}};
    record.alerts = {alert};
    record.periods
        = WForecast{NOW - 3600, NOW - 1800, NOW - 60, false, {period(1, "This Afternoon"), period(2, "Tonight")}};
    WForecastPeriod hour = period(1, "");
    hour.temperature.reset();
    hour.dewPoint = 19.4;
    hour.relativeHumidity = 74;
    record.hours = WForecast{NOW - 3600, NOW - 1800, NOW - 60, true, {hour}};
    return record;
}

LPlaceCache::Loaded reload(const LPlaceCache &cache, LPlaceCacheRecord &record, std::string &reason)
{
    return cache.load(STATE, CITY, NOW, record, reason);
}

void expectSameObservation(const WCondition &read, const WCondition &written)
{
    EXPECT_EQ(read.isValid(), written.isValid());
    EXPECT_FLOAT_EQ(read.getTemp(), 24.0f);
    EXPECT_FLOAT_EQ(read.getDewPoint(), 19.0f);
    EXPECT_FLOAT_EQ(read.getPressure(), written.getPressure());
    EXPECT_EQ(read.getWindDirection(), 170);
    EXPECT_EQ(read.getWindSpeed(), 23);
    EXPECT_EQ(read.getWindGustSpeed(), 37);
    EXPECT_EQ(static_cast<long>(read.getTime()), static_cast<long>(written.getTime()));
    const WObservation &observation = read.getObservation();
    EXPECT_FLOAT_EQ(observation.visibilityMi.value_or(0), 2.5f);
    ASSERT_EQ(observation.weather.size(), 2u);
    EXPECT_EQ(observation.weather[0].descriptor, "TS");
    EXPECT_EQ(observation.weather[0].phenomena, std::vector<std::string>{"RA"});
    EXPECT_EQ(observation.weather[1].text, written.getObservation().weather[1].text);
    ASSERT_EQ(observation.sky.size(), 2u);
    EXPECT_EQ(observation.sky[0].cloud, "CB");
    EXPECT_EQ(observation.sky[1].heightFt, 3500);
    EXPECT_EQ(observation.ceilingFt, 800);
    EXPECT_EQ(observation.humidityPct, written.getObservation().humidityPct);
    EXPECT_FALSE(observation.windChillC.has_value());
}

} // namespace

TEST(LPlaceCache, roundTripKeepsEveryKindOfField)
{
    TempDir dir;
    const LPlaceCache cache(dir.file("cache"));
    const LPlaceCacheRecord written = fullRecord();
    std::string reason;
    ASSERT_EQ(cache.save(written, reason), 0) << reason;
    EXPECT_TRUE(std::filesystem::exists(dir.file("cache/place-16-37.json")));

    LPlaceCacheRecord read;
    ASSERT_EQ(reload(cache, read, reason), LPlaceCache::Loaded::Read) << reason;
    ASSERT_TRUE(read.condition.has_value());
    expectSameObservation(*read.condition, *written.condition);
    EXPECT_EQ(read.station.station, "KIKV");
    EXPECT_EQ(read.station.place, "Ankeny");
    EXPECT_DOUBLE_EQ(read.station.distanceKm, 14.2);
    EXPECT_EQ(read.station.requested, "KDSM");
    EXPECT_EQ(read.station.requestedLastReport, NOW - 5 * 3600);
    EXPECT_EQ(read.forecast->text, written.forecast->text);
    EXPECT_EQ(read.forecast->fetched, NOW - 600);
    EXPECT_EQ(read.messages[indexOf(LMessageKind::Public)]->fetched, NOW - 900);
    EXPECT_FALSE(read.messages[indexOf(LMessageKind::Discussion)].has_value());
    ASSERT_EQ(read.alerts.size(), 1u);
    const WAlertRecord &alert = read.alerts[0];
    EXPECT_EQ(alert.id, written.alerts[0].id);
    EXPECT_EQ(alert.references, written.alerts[0].references);
    EXPECT_EQ(alert.kind, WAlertKind::Statement);
    EXPECT_EQ(alert.expires, NOW + 2700);
    EXPECT_EQ(alert.messageType, "Update");
    ASSERT_TRUE(alert.motion.has_value());
    EXPECT_EQ(alert.motion->fromDeg, 213);
    EXPECT_DOUBLE_EQ(alert.motion->points[1].longitude, -93.80);
    ASSERT_EQ(read.periods->periods.size(), 2u);
    EXPECT_EQ(read.periods->periods[1].name, "Tonight");
    EXPECT_FALSE(read.periods->periods[1].isDaytime);
    EXPECT_EQ(read.periods->periods[0].skyChance, 40);
    EXPECT_EQ(read.periods->periods[0].windSpeedHigh, 10);
    EXPECT_TRUE(read.hours->old);
    EXPECT_FALSE(read.hours->periods[0].temperature.has_value());
    EXPECT_EQ(read.hours->periods[0].relativeHumidity, 74);
}

// A file that cannot be trusted is passed over with its reason, and nothing of it is used.
TEST(LPlaceCache, refusesDamagedForeignAndFutureFiles)
{
    TempDir dir;
    const LPlaceCache cache(dir.path().string());
    std::string reason;
    LPlaceCacheRecord read;
    EXPECT_EQ(reload(cache, read, reason), LPlaceCache::Loaded::Missing);

    ASSERT_EQ(cache.save(fullRecord(), reason), 0);
    const std::string path = cache.pathOf(STATE, CITY);
    const std::string good = TempDir::read(path);
    const auto refused = [&](const std::string &text, LPlaceCache::Loaded expected) {
        dir.write("place-16-37.json", text);
        read = fullRecord();
        reason.clear();
        EXPECT_EQ(reload(cache, read, reason), expected) << text.substr(0, 80);
        EXPECT_FALSE(reason.empty());
        EXPECT_FALSE(read.condition.has_value());
    };
    refused(good.substr(0, good.size() / 2), LPlaceCache::Loaded::Damaged);
    nlohmann::json document = nlohmann::json::parse(good);
    document["version"] = 2;
    refused(document.dump(), LPlaceCache::Loaded::Foreign);
    document = nlohmann::json::parse(good);
    document["city"] = 38;
    refused(document.dump(), LPlaceCache::Loaded::Foreign);
    document = nlohmann::json::parse(good);
    document["condition"]["temperatureC"] = "hot";
    refused(document.dump(), LPlaceCache::Loaded::Damaged);
    document = nlohmann::json::parse(good);
    document["written"] = NOW + LPlaceCache::AHEAD_LIMIT + 60;
    refused(document.dump(), LPlaceCache::Loaded::Future);
    refused(std::string(LPlaceCache::MAX_SIZE + 1, ' '), LPlaceCache::Loaded::Damaged);
}

// The largest texts are cut first, at a character's start, and the file stays whole and readable.
TEST(LPlaceCache, bigTextsAreCutToTheBound)
{
    TempDir dir;
    const LPlaceCache cache(dir.path().string());
    LPlaceCacheRecord record = fullRecord();
    std::string forecast;
    while (forecast.size() < 200 * 1024)
        forecast += "Cañon City: sunny. ";
    record.forecast->text = forecast;
    record.alerts[0].description = std::string(150 * 1024, 'x');
    std::string reason;
    ASSERT_EQ(cache.save(record, reason), 0) << reason;
    EXPECT_LE(std::filesystem::file_size(cache.pathOf(STATE, CITY)), LPlaceCache::MAX_SIZE);

    LPlaceCacheRecord read;
    ASSERT_EQ(reload(cache, read, reason), LPlaceCache::Loaded::Read) << reason;
    EXPECT_LT(read.forecast->text.size(), forecast.size());
    EXPECT_TRUE(read.forecast->text.ends_with(" [...]"));
    EXPECT_EQ(
        forecast.compare(0, read.forecast->text.size() - 6, read.forecast->text, 0, read.forecast->text.size() - 6), 0);
    EXPECT_EQ(
        read.messages[indexOf(LMessageKind::Warnings)]->text, record.messages[indexOf(LMessageKind::Warnings)]->text);
    EXPECT_EQ(read.alerts[0].text, record.alerts[0].text);
}

// A write that fails says why and leaves the file that was there: never a broken file.
TEST(LPlaceCache, failedWriteKeepsTheOldFile)
{
    TempDir dir;
    const LPlaceCache cache(dir.path().string());
    std::string reason;
    ASSERT_EQ(cache.save(fullRecord(), reason), 0);
    const std::string before = TempDir::read(cache.pathOf(STATE, CITY));
    // No text is long enough to cut: the alerts alone are too many.
    LPlaceCacheRecord flood = fullRecord();
    flood.alerts.assign(2000, flood.alerts[0]);
    EXPECT_NE(cache.save(flood, reason), 0);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(TempDir::read(cache.pathOf(STATE, CITY)), before);

    const LPlaceCache blocked(dir.write("file", "not a folder") + "/cache");
    EXPECT_NE(blocked.save(fullRecord(), reason), 0);
    EXPECT_FALSE(reason.empty());
}

TEST(LPlaceCache, folderFollowsTheBaseDirectoryRules)
{
    nimbreltest::TempDir dir;
    const std::string root = dir.path().string();
    EXPECT_EQ(LPlaceCache::directoryFor(root + "/settings"), root + "/settings/cache");
    ::setenv("NIMBREL_SETTINGS_DIR", (root + "/nimbrel").c_str(), 1);
    EXPECT_EQ(LPlaceCache::directoryFor(""), root + "/nimbrel/cache");
    ::unsetenv("NIMBREL_SETTINGS_DIR");
    ::setenv("HOME", (root + "/home").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (root + "/xdg").c_str(), 1);
    EXPECT_EQ(LPlaceCache::directoryFor(""), root + "/xdg/Nimbrel");
    ::setenv("XDG_CACHE_HOME", "relative", 1);
    EXPECT_EQ(LPlaceCache::directoryFor(""), root + "/home/.cache/Nimbrel");
}
