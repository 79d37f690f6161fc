#include "nimbdesk/alerts/lalertstate.h"
#include "nimbdesk/alerts/lalerttracker.h"

#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <vector>

using namespace meteo;
using namespace nimbdesk;

namespace
{

using nimbreltest::TempDir;

constexpr std::int64_t NOW = 1796000000;

WAlertRecord alert(const std::string &id, const std::string &event, WAlertKind kind = WAlertKind::Warning,
    std::int64_t expires = NOW + 3600)
{
    WAlertRecord record;
    record.id = id;
    record.event = event;
    record.kind = kind;
    record.expires = expires;
    return record;
}

std::vector<std::string> idsOf(const LAlertNotice &notice)
{
    std::vector<std::string> ids;
    for (const WAlertRecord &record : notice.alerts)
        ids.push_back(record.id);
    return ids;
}

} // namespace

// What is in force at start gives one summary; afterwards each new alert its own notice, once.
TEST(LAlertTracker, summaryAtStartThenEachNewAlertOnce)
{
    LAlertState state("");
    LAlertTracker tracker(state, NOW);
    const LAlertChoice choice;
    const std::vector<WAlertRecord> inForce
        = {alert("a", "Tornado Warning"), alert("b", "Flood Watch", WAlertKind::Watch), alert("c", "Heat Advisory"),
            alert("d", "Special Weather Statement", WAlertKind::Statement)};
    LAlertDecision decision = tracker.update(inForce, choice, NOW);
    ASSERT_EQ(decision.notices.size(), 1u);
    EXPECT_EQ(decision.notices[0].kind, LNoticeKind::InForce);
    EXPECT_EQ(idsOf(decision.notices[0]), (std::vector<std::string>{"a", "b"}));

    std::vector<WAlertRecord> next = {inForce[0], alert("e", "Severe Thunderstorm Warning")};
    decision = tracker.update(next, choice, NOW);
    ASSERT_EQ(decision.notices.size(), 1u);
    EXPECT_EQ(decision.notices[0].kind, LNoticeKind::Alert);
    EXPECT_EQ(idsOf(decision.notices[0]), std::vector<std::string>{"e"});
    EXPECT_EQ(decision.ended, (std::vector<std::string>{"b", "c", "d"}));
    EXPECT_TRUE(tracker.update(next, choice, NOW).notices.empty());

    // After a change of place a single new alert is notified by itself, and an update names what it replaces.
    tracker.follow(3807200);
    WAlertRecord update = alert("f", "Tornado Warning");
    update.references = {"x", "a"};
    decision = tracker.update({update}, choice, NOW);
    ASSERT_EQ(decision.notices.size(), 1u);
    EXPECT_EQ(decision.notices[0].kind, LNoticeKind::Alert);
    EXPECT_EQ(decision.notices[0].replaces, "a");
    EXPECT_TRUE(decision.ended.empty());

    // Back at the first place, its batches go on where they were: nothing ended, nothing new.
    tracker.follow(0);
    decision = tracker.update(next, choice, NOW);
    EXPECT_TRUE(decision.notices.empty());
    EXPECT_TRUE(decision.ended.empty());
}

// After the start, up to three new alerts are notified each by itself; more give the gravest alone and one summary
// of the rest, the gravest keeping the notification of the alert it updates.
TEST(LAlertTracker, floodGivesGravestAndSummary)
{
    LAlertState state("");
    LAlertTracker tracker(state, NOW);
    const LAlertChoice choice;
    tracker.update({alert("old", "Tornado Warning")}, choice, NOW);
    std::vector<WAlertRecord> three
        = {alert("a", "Flood Warning"), alert("b", "Flood Warning"), alert("c", "Tornado Watch", WAlertKind::Watch)};
    LAlertDecision decision = tracker.update(three, choice, NOW);
    ASSERT_EQ(decision.notices.size(), 3u);
    for (const LAlertNotice &notice : decision.notices)
        EXPECT_EQ(notice.kind, LNoticeKind::Alert);

    std::vector<WAlertRecord> flood;
    for (int i = 0; i < 4; ++i)
        flood.push_back(alert("w" + std::to_string(i), "Tornado Watch", WAlertKind::Watch));
    flood.back().severity = "Extreme";
    WAlertRecord gravest = alert("t", "Tornado Warning");
    gravest.severity = "Extreme";
    gravest.references = {"old"};
    flood.push_back(gravest);
    decision = tracker.update(flood, choice, NOW);
    ASSERT_EQ(decision.notices.size(), 2u);
    EXPECT_EQ(decision.notices[0].kind, LNoticeKind::Alert);
    EXPECT_EQ(idsOf(decision.notices[0]), std::vector<std::string>{"t"});
    EXPECT_EQ(decision.notices[0].replaces, "old");
    EXPECT_EQ(decision.notices[1].kind, LNoticeKind::More);
    EXPECT_EQ(idsOf(decision.notices[1]), (std::vector<std::string>{"w3", "w0", "w1", "w2"}));
    EXPECT_TRUE(tracker.update(flood, choice, NOW).notices.empty());
}

// The kinds chosen decide, by the event: advisories are other alerts, not warnings.
TEST(LAlertTracker, categories)
{
    EXPECT_EQ(alertCategory(alert("", "Extreme Heat Warning")), WAlertCategory::Warning);
    EXPECT_EQ(alertCategory(alert("", "Tornado Watch", WAlertKind::Watch)), WAlertCategory::Watch);
    EXPECT_EQ(alertCategory(alert("", "Flood Statement", WAlertKind::Statement)), WAlertCategory::Statement);
    EXPECT_EQ(alertCategory(alert("", "Air Quality Alert")), WAlertCategory::Other);
    LAlertChoice choice;
    choice.warnings = false;
    choice.others = true;
    EXPECT_FALSE(choice.wants(WAlertCategory::Warning));
    EXPECT_TRUE(choice.wants(WAlertCategory::Other));
    EXPECT_TRUE(choice.wants(WAlertCategory::Watch));
    EXPECT_FALSE(choice.wants(WAlertCategory::Statement));
}

// The least severity chosen is notified and what is graver; an unknown severity counts as Moderate; a muted event
// is never notified.
TEST(LAlertChoice, severityAndMutedEvents)
{
    const auto rated = [](const std::string &event, const std::string &severity) {
        WAlertRecord record = alert("", event);
        record.severity = severity;
        return record;
    };
    LAlertChoice choice;
    EXPECT_TRUE(choice.wants(rated("Flood Warning", "Moderate")));
    EXPECT_TRUE(choice.wants(rated("Flood Warning", "Unknown")));
    EXPECT_FALSE(choice.wants(rated("Flood Warning", "Minor")));
    choice.minimum = LSeverity::Severe;
    EXPECT_FALSE(choice.wants(rated("Flood Warning", "Unknown")));
    EXPECT_TRUE(choice.wants(rated("Tornado Warning", "Extreme")));
    choice.muted = {"Tornado Warning"};
    EXPECT_FALSE(choice.wants(rated("Tornado Warning", "Extreme")));
    EXPECT_TRUE(choice.wants(rated("Extreme Wind Warning", "Extreme")));
}

// The file keeps what has not expired, passes over lines it cannot read, and is made with its directory.
TEST(LAlertState, keptUntilExpiryAcrossRuns)
{
    TempDir dir;
    const std::string path = dir.file("state/Nimbrel/notified-alerts");
    {
        LAlertState state(path);
        EXPECT_EQ(state.load(NOW), LAlertState::Loaded::Whole);
        state.add("urn:a", NOW + 60);
        state.add("urn:b", NOW + 7200);
        state.add("urn:gone", NOW - 1);
        ASSERT_TRUE(state.save(NOW));
    }
    EXPECT_EQ(TempDir::read(path), std::to_string(NOW + 60) + " urn:a\n" + std::to_string(NOW + 7200) + " urn:b\n");
    dir.write("state/Nimbrel/notified-alerts",
        TempDir::read(path) + "garbage\n12 two words\n" + std::to_string(NOW + 99) + " urn:c\n");
    LAlertState later(path);
    EXPECT_EQ(later.load(NOW + 61), LAlertState::Loaded::Whole);
    EXPECT_FALSE(later.contains("urn:a"));
    EXPECT_TRUE(later.contains("urn:b"));
    EXPECT_TRUE(later.contains("urn:c"));
    EXPECT_FALSE(later.contains("two"));

    LAlertState blocked(dir.file("state/Nimbrel/notified-alerts/inside"));
    blocked.add("urn:a", NOW + 60);
    EXPECT_FALSE(blocked.save(NOW));
    EXPECT_TRUE(blocked.contains("urn:a"));
}

// A FIFO in the file's place is neither opened for reading, which would wait for a writer for ever, nor replaced.
TEST(LAlertState, fifoIsLeftAlone)
{
    TempDir dir;
    const std::string path = dir.file("notified-alerts");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    LAlertState state(path);
    auto loading = std::async(std::launch::async, [&state] { return state.load(NOW); });
    // A reader stuck in opening the FIFO is let go by a writer, so that the test fails instead of hanging.
    if (loading.wait_for(std::chrono::seconds(30)) == std::future_status::timeout)
        ::close(::open(path.c_str(), O_WRONLY | O_NONBLOCK));
    EXPECT_EQ(loading.get(), LAlertState::Loaded::Unreadable);
    state.add("urn:a", NOW + 60);
    EXPECT_FALSE(state.save(NOW));
    EXPECT_TRUE(state.contains("urn:a"));
    struct stat info {
    };
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// Of a file past the bound only the complete lines within it are read; the next save leaves those alone.
TEST(LAlertState, oversizedFileReadUpToBound)
{
    TempDir dir;
    const std::string kept = std::to_string(NOW + 99) + " urn:kept\n";
    std::string text = kept;
    while (text.size() + 40 < LAlertState::MAX_SIZE)
        text += "1 urn:expired." + std::to_string(text.size()) + "\n";
    // The line of urn:cut starts 5 bytes before the bound.
    text += std::string(LAlertState::MAX_SIZE - 5 - text.size() - 1, 'x') + "\n";
    text += std::to_string(NOW + 99) + " urn:cut\n";
    while (text.size() < 3 * LAlertState::MAX_SIZE)
        text += std::to_string(NOW + 99) + " urn:beyond\n";
    const std::string path = dir.write("notified-alerts", text);

    LAlertState state(path);
    EXPECT_EQ(state.load(NOW), LAlertState::Loaded::Truncated);
    EXPECT_TRUE(state.contains("urn:kept"));
    EXPECT_FALSE(state.contains("urn:cut"));
    EXPECT_FALSE(state.contains("urn:beyond"));
    ASSERT_TRUE(state.save(NOW));
    EXPECT_EQ(TempDir::read(path), kept);
}
