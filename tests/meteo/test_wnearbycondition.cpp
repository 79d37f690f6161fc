#include "meteo/reader/wnearbycondition.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/location/wnearbystations.h"
#include "meteo/reader/wreader.h"
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

// 2025-01-12T20:00:00Z
constexpr std::int64_t NOW = 1736712000;
const std::string OLD_DSM = "KDSM 121254Z 18010KT 10SM FEW050 02/M05 A3001";
const std::string FRESH_DSM = "KDSM 121954Z 18010KT 10SM FEW050 03/M05 A3001";
const std::string FRESH_IKV = "KIKV 121954Z 20012KT 10SM CLR M01/M07 A3005";

std::string conditionsPage(const std::string &report)
{
    std::string page = nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html");
    const std::string recorded = "KJFK 121851Z 18010KT 10SM FEW050 24/12 A3001 RMK AO2 SLP162 T02440122";
    page.replace(page.find(recorded), recorded.size(), report);
    return page;
}

class WNearbyConditionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(stations.load(NIMBREL_SOURCE_DIR "/data"), 0) << stations.getError(); }

    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetString("Internet", "ConditionsBase", server.url("/current/").c_str(), false);
    }

    void serve(const std::string &station, const std::string &report)
    {
        server.page("/current/" + station + ".html", conditionsPage(report));
    }

    // The own station's fetch, then the step after it.
    int observe(const WLocation &place, WCondition &condition, WStationUsed &used)
    {
        const int result = reader.getCondition(place, condition);
        return WNearbyCondition::fetch(reader, place, stations, result, condition, NOW, used);
    }

    std::vector<std::string> asked() const
    {
        std::vector<std::string> targets;
        for (const nimbreltest::HttpRequest &request : server.requests())
            targets.push_back(request.target);
        return targets;
    }

    static WNearbyStations stations;
    HttpServer server;
    nimbreltest::MemoryKeeper keeper;
    nimbreltest::InfoLineRecorder info;
    WReader reader{&info, [] { return NOW; }};
    const WLocation desMoines = nimbreltest::readerPlace("ia", "acode(KDSM)azone(IAZ060)alat(41.5726)alon(-93.6102)");
};

WNearbyStations WNearbyConditionTest::stations;

TEST(WNearbyStations, listsTheOtherStationsWithinRangeNearestFirst)
{
    WNearbyStations stations;
    EXPECT_TRUE(stations.near(nimbreltest::readerPlace("ia", "acode(KDSM)alat(41.5726)alon(-93.6102)")).empty());
    ASSERT_EQ(stations.load(NIMBREL_SOURCE_DIR "/data"), 0);
    const std::vector<WNearbyStation> near
        = stations.near(nimbreltest::readerPlace("ia", "acode(KDSM)alat(41.5726)alon(-93.6102)"));
    ASSERT_EQ(near.size(), 2u) << "KTNU lies 51 km away";
    EXPECT_EQ(near[0].code, "KIKV");
    EXPECT_EQ(near[0].place, "Ankeny");
    EXPECT_NEAR(near[0].distanceKm, 13.6, 0.1);
    EXPECT_EQ(near[1].code, "KAMW");
    EXPECT_TRUE(stations.near(nimbreltest::readerPlace("ia", "acode(KDSM)")).empty()) << "no coordinates";

    EXPECT_EQ(stations.load("/nonexistent"), -1);
    EXPECT_FALSE(stations.getError().empty());
    EXPECT_TRUE(stations.near(nimbreltest::readerPlace("ia", "acode(KDSM)alat(41.5726)alon(-93.6102)")).empty());
}

TEST_F(WNearbyConditionTest, quietStationGivesWayToTheNearestRecentReportUntilItReportsAgain)
{
    serve("KDSM", OLD_DSM);
    serve("KIKV", FRESH_IKV);
    WCondition condition;
    WStationUsed used;
    ASSERT_EQ(observe(desMoines, condition, used), L_OK);
    EXPECT_FLOAT_EQ(condition.getTemp(), -1.0f);
    EXPECT_EQ(used.station, "KIKV");
    EXPECT_EQ(used.place, "Ankeny");
    EXPECT_EQ(used.requested, "KDSM");
    EXPECT_EQ(used.requestedLastReport, 1736686440) << "2025-01-12T12:54:00Z";
    EXPECT_EQ(info.calls.size(), 3u) << "only the own station's fetch shows its progress";

    serve("KDSM", FRESH_DSM);
    ASSERT_EQ(observe(desMoines, condition, used), L_OK);
    EXPECT_FALSE(used.isNearby());
    EXPECT_FLOAT_EQ(condition.getTemp(), 3.0f);
    EXPECT_EQ(asked().back(), "/current/KDSM.html") << "a reporting station asks no other";
}

TEST_F(WNearbyConditionTest, missingPageGivesWayButOtherFailuresAndOldNeighboursDoNot)
{
    server.page("/current/KDSM.html", "gone", 404);
    serve("KIKV", FRESH_IKV);
    WCondition condition;
    WStationUsed used;
    ASSERT_EQ(observe(desMoines, condition, used), L_OK);
    EXPECT_EQ(used.station, "KIKV");
    EXPECT_EQ(used.requestedLastReport, 0);

    server.page("/current/KDSM.html", "busy", 500);
    EXPECT_EQ(observe(desMoines, condition, used), L_CONNECT);
    EXPECT_FALSE(used.isNearby());

    serve("KDSM", OLD_DSM);
    serve("KIKV", "KIKV 121554Z 20012KT 10SM CLR M01/M07 A3005");
    serve("KAMW", "KAMW 121555Z 20012KT 10SM CLR M02/M07 A3005");
    EXPECT_EQ(observe(desMoines, condition, used), L_OK);
    EXPECT_FALSE(used.isNearby());
    EXPECT_FLOAT_EQ(condition.getTemp(), 2.0f) << "the own old report stays";
}

TEST_F(WNearbyConditionTest, asksAtMostThreeNeighboursNearestFirst)
{
    const WLocation manhattan = nimbreltest::readerPlace("ny", "acode(KJFK)alat(40.7143)alon(-74.006)");
    WCondition condition;
    WStationUsed used;
    EXPECT_EQ(observe(manhattan, condition, used), L_CONNECT);
    const std::vector<std::string> expected
        = {"/current/KJFK.html", "/current/KJRB.html", "/current/KNYC.html", "/current/KLGA.html"};
    EXPECT_EQ(asked(), expected);

    const WLocation faraway = nimbreltest::readerPlace("ak", "acode(PAEI)alat(70.0)alon(-150.0)");
    server.page("/current/PAEI.html", "gone", 404);
    EXPECT_EQ(observe(faraway, condition, used), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::NotFound) << "nothing in range: the own failure stands";
}

} // namespace
