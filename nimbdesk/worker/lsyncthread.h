#pragma once

#include "nimbdesk/worker/levent.h"
#include "nimbdesk/worker/lthread.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace nimbdesk
{

// Runs the work of LThread on a thread of its own, with a main lock that the derived class shares for its data.
// The lock is re-entrant, so a derived class may call its own locking operations while it holds it.
//
// Start, Stop, Pause and Resume are called from one controlling thread, never from the worker thread itself.
// A derived class whose steps use its own members stops the thread in its own destructor, before they go.
class LSyncThread : public LThread
{
public:
    LSyncThread() = default;
    ~LSyncThread() override;

    void Lock() override;
    void Unlock() override;
    void WaitResume() override;
    void Wake() override;
    void SignalEnded() override;
    // Begins a new thread unless one is running or paused; a thread that has ended is joined first.
    void Start() override;
    // Requests the stop, interrupts SleepFor, resumes a paused thread and joins the thread.
    bool Stop() override;
    void WaitEnded() override;

    // 1 when the last run ended by a stop, a failure or an exception, 0 when its work was done.
    int ExitCode() const { return m_exitCode; }

protected:
    // Sleeps for the time on the worker thread; true when Stop cut the sleep short.
    bool SleepFor(std::chrono::steady_clock::duration time);

private:
    void ThreadMain();
    void Join();

    std::recursive_mutex m_lock;
    // Present only while the thread is paused.
    std::unique_ptr<LEvent> m_pauseEvent;
    LEvent m_ended;
    LEvent m_stopping{true};
    std::thread m_thread;
    std::atomic<int> m_exitCode{0};
};

} // namespace nimbdesk
