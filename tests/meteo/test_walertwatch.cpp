// The alert watch against a loopback server, with a clock and a random source of the test's own.
#include "meteo/reader/walertwatch.h"

#include "corekit/lex.h"
#include "meteo/location/wlocation.h"
#include "meteo/reader/wreader.h"
#include "tests/support/alertanswers.h"
#include "tests/support/httpserver.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/readerplace.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::AnswerAlert;
using nimbreltest::HttpServer;
using Strings = std::vector<std::string>;

const WLocation phoenix = nimbreltest::readerPlace("az", "acode(KPHX)azone(AZZ540)alat(33.25)alon(-112.30)");
const std::string ALERTS = "/api/alerts/active?point=33.25,-112.3";
// 2026-09-02T07:45:00Z.
constexpr std::int64_t START = 1788335100;
constexpr std::int64_t HOUR = 3600;
// The warning that the recorded cancellation and update of 2 September 2026 reference.
const std::string OLD_SVR = "urn:oid:2.49.0.1.840.0.08c14df6cccd6f5f0611d2a53a712ac6e8ae7215.001.1";
const std::string NEW_SVR = "urn:oid:2.49.0.1.840.0.d0de060466dc387307cc0a44dbed836b1d20c5e5.002.1";

class WAlertWatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        keeper.SetString("Internet", "ApiBase", server.url("/api/").c_str(), false);
    }

    void serve(const std::vector<AnswerAlert> &alerts, const HttpServer::Headers &headers = {})
    {
        server.page(ALERTS, nimbreltest::alertAnswer(alerts), 200, headers);
    }
    AnswerAlert alert(const std::string &id, std::int64_t expires = START + HOUR) const
    {
        return {id, "Tornado Warning", START, expires};
    }
    std::size_t asked() const { return server.requests().size(); }
    // "new A", "update B<A", "end C", one per change.
    Strings changes() const
    {
        Strings all;
        for (const WAlertChange &change : watch.changes()) {
            if (change.kind == WAlertChange::Kind::New)
                all.push_back("new " + change.alert.id);
            else if (change.kind == WAlertChange::Kind::Update)
                all.push_back("update " + change.alert.id + "<" + change.replaced);
            else
                all.push_back("end " + change.alert.id);
        }
        return all;
    }
    Strings inForce() const
    {
        Strings ids;
        for (const WAlertRecord &record : watch.inForce())
            ids.push_back(record.id);
        return ids;
    }
    WAlertWatch::Outcome checkAfter(std::int64_t seconds)
    {
        now += seconds;
        return watch.check(reader, phoenix);
    }

    HttpServer server;
    nimbreltest::MemoryKeeper keeper;
    std::int64_t now = START;
    std::vector<double> draws{0.5};
    std::size_t drawn = 0;
    WReader reader{nullptr, [this] { return now; }};
    WAlertWatch watch{[this] { return now; }, [this] { return draws[drawn++ % draws.size()]; }};
};

TEST_F(WAlertWatchTest, alertMissingFromOneAnswerStaysAndFromTwoEnds)
{
    serve({alert("A"), alert("B")});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Changed);
    EXPECT_EQ(changes(), (Strings{"new A", "new B"}));
    EXPECT_EQ(watch.nextCheck(), START + WAlertWatch::DEFAULT_INTERVAL);
    EXPECT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Waiting);
    EXPECT_EQ(asked(), 1u);

    // The listing flickers: B is gone from one answer, then back, which is no news.
    serve({alert("A")});
    EXPECT_EQ(checkAfter(60), WAlertWatch::Outcome::Unchanged);
    EXPECT_EQ(inForce(), (Strings{"A", "B"}));
    serve({alert("A"), alert("B")});
    EXPECT_EQ(checkAfter(60), WAlertWatch::Outcome::Unchanged);
    EXPECT_TRUE(changes().empty());

    serve({alert("A")});
    EXPECT_EQ(checkAfter(60), WAlertWatch::Outcome::Unchanged);
    EXPECT_EQ(checkAfter(60), WAlertWatch::Outcome::Changed);
    EXPECT_EQ(changes(), Strings{"end B"});
    EXPECT_EQ(inForce(), Strings{"A"});
    EXPECT_EQ(asked(), 5u);
}

TEST_F(WAlertWatchTest, alertExpiresByItself)
{
    serve({alert("A", START + 90), alert("B", START + HOUR)});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Changed);
    EXPECT_EQ(watch.nextExpiry(), START + 90);
    now += 89;
    EXPECT_FALSE(watch.expire());
    now += 1;
    EXPECT_TRUE(watch.expire());
    EXPECT_EQ(changes(), Strings{"end A"});
    EXPECT_EQ(inForce(), Strings{"B"});
    EXPECT_EQ(watch.nextExpiry(), START + HOUR);
    EXPECT_FALSE(watch.expire());
    EXPECT_EQ(asked(), 1u) << "expiry asks nothing";
}

// The recorded answer holds the update of a warning and its cancellation, both referencing the warning.
TEST_F(WAlertWatchTest, updateReferencingAnAlertReplacesIt)
{
    serve({{OLD_SVR, "Severe Thunderstorm Warning", START - 600, START + 1800}, alert("A")});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Changed);
    server.page(ALERTS,
        nimbreltest::TempDir::read(
            NIMBREL_SOURCE_DIR "/tests/data/live/alerts_limit5_SPS_test_SVR_cancel_update_2026-09-02.json"));
    ASSERT_EQ(checkAfter(300), WAlertWatch::Outcome::Changed);
    const Strings seen = changes();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], "update " + NEW_SVR + "<" + OLD_SVR);
    const Strings ids = inForce();
    EXPECT_EQ(ids.size(), 4u) << "A missed once, the update and two statements";
    EXPECT_EQ(std::count(ids.begin(), ids.end(), OLD_SVR), 0);

    // A new issue of the same alert is an update as well.
    serve({{NEW_SVR, "Severe Thunderstorm Warning", START + 360, START + 1800}});
    ASSERT_EQ(checkAfter(60), WAlertWatch::Outcome::Changed);
    EXPECT_EQ(changes().front(), "update " + NEW_SVR + "<" + NEW_SVR);
}

TEST_F(WAlertWatchTest, cancellationEndsTheAlertAtOnce)
{
    serve({alert("A"), alert("B")});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Changed);
    serve({alert("A"), {"C", "Tornado Warning", START + 60, START + HOUR, {"B"}, "Cancel"}});
    ASSERT_EQ(checkAfter(60), WAlertWatch::Outcome::Changed);
    EXPECT_EQ(changes(), Strings{"end B"});
    EXPECT_EQ(inForce(), Strings{"A"});
}

// 30 s, 1, 2, 4 minutes... up to the interval; the draws 0.5, 0 and nearly 1 give the middle and both ends of the
// jitter.
TEST_F(WAlertWatchTest, backOffGrowsAndIsCappedAtTheIntervalWithJitter)
{
    server.page(ALERTS, "", 503);
    watch.setInterval(600);
    draws = {0.5, 0.0, 0.999999};
    const std::vector<double> expected = {30, 60 * 0.8, 120 * 1.2, 240, 480 * 0.8, 600 * 1.2, 600};
    for (const double wait : expected) {
        ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Failed);
        EXPECT_NEAR(static_cast<double>(watch.nextCheck() - now), wait, 1.0) << watch.failures();
        now = watch.nextCheck() - 1;
        EXPECT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Waiting);
        now += 1;
    }
    EXPECT_EQ(watch.failure().httpStatus, 503);
    EXPECT_EQ(asked(), expected.size());

    serve({});
    EXPECT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Unchanged);
    EXPECT_EQ(watch.failures(), 0);
    EXPECT_EQ(watch.nextCheck(), now + 600);
}

TEST_F(WAlertWatchTest, retryAfterHoldsTheNextCheckForAtMostAnHour)
{
    server.page(ALERTS, "", 429, {{"Retry-After", "600"}});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Failed);
    EXPECT_EQ(watch.retryAfterUntil(), START + 600);
    EXPECT_EQ(watch.nextCheck(), START + 600);
    watch.checkNow();
    EXPECT_EQ(watch.nextCheck(), START + 600) << "update now waits as the server asked";

    now = START + 600;
    server.page(ALERTS, "", 503, {{"Retry-After", "86400"}});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Failed);
    EXPECT_EQ(watch.nextCheck(), now + HOUR);

    // 2026-09-02T09:05:00Z as an HTTP date, 10 minutes after the time.
    now = START + 4800 - 600;
    server.page(ALERTS, "", 503, {{"Retry-After", "Wed, 02 Sep 2026 09:05:00 GMT"}});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Failed);
    EXPECT_EQ(watch.retryAfterUntil(), now + 600);
}

// The service says its alerts answer stays fresh for five minutes; the watch checks every minute all the same,
// and "update now" asks at once.
TEST_F(WAlertWatchTest, freshnessIsCappedAtTheIntervalAndUpdateNowAsks)
{
    serve({alert("A")}, {{"Cache-Control", "public, max-age=300, s-maxage=300"}});
    ASSERT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Changed);
    EXPECT_EQ(checkAfter(60), WAlertWatch::Outcome::Unchanged);
    EXPECT_EQ(asked(), 2u);
    now += 10;
    watch.checkNow();
    EXPECT_EQ(watch.check(reader, phoenix), WAlertWatch::Outcome::Unchanged);
    EXPECT_EQ(asked(), 3u);
}

} // namespace
