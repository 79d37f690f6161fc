// The reader's texts from the web service, served by a loopback server from recorded answers. The recordings come
// from several places and offices; where the tests need an answer that was not recorded (the office of a zone, an
// office's list of products) it is written in the service's form, small.
#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wapisource_p.h"
#include "tests/support/httpserver.h"
#include "tests/support/infolinerecorder.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/productpages.h"
#include "tests/support/readerplace.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::productFile;
using json = nlohmann::json;
using nimbreltest::HttpServer;
using nimbreltest::InfoLineRecorder;
using nimbreltest::MemoryKeeper;
using Strings = std::vector<std::string>;

const std::string USER_AGENT = "Nimbrel/" NIMBREL_VERSION;
const Strings FETCHED = {"Getting forecast...", "Reading data from server...", "<clear>"};
const Strings REFUSED = {"Getting forecast...", "Error: cannot connect to server"};
const std::string AFD_ID = "ae495af9-8a68-4e17-823a-5ce988bae9b6";

std::string live(const std::string &name)
{
    return nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/live/" + name);
}

// Near Phoenix, where the recorded alerts were in force.
const WLocation phoenix = nimbreltest::readerPlace("xx", "acode(KPHX)azone(AZZ540)alat(33.25)alon(-112.30)");
// Williston, North Dakota, whose segment the recorded zone forecast product of Bismarck holds.
const WLocation williston = nimbreltest::readerPlace("xx", "acode(KISN)azone(NDZ009)");
// The Kansas place of the recorded point answer.
const WLocation linn = nimbreltest::readerPlace("xx", "acode(KMHK)azone(KSZ009)alat(39.7456)alon(-97.0892)");

// The recorded point answer, moved to another office and zone.
std::string pointAnswer(const std::string &office, const std::string &zone)
{
    json answer = json::parse(live("points_39.7456_-97.0892_TOP.json"));
    answer["properties"]["cwa"] = office;
    answer["properties"]["forecastZone"] = "https://api.weather.gov/zones/forecast/" + zone;
    return answer.dump();
}

std::string zoneAnswer(const std::string &zone, const std::string &office)
{
    return json{{"type", "Feature"},
        {"properties", {{"id", zone}, {"type", "public"}, {"cwa", {office}}, {"state", zone.substr(0, 2)}}}}
        .dump();
}

std::string productList(const Strings &ids)
{
    json graph = json::array();
    for (const auto &id : ids)
        graph.push_back({{"@id", "https://api.weather.gov/products/" + id}, {"id", id}, {"productCode", "ZFP"}});
    return json{{"@context", {{"@version", "1.1"}}}, {"@graph", graph}}.dump();
}

std::string productAnswer(const std::string &id, const std::string &text)
{
    return json{{"id", id}, {"productText", text}}.dump();
}

// The recorded alerts as if they had just been issued: each expires a day from now.
std::string fresh(const std::string &answer)
{
    json alerts = json::parse(answer);
    for (auto &feature : alerts["features"])
        feature["properties"]["expires"] = "2999-01-01T00:00:00+00:00";
    return alerts.dump();
}

// The zone forecast product of Bismarck with the segments up to Williston's left out.
std::string withoutWilliston()
{
    const std::string zfp = productFile("ZFP.txt");
    return zfp.substr(0, zfp.find("$$") + 3);
}

bool contains(const LString &text, const char *part)
{
    return std::string(text).find(part) != std::string::npos;
}

class WReaderApiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetString("Internet", "ApiBase", server.url("/api/").c_str(), false);
        keeper.SetString("Internet", "WarningsBase", server.url("/iwin/").c_str(), false);
    }
    void TearDown() override { nimbreltest::clearProxyEnvironment(); }

    void serveWilliston()
    {
        server.page("/api/zones/forecast/NDZ009", zoneAnswer("NDZ009", "BIS"));
        server.page("/api/products?type=ZFP&location=BIS&limit=5", productList({"b15-zfp-1401"}));
        server.page("/api/products/b15-zfp-1401", productAnswer("b15-zfp-1401", productFile("ZFP.txt")));
    }
    void servePhoenix()
    {
        server.page("/api/points/33.25,-112.3", pointAnswer("PSR", "AZZ540"));
        server.page("/api/alerts/active?point=33.25,-112.3",
            fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
        server.page("/api/products?type=AFD&location=PSR&limit=5", productList({AFD_ID}));
        server.page("/api/products/" + AFD_ID, live("product_AFD_PSR_latest_2026-09-03.json"));
        server.page("/api/products?type=PNS&location=PSR&limit=5", productList({}));
    }
    Strings targets() const
    {
        Strings all;
        for (const auto &request : server.requests())
            all.push_back(request.target);
        return all;
    }
    std::size_t asked(const std::string &target) const
    {
        const Strings all = targets();
        return static_cast<std::size_t>(std::count(all.begin(), all.end(), target));
    }

    HttpServer server;
    MemoryKeeper keeper;
    InfoLineRecorder info;
    WReader reader{&info};
};

TEST_F(WReaderApiTest, forecastIsTheZonesSegmentOfTheOfficesNewestProduct)
{
    serveWilliston();
    LString text("old forecast");
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_EQ(std::string(text).rfind("WILLIAMS-\r\n INCLUDING THE CITIES OF...WILLISTON\r\n", 0), 0u) << text;
    EXPECT_TRUE(contains(text, "\r\n .REST OF TODAY...SUNNY. HIGHS IN THE LOWER 80S. NORTH WINDS\r\n"));
    EXPECT_TRUE(std::string(text).ends_with(".MONDAY...MOSTLY SUNNY. HIGHS IN THE MID 70S. \r\n \r\n"));
    EXPECT_FALSE(contains(text, "$$"));
    EXPECT_FALSE(contains(text, "NDZ017"));
    const std::string plain(text);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), std::count(plain.begin(), plain.end(), '\r'));
    EXPECT_EQ(info.calls, FETCHED);
    EXPECT_EQ(targets(),
        (Strings{"/api/zones/forecast/NDZ009", "/api/products?type=ZFP&location=BIS&limit=5",
            "/api/products/b15-zfp-1401"}));
    const auto requests = server.requests();
    EXPECT_EQ(requests[0].header("accept"), "application/geo+json");
    EXPECT_EQ(requests[1].header("accept"), "application/ld+json");
    EXPECT_EQ(requests[2].header("accept"), "application/ld+json");
    for (const auto &request : requests)
        EXPECT_EQ(request.header("user-agent"), USER_AGENT);

    // The next cycle: the office is known and the newest product has not changed.
    const LString first(text);
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_STREQ(text, first);
    EXPECT_EQ(targets().size(), 4u);
    EXPECT_EQ(targets().back(), "/api/products?type=ZFP&location=BIS&limit=5");

    // A new issue is read once.
    std::string later = productFile("ZFP.txt");
    for (std::size_t at; (at = later.find("901 AM CDT")) != std::string::npos;)
        later.replace(at, 10, "400 PM CDT");
    server.page("/api/products?type=ZFP&location=BIS&limit=5", productList({"b15-zfp-2100"}));
    server.page("/api/products/b15-zfp-2100", productAnswer("b15-zfp-2100", later));
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_TRUE(contains(text, "WILLISTON\r\n 400 PM CDT TUE JUN 9 2015\r\n"));
    EXPECT_EQ(asked("/api/products/b15-zfp-2100"), 1u);
    EXPECT_EQ(targets().size(), 7u);

    // A copy of the reader keeps what the reader knew.
    WReader copy(reader);
    ASSERT_EQ(copy.getForecast(williston, text), L_OK);
    EXPECT_EQ(targets().size(), 8u);
}

// The keeper's contact joins the program's name in every request, the pages' as well; a text that is no e-mail
// address (here one that would add a header) is left out.
TEST_F(WReaderApiTest, userAgentNamesTheKeepersContact)
{
    servePhoenix();
    server.page("/cond/KPHX.html", "<html></html>");
    keeper.SetString("Internet", "ConditionsBase", server.url("/cond/").c_str(), false);
    keeper.SetString("Internet", "Contact", "weather.ops@example.org", false);
    LString text;
    WCondition condition;
    ASSERT_EQ(reader.getWarnings(phoenix, text), L_OK);
    reader.getCondition(phoenix, condition);
    keeper.SetString("Internet", "Contact", "ops@example.org\r\nX-Injected: 1", false);
    ASSERT_EQ(reader.getDiscussion(phoenix, text), L_OK);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].header("user-agent"), USER_AGENT + " (weather.ops@example.org)");
    EXPECT_EQ(requests[1].header("user-agent"), USER_AGENT + " (weather.ops@example.org)");
    for (std::size_t i = 2; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].header("user-agent"), USER_AGENT);
        EXPECT_EQ(requests[i].header("x-injected"), "");
    }
}

// The next cycle asks for the office's product list conditionally; a 304 leaves the forecast as it was.
TEST_F(WReaderApiTest, unchangedProductListKeepsTheForecast)
{
    serveWilliston();
    server.revalidated("/api/products?type=ZFP&location=BIS&limit=5", productList({"b15-zfp-1401"}), "\"l1\"");
    LString first;
    LString second;
    ASSERT_EQ(reader.getForecast(williston, first), L_OK);
    reader.beginUpdate();
    ASSERT_EQ(reader.getForecast(williston, second), L_OK);
    EXPECT_STREQ(second, first);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[3].target, "/api/products?type=ZFP&location=BIS&limit=5");
    EXPECT_EQ(requests[3].header("if-none-match"), "\"l1\"");
}

TEST_F(WReaderApiTest, forecastFromTheNextNewestProduct)
{
    // An update for some zones only is the newest; the office's list (in the form recorded for another office)
    // names the one before it.
    const std::string newest = "758ed100-512d-4cf0-93c7-f4cb305858d2";
    const std::string before = "eeb3c5db-1a82-44b7-a6d6-4427de03116b";
    server.page("/api/zones/forecast/NDZ009", zoneAnswer("NDZ009", "BIS"));
    server.page("/api/products?type=ZFP&location=BIS&limit=5", productList({newest}));
    server.page("/api/products/" + newest, productAnswer(newest, withoutWilliston()));
    server.page("/api/products/types/ZFP/locations/BIS", live("products_types_AFD_locations_LWX_2026.json"));
    server.page("/api/products/" + before, productAnswer(before, productFile("ZFP.txt")));
    LString text;
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_EQ(std::string(text).rfind("WILLIAMS-\r\n INCLUDING THE CITIES OF...WILLISTON\r\n", 0), 0u) << text;
    EXPECT_EQ(targets(),
        (Strings{"/api/zones/forecast/NDZ009", "/api/products?type=ZFP&location=BIS&limit=5", "/api/products/" + newest,
            "/api/products/types/ZFP/locations/BIS", "/api/products/" + before}));
    // While the newest stays the same, the search is not repeated.
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_TRUE(contains(text, "WILLISTON"));
    EXPECT_EQ(targets().size(), 6u);

    // Neither product has the zone: the office has nothing for the place now. Its zone's forecast periods are not
    // asked for, since an office that issues zone forecasts has none (the service answers 404).
    server.page("/api/products/types/ZFP/locations/BIS", productList({newest}));
    server.page("/api/products?type=ZFP&location=BIS&limit=5", productList({"b15-zfp-2200"}));
    server.page("/api/products/b15-zfp-2200", productAnswer("b15-zfp-2200", withoutWilliston()));
    info.calls.clear();
    EXPECT_EQ(reader.getForecast(williston, text), L_INPUT);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(info.calls, FETCHED);
    EXPECT_EQ(targets().back(), "/api/products/types/ZFP/locations/BIS");
    const std::size_t asked = targets().size();
    EXPECT_EQ(reader.getForecast(williston, text), L_INPUT);
    EXPECT_EQ(targets().size(), asked + 1) << "only the newest";
}

TEST_F(WReaderApiTest, forecastPeriodsWhereTheOfficeIssuesNoZoneForecast)
{
    const WLocation utah = nimbreltest::readerPlace("xx", "azone(UTZ101)");
    server.page("/api/zones/forecast/UTZ101", zoneAnswer("UTZ101", "SLC"));
    server.page("/api/products?type=ZFP&location=SLC&limit=5", productList({}));
    server.page("/api/zones/forecast/UTZ101/forecast", live("zones_forecast_UTZ101_forecast_2026-09-02.json"));
    LString text;
    ASSERT_EQ(reader.getForecast(utah, text), L_OK);
    const std::string forecast(text);
    EXPECT_EQ(forecast.rfind(".TODAY...Sunny in the morning then becoming partly cloudy. Breezy. Highs around 80. "
                             "Southwest winds 15 to 25 mph decreasing to 10 to 20 mph late in the afternoon.\r\n "
                             ".TONIGHT...Partly cloudy. Lows in the mid 50s. Northwest winds 10 to 20 mph.\r\n",
                  0),
        0u)
        << forecast;
    EXPECT_TRUE(contains(text, "\r\n .SATURDAY AND SATURDAY NIGHT...Mostly clear. Highs in the mid 80s."));
    EXPECT_TRUE(forecast.ends_with(
        "\r\n .TUESDAY...Partly sunny in the morning then becoming partly cloudy. Highs in the upper 70s.\r\n"));
    EXPECT_EQ(std::count(forecast.begin(), forecast.end(), '\n'), 10);
    EXPECT_EQ(server.requests().back().header("accept"), "application/geo+json");
}

TEST_F(WReaderApiTest, alertsOfThePointServeAllThreeKinds)
{
    servePhoenix();
    LString warnings;
    LString watches("old watches");
    LString statements("old statements");
    ASSERT_EQ(reader.getWarnings(phoenix, warnings), L_OK);
    EXPECT_EQ(std::string(warnings).rfind(
                  "EXCESSIVE HEAT WARNING - EXCESSIVE HEAT WARNING REMAINS IN EFFECT FROM 10 AM FRIDAY TO 8 PM MST "
                  "SATURDAY\r\n * WHAT...Dangerously hot conditions. Afternoon temperatures 112 to\r\n 116 expected.",
                  0),
        0u)
        << warnings;
    EXPECT_TRUE(contains(warnings, "\r\n AIR QUALITY ALERT - OZONE HIGH POLLUTION ADVISORY FOR MARICOPA COUNTY"));
    EXPECT_EQ(reader.getWatches(phoenix, watches), L_INPUT);
    EXPECT_STREQ(watches, "");
    EXPECT_EQ(reader.getStatements(phoenix, statements), L_INPUT);
    EXPECT_EQ(targets(), (Strings{"/api/alerts/active?point=33.25,-112.3"}));
    EXPECT_EQ(server.requests()[0].header("accept"), "application/geo+json");
    EXPECT_EQ(info.calls,
        (Strings{"Getting warnings...", "Reading data from server...", "<clear>", "Getting watches...",
            "Reading data from server...", "<clear>", "Getting special statements...", "Reading data from server...",
            "<clear>"}));

    // Without coordinates, the alerts of the zone.
    server.page("/api/alerts/active/zone/AZZ540", fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    LString zoneWarnings;
    ASSERT_EQ(reader.getWarnings(nimbreltest::readerPlace("xx", "azone(AZZ540)"), zoneWarnings), L_OK);
    EXPECT_STREQ(zoneWarnings, warnings);
    EXPECT_EQ(targets().back(), "/api/alerts/active/zone/AZZ540");
}

// The service's JSON may escape any character: a NUL or an escape sequence in an alert must neither cut the text
// short nor reach the window, and a right-to-left override or a hidden character must not make it read otherwise.
TEST_F(WReaderApiTest, controlCharactersInAnAlertAreLeftOut)
{
    json alerts = json::parse(fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    auto &first = alerts["features"][0]["properties"];
    first["description"] = std::string("* WHAT...Dangerously hot") + '\0'
        + " conditions.\x1b[1m\u009b2J\nTAKE\x07 CO\u200bVER \u202enrut\u202c \u2067now\u2069\u200f\r\n";
    first["instruction"] = nullptr;
    first["event"] = "Excessive Heat\u202e Warning";
    server.page("/api/alerts/active?point=33.25,-112.3", alerts.dump());
    LString text;
    ASSERT_EQ(reader.getWarnings(phoenix, text), L_OK);
    const std::string warnings(static_cast<const char *>(text), text.length());
    EXPECT_EQ(warnings.find_first_of(std::string("\0\x1b\x07", 3)), std::string::npos) << warnings;
    EXPECT_TRUE(contains(text, "EXCESSIVE HEAT WARNING - ")) << warnings;
    EXPECT_TRUE(contains(text, "\r\n * WHAT...Dangerously hot conditions.[1m2J\r\n TAKE COVER nrut now\r\n"))
        << warnings;
    EXPECT_TRUE(contains(text, "\r\n AIR QUALITY ALERT - OZONE HIGH POLLUTION ADVISORY FOR MARICOPA COUNTY"));
}

// One alert written in Latin-1, or damaged, must not cost the others: its stray bytes are read as Latin-1 ("90\xB0 F",
// the E2 of a cut sequence) except those that would be C1 controls, which become U+FFFD.
TEST_F(WReaderApiTest, bytesThatAreNotUtf8CostNothingElse)
{
    json alerts = json::parse(fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    alerts["features"][1]["properties"]["description"] = "Ozone near @DEG@ and @CUT@ today.";
    std::string answer = alerts.dump();
    answer.replace(answer.find("@DEG@"), 5, "90\xB0 F");
    answer.replace(answer.find("@CUT@"), 5, "\xE2\x82 \x85");
    server.page("/api/alerts/active?point=33.25,-112.3", answer);
    LString text("old warnings");
    ASSERT_EQ(reader.getWarnings(phoenix, text), L_OK);
    EXPECT_TRUE(contains(text, "EXCESSIVE HEAT WARNING - EXCESSIVE HEAT WARNING REMAINS IN EFFECT")) << text;
    EXPECT_TRUE(contains(text, "Ozone near 90\u00B0 F and \u00E2\uFFFD \uFFFD today.")) << text;
    std::vector<WAlertRecord> records;
    ASSERT_EQ(reader.getAlerts(phoenix, records), L_OK);
    EXPECT_EQ(records.size(), 2u);
}

// An answer that came but cannot be read is told apart from one that could not be had.
TEST_F(WReaderApiTest, unreadableAnswerIsNotABrokenConnection)
{
    server.page("/api/alerts/active?point=33.25,-112.3", live("denied_403.html"));
    LString text("old warnings");
    EXPECT_EQ(reader.getWarnings(phoenix, text), L_FORMAT);
    EXPECT_STREQ(text, "old warnings");
    EXPECT_EQ(info.calls, (Strings{"Getting warnings...", "Error: cannot read the server's answer"}));
    std::vector<WAlertRecord> records;
    EXPECT_EQ(reader.getAlerts(phoenix, records), L_FORMAT);
}

// A server that trickles costs the fetch it serves, within the reader's limits, and nothing more.
TEST_F(WReaderApiTest, tricklingAnswerFailsWithinTheLimits)
{
    servePhoenix();
    server.trickled("/api/alerts/active?point=33.25,-112.3",
        fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")), std::chrono::milliseconds(50));
    reader.setFetchLimits({15, 600, 100, 1});
    LString text("old warnings");
    EXPECT_EQ(reader.getWarnings(phoenix, text), L_CONNECT);
    EXPECT_STREQ(text, "old warnings");
    EXPECT_EQ(reader.getDiscussion(phoenix, text), L_OK);
}

// The records come from the answer the warnings fetch had: no further request, and the same alerts as the text.
TEST_F(WReaderApiTest, alertRecordsFromTheCyclesAnswer)
{
    servePhoenix();
    std::vector<WAlertRecord> alerts;
    EXPECT_EQ(reader.getAlerts(nimbreltest::readerPlace("xx", "acode(KPHX)"), alerts), L_NOTFOUND);
    LString warnings;
    ASSERT_EQ(reader.getWarnings(phoenix, warnings), L_OK);
    ASSERT_EQ(reader.getAlerts(phoenix, alerts), L_OK);
    EXPECT_EQ(targets(), (Strings{"/api/alerts/active?point=33.25,-112.3"}));
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0].event, "Excessive Heat Warning");
    EXPECT_TRUE(contains(warnings, alerts[1].text.substr(0, alerts[1].text.find('\n')).c_str()));
    EXPECT_EQ(info.calls.size(), 3u);
}

TEST_F(WReaderApiTest, recordedAlertsHaveExpired)
{
    server.page("/api/alerts/active?point=33.25,-112.3", live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json"));
    LString text("old warnings");
    EXPECT_EQ(reader.getWarnings(phoenix, text), L_INPUT);
    EXPECT_STREQ(text, "");
}

TEST_F(WReaderApiTest, coordinatesInTheCanonicalForm)
{
    const std::vector<std::pair<const char *, std::string>> cases = {
        {"azone(KSZ009)alat(39.74560)alon(-97.08920)", "?point=39.7456,-97.0892"},
        {"alat(40.0)alon(-90.10000)", "?point=40,-90.1"},
        {"alat(39.78171)alon(-89.65009)", "?point=39.7817,-89.6501"},
        {"alat(-0.00001)alon(0.00004)", "?point=0,0"},
        {"alat(71.2539)alon(-156.7982)", "?point=71.2539,-156.7982"},
        {"alat(91)alon(10)azone(KSZ009)", "/zone/KSZ009"},
        {"alat(39,7)alon(-97.1)azone(KSZ010)", "/zone/KSZ010"},
        {"alat(39.7)azone(KSZ011)", "/zone/KSZ011"},
        {"alat(nan)alon(1)azone(KSZ012)", "/zone/KSZ012"},
    };
    for (const auto &[cityData, query] : cases) {
        LString text;
        EXPECT_EQ(reader.getWarnings(nimbreltest::readerPlace("xx", cityData), text), L_CONNECT);
        EXPECT_EQ(targets().back(), "/api/alerts/active" + query) << cityData;
    }
    EXPECT_EQ(targets().size(), cases.size());
}

// With AlertArea 1 the alerts are those of the place's forecast zone and county, as the point answer names them,
// asked for in one request; the point answer is asked for once.
TEST_F(WReaderApiTest, alertsOfTheZoneAndCounty)
{
    keeper.SetInt("Internet", "AlertArea", 1, false);
    server.page("/api/points/39.7456,-97.0892", live("points_39.7456_-97.0892_TOP.json"));
    server.page(
        "/api/alerts/active?zone=KSZ009,KSC201", fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    std::vector<WAlertRecord> alerts;
    ASSERT_EQ(reader.getAlerts(linn, alerts), L_OK);
    ASSERT_EQ(alerts.size(), 2u);
    LString warnings;
    reader.beginUpdate();
    ASSERT_EQ(reader.getWarnings(linn, warnings), L_OK);
    EXPECT_TRUE(contains(warnings, "AIR QUALITY ALERT"));
    EXPECT_EQ(targets(),
        (Strings{"/api/points/39.7456,-97.0892", "/api/alerts/active?zone=KSZ009,KSC201",
            "/api/alerts/active?zone=KSZ009,KSC201"}));

    // By default, the point's.
    keeper.SetInt("Internet", "AlertArea", 0, false);
    reader.beginUpdate();
    EXPECT_EQ(reader.getAlerts(linn, alerts), L_CONNECT);
    EXPECT_EQ(targets().back(), "/api/alerts/active?point=39.7456,-97.0892");
}

TEST_F(WReaderApiTest, placeWithoutWhatTheOperationNeeds)
{
    LString text("old text");
    EXPECT_EQ(
        reader.getForecast(nimbreltest::readerPlace("xx", "acode(KMHK)alat(39.7456)alon(-97.0892)"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getForecast(nimbreltest::readerPlace("xx", "azone(KSZ/09)"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getWarnings(nimbreltest::readerPlace("xx", "acode(KMHK)"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getStatements(nimbreltest::readerPlace("xx", "alat(39.7456)azone()"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getDiscussion(nimbreltest::readerPlace("xx", "acode(KMHK)"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getPublic(nimbreltest::readerPlace("xx", ""), text), L_NOTFOUND);
    EXPECT_STREQ(text, "old text");
    EXPECT_TRUE(info.calls.empty());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(WReaderApiTest, bulletinsAreTheOfficesNewestAfterTheirHeaders)
{
    servePhoenix();
    LString text;
    ASSERT_EQ(reader.getDiscussion(phoenix, text), L_OK);
    const std::string discussion(text);
    EXPECT_EQ(discussion.rfind("Area Forecast Discussion\r\n National Weather Service Phoenix AZ\r\n 1117 AM MST Thu "
                               "Sep 3 2026\r\n \r\n .UPDATE...Updated 18Z Aviation Discussion.\r\n",
                  0),
        0u)
        << discussion.substr(0, 200);
    EXPECT_TRUE(discussion.ends_with("\r\n $$\r\n \r\n SHORT TERM...Salerno\r\n LONG TERM...Salerno \r\n "
                                     "AVIATION...Benedict\r\n FIRE WEATHER...Whittock/Salerno\r\n"));
    EXPECT_EQ(discussion.find("FXUS65"), std::string::npos);
    EXPECT_EQ(discussion.find("AFDPSR"), std::string::npos);
    EXPECT_EQ(targets(),
        (Strings{
            "/api/points/33.25,-112.3", "/api/products?type=AFD&location=PSR&limit=5", "/api/products/" + AFD_ID}));
    EXPECT_EQ(server.requests()[0].header("accept"), "application/geo+json");
    EXPECT_EQ(server.requests()[1].header("accept"), "application/ld+json");
    ASSERT_EQ(reader.getDiscussion(phoenix, text), L_OK);
    EXPECT_EQ(targets().size(), 4u);

    // The office issues no public information statements lately.
    info.calls.clear();
    EXPECT_EQ(reader.getPublic(phoenix, text), L_INPUT);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(info.calls, (Strings{"Getting public messages...", "Reading data from server...", "<clear>"}));
    // A list whose entry has no id in words is no product list: not "nothing issued" but a bad answer.
    server.page("/api/products?type=PNS&location=PSR&limit=5", R"({"@graph": [{"id": 1401, "productCode": "PNS"}]})");
    text = "old public";
    EXPECT_EQ(reader.getPublic(phoenix, text), L_FORMAT);
    EXPECT_STREQ(text, "old public");

    // Des Moines' summary, for a place known by its zone only.
    const WLocation desMoines = nimbreltest::readerPlace("xx", "acode(KDSM)azone(IAZ086)");
    server.page("/api/zones/forecast/IAZ086", zoneAnswer("IAZ086", "DMX"));
    server.page("/api/products?type=RWS&location=DMX&limit=5", productList({"d3a-rws-1558"}));
    server.page("/api/products/d3a-rws-1558", productAnswer("d3a-rws-1558", productFile("RWS.txt")));
    info.calls.clear();
    ASSERT_EQ(reader.getSummary(desMoines, text), L_OK);
    EXPECT_EQ(std::string(text).rfind("IAZ004>007-015>017-023>028-033>039-044>050-057>062-070>075-081>086-\r\n "
                                      "092>097-100000-\r\n \r\n WEATHER SUMMARY FOR IOWA\r\n",
                  0),
        0u)
        << text;
    EXPECT_TRUE(contains(text, "\r\n $$\r\n"));
    EXPECT_EQ(info.calls, (Strings{"Getting weather summary...", "Reading data from server...", "<clear>"}));
}

// The service's list is not always in time order: the newest product is the one issued last.
TEST_F(WReaderApiTest, newestProductByItsIssuanceTime)
{
    servePhoenix();
    const std::string older = "0a1-afd-0900";
    json list = json::parse(productList({older, AFD_ID, "0a2-afd-0300"}));
    list["@graph"][0]["issuanceTime"] = "2026-09-03T09:00:00+00:00";
    list["@graph"][1]["issuanceTime"] = "2026-09-03T18:17:00+00:00";
    list["@graph"][2]["issuanceTime"] = "2026-09-03T03:00:00+00:00";
    server.page("/api/products?type=AFD&location=PSR&limit=5", list.dump());
    server.page("/api/products/" + older, productAnswer(older, "OLDER DISCUSSION\n"));
    LString text;
    ASSERT_EQ(reader.getDiscussion(phoenix, text), L_OK);
    EXPECT_TRUE(contains(text, "1117 AM MST Thu Sep 3 2026")) << text;
    EXPECT_EQ(asked("/api/products/" + older), 0u);
}

// Each failure of an answer fails the operation, leaves the text and asks once: as a broken connection where no
// whole answer came, as an unreadable answer where one came that is not what was asked for.
TEST_F(WReaderApiTest, failedAnswersLeaveTheText)
{
    const std::string list = "/api/products?type=ZFP&location=BIS&limit=5";
    const std::string text = "/api/products/b15-zfp-1401";
    const std::string zone = "/api/zones/forecast/NDZ009";
    const std::string half = productAnswer("b15-zfp-1401", productFile("ZFP.txt"));
    std::string huge = productList({"b15-zfp-1401"});
    huge.insert(1, 20 * 1024 * 1024, ' ');
    // Valid JSON, but larger than any real answer.
    std::string large = productList({"b15-zfp-1401"});
    large.insert(1, 3 * 1024 * 1024, ' ');
    const Strings unreadable = {"Getting forecast...", "Error: cannot read the server's answer"};
    const std::vector<std::tuple<std::string, std::function<void()>, int>> failures = {
        {list, [&] { server.page(list, live("denied_403.html"), 403); }, L_CONNECT},
        {text, [&] { server.page(text, live("problem_404.json"), 404); }, L_CONNECT},
        {zone, [&] { server.page(zone, "<HTML><BODY>Service Unavailable</BODY></HTML>\n", 503); }, L_CONNECT},
        {text, [&] { server.page(text, half.substr(0, half.size() / 2)); }, L_FORMAT},
        {list, [&] { server.truncated(list, productList({"b15-zfp-1401"}), 20); }, L_CONNECT},
        {list, [&] { server.page(list, huge); }, L_CONNECT},
        {list, [&] { server.page(list, large); }, L_CONNECT},
        {list, [&] { server.page(list, live("denied_403.html")); }, L_FORMAT},
        {list, [&] { server.page(list, R"({"@context": {"@version": "1.1"}})"); }, L_FORMAT},
        {text, [&] { server.page(text, R"({"id": "b15-zfp-1401", "productText": null})"); }, L_FORMAT},
        {zone, [&] { server.page(zone, R"({"type": "Feature", "properties": {"cwa": []}})"); }, L_FORMAT},
    };
    for (const auto &[target, fail, code] : failures) {
        WReader fresh(&info);
        fresh.SetKeeper(&keeper);
        serveWilliston();
        fail();
        info.calls.clear();
        const std::size_t before = asked(target);
        LString forecast("old forecast");
        EXPECT_EQ(fresh.getForecast(williston, forecast), code) << target;
        EXPECT_STREQ(forecast, "old forecast");
        EXPECT_EQ(info.calls, code == L_CONNECT ? REFUSED : unreadable) << target;
        EXPECT_EQ(asked(target), before + 1) << target;
    }
}

// A failure is never kept: the next operation asks again, and tells the failure as it found it.
TEST_F(WReaderApiTest, failuresAreNotKept)
{
    server.page("/api/alerts/active?point=33.25,-112.3", R"({"type": "FeatureCollection", "title": "none"})");
    server.page("/api/points/33.25,-112.3", "<HTML>Service Unavailable</HTML>", 503);
    LString text("old");
    EXPECT_EQ(reader.getWarnings(phoenix, text), L_FORMAT);
    EXPECT_EQ(reader.getWatches(phoenix, text), L_FORMAT);
    EXPECT_EQ(reader.getDiscussion(phoenix, text), L_CONNECT);
    EXPECT_EQ(reader.getSummary(phoenix, text), L_CONNECT);
    EXPECT_STREQ(text, "old");
    EXPECT_EQ(asked("/api/alerts/active?point=33.25,-112.3"), 2u);
    EXPECT_EQ(asked("/api/points/33.25,-112.3"), 2u);
    EXPECT_EQ(info.calls.back(), "Error: cannot connect to server");
}

// An update's alerts are its own: the next update asks again at once, whatever it found before.
TEST_F(WReaderApiTest, everyUpdateAsksForTheAlertsAgain)
{
    servePhoenix();
    const auto update = [this](LString &warnings) {
        reader.beginUpdate();
        LString watches;
        const int result = reader.getWarnings(phoenix, warnings);
        EXPECT_EQ(reader.getWatches(phoenix, watches), result == L_OK ? L_INPUT : result);
        return result;
    };
    LString warnings;
    ASSERT_EQ(update(warnings), L_OK);
    EXPECT_EQ(asked("/api/alerts/active?point=33.25,-112.3"), 1u);

    // The network is gone: the update fails, and says so.
    server.page("/api/alerts/active?point=33.25,-112.3", "", 503);
    EXPECT_EQ(update(warnings), L_CONNECT);
    std::vector<WAlertRecord> records;
    EXPECT_EQ(reader.getAlerts(phoenix, records), L_CONNECT);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(asked("/api/alerts/active?point=33.25,-112.3"), 4u) << "each operation asks";

    // Back, with a new warning: the very next update has it.
    json alerts = json::parse(fresh(live("alerts_active_point_33.25_-112.30_heat_aqa_2024.json")));
    alerts["features"][0]["id"] = "urn:oid:tornado";
    alerts["features"][0]["properties"]["id"] = "urn:oid:tornado";
    alerts["features"][0]["properties"]["event"] = "Tornado Warning";
    server.page("/api/alerts/active?point=33.25,-112.3", alerts.dump());
    ASSERT_EQ(update(warnings), L_OK);
    EXPECT_TRUE(contains(warnings, "TORNADO WARNING - ")) << warnings;
    ASSERT_EQ(reader.getAlerts(phoenix, records), L_OK);
    EXPECT_EQ(records[0].event, "Tornado Warning");
    EXPECT_EQ(asked("/api/alerts/active?point=33.25,-112.3"), 5u) << "one request for the update";

    // A caller that marks no updates: asking again for the same kind is a new update.
    ASSERT_EQ(reader.getWarnings(phoenix, warnings), L_OK);
    EXPECT_EQ(asked("/api/alerts/active?point=33.25,-112.3"), 6u);
}

TEST_F(WReaderApiTest, abortedFetchIsNotRemembered)
{
    servePhoenix();
    reader.abortFetch();
    LString text("old");
    EXPECT_EQ(reader.getWarnings(phoenix, text), L_CONNECT);
    EXPECT_EQ(reader.getDiscussion(phoenix, text), L_CONNECT);
    EXPECT_TRUE(server.requests().empty());
    reader.allowFetch();
    EXPECT_EQ(reader.getWarnings(phoenix, text), L_OK);
    EXPECT_EQ(reader.getDiscussion(phoenix, text), L_OK);
    EXPECT_EQ(targets().size(), 4u);
}

TEST_F(WReaderApiTest, productSourceChoosesThePagesOrTheService)
{
    serveWilliston();
    server.page("/iwin/xx/zone.html", "<PRE>\r\nNDZ009-092130-\r\nFROM THE STATE PAGE\r\n$$\r\n</PRE>\r\n");
    LString text;
    keeper.SetInt("Internet", "ProductSource", 0, false);
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_STREQ(text, "FROM THE STATE PAGE\r\n");
    EXPECT_EQ(targets(), (Strings{"/iwin/xx/zone.html"}));

    keeper.SetInt("Internet", "ProductSource", 1, false);
    keeper.SetString("Internet", "ApiBase", server.url("/api").c_str(), false);
    ASSERT_EQ(reader.getForecast(williston, text), L_OK);
    EXPECT_TRUE(contains(text, "WILLISTON"));
    EXPECT_EQ(targets().size(), 4u);
    EXPECT_EQ(targets()[1], "/api/zones/forecast/NDZ009");
}

// The source itself, with a clock the tests move: what one update cycle costs, and what outlasts it.
class WApiSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        access.base = server.url("/api/").c_str();
        server.page("/api/points/39.7456,-97.0892", live("points_39.7456_-97.0892_TOP.json"));
        server.page("/api/alerts/active?point=39.7456,-97.0892",
            live("alerts_limit5_SPS_test_SVR_cancel_update_2026-09-02.json"));
        issueForecast("70b-zfp-1950");
        server.page("/api/products?type=AFD&location=TOP&limit=5", productList({AFD_ID}));
        server.page("/api/products/" + AFD_ID, live("product_AFD_PSR_latest_2026-09-03.json"));
        server.page("/api/products?type=RWS&location=TOP&limit=5", productList({"d3a-rws-1558"}));
        server.page("/api/products/d3a-rws-1558", productAnswer("d3a-rws-1558", productFile("RWS.txt")));
        server.page("/api/products?type=PNS&location=TOP&limit=5", productList({}));
    }
    void TearDown() override { nimbreltest::clearProxyEnvironment(); }

    void issueForecast(const std::string &id)
    {
        server.page("/api/products?type=ZFP&location=TOP&limit=5", productList({id}));
        server.page("/api/products/" + id,
            productAnswer(id,
                "\n000\nFPUS53 KTOP 021950\nZFPTOP\n\nKSZ009-030900-\n"
                "Marshall-\n250 PM CDT Wed Sep 2 2026\n\n"
                ".TONIGHT...Mostly clear. Lows around 60.\n\n$$\n"));
    }
    int run(WApiProduct product, const WLocation &location = linn)
    {
        LString text;
        return source.getText(product, location, access, &info, text);
    }
    // The requests one cycle makes for the kinds given.
    std::size_t cycle(const std::vector<WApiProduct> &products)
    {
        source.beginUpdate();
        const std::size_t before = server.requests().size();
        for (const auto product : products)
            EXPECT_NE(run(product), L_CONNECT) << static_cast<int>(product);
        return server.requests().size() - before;
    }
    std::size_t asked(const std::string &target) const
    {
        const auto requests = server.requests();
        return std::count_if(requests.begin(), requests.end(), [&](const auto &each) { return each.target == target; });
    }

    HttpServer server;
    InfoLineRecorder info;
    WApiAccess access;
    // 2026-09-02T07:50:00Z, while the recorded alerts were in force.
    std::int64_t now = 1788335400;
    WApiSource source{[this] { return now; }};
};

const std::vector<WApiProduct> DEFAULT_KINDS = {WApiProduct::Forecast, WApiProduct::Warnings};
const std::vector<WApiProduct> ALL_KINDS = {WApiProduct::Forecast, WApiProduct::Warnings, WApiProduct::Discussion,
    WApiProduct::Summary, WApiProduct::Watches, WApiProduct::Statements, WApiProduct::Public};
constexpr std::int64_t MINUTES_15 = 15 * 60;

TEST_F(WApiSourceTest, defaultCycleAsksAtMostThreeTimesAfterTheFirst)
{
    EXPECT_EQ(cycle(DEFAULT_KINDS), 4u) << "place, list, forecast, alerts";
    now += MINUTES_15;
    EXPECT_EQ(cycle(DEFAULT_KINDS), 2u) << "list and alerts";
    issueForecast("70b-zfp-2200");
    now += MINUTES_15;
    EXPECT_EQ(cycle(DEFAULT_KINDS), 3u) << "list, new forecast and alerts";
    EXPECT_EQ(asked("/api/points/39.7456,-97.0892"), 1u);
    EXPECT_EQ(asked("/api/products/70b-zfp-1950"), 1u);

    now += MINUTES_15;
    EXPECT_EQ(cycle(ALL_KINDS), 7u) << "4 lists, 2 new texts, alerts";
    now += MINUTES_15;
    EXPECT_EQ(cycle(ALL_KINDS), 5u) << "4 lists, alerts";
}

TEST_F(WApiSourceTest, alertsAreSharedWithinAnUpdate)
{
    source.beginUpdate();
    EXPECT_EQ(run(WApiProduct::Warnings), L_OK);
    now += MINUTES_15;
    EXPECT_EQ(run(WApiProduct::Statements), L_OK);
    EXPECT_EQ(run(WApiProduct::Watches), L_INPUT);
    EXPECT_EQ(asked("/api/alerts/active?point=39.7456,-97.0892"), 1u);
    source.beginUpdate();
    EXPECT_EQ(run(WApiProduct::Warnings), L_OK);
    EXPECT_EQ(asked("/api/alerts/active?point=39.7456,-97.0892"), 2u);

    // A failed answer is not shared: each kind asks, and the next update gets the answer that came back.
    server.page("/api/alerts/active?point=39.7456,-97.0892", "{\"features\": [", 200);
    source.beginUpdate();
    EXPECT_EQ(run(WApiProduct::Warnings), L_FORMAT);
    EXPECT_EQ(run(WApiProduct::Statements), L_FORMAT);
    EXPECT_EQ(asked("/api/alerts/active?point=39.7456,-97.0892"), 4u);
    server.page(
        "/api/alerts/active?point=39.7456,-97.0892", live("alerts_limit5_SPS_test_SVR_cancel_update_2026-09-02.json"));
    source.beginUpdate();
    EXPECT_EQ(run(WApiProduct::Statements), L_OK);
}

TEST_F(WApiSourceTest, officeIsLookedUpOncePerPlaceAndAgainAfterA404)
{
    const std::string points = "/api/points/39.7456,-97.0892";
    EXPECT_EQ(run(WApiProduct::Forecast), L_OK);
    now += MINUTES_15;
    EXPECT_EQ(run(WApiProduct::Forecast), L_OK);
    EXPECT_EQ(asked(points), 1u);

    // The office's list is gone: the rest of the cycle goes on with the office it has.
    server.page("/api/products?type=ZFP&location=TOP&limit=5", live("problem_404.json"), 404);
    now += MINUTES_15;
    EXPECT_EQ(run(WApiProduct::Forecast), L_CONNECT);
    now += 5;
    EXPECT_EQ(run(WApiProduct::Discussion), L_OK);
    EXPECT_EQ(asked(points), 1u);
    // The next cycle asks for the place again.
    issueForecast("70b-zfp-2200");
    now += MINUTES_15;
    EXPECT_EQ(run(WApiProduct::Forecast), L_OK);
    EXPECT_EQ(asked(points), 2u);
    now += MINUTES_15;
    EXPECT_EQ(run(WApiProduct::Forecast), L_OK);
    EXPECT_EQ(asked(points), 2u);

    // Another place, then this one again.
    server.page("/api/zones/forecast/NDZ009", zoneAnswer("NDZ009", "BIS"));
    EXPECT_EQ(run(WApiProduct::Discussion, williston), L_CONNECT);
    EXPECT_EQ(asked("/api/zones/forecast/NDZ009"), 1u);
    EXPECT_EQ(asked("/api/products?type=AFD&location=BIS&limit=5"), 1u);
    EXPECT_EQ(run(WApiProduct::Forecast), L_OK);
    EXPECT_EQ(asked(points), 3u);
}

TEST_F(WApiSourceTest, failedLookupIsNotKept)
{
    const std::string points = "/api/points/39.7456,-97.0892";
    server.page(points, live("denied_403.html"), 403);
    EXPECT_EQ(run(WApiProduct::Forecast), L_CONNECT);
    EXPECT_EQ(run(WApiProduct::Discussion), L_CONNECT);
    EXPECT_EQ(asked(points), 2u);
    server.page(points, live("points_39.7456_-97.0892_TOP.json"));
    EXPECT_EQ(run(WApiProduct::Forecast), L_OK);
    EXPECT_EQ(run(WApiProduct::Discussion), L_OK);
    EXPECT_EQ(asked(points), 3u);
}

// The service's zone for the place stands in when the location database's zone has no segment.
TEST_F(WApiSourceTest, forecastZoneOfThePointAnswer)
{
    const WLocation renamed = nimbreltest::readerPlace("xx", "azone(KSZ999)alat(39.7456)alon(-97.0892)");
    LString text;
    ASSERT_EQ(source.getText(WApiProduct::Forecast, renamed, access, &info, text), L_OK);
    EXPECT_STREQ(
        text, "Marshall-\r\n 250 PM CDT Wed Sep 2 2026\r\n \r\n .TONIGHT...Mostly clear. Lows around 60.\r\n \r\n");
    EXPECT_EQ(asked("/api/zones/forecast/KSZ999/forecast"), 0u);
}

// One update asks for the place's point, alerts, product lists and texts and its two point forecasts; the kept
// answers hold all of them for two places of different offices, so the next update asks for each conditionally.
TEST_F(WApiSourceTest, keptAnswersHoldAnUpdateOfTwoPlaces)
{
    const std::string periods = "/api/gridpoints/TOP/32,81/forecast";
    const std::string alerts = "/api/alerts/active?point=39.7456,-97.0892";
    server.revalidated(periods, live("gridpoints_FWD_89,104_forecast.json"), "\"f1\"");
    server.revalidated(
        "/api/gridpoints/TOP/32,81/forecast/hourly", live("gridpoints_FWD_89,104_forecast.json"), "\"h1\"");
    server.revalidated(alerts, live("alerts_limit5_SPS_test_SVR_cancel_update_2026-09-02.json"), "\"a1\"");
    const auto update = [this] {
        cycle(ALL_KINDS);
        WForecast forecast;
        EXPECT_EQ(source.getPointForecast(WForecastSpan::Periods, linn, access, forecast), L_OK);
        EXPECT_EQ(source.getPointForecast(WForecastSpan::Hours, linn, access, forecast), L_OK);
    };
    update();
    std::vector<std::string> addresses;
    for (const auto &request : server.requests())
        addresses.push_back(request.target);
    std::sort(addresses.begin(), addresses.end());
    addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());
    EXPECT_LE(2 * addresses.size(), WApiCache::KEPT_ANSWERS) << addresses.size() << " addresses";

    now += MINUTES_15;
    update();
    const auto requests = server.requests();
    for (const std::string &target : {periods, alerts}) {
        const auto last = std::find_if(
            requests.rbegin(), requests.rend(), [&target](const auto &each) { return each.target == target; });
        ASSERT_NE(last, requests.rend());
        EXPECT_NE(last->header("if-none-match"), "") << target;
    }
}

} // namespace
