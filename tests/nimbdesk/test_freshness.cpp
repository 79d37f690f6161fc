#include "nimbdesk/freshness/cfreshness.h"

#include "corekit/lex.h"
#include "tests/support/centraltime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

using Strings = std::vector<std::string>;

constexpr std::int64_t MINUTE = 60;
constexpr std::int64_t HOUR = 3600;
// Monday 7 December 2026, 1:50 PM CST.
constexpr std::int64_t T0 = 1796673000;

constexpr std::uint32_t NEW_YORK = 36;
constexpr std::uint32_t EAST_WILLISTON = 3623217;

// A fetch with its code; an L_CONNECT for want of a connection.
CUpdateResults::Fetch fetched(int code, std::int64_t time)
{
    return {
        true, code, time, code == L_CONNECT ? WFailure{WFailure::Kind::Connect, 0, "Connection refused"} : WFailure()};
}

// The results of a cycle at East Williston that fetched the observation, the forecast and the warnings at `time`,
// each with its code.
CUpdateResults cycle(std::int64_t time, int condition, int forecast, int warnings)
{
    CUpdateResults results;
    results.state = NEW_YORK;
    results.city = EAST_WILLISTON;
    results.condition = fetched(condition, time);
    results.forecast = fetched(forecast, time);
    results.messages[indexOf(LMessageKind::Warnings)] = fetched(warnings, time);
    return results;
}

// A cycle as the window sees it: the texts of the fetches that succeeded arrive, then the results.
void run(CFreshness &freshness, const CUpdateResults &results, std::int64_t now)
{
    if (results.forecast.code == L_OK)
        freshness.TextArrived(CFreshness::FORECAST, ".TODAY...SNOW.");
    if (results.messages[indexOf(LMessageKind::Warnings)].code == L_OK)
        freshness.TextArrived(indexOf(LMessageKind::Warnings), "WINTER WEATHER ADVISORY");
    freshness.CycleFinished(results, now);
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(CFreshness, failedFetchesKeepTheLastTextsWithTheirTimeUntilTheNextGoodCycle)
{
    CFreshness freshness;
    run(freshness, cycle(T0, L_OK, L_OK, L_OK), T0);
    EXPECT_FALSE(freshness.LastCycleFailed());
    EXPECT_EQ(freshness.StatusLine(), "Last updated: 12/07/26 13:50:00");
    EXPECT_EQ(freshness.ForecastText(), ".TODAY...SNOW.");

    run(freshness, cycle(T0 + 15 * MINUTE, L_OK, L_CONNECT, L_CONNECT), T0 + 15 * MINUTE);
    EXPECT_TRUE(freshness.LastCycleFailed());
    EXPECT_EQ(freshness.ForecastText(), "[as of 1:50 PM] .TODAY...SNOW.");
    EXPECT_EQ(freshness.MessageTexts(), Strings{"[as of 1:50 PM] WINTER WEATHER ADVISORY"});
    EXPECT_EQ(freshness.StatusLine(),
        "Forecast and warnings not updated: cannot connect to server. Last full update 1:50 PM.");
    EXPECT_TRUE(contains(
        freshness.Story(), "Warnings: not updated (cannot connect to server); showing the text of 1:50 PM.\n"));

    run(freshness, cycle(T0 + 30 * MINUTE, L_OK, L_OK, L_OK), T0 + 30 * MINUTE);
    EXPECT_EQ(freshness.ForecastText(), ".TODAY...SNOW.");
    EXPECT_EQ(freshness.MessageTexts(), Strings{"WINTER WEATHER ADVISORY"});
    EXPECT_EQ(freshness.StatusLine(), "Last updated: 12/07/26 14:20:00");
}

TEST(CFreshness, expiredAndOutdatedMessagesGo)
{
    // Nothing in force for the place: the warning is over.
    CFreshness freshness;
    run(freshness, cycle(T0, L_OK, L_OK, L_OK), T0);
    run(freshness, cycle(T0 + 15 * MINUTE, L_OK, L_OK, L_INPUT), T0 + 15 * MINUTE);
    EXPECT_TRUE(freshness.MessageTexts().empty());
    EXPECT_FALSE(freshness.LastCycleFailed());
    EXPECT_TRUE(contains(freshness.Story(), "Warnings: nothing in force for the place.\n"));

    // A warning kept for more than six hours is no longer shown; a forecast lasts longer.
    run(freshness, cycle(T0 + HOUR, L_OK, L_OK, L_OK), T0 + HOUR);
    run(freshness, cycle(T0 + 8 * HOUR, L_CONNECT, L_CONNECT, L_CONNECT), T0 + 8 * HOUR);
    EXPECT_TRUE(freshness.MessageTexts().empty());
    EXPECT_TRUE(contains(freshness.Story(),
        "Warnings: not updated (cannot connect to server); the text of 2:50 PM was dropped, older than 6 hours.\n"));
    EXPECT_EQ(freshness.ForecastText(), "[as of 2:50 PM] .TODAY...SNOW.");

    // A kind no longer enabled shows nothing, kept or not.
    CUpdateResults withoutWarnings = cycle(T0 + 9 * HOUR, L_CONNECT, L_CONNECT, L_OK);
    withoutWarnings.messages[indexOf(LMessageKind::Warnings)] = {};
    run(freshness, withoutWarnings, T0 + 9 * HOUR);
    EXPECT_TRUE(freshness.MessageTexts().empty());
}

TEST(CFreshness, aCycleWithNothingFetchedSaysSinceWhen)
{
    CFreshness freshness;
    run(freshness, cycle(T0, L_CONNECT, L_CONNECT, L_CONNECT), T0);
    EXPECT_EQ(freshness.StatusLine(), "No update succeeded since 1:50 PM: cannot connect to server.");
    EXPECT_TRUE(contains(freshness.Story(), "No full update yet."));

    run(freshness, cycle(T0 + HOUR, L_OK, L_OK, L_CONNECT), T0 + HOUR);
    EXPECT_EQ(freshness.StatusLine(), "Warnings not updated: cannot connect to server. No full update yet.");
    run(freshness, cycle(T0 + 2 * HOUR, L_DB, L_CONNECT, L_CONNECT), T0 + 2 * HOUR);
    EXPECT_EQ(freshness.StatusLine(),
        "No update succeeded since 2:50 PM: the place has no weather station and other errors.");
    // The next day, the time carries its date.
    run(freshness, cycle(T0 + 12 * HOUR, L_CONNECT, L_CONNECT, L_CONNECT), T0 + 12 * HOUR);
    EXPECT_EQ(freshness.StatusLine(), "No update succeeded since 12/07 2:50 PM: cannot connect to server.");
}

// Each failure names its reason; a title from the server is told as the server gave it, control characters left out.
TEST(CFreshness, failuresNameTheirReason)
{
    CFreshness freshness;
    CUpdateResults results = cycle(T0, L_OK, L_CONNECT, L_CONNECT);
    const std::pair<WFailure, std::string> cases[] = {
        {{WFailure::Kind::NotFound, 404, ""}, "not found (404)"},
        {{WFailure::Kind::TimedOut, 0, "Operation timed out after 1001 milliseconds"}, "timed out"},
        {{WFailure::Kind::HostNotFound, 0, "Could not resolve host: api.weather.gov"}, "host not found"},
        {{WFailure::Kind::Status, 503, ""}, "the server answered with status 503"},
        {{WFailure::Kind::Status, 500, "Unexpected\x1b Problem"}, "the server reports \"Unexpected Problem\" (500)"},
        {{WFailure::Kind::None, 0, ""}, "the server's answer could not be read"},
    };
    for (const auto &[failure, reason] : cases) {
        results.forecast.failure = failure;
        results.messages[indexOf(LMessageKind::Warnings)].failure = failure;
        run(freshness, results, T0);
        EXPECT_EQ(freshness.StatusLine(), "Forecast and warnings not updated: " + reason + ". No full update yet.");
        EXPECT_TRUE(contains(freshness.Story(), "Forecast: not updated (" + reason + ").\n")) << freshness.Story();
    }

    // Two reasons at once.
    results.forecast.failure = {WFailure::Kind::NotFound, 404, ""};
    run(freshness, results, T0);
    EXPECT_EQ(freshness.StatusLine(),
        "Forecast and warnings not updated: not found (404) and other errors. No full update yet.");
}

TEST(CFreshness, aNewPlaceKeepsNothingOfTheOld)
{
    CFreshness freshness;
    run(freshness, cycle(T0, L_OK, L_OK, L_OK), T0);
    CUpdateResults elsewhere = cycle(T0 + MINUTE, L_OK, L_CONNECT, L_CONNECT);
    elsewhere.state = 17;
    elsewhere.city = 1772000;
    run(freshness, elsewhere, T0 + MINUTE);
    EXPECT_EQ(freshness.ForecastText(), "");
    EXPECT_TRUE(freshness.MessageTexts().empty());
    EXPECT_EQ(
        freshness.StatusLine(), "Forecast and warnings not updated: cannot connect to server. No full update yet.");
}

TEST(CFreshness, observationAge)
{
    CFreshness freshness;
    EXPECT_EQ(freshness.ObservationAge(T0), CFreshness::Age::None);
    EXPECT_EQ(freshness.ObservedLine(T0), "");

    freshness.Observed(T0 - 4 * MINUTE);
    EXPECT_EQ(freshness.ObservationAge(T0), CFreshness::Age::Fresh);
    EXPECT_EQ(freshness.ObservedLine(T0), "Observed 1:46 PM CST");
    EXPECT_EQ(freshness.ObservedNote(T0), "1:46 PM");
    EXPECT_EQ(freshness.ObservationAge(T0 + 2 * HOUR - 5 * MINUTE), CFreshness::Age::Fresh);
    // Two hours to the second is not yet more than two hours.
    EXPECT_EQ(freshness.ObservationAge(T0 - 4 * MINUTE + CFreshness::OLD_AFTER), CFreshness::Age::Fresh);
    EXPECT_EQ(freshness.ObservationAge(T0 - 4 * MINUTE + CFreshness::OLD_AFTER + 1), CFreshness::Age::Old);

    EXPECT_EQ(freshness.ObservationAge(T0 + 3 * HOUR), CFreshness::Age::Old);
    EXPECT_EQ(freshness.ObservedLine(T0 + 3 * HOUR), "Observed 1:46 PM, 3 h ago");
    EXPECT_EQ(freshness.ObservedNote(T0 + 3 * HOUR), "observed 3 h ago");
    EXPECT_EQ(freshness.ObservedNote(T0 + 50 * HOUR), "observed 2 days ago");

    // A report stamped a little ahead of this clock is fresh; more than ten minutes ahead, it is not.
    freshness.Observed(T0 + 5 * MINUTE);
    EXPECT_EQ(freshness.ObservationAge(T0), CFreshness::Age::Fresh);
    freshness.Observed(T0 + 20 * MINUTE);
    EXPECT_EQ(freshness.ObservationAge(T0), CFreshness::Age::Ahead);
    EXPECT_EQ(freshness.ObservedLine(T0), "Observed 2:10 PM CST, ahead of this computer's clock");
}

// Texts kept from the last run are shown marked until a cycle ends; one older than its kind stays true is not. A
// failed first cycle goes on showing them, and its story still tells where they came from.
TEST(CFreshness, valuesKeptFromTheLastRun)
{
    LPlaceCacheRecord record;
    record.state = NEW_YORK;
    record.city = EAST_WILLISTON;
    record.written = T0 - HOUR;
    record.forecast = LCachedText{".TODAY...SNOW.", T0 - HOUR};
    record.messages[indexOf(LMessageKind::Warnings)] = LCachedText{"WINTER WEATHER ADVISORY", T0 - 5 * HOUR};
    record.messages[indexOf(LMessageKind::Watches)] = LCachedText{"WINTER STORM WATCH", T0 - 7 * HOUR};
    CFreshness freshness;
    freshness.Restore(record, T0);
    EXPECT_TRUE(freshness.ShowingKept());
    EXPECT_EQ(freshness.StatusLine(), "Showing the values of 12/07/26 12:50:00 until the first update.");
    EXPECT_EQ(freshness.ForecastText(), "[as of 12:50 PM] .TODAY...SNOW.");
    EXPECT_EQ(freshness.MessageTexts(), Strings{"[as of 8:50 AM] WINTER WEATHER ADVISORY"});
    EXPECT_EQ(freshness.KeptText(CFreshness::FORECAST)->fetched, T0 - HOUR);

    run(freshness, cycle(T0 + MINUTE, L_CONNECT, L_CONNECT, L_CONNECT), T0 + MINUTE);
    EXPECT_FALSE(freshness.ShowingKept());
    EXPECT_EQ(freshness.ForecastText(), "[as of 12:50 PM] .TODAY...SNOW.");
    EXPECT_EQ(freshness.Story().rfind("Showing the values of 12/07/26 12:50:00 until the first update.\n", 0), 0u)
        << freshness.Story();
    run(freshness, cycle(T0 + 2 * MINUTE, L_OK, L_OK, L_OK), T0 + 2 * MINUTE);
    EXPECT_EQ(freshness.ForecastText(), ".TODAY...SNOW.");
    EXPECT_FALSE(contains(freshness.Story(), "Showing the values"));
}
