#include "meteo/reader/wwebpage_p.h"

#include "corekit/lex.h"
#include "tests/support/httpserver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::HttpServer;

class WWebPageTest : public ::testing::Test
{
protected:
    void SetUp() override { nimbreltest::clearProxyEnvironment(); }
    void TearDown() override { nimbreltest::clearProxyEnvironment(); }

    HttpServer server;
};

// Every piece readLine hands out, until it stops returning L_OK.
std::vector<std::string> readAll(WWebPage &page)
{
    std::vector<std::string> pieces;
    LString line;
    while (page.readLine(line) == L_OK)
        pieces.emplace_back(line);
    return pieces;
}

std::vector<std::string> fetch(const HttpServer &server, const std::string &target)
{
    WWebPage page(false, "");
    EXPECT_EQ(page.open(server.url(target).c_str()), L_OK) << page.error();
    return readAll(page);
}

std::size_t requestsFor(const HttpServer &server, const std::string &target)
{
    std::size_t count = 0;
    for (const auto &request : server.requests())
        count += request.target == target ? 1 : 0;
    return count;
}

TEST_F(WWebPageTest, okPageComesLineByLine)
{
    server.page("/p", "first\r\nsecond\r\r\n\r\nlast without line feed");
    WWebPage page(false, "");
    ASSERT_EQ(page.open(server.url("/p").c_str()), L_OK);
    EXPECT_STREQ(page.error(), "");
    EXPECT_EQ(readAll(page), (std::vector<std::string>{"first\n", "second\n", "\n", "last without line feed"}));
    LString line("untouched");
    EXPECT_EQ(page.readLine(line), L_INPUT);
    EXPECT_STREQ(line, "untouched");
    page.close();
    EXPECT_EQ(page.readLine(line), L_ERROR);
    EXPECT_STREQ(line, "untouched");
}

TEST_F(WWebPageTest, requestBypassesCachesAndNamesTheProgram)
{
    server.page("/p", "x\n");
    fetch(server, "/p");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/p");
    EXPECT_EQ(requests[0].header("cache-control"), "no-cache");
    EXPECT_EQ(requests[0].header("pragma"), "no-cache");
    EXPECT_EQ(requests[0].header("user-agent"), "Nimbrel/" NIMBREL_VERSION);
}

// Only an e-mail address joins the program's name; anything that could end the header or the comment is left
// out.
TEST(WWebPageContact, userAgentNamesAnEmailAddressOnly)
{
    EXPECT_EQ(userAgent("ops@example.org"), "Nimbrel/" NIMBREL_VERSION " (ops@example.org)");
    EXPECT_EQ(userAgent("first.o'neil+wx@mail.example.co.uk"),
        "Nimbrel/" NIMBREL_VERSION " (first.o'neil+wx@mail.example.co.uk)");
    for (const char *bad : {"", "ops", "@example.org", "ops@", "ops@localhost", "ops@example.org\r\nX-Evil: 1",
             "ops@example.org) (evil", "two words@example.org", "ops@.example.org", "ops@example.org.",
             "https://example.org/", "ops@exa mple.org", "ops\t@example.org"})
        EXPECT_EQ(userAgent(bad), "Nimbrel/" NIMBREL_VERSION) << bad;
    EXPECT_EQ(userAgent(std::string(250, 'a') + "@example.org"), "Nimbrel/" NIMBREL_VERSION);
}

TEST_F(WWebPageTest, onlyStatus200Opens)
{
    server.page("/target", "the page\n");
    server.redirect("/moved", 301, server.url("/target"));
    server.redirect("/found", 302, "/target");
    server.page("/missing", "<HTML>Not here</HTML>\n", 404);
    server.page("/broken", "<HTML>Oops</HTML>\n", 500);
    for (const auto &[target, reason] : std::vector<std::pair<std::string, std::string>>{{"/moved", "HTTP status 301"},
             {"/found", "HTTP status 302"}, {"/missing", "HTTP status 404"}, {"/broken", "HTTP status 500"}}) {
        WWebPage page(false, "");
        EXPECT_EQ(page.open(server.url(target).c_str()), L_CONNECT) << target;
        EXPECT_EQ(page.error(), reason);
        LString line("untouched");
        EXPECT_EQ(page.readLine(line), L_ERROR) << target;
        EXPECT_STREQ(line, "untouched");
    }
    EXPECT_EQ(requestsFor(server, "/target"), 0u) << "a redirect was followed";
}

TEST_F(WWebPageTest, unreachableAndUnusableAddressesFail)
{
    int closedPort = 0;
    {
        const HttpServer gone;
        closedPort = gone.port();
    }
    const std::string closed = "http://127.0.0.1:" + std::to_string(closedPort) + "/p";
    for (const std::string &address : {closed, std::string(), std::string("no address at all"),
             std::string("file:///etc/hostname"), std::string("ftp://127.0.0.1/p")}) {
        WWebPage page(false, "");
        EXPECT_EQ(page.open(address.c_str()), L_CONNECT) << address;
        EXPECT_STRNE(page.error(), "") << address;
    }
}

TEST_F(WWebPageTest, longLinesComeInPiecesOf1022)
{
    const std::string line3000(3000, 'x');
    server.page("/long", line3000 + "\r\n" + std::string(1021, 'a') + "\n" + std::string(1022, 'b') + "\r\nend");
    const auto pieces = fetch(server, "/long");
    ASSERT_EQ(pieces.size(), 7u);
    EXPECT_EQ(pieces[0], std::string(1022, 'x'));
    EXPECT_EQ(pieces[1], std::string(1022, 'x'));
    EXPECT_EQ(pieces[2], std::string(956, 'x') + "\n");
    EXPECT_EQ(pieces[3], std::string(1021, 'a') + "\n");
    EXPECT_EQ(pieces[4], std::string(1022, 'b'));
    EXPECT_EQ(pieces[5], "\n");
    EXPECT_EQ(pieces[6], "end");
}

TEST_F(WWebPageTest, controlCharactersButTabAndLineFeedAreDropped)
{
    server.page("/nul", std::string("a\0b\r\n\0\0\r\r\nc\0", 13));
    EXPECT_EQ(fetch(server, "/nul"), (std::vector<std::string>{"ab\n", "\n", "c"}));
    server.page("/controls", "TORNADO\x01\x1b[0m\x7f WARNING\tNOW\n");
    EXPECT_EQ(fetch(server, "/controls"), (std::vector<std::string>{"TORNADO[0m WARNING\tNOW\n"}));
    server.page("/returns", "\r\r\r");
    EXPECT_TRUE(fetch(server, "/returns").empty());
    server.page("/empty", "");
    EXPECT_TRUE(fetch(server, "/empty").empty());
}

TEST_F(WWebPageTest, connectionClosedMidBodyFails)
{
    server.truncated("/cut", std::string(5000, 'x') + "\n", 1200);
    WWebPage page(false, "");
    EXPECT_EQ(page.open(server.url("/cut").c_str()), L_CONNECT);
    EXPECT_STRNE(page.error(), "");
    LString line;
    EXPECT_EQ(page.readLine(line), L_ERROR);
}

TEST_F(WWebPageTest, pagesOverSixteenMegabytesAreRefused)
{
    std::string body(WWebPage::MAX_PAGE_SIZE, 'x');
    server.page("/full", body);
    server.chunked("/full-chunked", body);
    body += 'x';
    server.page("/over", body);
    server.chunked("/over-chunked", body);
    for (const std::string target : {"/full", "/full-chunked"}) {
        WWebPage page(false, "");
        EXPECT_EQ(page.open(server.url(target).c_str()), L_OK) << target << ": " << page.error();
    }
    for (const std::string target : {"/over", "/over-chunked"}) {
        WWebPage page(false, "");
        EXPECT_EQ(page.open(server.url(target).c_str()), L_CONNECT) << target;
        EXPECT_STREQ(page.error(), "the page is larger than 16777216 bytes");
    }
    WWebPage smaller(false, "");
    smaller.setMaxSize(1000);
    server.page("/thousand", std::string(1000, 'x'));
    EXPECT_EQ(smaller.open(server.url("/thousand").c_str()), L_OK);
    EXPECT_EQ(smaller.open(server.url("/full").c_str()), L_CONNECT);
    EXPECT_STREQ(smaller.error(), "the page is larger than 1000 bytes");
}

// A server that answers at once and then sends a byte now and then is given up: once the transfer has run too
// slowly for a while, and in any case once the whole time is up.
TEST_F(WWebPageTest, trickleIsCutByTheSlowAndTheWholeLimit)
{
    server.trickled("/slow", std::string(6400, 'x'), std::chrono::milliseconds(50));
    server.trickled("/long", std::string(64000, 'x'), std::chrono::milliseconds(2));
    const std::vector<std::pair<std::string, WFetchLimits>> cases = {
        {"/slow", {15, 600, 100, 1}},
        {"/long", {15, 1, 1, 600}},
    };
    for (const auto &[target, limits] : cases) {
        WWebPage page(false, "");
        page.setLimits(limits);
        EXPECT_EQ(page.open(server.url(target).c_str()), L_CONNECT) << target;
        EXPECT_STRNE(page.error(), "") << target;
    }
}

TEST_F(WWebPageTest, abortStopsAStalledTransfer)
{
    server.stalled("/stall", "first line\nsecond li");
    std::atomic<bool> abort(false);
    std::thread stopper([&] {
        while (server.requests().empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        abort = true;
    });
    WWebPage page(false, "", &abort);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(page.open(server.url("/stall").c_str()), L_CONNECT);
    const auto waited = std::chrono::steady_clock::now() - start;
    stopper.join();
    // The stall time-out is 20 s: only the abort ends the transfer this early.
    EXPECT_LT(waited, std::chrono::seconds(10));
    LString line;
    EXPECT_EQ(page.readLine(line), L_ERROR);

    WWebPage another(false, "", &abort);
    EXPECT_EQ(another.open(server.url("/stall").c_str()), L_CONNECT);
    EXPECT_EQ(server.requests().size(), 1u) << "an aborted reader still went to the server";
}

TEST_F(WWebPageTest, namedProxyGetsTheAbsoluteFormRequest)
{
    HttpServer proxy;
    const std::string proxyName = "127.0.0.1:" + std::to_string(proxy.port());
    server.page("/p", "direct\n");
    proxy.page(server.url("/p"), "through the proxy\n");

    WWebPage viaProxy(true, proxyName.c_str());
    ASSERT_EQ(viaProxy.open(server.url("/p").c_str()), L_OK) << viaProxy.error();
    EXPECT_EQ(readAll(viaProxy), std::vector<std::string>{"through the proxy\n"});
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(proxy.requests()[0].target, server.url("/p"));
    EXPECT_TRUE(server.requests().empty());

    WWebPage direct(false, proxyName.c_str());
    ASSERT_EQ(direct.open(server.url("/p").c_str()), L_OK);
    EXPECT_EQ(readAll(direct), std::vector<std::string>{"direct\n"});
    EXPECT_EQ(proxy.requests().size(), 1u);

    WWebPage unnamed(true, "");
    EXPECT_EQ(unnamed.open(server.url("/p").c_str()), L_CONNECT);
    EXPECT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(WWebPageTest, environmentProxyServesOnlyWithoutNamedProxy)
{
    HttpServer environmentProxy;
    HttpServer namedProxy;
    server.page("/p", "direct\n");
    environmentProxy.page(server.url("/p"), "environment proxy\n");
    namedProxy.page(server.url("/p"), "named proxy\n");
    setenv("http_proxy", environmentProxy.address().c_str(), 1);
    EXPECT_EQ(fetch(server, "/p"), std::vector<std::string>{"environment proxy\n"});

    // The named proxy has no bypass list: no_proxy does not send the request past it.
    setenv("no_proxy", "127.0.0.1", 1);
    const std::string named = "127.0.0.1:" + std::to_string(namedProxy.port());
    WWebPage page(true, named.c_str());
    ASSERT_EQ(page.open(server.url("/p").c_str()), L_OK) << page.error();
    EXPECT_EQ(readAll(page), std::vector<std::string>{"named proxy\n"});
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(environmentProxy.requests().size(), 1u);
}

} // namespace
