// The point forecast through the reader, against a loopback server that serves the recorded answers: the
// addresses the point answer names, followed on the configured base; refusals; failures; conditional requests.
#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/base/wlocation.h"
#include "tests/support/httpserver.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/readerplace.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using json = nlohmann::json;
using nimbreltest::HttpServer;

// 2026-05-21T17:30:00Z, the moment the recorded answers' times are relative to.
constexpr std::int64_t NOW = 1779384600;
constexpr std::int64_t HOUR = 3600;

const WLocation linn = nimbreltest::readerPlace("ks", "acode(KMHK)azone(KSZ009)alat(39.7456)alon(-97.0892)");
const std::string POINT = "/api/points/39.7456,-97.0892";
const std::string PERIODS = "/api/gridpoints/TOP/32,81/forecast";
const std::string HOURS = "/api/gridpoints/TOP/32,81/forecast/hourly";

std::string live(const std::string &name)
{
    return nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/live/" + name);
}

std::string pointAnswer(const std::string &forecast)
{
    json answer = json::parse(live("points_39.7456_-97.0892_TOP.json"));
    answer["properties"]["forecast"] = forecast;
    return answer.dump();
}

class WReaderForecastTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetString("Internet", "ApiBase", server.url("/api/").c_str(), false);
        server.page(POINT, live("points_39.7456_-97.0892_TOP.json"));
        untouched.updated = 7;
    }

    std::vector<nimbreltest::HttpRequest> requestsFor(const std::string &target) const
    {
        std::vector<nimbreltest::HttpRequest> found;
        for (const auto &request : server.requests())
            if (request.target == target)
                found.push_back(request);
        return found;
    }

    HttpServer server;
    nimbreltest::MemoryKeeper keeper;
    std::int64_t now = NOW;
    WReader reader{nullptr, [this] { return now; }};
    WForecast untouched;
};

// The point answer names api.weather.gov; the requests go to the configured base, as GeoJSON.
TEST_F(WReaderForecastTest, periodsAndHoursFromTheAddressesThePointNames)
{
    server.page(PERIODS, live("gridpoints_FWD_89,104_forecast.json"));
    server.page(HOURS, live("gridpoints_FWD_89,104_forecast_hourly.json"));
    WForecast periods;
    WForecast hours;
    ASSERT_EQ(reader.getForecastPeriods(linn, periods), L_OK);
    ASSERT_EQ(reader.getForecastHours(linn, hours), L_OK);
    ASSERT_EQ(periods.periods.size(), 5u);
    EXPECT_EQ(periods.periods[0].name, "This Afternoon");
    EXPECT_EQ(periods.fetched, NOW);
    ASSERT_EQ(hours.periods.size(), 156u);
    EXPECT_EQ(hours.periods[0].relativeHumidity, 82);
    EXPECT_EQ(requestsFor(POINT).size(), 1u);
    ASSERT_EQ(requestsFor(HOURS).size(), 1u);
    EXPECT_EQ(requestsFor(PERIODS).at(0).header("accept"), "application/geo+json");
    EXPECT_EQ(requestsFor(HOURS).at(0).header("accept"), "application/geo+json");
}

TEST_F(WReaderForecastTest, addressOnAnotherHostIsRefused)
{
    server.page(POINT, pointAnswer("https://weather.example.com/gridpoints/TOP/32,81/forecast"));
    server.page(PERIODS, live("gridpoints_FWD_89,104_forecast.json"));
    WForecast forecast = untouched;
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_FORMAT);
    EXPECT_EQ(forecast.updated, 7);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::BadAnswer);
    EXPECT_NE(reader.lastFailure().text.find("another host (weather.example.com)"), std::string::npos);
    EXPECT_TRUE(requestsFor(PERIODS).empty());
    EXPECT_EQ(server.requests().size(), 1u);
}

// The base's own host is followed too: a mirror names its own addresses.
TEST_F(WReaderForecastTest, addressOnTheBaseHostIsFollowed)
{
    server.page(POINT, pointAnswer(server.url("/api/gridpoints/TOP/32,81/forecast")));
    server.page(PERIODS, live("gridpoints_HFO_154,145_forecast.json"));
    WForecast forecast;
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_OK);
    EXPECT_EQ(forecast.periods.size(), 15u);
}

TEST_F(WReaderForecastTest, unavailableAndUnreadableAnswers)
{
    WForecast forecast = untouched;
    server.page(PERIODS, R"({"title": "Forecast Grid Expired", "status": 503})", 503,
        {{"Content-Type", "application/problem+json"}});
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().httpStatus, 503);
    EXPECT_EQ(reader.lastFailure().text, "Forecast Grid Expired");

    server.page(PERIODS, R"({"title": "Unexpected Problem", "status": 500})", 500);
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().httpStatus, 500);

    // A grid that is no more: the next update looks the point up again.
    server.page(PERIODS, R"({"title": "Not Found", "status": 404})", 404);
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::NotFound);
    reader.beginUpdate();
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_CONNECT);
    EXPECT_EQ(requestsFor(POINT).size(), 2u);

    server.page(PERIODS, "<html>maintenance</html>");
    EXPECT_EQ(reader.getForecastPeriods(linn, forecast), L_FORMAT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::BadAnswer);
    EXPECT_EQ(forecast.updated, 7);
}

// Neither a place without coordinates nor the state pages source asks anything.
TEST_F(WReaderForecastTest, nothingToAskFor)
{
    WForecast forecast = untouched;
    const WLocation zoneOnly = nimbreltest::readerPlace("ks", "acode(KMHK)azone(KSZ009)");
    EXPECT_EQ(reader.getForecastPeriods(zoneOnly, forecast), L_NOTFOUND);
    keeper.SetInt("Internet", "ProductSource", 0, false);
    EXPECT_EQ(reader.getForecastHours(linn, forecast), L_NOTFOUND);
    EXPECT_EQ(forecast.updated, 7);
    EXPECT_TRUE(server.requests().empty());
}

// The next update asks conditionally; a 304 hands out the kept answer, read afresh so that ended periods drop out.
TEST_F(WReaderForecastTest, askedAgainConditionally)
{
    server.revalidated(PERIODS, live("gridpoints_FWD_89,104_forecast.json"), "\"f1\"");
    WForecast forecast;
    reader.beginUpdate();
    ASSERT_EQ(reader.getForecastPeriods(linn, forecast), L_OK);
    now += 7 * HOUR;
    reader.beginUpdate();
    ASSERT_EQ(reader.getForecastPeriods(linn, forecast), L_OK);
    ASSERT_EQ(forecast.periods.size(), 4u);
    EXPECT_EQ(forecast.periods[0].name, "Tonight");
    EXPECT_EQ(forecast.fetched, NOW + 7 * HOUR);
    const auto asked = requestsFor(PERIODS);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].header("if-none-match"), "");
    EXPECT_EQ(asked[1].header("if-none-match"), "\"f1\"");
}

} // namespace
