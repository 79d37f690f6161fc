#include "nimbdesk/worker/lthread.h"

namespace nimbdesk
{

void LThread::Start()
{
    ClearRequests();
    SetState(State::Starting);
    Run();
}

bool LThread::Stop()
{
    RequestStop();
    if (IsActive())
        WaitEnded();
    return false;
}

void LThread::Pause()
{
    Locker lock(*this);
    m_pauseRequest = 1;
}

LThread::State LThread::GetState()
{
    Locker lock(*this);
    return m_state;
}

// A pause is taken before the stop request is looked at, so that a thread stopped while paused ends without
// another tick.
bool LThread::Run()
{
    if (Init())
        return End(State::Failed);
    SetState(State::Running);
    while (!Tick()) {
        if (TakePauseRequest()) {
            SetState(State::Paused);
            WaitResume();
            SetState(State::Running);
        }
        if (StopRequested())
            return End(State::Stopped);
    }
    return End(OnDone() ? State::Failed : State::Finished);
}

void LThread::SetState(State state)
{
    Locker lock(*this);
    m_state = state;
}

bool LThread::StopRequested()
{
    Locker lock(*this);
    return m_stopRequest != 0;
}

void LThread::RequestStop()
{
    Locker lock(*this);
    m_stopRequest = 1;
}

void LThread::ClearRequests()
{
    Locker lock(*this);
    m_stopRequest = 0;
    m_pauseRequest = 0;
}

bool LThread::IsActive()
{
    Locker lock(*this);
    return m_state == State::Starting || m_state == State::Running;
}

// A request to pause is used up by the pause it causes.
bool LThread::TakePauseRequest()
{
    Locker lock(*this);
    const bool requested = m_pauseRequest != 0;
    m_pauseRequest = 0;
    return requested;
}

// Resources go with every end, also when the work was done.
bool LThread::End(State state)
{
    SetState(state);
    Cleanup();
    SignalEnded();
    return state != State::Finished;
}

} // namespace nimbdesk
