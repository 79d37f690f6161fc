// The reader's conditional requests to the web service: validators and answers kept per address, 304, max-age.
#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/location/wlocation.h"
#include "tests/support/alertanswers.h"
#include "tests/support/httpserver.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/readerplace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::alertAnswer;
using nimbreltest::HttpServer;

const WLocation phoenix = nimbreltest::readerPlace("az", "acode(KPHX)azone(AZZ540)alat(33.25)alon(-112.30)");
const WLocation linn = nimbreltest::readerPlace("ks", "acode(KMHK)azone(KSZ009)alat(39.7456)alon(-97.0892)");
const std::string PHOENIX_ALERTS = "/api/alerts/active?point=33.25,-112.3";
const std::string LINN_ALERTS = "/api/alerts/active?point=39.7456,-97.0892";
// 2026-09-02T07:45:00Z.
constexpr std::int64_t START = 1788335100;

class WReaderConditionalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetString("Internet", "ApiBase", server.url("/api/").c_str(), false);
    }

    std::string alertsOf(const std::string &id, const std::string &event) const
    {
        return alertAnswer({{id, event, START, START + 3600}});
    }
    std::string firstAlert(const WLocation &place)
    {
        std::vector<WAlertRecord> alerts;
        reader.beginUpdate();
        EXPECT_EQ(reader.getAlerts(place, alerts), L_OK);
        return alerts.empty() ? std::string() : alerts.front().id;
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
    std::int64_t now = START;
    WReader reader{nullptr, [this] { return now; }};
};

TEST_F(WReaderConditionalTest, notModifiedKeepsTheAlertsAndTheTexts)
{
    server.revalidated(PHOENIX_ALERTS, alertsOf("A", "Tornado Warning"), "\"p1\"");
    LString warnings;
    reader.beginUpdate();
    ASSERT_EQ(reader.getWarnings(phoenix, warnings), L_OK);
    EXPECT_FALSE(reader.alertsUnchanged());

    reader.beginUpdate();
    LString again("old");
    std::vector<WAlertRecord> alerts;
    ASSERT_EQ(reader.getWarnings(phoenix, again), L_OK);
    ASSERT_EQ(reader.getAlerts(phoenix, alerts), L_OK);
    EXPECT_TRUE(reader.alertsUnchanged());
    EXPECT_STREQ(again, warnings);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].event, "Tornado Warning");
    const auto asked = requestsFor(PHOENIX_ALERTS);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].header("if-none-match"), "");
    EXPECT_EQ(asked[1].header("if-none-match"), "\"p1\"");
}

// The service may give two addresses the same ETag; each address's request carries its own, and a 304 hands out
// the alerts of its own address.
TEST_F(WReaderConditionalTest, validatorsAndAnswersAreKeptPerAddress)
{
    server.revalidated(PHOENIX_ALERTS, alertsOf("P", "Excessive Heat Warning"), "\"v1\"",
        {{"Last-Modified", "Wed, 02 Sep 2026 07:40:00 GMT"}});
    server.revalidated(LINN_ALERTS, alertsOf("L", "Tornado Warning"), "\"v1\"");
    EXPECT_EQ(firstAlert(phoenix), "P");
    EXPECT_EQ(firstAlert(linn), "L");
    EXPECT_EQ(firstAlert(phoenix), "P");
    EXPECT_TRUE(reader.alertsUnchanged());
    EXPECT_EQ(firstAlert(linn), "L");
    EXPECT_TRUE(reader.alertsUnchanged());

    EXPECT_EQ(requestsFor(LINN_ALERTS)[0].header("if-none-match"), "");
    EXPECT_EQ(requestsFor(LINN_ALERTS)[0].header("if-modified-since"), "");
    EXPECT_EQ(requestsFor(PHOENIX_ALERTS)[1].header("if-modified-since"), "Wed, 02 Sep 2026 07:40:00 GMT");
}

// A failed answer replaces nothing: the next request is conditional on the last good one.
TEST_F(WReaderConditionalTest, failedAnswerIsNotKept)
{
    server.revalidated(PHOENIX_ALERTS, alertsOf("A", "Tornado Warning"), "\"p1\"");
    EXPECT_EQ(firstAlert(phoenix), "A");
    server.page(PHOENIX_ALERTS, "<html>busy</html>", 200, {{"ETag", "\"broken\""}});
    std::vector<WAlertRecord> alerts;
    reader.beginUpdate();
    EXPECT_EQ(reader.getAlerts(phoenix, alerts), L_FORMAT);
    server.revalidated(PHOENIX_ALERTS, alertsOf("A", "Tornado Warning"), "\"p1\"");
    EXPECT_EQ(firstAlert(phoenix), "A");
    EXPECT_EQ(requestsFor(PHOENIX_ALERTS).back().header("if-none-match"), "\"p1\"");
}

TEST_F(WReaderConditionalTest, maxAgeDelaysTheNextRequestAndAForcedUpdateAsks)
{
    server.page(PHOENIX_ALERTS, alertsOf("A", "Tornado Warning"), 200, {{"Cache-Control", "public, max-age=300"}});
    EXPECT_EQ(firstAlert(phoenix), "A");
    now += 299;
    EXPECT_EQ(firstAlert(phoenix), "A");
    EXPECT_TRUE(reader.alertsUnchanged());
    EXPECT_EQ(requestsFor(PHOENIX_ALERTS).size(), 1u);

    std::vector<WAlertRecord> alerts;
    reader.beginUpdate(true);
    EXPECT_EQ(reader.getAlerts(phoenix, alerts), L_OK);
    EXPECT_EQ(requestsFor(PHOENIX_ALERTS).size(), 2u);

    now += 300;
    EXPECT_EQ(firstAlert(phoenix), "A");
    EXPECT_EQ(requestsFor(PHOENIX_ALERTS).size(), 3u);
    EXPECT_FALSE(reader.alertsUnchanged());

    reader.setAlertsMaxAge(60);
    now += 60;
    EXPECT_EQ(firstAlert(phoenix), "A");
    EXPECT_EQ(requestsFor(PHOENIX_ALERTS).size(), 4u);
}

} // namespace
