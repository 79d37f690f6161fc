#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wmarkertable_p.h"
#include "tests/support/httpserver.h"
#include "tests/support/infolinerecorder.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/readerplace.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::HttpServer;
using nimbreltest::InfoLineRecorder;
using nimbreltest::MemoryKeeper;
using Strings = std::vector<std::string>;

const Strings FETCHED = {"Getting current conditions...", "Reading data from server...", "<clear>"};

// The real page layout with the report line of another observation put in place of the recorded one.
std::string conditionsPage(const std::string &report = {})
{
    std::string page = nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html");
    const std::string recorded = "KJFK 121851Z 18010KT 10SM FEW050 24/12 A3001 RMK AO2 SLP162 T02440122";
    if (!report.empty())
        page.replace(page.find(recorded), recorded.size(), report);
    return page;
}

// A condition holding the values of an earlier update.
WCondition earlier()
{
    WCondition condition;
    condition.setTemp(-3.0f);
    condition.setDewPoint(-9.0f);
    condition.setPressure(29.5f);
    condition.setWindDirection(270);
    condition.setWindSpeed(22);
    condition.setWindGustSpeed(31);
    return condition;
}

class WReaderCondition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetString("Internet", "ConditionsBase", server.url("/weather/current/").c_str(), false);
    }

    HttpServer server;
    MemoryKeeper keeper;
    InfoLineRecorder info;
    WReader reader{&info};
    const WLocation kennedy = nimbreltest::readerPlace("ny", "acode(KJFK)azone(NYZ178)");
};

TEST_F(WReaderCondition, decodesTheReportOfTheStationsPage)
{
    server.page("/weather/current/KJFK.html", conditionsPage());
    WCondition condition = earlier();
    ASSERT_EQ(reader.getCondition(kennedy, condition), L_OK);
    EXPECT_FLOAT_EQ(condition.getTemp(), 24.4f);
    EXPECT_FLOAT_EQ(condition.getDewPoint(), 12.2f);
    EXPECT_FLOAT_EQ(condition.getPressure(), 30.01f);
    EXPECT_EQ(condition.getWindDirection(), 180);
    EXPECT_EQ(condition.getWindSpeed(), 10);
    EXPECT_EQ(condition.getWindGustSpeed(), -1);
    EXPECT_FALSE(condition.isValid());
    LCTime time(condition.getTime());
    EXPECT_EQ(time.GetTimeZone(), LTime::LCL);
    EXPECT_EQ(time.GetCalendarTime() % 86400, 18 * 3600 + 51 * 60) << "18:51 UTC";
    // The words of the same report: 24.4 C with a dew point of 12.2 C is 47%.
    const WObservation &observation = condition.getObservation();
    EXPECT_EQ(observation.visibilityMi, 10.0f);
    ASSERT_EQ(observation.sky.size(), 1u);
    EXPECT_EQ(observation.sky[0].heightFt, 5000);
    ASSERT_TRUE(observation.humidityPct);
    EXPECT_NEAR(*observation.humidityPct, 46.5f, 0.1f);
    EXPECT_EQ(info.calls, FETCHED);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/weather/current/KJFK.html");
}

TEST_F(WReaderCondition, valuesMissingFromTheReportKeepTheEarlierOnes)
{
    server.page("/weather/current/KJFK.html", conditionsPage("KJFK 121951Z VRB04G15KT 10SM FEW050 M02/M08 RMK AO2"));
    WCondition condition = earlier();
    ASSERT_EQ(reader.getCondition(kennedy, condition), L_OK);
    EXPECT_FLOAT_EQ(condition.getTemp(), -2.0f);
    EXPECT_FLOAT_EQ(condition.getDewPoint(), -8.0f);
    EXPECT_FLOAT_EQ(condition.getPressure(), 29.5f) << "no altimeter group: the earlier pressure stands";
    EXPECT_EQ(condition.getWindDirection(), 400);
    EXPECT_EQ(condition.getWindSpeed(), 4);
    EXPECT_EQ(condition.getWindGustSpeed(), 15);
}

TEST_F(WReaderCondition, aPageWithoutAnObservationChangesNothing)
{
    // Another station's report on the station's page is a server's mix-up, not the station's observation.
    for (const std::string &page : {conditionsPage("KJFK 121851Z NIL"), std::string("<HTML><BODY>Not found</BODY>"),
             conditionsPage("KXYZ 121851Z 18010KT 10SM FEW050 24/12 A3001"),
             conditionsPage("METAR KJFKX 121851Z 18010KT 10SM FEW050 24/12 A3001")}) {
        server.page("/weather/current/KJFK.html", page);
        info.calls.clear();
        WCondition condition = earlier();
        EXPECT_EQ(reader.getCondition(kennedy, condition), L_ERROR);
        EXPECT_FLOAT_EQ(condition.getTemp(), -3.0f);
        EXPECT_EQ(condition.getWindGustSpeed(), 31);
        EXPECT_EQ(info.calls,
            (Strings{
                "Getting current conditions...", "Reading data from server...", "Error: cannot obtain conditions"}));
    }
}

TEST_F(WReaderCondition, reportOfTheStationWithItsType)
{
    server.page("/weather/current/KJFK.html", conditionsPage("METAR KJFK 121851Z 18010KT 10SM FEW050 24/12 A3001"));
    WCondition condition = earlier();
    ASSERT_EQ(reader.getCondition(kennedy, condition), L_OK);
    EXPECT_FLOAT_EQ(condition.getTemp(), 24.0f);
}

TEST_F(WReaderCondition, impossibleValuesAreMissing)
{
    server.page("/weather/current/KJFK.html", conditionsPage("KJFK 121851Z 37010G999KT 10SM FEW050 99/12 A0000"));
    WCondition condition = earlier();
    ASSERT_EQ(reader.getCondition(kennedy, condition), L_OK);
    EXPECT_EQ(condition.getWindDirection(), 270);
    EXPECT_EQ(condition.getWindSpeed(), 10);
    EXPECT_EQ(condition.getWindGustSpeed(), -1);
    EXPECT_FLOAT_EQ(condition.getTemp(), -3.0f);
    EXPECT_FLOAT_EQ(condition.getDewPoint(), 12.0f);
    EXPECT_FLOAT_EQ(condition.getPressure(), 29.5f);
}

// A page weeks stale whose day lies ahead of today's is of the month before, and so plainly old; a report less
// than an hour ahead is today's, the clock running slow.
TEST_F(WReaderCondition, reportAheadOfTheClockIsOfTheMonthBefore)
{
    // 2025-03-28T12:00:00Z
    std::int64_t now = 1743163200;
    WReader dated(&info, [&now] { return now; });
    dated.SetKeeper(&keeper);
    server.page("/weather/current/KJFK.html", conditionsPage("KJFK 282300Z 18010KT 10SM FEW050 24/12 A3001"));
    WCondition condition = earlier();
    ASSERT_EQ(dated.getCondition(kennedy, condition), L_OK);
    EXPECT_EQ(LCTime(condition.getTime()).GetCalendarTime(), 1740783600) << "2025-02-28T23:00:00Z";
    now = 1743201000;
    ASSERT_EQ(dated.getCondition(kennedy, condition), L_OK);
    EXPECT_EQ(LCTime(condition.getTime()).GetCalendarTime(), 1743202800) << "half an hour ahead";
}

TEST_F(WReaderCondition, failedFetchLeavesTheErrorShown)
{
    server.page("/weather/current/KJFK.html", "gone", 404);
    WCondition condition = earlier();
    EXPECT_EQ(reader.getCondition(kennedy, condition), L_CONNECT);
    EXPECT_FLOAT_EQ(condition.getTemp(), -3.0f);
    EXPECT_EQ(condition.getWindGustSpeed(), 31);
    EXPECT_EQ(info.calls, (Strings{"Getting current conditions...", "Error: cannot connect to server"}));
}

TEST_F(WReaderCondition, placeWithoutStationFetchesNothing)
{
    WCondition condition = earlier();
    EXPECT_EQ(reader.getCondition(nimbreltest::readerPlace("ny", "azone(NYZ178)"), condition), L_DB);
    EXPECT_EQ(reader.getCondition(nimbreltest::readerPlace("ny", "acode(KJFK"), condition), L_DB);
    EXPECT_EQ(reader.getCondition(nimbreltest::readerPlace("ny", "acode()azone(NYZ178)"), condition), L_DB);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(info.calls.empty());
    EXPECT_FLOAT_EQ(condition.getTemp(), -3.0f);
}

TEST(WMarkerTable, capturesTheLineAfterTheMarker)
{
    WMarkerTable table;
    EXPECT_EQ(table.addMarker("ob", WMarkerTable::MatchWhole), L_OK);
    EXPECT_EQ(table.addMarker("ob", WMarkerTable::MatchPrefix), -1);
    EXPECT_EQ(table.addMarker("x", 13), L_INPUT);
    for (const char *line : {"obs", "ob: x", "ob", "ob", "KJFK 121851Z 18010KT", "ob", "later"})
        table.feed(line);
    EXPECT_STREQ(table.valueOf("ob"), "KJFK 121851Z 18010KT");
    EXPECT_STREQ(table.valueOf("missing"), "");
}

TEST(WMarkerTable, prefixAndContainsModes)
{
    WMarkerTable table;
    table.addMarker("Wind", WMarkerTable::MatchPrefix);
    table.addMarker("Hg", WMarkerTable::MatchContains);
    for (const char *line : {"Win", "Wind speed", "from the S", "30.01 in. Hg", "1016 hPa"})
        table.feed(line);
    EXPECT_STREQ(table.valueOf("Wind"), "from the S");
    EXPECT_STREQ(table.valueOf("Hg"), "1016 hPa");
}

} // namespace
