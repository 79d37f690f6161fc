#include "nimbdesk/worker/levent.h"

namespace nimbdesk
{

LEvent::LEvent(bool manualReset)
    : m_manualReset(manualReset)
{
}

void LEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    if (m_manualReset)
        m_changed.notify_all();
    else
        m_changed.notify_one();
}

void LEvent::Reset()
{
    std::lock_guard lock(m_mutex);
    m_signalled = false;
}

void LEvent::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_signalled; });
    Consume();
}

bool LEvent::WaitFor(std::chrono::steady_clock::duration timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, timeout, [this] { return m_signalled; }))
        return false;
    Consume();
    return true;
}

// Called with the mutex held, once a waiter has seen the event set.
void LEvent::Consume()
{
    if (!m_manualReset)
        m_signalled = false;
}

} // namespace nimbdesk
