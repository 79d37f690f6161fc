#include "nimbdesk/worker/cupdatethread.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "settings/lwinkeeper.h"
#include "tests/support/httpserver.h"
#include "tests/support/productpages.h"
#include "tests/support/tempdir.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

using nimbreltest::productFile;
using nimbreltest::productPage;
using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

// The worker's events are delivered by the application object of the test's thread.
class QtEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[18] = "test_updatethread";
    char *m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};

[[maybe_unused]] const ::testing::Environment *const qtEnvironment
    = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Stands in for the main window: copies each result out of the worker as the window does, and notes the events
// as "started", "condition", "forecast", "message warnings", "finished"; the info line's events go to info.
class TestWindow final : public QObject
{
public:
    CUpdateThread *worker = nullptr;
    Strings results;
    Strings info;
    WCondition condition;
    std::string forecast;
    std::array<std::string, MESSAGE_KIND_COUNT> messages;
    // The forecast's periods and hours.
    std::array<WForecast, 2> outlook;

    int count(const std::string &result) const
    {
        return static_cast<int>(std::count(results.begin(), results.end(), result));
    }

protected:
    bool event(QEvent *event) override
    {
        switch (static_cast<int>(event->type())) {
        case WM_UPDATE_STARTED:
            results.emplace_back("started");
            return true;
        case WM_CONDITION_READY:
            worker->CopyCondition(condition);
            results.emplace_back("condition");
            return true;
        case WM_FORECAST_READY:
            forecast = copyForecast();
            results.emplace_back("forecast");
            return true;
        case WM_INFO_TEXT:
            info.push_back(copyInfoText());
            return true;
        case WM_INFO_CLEAR:
            info.emplace_back("<clear>");
            return true;
        case WM_MESSAGE_READY: {
            const int index = static_cast<CUpdateEvent *>(event)->index();
            messages.at(index) = copyMessage(index);
            results.push_back(std::string("message ") + messageKinds()[index].name);
            return true;
        }
        case WM_OUTLOOK_READY: {
            const int index = static_cast<CUpdateEvent *>(event)->index();
            worker->CopyOutlook(index, outlook.at(static_cast<std::size_t>(index)));
            results.emplace_back(index == 0 ? "periods" : "hours");
            return true;
        }
        case WM_UPDATE_FINISHED:
            results.emplace_back("finished");
            return true;
        case WM_PLACE_READY: {
            // "place 17/1772000", with the observation copied out.
            const LPlaceId place = static_cast<CPlaceEvent *>(event)->place();
            CWatchedResult watched;
            EXPECT_TRUE(worker->CopyWatched(place, watched));
            EXPECT_TRUE(watched.observed);
            results.push_back("place " + place.text());
            return true;
        }
        default:
            return QObject::event(event);
        }
    }

private:
    // As the window does: the length, a buffer one longer, the copy.
    std::string copyForecast()
    {
        unsigned long length = 0;
        worker->GetForecastLength(length);
        std::vector<char> buffer(length + 1, 'x');
        worker->CopyForecast(buffer.data(), length + 1);
        return buffer.data();
    }
    std::string copyMessage(int index)
    {
        unsigned long length = 0;
        EXPECT_EQ(worker->GetMessageLength(index, length), L_OK);
        std::vector<char> buffer(length + 1, 'x');
        EXPECT_EQ(worker->CopyMessage(index, buffer.data(), length + 1), L_OK);
        return buffer.data();
    }
    std::string copyInfoText()
    {
        char buffer[256];
        worker->CopyInfoText(buffer, sizeof buffer);
        return buffer;
    }
};

// A clock that moves only when the test moves it, and counts how often the worker reads it: each tick that
// counts the interval down reads it once.
class TestClock
{
public:
    void advance(std::chrono::milliseconds time) { m_now += time.count(); }
    int reads() const { return m_reads; }
    CUpdateTiming timing()
    {
        CUpdateTiming timing;
        timing.clock = [this] {
            ++m_reads;
            return std::chrono::steady_clock::time_point(std::chrono::milliseconds(m_now.load()));
        };
        timing.tick = 2ms;
        timing.handOver = 1ms;
        return timing;
    }

private:
    std::atomic<std::int64_t> m_now{0};
    std::atomic<int> m_reads{0};
};

// Delivers the worker's events until the condition holds; false if it still does not after a generous time.
bool deliverUntil(const std::function<bool()> &condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    for (;;) {
        QCoreApplication::sendPostedEvents();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
}

// Delivers events for a while, in which a worker that wrongly ran a cycle would have shown it.
void deliverFor(std::chrono::milliseconds time)
{
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::sendPostedEvents();
        std::this_thread::sleep_for(1ms);
    }
}

bool contains(const std::string &text, const char *part)
{
    return text.find(part) != std::string::npos;
}

class UpdateThreadTest : public ::testing::Test
{
protected:
    UpdateThreadTest()
    {
        nimbreltest::clearProxyEnvironment();
        LWinKeeper keeper("Nimbrel", settings.path().string());
        keeper.SetString("Internet", "ConditionsBase", server.url("/weather/current/").c_str(), false);
        keeper.SetString("Internet", "WarningsBase", server.url("/iwin/").c_str(), false);
        // The texts come from the state pages; the web service's address stays on the test server all the same.
        keeper.SetInt("Internet", "ProductSource", 0, false);
        keeper.SetString("Internet", "ApiBase", server.url("/api/").c_str(), false);
        const WLocationDB database(NIMBREL_SOURCE_DIR "/data");
        // East Williston, New York: station KJFK, forecast zone NYZ177.
        EXPECT_EQ(database.makeUSLocation(36, 3623217, eastWilliston), 0);
        // Springfield, Illinois: station KSPI, forecast zone ILZ051.
        EXPECT_EQ(database.makeUSLocation(17, 1772000, springfield), 0);
        window.worker = &worker;
    }
    ~UpdateThreadTest() override { nimbreltest::clearProxyEnvironment(); }

    // Real pages for the observation, the warnings and the statements; small ones for the other kinds.
    void serveEveryPage()
    {
        server.page("/weather/current/KJFK.html",
            nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html"));
        server.page("/iwin/ny/zone.html", productPage({"NYZ177-022100-\nTODAY...SNOW. HIGHS AROUND 30.\n$$\n"}));
        server.page("/iwin/ny/allwarnings.html", productPage({productFile("WSWOKX_10.txt")}));
        server.page("/iwin/ny/discussion.html", productPage({"FXUS61 KJFK 021000\nDISCUSSION FOR KENNEDY\n"}));
        server.page("/iwin/ny/summary.html", productPage({"ABUS KJFK 021000\nSUMMARY FOR KENNEDY\n"}));
        server.page("/iwin/ny/watches.html", productPage({"NYZ177-022100-\nWATCH FOR NASSAU\n$$\n"}));
        server.page("/iwin/ny/special.html", productPage({productFile("SPS_SPSOKX.txt")}));
        server.page("/iwin/ny/public.html", productPage({"ABUS KJFK 021000\nNOTICE FOR KENNEDY\n"}));
    }

    void enableEveryKind()
    {
        for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind)
            EXPECT_EQ(worker.SetProductFlag(kind, 1), L_OK);
    }

    // As the window's start-up does: the place, the window, the interval.
    void begin(int minutes = 15)
    {
        worker.SetLocation(eastWilliston);
        worker.SetWindow(&window);
        worker.SetInterval(minutes);
    }

    bool cyclesFinished(int cycles)
    {
        return deliverUntil([&] { return window.count("finished") == cycles; });
    }

    // Lets the worker tick a few times while the clock stands still.
    bool ticksPass()
    {
        const int reads = clock.reads();
        return deliverUntil([&] { return clock.reads() >= reads + 5; });
    }

    Strings requested(std::size_t from = 0) const
    {
        Strings targets;
        const auto requests = server.requests();
        for (std::size_t i = from; i < requests.size(); ++i)
            targets.push_back(requests[i].target);
        return targets;
    }

    nimbreltest::TempDir settings;
    nimbreltest::HttpServer server;
    TestClock clock;
    WLocation eastWilliston;
    WLocation springfield;
    // The window outlives the worker, which may post to it until it stops.
    TestWindow window;
    CUpdateThread worker{"Nimbrel", settings.path().string(), clock.timing()};
};

TEST_F(UpdateThreadTest, cycleFetchesEveryEnabledKindInItsOrder)
{
    serveEveryPage();
    enableEveryKind();
    begin();
    ASSERT_TRUE(cyclesFinished(1));
    EXPECT_EQ(window.results,
        (Strings{"started", "condition", "forecast", "message warnings", "message discussion", "message summary",
            "message watches", "message statements", "message public", "finished"}));
    EXPECT_EQ(requested(),
        (Strings{"/weather/current/KJFK.html", "/iwin/ny/zone.html", "/iwin/ny/allwarnings.html",
            "/iwin/ny/discussion.html", "/iwin/ny/summary.html", "/iwin/ny/watches.html", "/iwin/ny/special.html",
            "/iwin/ny/public.html"}));

    EXPECT_FLOAT_EQ(window.condition.getTemp(), 24.4f);
    EXPECT_FLOAT_EQ(window.condition.getPressure(), 30.01f);
    EXPECT_EQ(window.condition.getWindDirection(), 180);
    EXPECT_EQ(window.forecast, "TODAY...SNOW. HIGHS AROUND 30.\r\n");
    EXPECT_TRUE(contains(window.messages[indexOf(LMessageKind::Warnings)], "WINTER WEATHER ADVISORY IN EFFECT"));
    EXPECT_EQ(window.messages[indexOf(LMessageKind::Discussion)], "DISCUSSION FOR KENNEDY\r\n");
    EXPECT_EQ(window.messages[indexOf(LMessageKind::Summary)], "SUMMARY FOR KENNEDY\r\n");
    EXPECT_EQ(window.messages[indexOf(LMessageKind::Watches)], "WATCH FOR NASSAU\r\n");
    EXPECT_TRUE(contains(window.messages[indexOf(LMessageKind::Statements)], "brush fire spread"));
    EXPECT_EQ(window.messages[indexOf(LMessageKind::Public)], "NOTICE FOR KENNEDY\r\n");
    EXPECT_EQ(window.info.back(), "<clear>");

    // The interval has not run out on the worker's clock: no second cycle.
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(window.count("started"), 1);
}

// With the web service as the source, the forecast's periods and hours of the place's point follow the zone
// forecast, each handed over as it comes; the state pages (the other tests) ask for neither.
TEST_F(UpdateThreadTest, webServiceCycleHandsOverThePeriodsAndHours)
{
    {
        LWinKeeper keeper("Nimbrel", settings.path().string());
        keeper.SetInt("Internet", "ProductSource", 1, false);
    }
    const std::string live = NIMBREL_SOURCE_DIR "/tests/data/live/";
    std::string point = nimbreltest::TempDir::read(live + "points_39.7456_-97.0892_TOP.json");
    const std::string recorded = "https://api.weather.gov/gridpoints/TOP/32,81/forecast";
    for (std::size_t at = point.find(recorded); at != std::string::npos; at = point.find(recorded, at + 1))
        point.replace(at, recorded.size(), server.url("/api/gridpoints/TOP/32,81/forecast"));
    server.page("/weather/current/KJFK.html",
        nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html"));
    server.page("/api/points/40.7608,-73.6336", point);
    server.page("/api/gridpoints/TOP/32,81/forecast",
        nimbreltest::TempDir::read(live + "gridpoints_HFO_154,145_forecast.json"));
    server.page("/api/gridpoints/TOP/32,81/forecast/hourly",
        nimbreltest::TempDir::read(live + "gridpoints_FWD_89,104_forecast_hourly.json"));
    // The moment the recorded answers were made relative to: 2026-05-21 17:30 UTC.
    CUpdateTiming timing = clock.timing();
    timing.calendar = [] { return std::int64_t(1779384600); };
    CUpdateThread service("Nimbrel", settings.path().string(), timing);
    window.worker = &service;
    service.SetLocation(eastWilliston);
    service.SetWindow(&window);
    service.SetInterval(15);
    ASSERT_TRUE(cyclesFinished(1));
    service.Stop();
    const auto periods = std::find(window.results.begin(), window.results.end(), "periods");
    ASSERT_NE(periods, window.results.end());
    EXPECT_EQ(*(periods + 1), "hours");
    ASSERT_EQ(window.outlook[0].periods.size(), 15u);
    EXPECT_EQ(window.outlook[0].periods[0].name, "Wednesday");
    EXPECT_EQ(window.outlook[1].periods.size(), 156u);
}

TEST_F(UpdateThreadTest, onlyEnabledKindsAndNoEventForAFailedFetch)
{
    serveEveryPage();
    server.page("/weather/current/KJFK.html", "<HTML>Not here</HTML>\r\n", 404);
    server.page("/iwin/ny/watches.html", "<HTML>Not here</HTML>\r\n", 404);
    // A page without anything for the place is no result either.
    server.page("/iwin/ny/summary.html", productPage({"ABUS KBOS 021000\nSUMMARY FOR BOSTON\n"}));
    worker.SetProductFlag(indexOf(LMessageKind::Warnings), 1);
    worker.SetProductFlag(indexOf(LMessageKind::Summary), 1);
    worker.SetProductFlag(indexOf(LMessageKind::Watches), 1);
    worker.SetProductFlag(indexOf(LMessageKind::Public), 1);
    begin();
    ASSERT_TRUE(cyclesFinished(1));
    EXPECT_EQ(window.results, (Strings{"started", "forecast", "message warnings", "message public", "finished"}));
    EXPECT_EQ(requested(),
        (Strings{"/weather/current/KJFK.html", "/iwin/ny/zone.html", "/iwin/ny/allwarnings.html",
            "/iwin/ny/summary.html", "/iwin/ny/watches.html", "/iwin/ny/public.html"}));
    EXPECT_TRUE(window.messages[indexOf(LMessageKind::Summary)].empty());

    // What became of each fetch, for the window to read when the cycle has ended.
    CUpdateResults results;
    worker.CopyResults(results);
    EXPECT_EQ(results.city, 3623217u);
    EXPECT_EQ(results.condition.code, L_CONNECT);
    EXPECT_EQ(results.forecast.code, L_OK);
    EXPECT_GT(results.forecast.time, 0);
    EXPECT_EQ(results.messages[indexOf(LMessageKind::Summary)].code, L_INPUT);
    EXPECT_EQ(results.messages[indexOf(LMessageKind::Watches)].code, L_CONNECT);
    EXPECT_TRUE(results.messages[indexOf(LMessageKind::Public)].tried);
    EXPECT_FALSE(results.messages[indexOf(LMessageKind::Discussion)].tried);
}

TEST_F(UpdateThreadTest, settingsStartACycleOnTheNextTick)
{
    serveEveryPage();
    begin();
    ASSERT_TRUE(cyclesFinished(1));
    // With no special kind enabled a cycle is the observation and the forecast.
    EXPECT_EQ(window.results, (Strings{"started", "condition", "forecast", "finished"}));

    // A flag waits for the next cycle.
    worker.SetProductFlag(indexOf(LMessageKind::Warnings), 1);
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(window.count("started"), 1);

    worker.SetInterval(15);
    ASSERT_TRUE(cyclesFinished(2));
    EXPECT_EQ(window.count("message warnings"), 1);

    const std::size_t before = server.requests().size();
    worker.SetLocation(springfield);
    ASSERT_TRUE(cyclesFinished(3));
    EXPECT_EQ(
        requested(before), (Strings{"/weather/current/KSPI.html", "/iwin/il/zone.html", "/iwin/il/allwarnings.html"}));

    worker.SetWindow(&window);
    ASSERT_TRUE(cyclesFinished(4));
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(window.count("started"), 4);
}

TEST_F(UpdateThreadTest, countdownRunsOnTheWorkersClock)
{
    serveEveryPage();
    begin(2);
    ASSERT_TRUE(cyclesFinished(1));
    // The two minutes are counted over several ticks, from the end of the cycle.
    clock.advance(60s);
    ASSERT_TRUE(ticksPass());
    clock.advance(59999ms);
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(window.count("started"), 1);
    clock.advance(1ms);
    ASSERT_TRUE(cyclesFinished(2));

    clock.advance(119s);
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(window.count("started"), 2);
    clock.advance(1s);
    ASSERT_TRUE(cyclesFinished(3));
}

// The other saved places are observed one at a time over the interval: the first right after the shown place's
// cycle, the second half an interval later, and again after the next cycle; nothing else of them is asked for.
TEST_F(UpdateThreadTest, otherPlacesObservedApartOverTheInterval)
{
    serveEveryPage();
    WLocation desMoines;
    ASSERT_EQ(WLocationDB(NIMBREL_SOURCE_DIR "/data").makeUSLocation(19, 1921000, desMoines), 0);
    const std::string page = nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html");
    std::string others;
    for (const WLocation *place : {&springfield, &desMoines}) {
        LString station;
        ASSERT_EQ(place->getCityData(WLocation::STATION_KEY, station), L_OK);
        // The station's own report: the page names the station it is for.
        std::string own = page;
        for (std::size_t at = own.find("KJFK"); at != std::string::npos; at = own.find("KJFK", at))
            own.replace(at, 4, std::string(station));
        server.page("/weather/current/" + std::string(station) + ".html", own);
        others += std::string(station) + ".html ";
    }
    const auto otherRequests = [&] {
        Strings targets = requested();
        return std::count_if(targets.begin(), targets.end(), [&](const std::string &target) {
            return target.rfind("/weather/current/", 0) == 0 && others.find(target.substr(17)) != std::string::npos;
        });
    };
    worker.SetOtherPlaces({springfield, desMoines});
    begin(10);
    ASSERT_TRUE(cyclesFinished(1));
    ASSERT_TRUE(ticksPass());
    ASSERT_TRUE(deliverUntil([&] { return window.count("place 17/1772000") == 1; }));
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(otherRequests(), 1);
    EXPECT_EQ(window.count("place 19/1921000"), 0);

    clock.advance(4min + 59s);
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(otherRequests(), 1);
    clock.advance(1s);
    ASSERT_TRUE(deliverUntil([&] { return window.count("place 19/1921000") == 1; }));
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(otherRequests(), 2);

    clock.advance(5min);
    ASSERT_TRUE(cyclesFinished(2));
    ASSERT_TRUE(deliverUntil([&] { return window.count("place 17/1772000") == 2; }));
    ASSERT_TRUE(ticksPass());
    EXPECT_EQ(otherRequests(), 3);
    EXPECT_EQ(window.count("place 19/1921000"), 1);
}

TEST_F(UpdateThreadTest, idlesWithoutWindowIntervalOrPlace)
{
    serveEveryPage();
    worker.SetLocation(eastWilliston);
    worker.SetInterval(15);
    deliverFor(200ms);

    worker.SetInterval(0);
    worker.SetWindow(&window);
    deliverFor(200ms);

    WLocation withoutCity = eastWilliston;
    withoutCity.setCity(0);
    worker.SetLocation(withoutCity);
    worker.SetInterval(15);
    deliverFor(200ms);
    EXPECT_TRUE(window.results.empty());
    EXPECT_TRUE(server.requests().empty());

    worker.SetLocation(eastWilliston);
    ASSERT_TRUE(cyclesFinished(1));
}

TEST_F(UpdateThreadTest, windowCallsReturnWhileAFetchStalls)
{
    serveEveryPage();
    server.stalled("/weather/current/KJFK.html", "<HTML>\r\n<BODY>\r\n");
    enableEveryKind();
    begin();
    ASSERT_TRUE(deliverUntil([&] { return server.requests().size() == 1; }));

    // Had these waited for the fetch, the stall would have ended it with an error and the cycle would have gone on.
    worker.SetInterval(30);
    worker.SetLocation(eastWilliston);
    worker.SetProductFlag(indexOf(LMessageKind::Watches), 0);
    WCondition condition;
    worker.CopyCondition(condition);
    unsigned long length = 1;
    worker.GetForecastLength(length);
    EXPECT_EQ(length, 0u);
    char buffer[64];
    worker.CopyForecast(buffer, sizeof buffer);
    EXPECT_EQ(worker.CopyMessage(indexOf(LMessageKind::Warnings), buffer, sizeof buffer), L_OK);
    worker.CopyInfoText(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Getting current conditions...");
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(UpdateThreadTest, stopAbortsAStalledFetchAndSkipsTheRest)
{
    serveEveryPage();
    server.stalled("/iwin/ny/zone.html", "<HTML>\r\n<PRE>\r\nNYZ177-022100-\r\nSTALLED");
    enableEveryKind();
    begin();
    ASSERT_TRUE(deliverUntil([&] { return server.requests().size() == 2; }));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(worker.Stop());
    // The server holds the page for half a minute and longer.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_EQ(worker.GetState(), LThread::State::Stopped);
    EXPECT_EQ(worker.ExitCode(), 1);
    deliverFor(50ms);
    EXPECT_EQ(window.results, (Strings{"started", "condition"}));
    EXPECT_EQ(server.requests().size(), 2u);
}

// A server that sends a byte now and then costs the one kind it serves: the rest of the cycle still runs.
TEST_F(UpdateThreadTest, tricklingServerCostsOneKind)
{
    serveEveryPage();
    server.trickled("/weather/current/KJFK.html",
        nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html"), 50ms);
    CUpdateTiming timing = clock.timing();
    timing.fetchLimits = {15, 600, 100, 1};
    CUpdateThread slow("Nimbrel", settings.path().string(), timing);
    window.worker = &slow;
    slow.SetProductFlag(indexOf(LMessageKind::Warnings), 1);
    slow.SetLocation(eastWilliston);
    slow.SetWindow(&window);
    slow.SetInterval(15);
    ASSERT_TRUE(cyclesFinished(1));
    EXPECT_EQ(window.results, (Strings{"started", "forecast", "message warnings", "finished"}));
}

// Update Now does not wait for a fetch that the server holds back: the cycle under way is cut short and a new one
// runs at once, with the same events in the same order.
TEST_F(UpdateThreadTest, updateNowCutsACycleThatIsHeldBack)
{
    serveEveryPage();
    const std::string page = nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/conditions/KJFK.html");
    server.stalled("/weather/current/KJFK.html", "<HTML>\r\n<BODY>\r\n");
    CUpdateTiming timing = clock.timing();
    timing.fetchLimits = {15, 3600, 1, 3600};
    CUpdateThread held("Nimbrel", settings.path().string(), timing);
    window.worker = &held;
    held.SetLocation(eastWilliston);
    held.SetWindow(&window);
    held.SetInterval(15);
    ASSERT_TRUE(deliverUntil([&] { return server.requests().size() == 1; }));

    server.page("/weather/current/KJFK.html", page);
    held.UpdateNow();
    ASSERT_TRUE(cyclesFinished(1));
    EXPECT_EQ(window.results, (Strings{"started", "started", "condition", "forecast", "finished"}));
    EXPECT_EQ(requested(), (Strings{"/weather/current/KJFK.html", "/weather/current/KJFK.html", "/iwin/ny/zone.html"}));

    // Between cycles it is an ordinary update.
    held.UpdateNow();
    ASSERT_TRUE(cyclesFinished(2));
    EXPECT_EQ(window.count("condition"), 2);

    // Cut short in its last fetch, a cycle ends without WM_UPDATE_FINISHED: it has no results to tell.
    server.stalled("/iwin/ny/zone.html", "<HTML>\r\n<PRE>\r\nNYZ177-022100-\r\nSTALLED");
    const std::size_t before = server.requests().size();
    held.UpdateNow();
    ASSERT_TRUE(deliverUntil([&] { return requested(before).size() == 2; }));
    server.page("/iwin/ny/zone.html", productPage({"NYZ177-022100-\nTODAY...SNOW.\n$$\n"}));
    held.UpdateNow();
    ASSERT_TRUE(deliverUntil([&] { return window.count("forecast") == 3 && window.results.back() == "finished"; }));
    EXPECT_EQ(window.count("started"), 5);
    EXPECT_EQ(window.count("finished"), 3);
    CUpdateResults results;
    held.CopyResults(results);
    EXPECT_EQ(results.forecast.code, L_OK);
}

TEST_F(UpdateThreadTest, copiesAreCutAndTerminated)
{
    const std::string forecast = "TODAY...SNOW. HIGHS AROUND 30. " + std::string(300, '.');
    server.page("/iwin/ny/zone.html", productPage({"NYZ177-022100-\n" + forecast + "\n$$\n"}));
    begin();
    ASSERT_TRUE(cyclesFinished(1));
    unsigned long length = 0;
    worker.GetForecastLength(length);
    EXPECT_EQ(length, forecast.size() + 2);

    char buffer[32];
    std::memset(buffer, 'x', sizeof buffer);
    worker.CopyForecast(buffer, 14);
    EXPECT_STREQ(buffer, "TODAY...SNOW.");
    EXPECT_EQ(buffer[14], 'x');
    worker.CopyForecast(buffer, 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[1], 'O');
    buffer[0] = 'y';
    worker.CopyForecast(buffer, 0);
    worker.CopyForecast(nullptr, 10);
    EXPECT_EQ(buffer[0], 'y');

    length = 7;
    EXPECT_EQ(worker.GetMessageLength(MESSAGE_KIND_COUNT, length), L_RANGE);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(worker.CopyMessage(-1, buffer, sizeof buffer), L_RANGE);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(worker.SetProductFlag(MESSAGE_KIND_COUNT, 1), L_RANGE);

    // The status line takes at most 255 characters of a longer text; the clear that follows is handled after it.
    window.info.clear();
    worker.SetText(LString((std::string(255, 'a') + "bcd").c_str()));
    worker.Clear();
    char line[256];
    std::memset(line, 'x', sizeof line);
    worker.CopyInfoText(line, sizeof line);
    EXPECT_EQ(std::string(line), std::string(255, 'a'));
    worker.CopyInfoText(buffer, 4);
    EXPECT_STREQ(buffer, "aaa");
    ASSERT_TRUE(deliverUntil([&] { return window.info.size() == 2; }));
    EXPECT_EQ(window.info, (Strings{std::string(255, 'a'), "<clear>"}));
}

} // namespace
