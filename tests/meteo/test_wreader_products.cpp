#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/location/wlocation.h"
#include "tests/support/httpserver.h"
#include "tests/support/infolinerecorder.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/productpages.h"
#include "tests/support/readerplace.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::HttpServer;
using nimbreltest::InfoLineRecorder;
using nimbreltest::MemoryKeeper;
using nimbreltest::productFile;
using nimbreltest::productPage;
using nimbreltest::readerPlace;
using Strings = std::vector<std::string>;

const Strings FETCHED = {"Getting forecast...", "Reading data from server...", "<clear>"};
const Strings REFUSED = {"Getting forecast...", "Error: cannot connect to server"};

class WReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetInt("Internet", "ProductSource", 0, false);
        keeper.SetString("Internet", "WarningsBase", server.url("/iwin/").c_str(), false);
    }
    void TearDown() override { nimbreltest::clearProxyEnvironment(); }

    HttpServer server;
    MemoryKeeper keeper;
    InfoLineRecorder info;
    WReader reader{&info};
    const WLocation desMoines = readerPlace("ia", "acode(KDMX) azone(IAZ086)");
};

TEST(WReader, setKeeperLaysDownDefaultsOnlyWhereNoneIsStored)
{
    MemoryKeeper keeper;
    WReader reader;
    reader.SetKeeper(&keeper);
    EXPECT_EQ(keeper.size(), 8u);
    std::uint32_t useProxy = 7;
    LString text;
    EXPECT_EQ(keeper.GetInt("Internet", "UseProxy", useProxy, false), L_OK);
    EXPECT_EQ(useProxy, 0u);
    EXPECT_EQ(keeper.GetString("Internet", "ProxyLocation", text, false), L_OK);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(keeper.GetString("Internet", "ConditionsBase", text, false), L_OK);
    EXPECT_STREQ(text, "https://tgftp.nws.noaa.gov/weather/current/");
    EXPECT_EQ(keeper.GetString("Internet", "WarningsBase", text, false), L_OK);
    EXPECT_STREQ(text, "http://iwin.nws.noaa.gov/iwin/");
    std::uint32_t source = 7;
    EXPECT_EQ(keeper.GetInt("Internet", "ProductSource", source, false), L_OK);
    EXPECT_EQ(source, 1u);
    EXPECT_EQ(keeper.GetString("Internet", "ApiBase", text, false), L_OK);
    EXPECT_STREQ(text, "https://api.weather.gov/");
    EXPECT_EQ(keeper.GetString("Internet", "Contact", text, false), L_OK);
    EXPECT_STREQ(text, "");
    std::uint32_t area = 7;
    EXPECT_EQ(keeper.GetInt("Internet", "AlertArea", area, false), L_OK);
    EXPECT_EQ(area, 0u);

    MemoryKeeper configured;
    configured.SetInt("Internet", "UseProxy", 1, false);
    configured.SetString("Internet", "ConditionsBase", "http://mirror.example/current/", false);
    configured.SetInt("Internet", "WarningsBase", 5, false);
    configured.SetInt("Internet", "ProductSource", 0, false);
    reader.SetKeeper(&configured);
    EXPECT_EQ(configured.GetInt("Internet", "UseProxy", useProxy, false), L_OK);
    EXPECT_EQ(useProxy, 1u);
    EXPECT_EQ(configured.GetString("Internet", "ConditionsBase", text, false), L_OK);
    EXPECT_STREQ(text, "http://mirror.example/current/");
    EXPECT_EQ(configured.GetString("Internet", "WarningsBase", text, false), L_WRONGTYPE);
    EXPECT_EQ(configured.GetInt("Internet", "ProductSource", source, false), L_OK);
    EXPECT_EQ(source, 0u);
}

TEST_F(WReaderTest, forecastIsTheFirstMessageForTheZone)
{
    server.page("/iwin/nd/zone.html", productPage({productFile("ZFP.txt")}));
    LString text("old text");
    ASSERT_EQ(reader.getForecast(readerPlace("nd", "acode(KISN)azone(NDZ009)"), text), L_OK);
    EXPECT_EQ(std::string(text).rfind("WILLIAMS-\r\n INCLUDING THE CITIES OF...WILLISTON\r\n", 0), 0u) << text;
    EXPECT_TRUE(text.contains("\r\n .REST OF TODAY...SUNNY. HIGHS IN THE LOWER 80S. NORTH WINDS\r\n"));
    EXPECT_TRUE(std::string(text).ends_with(".MONDAY...MOSTLY SUNNY. HIGHS IN THE MID 70S. \r\n \r\n"));
    EXPECT_FALSE(text.contains("$$"));
    EXPECT_FALSE(text.contains("NDZ017"));
    const std::string plain(text);
    EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), std::count(plain.begin(), plain.end(), '\r'));
    EXPECT_EQ(info.calls, FETCHED);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/iwin/nd/zone.html");
}

TEST_F(WReaderTest, warningsGatherEveryMessageForTheZone)
{
    const std::string advisory = "WWUS83 KDMX 140300\n"
                                 "NPWDMX\n"
                                 "IAZ081>086-\n"
                                 "092-141200-\n"
                                 "...DENSE FOG ADVISORY TONIGHT...\n"
                                 "$$\n";
    const std::string page = productPage({productFile("NPW_NPWDMX.txt"), advisory});
    server.page("/iwin/ia/allwarnings.html", page);
    server.page("/iwin/ia/zone.html", page);
    LString warnings;
    ASSERT_EQ(reader.getWarnings(desMoines, warnings), L_OK);
    EXPECT_TRUE(warnings.contains("Heat stroke is an emergency! Call 9 1 1.\r\n"));
    EXPECT_TRUE(warnings.contains("\r\n ...DENSE FOG ADVISORY TONIGHT...\r\n"));
    EXPECT_FALSE(warnings.contains("Worth-Cerro Gordo"));
    EXPECT_FALSE(warnings.contains("092-141200-"));
    LString first;
    ASSERT_EQ(reader.getForecast(desMoines, first), L_OK);
    EXPECT_TRUE(first.contains("Heat stroke is an emergency!"));
    EXPECT_FALSE(first.contains("DENSE FOG"));
}

// The records of the page messages join to the very text the warnings operation returns, keep their ids from scan
// to scan, and belong to the place they were scanned for.
TEST_F(WReaderTest, warningsGiveOneAlertRecordPerMessage)
{
    const std::string advisory = "WWUS83 KDMX 140300\n"
                                 "NPWDMX\n"
                                 "IAZ086-141200-\n"
                                 "...DENSE FOG ADVISORY TONIGHT...\n"
                                 "$$\n";
    server.page("/iwin/ia/allwarnings.html", productPage({productFile("NPW_NPWDMX.txt"), advisory}));
    std::vector<WAlertRecord> alerts;
    EXPECT_EQ(reader.getAlerts(readerPlace("ia", "acode(KDMX)"), alerts), L_NOTFOUND);
    LString warnings;
    ASSERT_EQ(reader.getWarnings(desMoines, warnings), L_OK);
    ASSERT_EQ(reader.getAlerts(desMoines, alerts), L_OK);
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0].event, "Heat Advisory");
    EXPECT_EQ(alerts[0].headline, "HEAT ADVISORY REMAINS IN EFFECT UNTIL 7 PM CDT TUESDAY");
    EXPECT_EQ(alerts[1].event, "Dense Fog Advisory");
    EXPECT_EQ(alerts[1].kind, WAlertKind::Warning);
    EXPECT_NE(alerts[0].id, alerts[1].id);
    EXPECT_EQ(alerts[0].id.rfind("page:", 0), 0u);
    std::string joined;
    for (const WAlertRecord &alert : alerts) {
        for (const char c : alert.text) {
            if (c == '\n')
                joined += '\r';
            joined += c;
        }
    }
    // The reader's layout begins every line after the first with a blank.
    std::string expected(warnings);
    for (std::size_t at = expected.find("\n "); at != std::string::npos; at = expected.find("\n ", at))
        expected.erase(at + 1, 1);
    EXPECT_EQ(joined, expected);

    const std::vector<WAlertRecord> first = alerts;
    ASSERT_EQ(reader.getWarnings(desMoines, warnings), L_OK);
    ASSERT_EQ(reader.getAlerts(desMoines, alerts), L_OK);
    EXPECT_EQ(alerts[1].id, first[1].id);
    ASSERT_EQ(reader.getAlerts(readerPlace("ia", "acode(KDSM) azone(IAZ060)"), alerts), L_OK);
    EXPECT_TRUE(alerts.empty());
}

TEST_F(WReaderTest, messagesFromSeveralProductsAndStates)
{
    server.page(
        "/iwin/ny/allwarnings.html", productPage({productFile("WSWOKX_10.txt"), productFile("SPS_SPSOKX.txt")}));
    LString text;
    ASSERT_EQ(reader.getWarnings(readerPlace("ny", "acode(KLGA)azone(NYZ072)"), text), L_OK);
    EXPECT_EQ(std::string(text).rfind("/O.CAN.KOKX.WS.W.0003.000000T0000Z-150202T2300Z/\r\n", 0), 0u);
    EXPECT_TRUE(text.contains("brush fire spread"));
    ASSERT_EQ(reader.getWarnings(readerPlace("ny", "acode(KISP)azone(NYZ080)"), text), L_OK);
    EXPECT_FALSE(text.contains("/O.CAN.KOKX"));
    EXPECT_TRUE(text.contains("brush fire spread"));
}

TEST_F(WReaderTest, eachOperationReadsItsOwnPage)
{
    using Operation = int (WReader::*)(const WLocation &, LString &);
    struct Case {
        Operation operation;
        const char *page;
        const char *description;
        const char *product;
    };
    const char *zoneProduct = "WWUS73 KDMX 131948\nIAZ086-140400-\nFOR THE ZONE\n$$\n";
    const char *discussion = "FXUS63 KDMX 051744\nFOR THE ZONE\n";
    const char *summary = "ABUS KDMX 051744\nFOR THE ZONE\n";
    const std::vector<Case> cases = {
        {&WReader::getWarnings, "/iwin/ia/allwarnings.html", "Getting warnings...", zoneProduct},
        {&WReader::getForecast, "/iwin/ia/zone.html", "Getting forecast...", zoneProduct},
        {&WReader::getWatches, "/iwin/ia/watches.html", "Getting watches...", zoneProduct},
        {&WReader::getStatements, "/iwin/ia/special.html", "Getting special statements...", zoneProduct},
        {&WReader::getDiscussion, "/iwin/ia/discussion.html", "Getting weather discussion...", discussion},
        {&WReader::getSummary, "/iwin/ia/summary.html", "Getting weather summary...", summary},
        {&WReader::getPublic, "/iwin/ia/public.html", "Getting public messages...", summary},
    };
    for (const auto &each : cases) {
        server.page(each.page, productPage({each.product}));
        info.calls.clear();
        LString text;
        EXPECT_EQ((reader.*each.operation)(desMoines, text), L_OK) << each.page;
        EXPECT_STREQ(text, "FOR THE ZONE\r\n") << each.page;
        EXPECT_EQ(info.calls, (Strings{each.description, "Reading data from server...", "<clear>"}));
        EXPECT_EQ(server.requests().back().target, each.page);
    }
    EXPECT_EQ(server.requests().size(), cases.size());
}

TEST_F(WReaderTest, discussionRunsToTheNextOfficesHeader)
{
    const std::string other = "FXUS63 KDVN 051800\nAFDDVN\nQUAD CITIES DISCUSSION\n$$\n";
    server.page("/iwin/ia/discussion.html", productPage({productFile("AFDDMX.txt"), other}, "<HR>"));
    LString text;
    ASSERT_EQ(reader.getDiscussion(desMoines, text), L_OK);
    EXPECT_EQ(std::string(text).rfind("AFDDMX\r\n \r\n AREA FORECAST DISCUSSION\r\n", 0), 0u);
    EXPECT_TRUE(text.contains("\r\n $$\r\n"));
    EXPECT_FALSE(text.contains("QUAD CITIES"));
    EXPECT_FALSE(text.contains("\r\r"));
}

TEST_F(WReaderTest, placeWithoutTheCodeFetchesNothing)
{
    LString text("old text");
    EXPECT_EQ(reader.getForecast(readerPlace("ia", "acode(KDMX)"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getWarnings(readerPlace("ia", "acode(KDMX)azone(IAZ086"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getWatches(readerPlace("ia", "azone()"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getDiscussion(readerPlace("ia", "azone(IAZ086)"), text), L_NOTFOUND);
    EXPECT_EQ(reader.getPublic(readerPlace("ia", ""), text), L_NOTFOUND);
    EXPECT_STREQ(text, "old text");
    EXPECT_TRUE(info.calls.empty());
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(WReaderTest, failedFetchKeepsThePreviousText)
{
    server.page("/iwin/ia/zone.html", "<HTML>Not here</HTML>\r\n", 404);
    LString text("old forecast");
    EXPECT_EQ(reader.getForecast(desMoines, text), L_CONNECT);
    EXPECT_STREQ(text, "old forecast");
    EXPECT_EQ(info.calls, REFUSED);

    // The message for the zone has arrived before the connection breaks.
    const std::string page = productPage({"IAZ086-140400-\nHALF A FORECAST\n" + std::string(4000, '.') + "\n$$\n"});
    server.truncated("/iwin/ia/zone.html", page, page.size() / 2);
    info.calls.clear();
    EXPECT_EQ(reader.getForecast(desMoines, text), L_CONNECT);
    EXPECT_STREQ(text, "old forecast");
    EXPECT_EQ(info.calls, REFUSED);
}

TEST_F(WReaderTest, pageWithNothingForThePlace)
{
    server.page("/iwin/ia/zone.html", productPage({productFile("NPW_NPWDMX.txt")}));
    LString text("old forecast");
    EXPECT_EQ(reader.getForecast(readerPlace("ia", "azone(IAZ001)"), text), L_INPUT);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(info.calls, FETCHED);
}

TEST_F(WReaderTest, awkwardBodiesLoseNothing)
{
    const std::string page = "IAZ086-140400-\r\n" + std::string(3000, 'x') + std::string("\r\nA\0B\r\nLAST", 11);
    server.page("/iwin/ia/zone.html", page);
    LString text;
    ASSERT_EQ(reader.getForecast(desMoines, text), L_OK);
    // The long line comes in pieces of 1022, kept as lines of their own.
    const std::string expected
        = std::string(1022, 'x') + " " + std::string(1022, 'x') + " " + std::string(956, 'x') + "\r\n AB\r\n LAST";
    EXPECT_EQ(std::string(text), expected);
}

TEST_F(WReaderTest, readerWithoutInfoLineCallsNothing)
{
    server.page("/iwin/ia/zone.html", productPage({"IAZ086-140400-\nQUIET\n$$\n"}));
    reader.SetInfoLine(nullptr);
    LString text;
    EXPECT_EQ(reader.getForecast(desMoines, text), L_OK);
    EXPECT_EQ(reader.getWarnings(desMoines, text), L_CONNECT);
    EXPECT_TRUE(info.calls.empty());

    WReader silent;
    silent.SetKeeper(&keeper);
    EXPECT_EQ(silent.getForecast(desMoines, text), L_OK);
    EXPECT_STREQ(text, "QUIET\r\n");
}

TEST_F(WReaderTest, copySharesInfoLineAndKeeper)
{
    server.page("/iwin/ia/zone.html", productPage({"IAZ086-140400-\nSHARED\n$$\n"}));
    WReader copy(reader);
    LString text;
    EXPECT_EQ(copy.getForecast(desMoines, text), L_OK);
    EXPECT_EQ(info.calls, FETCHED);
    WReader assigned;
    assigned = reader;
    EXPECT_EQ(assigned.getForecast(desMoines, text), L_OK);
    EXPECT_EQ(info.calls.size(), 6u);
}

TEST_F(WReaderTest, abortStopsAFetchFromAnotherThread)
{
    server.stalled("/iwin/ia/zone.html", "<PRE>\r\nIAZ086-140400-\r\nSTALLED");
    std::thread stopper([this] {
        while (server.requests().empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        reader.abortFetch();
    });
    LString text("old forecast");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reader.getForecast(desMoines, text), L_CONNECT);
    const auto waited = std::chrono::steady_clock::now() - start;
    stopper.join();
    EXPECT_LT(waited, std::chrono::seconds(10));
    EXPECT_STREQ(text, "old forecast");
    EXPECT_EQ(info.calls, REFUSED);

    server.page("/iwin/ia/watches.html", productPage({"IAZ086-140400-\nWATCH\n$$\n"}));
    EXPECT_EQ(reader.getWatches(desMoines, text), L_CONNECT);
    EXPECT_EQ(server.requests().size(), 1u) << "an aborted reader went on fetching";
    reader.allowFetch();
    EXPECT_EQ(reader.getWatches(desMoines, text), L_OK);
    EXPECT_STREQ(text, "WATCH\r\n");
}

TEST_F(WReaderTest, proxySettingsOfTheKeeper)
{
    HttpServer proxy;
    server.page("/iwin/ia/zone.html", productPage({"IAZ086-140400-\nDIRECT\n$$\n"}));
    proxy.page(server.url("/iwin/ia/zone.html"), productPage({"IAZ086-140400-\nTHROUGH THE PROXY\n$$\n"}));
    keeper.SetString("Internet", "ProxyLocation", ("127.0.0.1:" + std::to_string(proxy.port())).c_str(), false);
    LString text;

    keeper.SetInt("Internet", "UseProxy", 1, false);
    ASSERT_EQ(reader.getForecast(desMoines, text), L_OK);
    EXPECT_STREQ(text, "THROUGH THE PROXY\r\n");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0].target, server.url("/iwin/ia/zone.html"));

    keeper.SetInt("Internet", "UseProxy", 0, false);
    ASSERT_EQ(reader.getForecast(desMoines, text), L_OK);
    EXPECT_STREQ(text, "DIRECT\r\n");
    EXPECT_EQ(proxy.requests().size(), 1u);

    keeper.SetInt("Internet", "UseProxy", 1, false);
    keeper.SetString("Internet", "ProxyLocation", "", false);
    EXPECT_EQ(reader.getForecast(desMoines, text), L_CONNECT);
    EXPECT_STREQ(text, "DIRECT\r\n");
    EXPECT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(server.requests().size(), 1u);
}

} // namespace
