#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace nimbdesk
{

// A signal between threads. Set releases one waiter and resets itself (auto-reset), or stays set and releases
// every waiter until Reset (manual reset). A Set with nobody waiting is kept for the next waiter.
class LEvent
{
public:
    explicit LEvent(bool manualReset = false);
    LEvent(const LEvent &) = delete;
    LEvent &operator=(const LEvent &) = delete;

    void Set();
    void Reset();
    void Wait();
    // True when the event was set within the time, false when the time ran out.
    bool WaitFor(std::chrono::steady_clock::duration timeout);

private:
    void Consume();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    const bool m_manualReset;
    bool m_signalled = false;
};

} // namespace nimbdesk
