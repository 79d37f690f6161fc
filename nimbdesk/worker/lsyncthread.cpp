#include "nimbdesk/worker/lsyncthread.h"

namespace nimbdesk
{

LSyncThread::~LSyncThread()
{
    LSyncThread::Stop();
}

void LSyncThread::Lock()
{
    m_lock.lock();
}

void LSyncThread::Unlock()
{
    m_lock.unlock();
}

// The event is made under the lock after the stop request has been looked at, and Stop sets the request before
// it wakes, so a stop that comes while the thread is pausing is never missed.
void LSyncThread::WaitResume()
{
    LEvent *event = nullptr;
    {
        Locker lock(*this);
        if (StopRequested())
            return;
        m_pauseEvent = std::make_unique<LEvent>();
        event = m_pauseEvent.get();
    }
    event->Wait();
    Locker lock(*this);
    m_pauseEvent.reset();
}

void LSyncThread::Wake()
{
    Locker lock(*this);
    if (m_pauseEvent)
        m_pauseEvent->Set();
}

void LSyncThread::SignalEnded()
{
    m_ended.Set();
}

void LSyncThread::Start()
{
    const State state = GetState();
    if (state == State::Starting || state == State::Running || state == State::Paused)
        return;
    Join();
    m_ended.Reset();
    m_stopping.Reset();
    ClearRequests();
    SetState(State::Starting);
    m_thread = std::thread(&LSyncThread::ThreadMain, this);
}

bool LSyncThread::Stop()
{
    RequestStop();
    m_stopping.Set();
    Wake();
    LThread::Stop();
    Join();
    return false;
}

void LSyncThread::WaitEnded()
{
    m_ended.Wait();
}

bool LSyncThread::SleepFor(std::chrono::steady_clock::duration time)
{
    return m_stopping.WaitFor(time);
}

// No exception leaves the thread: one that escapes the work ends it as failed, and Stop still returns.
void LSyncThread::ThreadMain()
{
    try {
        m_exitCode = Run() ? 1 : 0;
    } catch (...) {
        m_exitCode = 1;
        SetState(State::Failed);
        SignalEnded();
    }
}

void LSyncThread::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace nimbdesk
