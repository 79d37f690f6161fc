// Why a fetch from the web service failed, as the reader tells it, against a loopback server.
#include "meteo/reader/wreader.h"

#include "corekit/lex.h"
#include "meteo/base/wlocation.h"
#include "tests/support/httpserver.h"
#include "tests/support/memorykeeper.h"
#include "tests/support/productpages.h"
#include "tests/support/readerplace.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::HttpServer;
using nimbreltest::MemoryKeeper;

// The forecast of a place without coordinates starts with the office of its zone.
const WLocation williston = nimbreltest::readerPlace("xx", "acode(KISN)azone(NDZ009)");
const std::string ZONE = "/api/zones/forecast/NDZ009";

class WReaderFailureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        nimbreltest::clearProxyEnvironment();
        reader.SetKeeper(&keeper);
        useBase(server.url("/api/"));
    }
    void TearDown() override { nimbreltest::clearProxyEnvironment(); }

    void useBase(const std::string &base) { keeper.SetString("Internet", "ApiBase", base.c_str(), false); }
    // A failed lookup stands for the cycle: each fetch here comes an hour after the last.
    int fetchForecast()
    {
        now += 3600;
        LString text;
        return reader.getForecast(williston, text);
    }

    HttpServer server;
    MemoryKeeper keeper;
    std::int64_t now = 1'800'000'000;
    WReader reader{nullptr, [this] { return now; }};
};

TEST_F(WReaderFailureTest, refusedConnectionIsNoAnswer)
{
    int closedPort = 0;
    {
        const HttpServer gone;
        closedPort = gone.port();
    }
    useBase("http://127.0.0.1:" + std::to_string(closedPort) + "/api/");
    EXPECT_EQ(fetchForecast(), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::Connect);
    EXPECT_EQ(reader.lastFailure().httpStatus, 0);
    EXPECT_NE(reader.lastFailure().text.find("connect"), std::string::npos) << reader.lastFailure().text;
}

TEST_F(WReaderFailureTest, statusesWithAndWithoutTheServersTitle)
{
    EXPECT_EQ(fetchForecast(), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::NotFound);
    EXPECT_EQ(reader.lastFailure().httpStatus, 404);
    EXPECT_EQ(reader.lastFailure().text, "");

    // How the service reports a problem (application/problem+json).
    server.page(ZONE,
        R"({"correlationId": "1b2c", "title": "Unexpected Problem", "type": "https://api.weather.gov/problems/)"
        R"(UnexpectedProblem", "status": 500, "detail": "An unexpected problem has occurred."})",
        500);
    EXPECT_EQ(fetchForecast(), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::Status);
    EXPECT_EQ(reader.lastFailure().httpStatus, 500);
    EXPECT_EQ(reader.lastFailure().text, "Unexpected Problem");

    server.page(ZONE, "<html><body>Bad gateway</body></html>", 502);
    EXPECT_EQ(fetchForecast(), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().httpStatus, 502);
    EXPECT_EQ(reader.lastFailure().text, "");
}

TEST_F(WReaderFailureTest, stalledAnswerTimesOut)
{
    server.stalled(ZONE, "{\"properties\": ");
    reader.setFetchLimits({5, 1, 100, 20});
    EXPECT_EQ(fetchForecast(), L_CONNECT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::TimedOut);
}

TEST_F(WReaderFailureTest, answerThatIsNoJsonAndThenSuccess)
{
    server.page(ZONE, "<html>Service Unavailable</html>");
    EXPECT_EQ(fetchForecast(), L_FORMAT);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::BadAnswer);

    // A forecast that is fetched leaves no failure behind.
    server.page(ZONE, R"({"type": "Feature", "properties": {"id": "NDZ009", "cwa": ["BIS"]}})");
    server.page(
        "/api/products?type=ZFP&location=BIS&limit=5", R"({"@graph": [{"id": "b15-zfp-1401", "productCode": "ZFP"}]})");
    server.page("/api/products/b15-zfp-1401",
        nlohmann::json{{"id", "b15-zfp-1401"}, {"productText", nimbreltest::productFile("ZFP.txt")}}.dump());
    EXPECT_EQ(fetchForecast(), L_OK);
    EXPECT_EQ(reader.lastFailure().kind, WFailure::Kind::None);
}

} // namespace
