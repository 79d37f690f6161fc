#include "nimbdesk/worker/lthread.h"

#include "corekit/lex.h"
#include "nimbdesk/worker/levent.h"
#include "nimbdesk/worker/lsyncthread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace corekit;
using namespace nimbdesk;

namespace
{

using namespace std::chrono_literals;
using State = LThread::State;
using Strings = std::vector<std::string>;

const char *stateName(State state)
{
    static const char *const names[] = {"Created", "Starting", "Running", "Stopped", "Finished", "Failed", "Paused"};
    return names[static_cast<int>(state)];
}

// Runs on the caller's thread and notes every call the frame makes; each tick does what the script says.
class ScriptedThread final : public LThread
{
public:
    // Called with the number of the tick; true when the work is done.
    std::function<bool(ScriptedThread &, int)> script = [](ScriptedThread &, int) { return true; };
    bool initFails = false;
    bool doneFails = false;
    Strings calls;

    void WaitResume() override { calls.push_back(std::string("WaitResume while ") + stateName(GetState())); }
    void Wake() override { calls.emplace_back("Wake"); }
    void SignalEnded() override { calls.emplace_back("SignalEnded"); }
    bool Init() override
    {
        calls.emplace_back("Init");
        m_ticks = 0;
        return initFails;
    }
    bool Tick() override
    {
        calls.emplace_back("Tick");
        return script(*this, ++m_ticks);
    }
    bool OnDone() override
    {
        calls.emplace_back("OnDone");
        return doneFails;
    }
    void Cleanup() override { calls.emplace_back("Cleanup"); }
    void WaitEnded() override { calls.emplace_back("WaitEnded"); }

private:
    int m_ticks = 0;
};

// Runs on a thread of its own, counting its ticks.
class CountingThread final : public LSyncThread
{
public:
    ~CountingThread() override { Stop(); }

    std::atomic<int> ticks{0};
    std::atomic<int> doneAfter{0};
    std::atomic<bool> initFails{false};
    std::atomic<bool> tickThrows{false};
    std::atomic<bool> cleaned{false};
    std::chrono::steady_clock::duration pause = 1ms;
    std::thread::id tickThread;

private:
    bool Init() override
    {
        cleaned = false;
        return initFails;
    }
    bool Tick() override
    {
        tickThread = std::this_thread::get_id();
        if (tickThrows)
            throw LEx(L_MEM);
        const int done = doneAfter;
        const bool finished = ++ticks == done;
        SleepFor(pause);
        return finished;
    }
    void Cleanup() override { cleaned = true; }
};

bool waitUntil(const std::function<bool()> &condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(LThread, runsOnTheCallersThreadUntilTheWorkIsDone)
{
    ScriptedThread thread;
    EXPECT_EQ(thread.GetState(), State::Created);
    thread.script = [](ScriptedThread &, int tick) { return tick == 3; };
    thread.Start();
    EXPECT_EQ(thread.calls, (Strings{"Init", "Tick", "Tick", "Tick", "OnDone", "Cleanup", "SignalEnded"}));
    EXPECT_EQ(thread.GetState(), State::Finished);

    thread.calls.clear();
    thread.doneFails = true;
    thread.Start();
    EXPECT_EQ(thread.calls.size(), 7u);
    EXPECT_EQ(thread.GetState(), State::Failed);

    thread.calls.clear();
    thread.initFails = true;
    thread.Start();
    EXPECT_EQ(thread.calls, (Strings{"Init", "Cleanup", "SignalEnded"}));
    EXPECT_EQ(thread.GetState(), State::Failed);
}

TEST(LThread, pauseAndStopRequestedFromATick)
{
    ScriptedThread thread;
    thread.script = [](ScriptedThread &self, int tick) {
        if (tick == 2)
            self.Pause();
        if (tick == 3)
            self.Resume();
        if (tick == 4) {
            EXPECT_FALSE(self.Stop());
        }
        return tick == 10;
    };
    thread.Start();
    // The pause is taken once; the stop ends the work before another tick, without OnDone.
    EXPECT_EQ(thread.calls,
        (Strings{"Init", "Tick", "Tick", "WaitResume while Paused", "Tick", "Wake", "Tick", "WaitEnded", "Cleanup",
            "SignalEnded"}));
    EXPECT_EQ(thread.GetState(), State::Stopped);

    // A new start forgets the requests of the last run.
    thread.calls.clear();
    thread.script = [](ScriptedThread &, int tick) { return tick == 2; };
    thread.Start();
    EXPECT_EQ(thread.calls, (Strings{"Init", "Tick", "Tick", "OnDone", "Cleanup", "SignalEnded"}));
    EXPECT_EQ(thread.GetState(), State::Finished);

    // Stopping a thread that is not running waits for nothing.
    thread.calls.clear();
    EXPECT_FALSE(thread.Stop());
    EXPECT_TRUE(thread.calls.empty());
}

TEST(LSyncThread, runsOnItsOwnThreadUntilStoppedAndStartsAgain)
{
    CountingThread thread;
    thread.Start();
    ASSERT_TRUE(waitUntil([&] { return thread.ticks > 3; }));
    EXPECT_EQ(thread.GetState(), State::Running);

    EXPECT_FALSE(thread.Stop());
    EXPECT_NE(thread.tickThread, std::this_thread::get_id());
    EXPECT_EQ(thread.GetState(), State::Stopped);
    EXPECT_EQ(thread.ExitCode(), 1);
    EXPECT_TRUE(thread.cleaned);
    const int ticks = thread.ticks;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(thread.ticks, ticks);

    thread.Start();
    ASSERT_TRUE(waitUntil([&] { return thread.ticks > ticks + 3; }));
    EXPECT_FALSE(thread.cleaned);
    thread.Stop();
    EXPECT_EQ(thread.GetState(), State::Stopped);
}

TEST(LSyncThread, pausesUntilResumedAndStopsWhilePaused)
{
    CountingThread thread;
    thread.Start();
    thread.Pause();
    ASSERT_TRUE(waitUntil([&] { return thread.GetState() == State::Paused; }));
    const int ticks = thread.ticks;
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(thread.ticks, ticks);

    thread.Resume();
    ASSERT_TRUE(waitUntil([&] { return thread.ticks > ticks + 3; }));
    EXPECT_EQ(thread.GetState(), State::Running);

    thread.Pause();
    ASSERT_TRUE(waitUntil([&] { return thread.GetState() == State::Paused; }));
    const int paused = thread.ticks;
    thread.Stop();
    EXPECT_EQ(thread.GetState(), State::Stopped);
    EXPECT_EQ(thread.ticks, paused);
}

TEST(LSyncThread, endsByItselfWhenDoneFailedOrThrown)
{
    CountingThread done;
    done.doneAfter = 3;
    done.Start();
    ASSERT_TRUE(waitUntil([&] { return done.GetState() == State::Finished; }));
    done.Stop();
    EXPECT_EQ(done.ExitCode(), 0);
    EXPECT_EQ(done.ticks, 3);
    EXPECT_TRUE(done.cleaned);

    CountingThread refused;
    refused.initFails = true;
    refused.Start();
    ASSERT_TRUE(waitUntil([&] { return refused.GetState() == State::Failed; }));
    refused.Stop();
    EXPECT_EQ(refused.ExitCode(), 1);
    EXPECT_EQ(refused.ticks, 0);

    CountingThread throwing;
    throwing.tickThrows = true;
    throwing.Start();
    ASSERT_TRUE(waitUntil([&] { return throwing.GetState() == State::Failed; }));
    EXPECT_FALSE(throwing.Stop());
    EXPECT_EQ(throwing.ExitCode(), 1);
}

TEST(LSyncThread, stopCutsALongSleepShort)
{
    CountingThread thread;
    thread.pause = std::chrono::hours(1);
    thread.Start();
    ASSERT_TRUE(waitUntil([&] { return thread.ticks == 1; }));
    const auto start = std::chrono::steady_clock::now();
    thread.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
    EXPECT_EQ(thread.GetState(), State::Stopped);
}

TEST(LEvent, autoAndManualReset)
{
    LEvent automatic;
    EXPECT_FALSE(automatic.WaitFor(1ms));
    automatic.Set();
    EXPECT_TRUE(automatic.WaitFor(0ms));
    EXPECT_FALSE(automatic.WaitFor(1ms)) << "an auto-reset event stayed set";

    LEvent manual(true);
    manual.Set();
    EXPECT_TRUE(manual.WaitFor(0ms));
    manual.Wait();
    manual.Reset();
    EXPECT_FALSE(manual.WaitFor(1ms));

    std::thread setter([&] {
        std::this_thread::sleep_for(5ms);
        automatic.Set();
    });
    automatic.Wait();
    setter.join();
}

} // namespace
