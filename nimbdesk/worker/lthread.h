#pragma once

#include <cstdint>

namespace nimbdesk
{

// The frame of a piece of work done in steps: Run calls Init once, then Tick until a tick reports the work done
// or a stop is requested, pausing between ticks when asked, and ends with Cleanup. Every read and write of the
// state and of the two requests goes through Lock and Unlock.
//
// The base class runs the work on the thread that calls Start, with no locking and nothing to wait for, so a
// stop or pause can only be requested from inside a step; LSyncThread runs it on a thread of its own.
class LThread
{
public:
    enum class State : std::int32_t { Created = 0, Starting, Running, Stopped, Finished, Failed, Paused };

    LThread() = default;
    LThread(const LThread &) = delete;
    LThread &operator=(const LThread &) = delete;

    virtual void Lock() { }
    virtual void Unlock() { }
    // Blocks a paused thread until Resume.
    virtual void WaitResume() { }
    virtual void Wake() { }
    virtual void SignalEnded() { }
    virtual ~LThread() = default;
    // True when the work cannot begin.
    virtual bool Init() { return false; }
    // True when the work is done.
    virtual bool Tick() { return true; }
    // After the work is done; true when it failed.
    virtual bool OnDone() { return false; }
    virtual void Cleanup() { }
    virtual void Start();
    // Requests the stop and waits for the end of the work if it is under way; returns false.
    virtual bool Stop();
    virtual void Pause();
    virtual void Resume() { Wake(); }
    virtual void WaitEnded() { }

    State GetState();

protected:
    // Holds the thread's lock for its scope.
    class Locker
    {
    public:
        explicit Locker(LThread &thread)
            : m_thread(thread)
        {
            m_thread.Lock();
        }
        ~Locker() { m_thread.Unlock(); }
        Locker(const Locker &) = delete;
        Locker &operator=(const Locker &) = delete;

    private:
        LThread &m_thread;
    };

    // The body of the work: true when it ended by a stop or a failure, false when it was done.
    bool Run();
    void SetState(State state);
    bool StopRequested();
    void RequestStop();
    // Forgets the requests of an earlier run; called before a run begins, so that a stop requested while the run
    // is starting is not lost.
    void ClearRequests();
    bool IsActive();

private:
    bool TakePauseRequest();
    bool End(State state);

    State m_state = State::Created;
    unsigned char m_stopRequest = 0;
    unsigned char m_pauseRequest = 0;
};

} // namespace nimbdesk
