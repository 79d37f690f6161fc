#include "settings/lsettingslock_p.h"

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace settings
{

namespace
{

// flock() excludes separate opens of the lock file from each other, even in one process; the gate still keeps
// this process's writers in a queue of their own instead of contending in the kernel. A mutex held for the whole
// write with a condition to wait on, rather than a timed mutex, which the thread sanitizer cannot follow.
class ProcessGate
{
public:
    static ProcessGate &instance()
    {
        static ProcessGate gate;
        return gate;
    }

    bool enterBefore(std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock guard(m_mutex);
        if (!m_free.wait_until(guard, deadline, [this] { return !m_taken; }))
            return false;
        m_taken = true;
        return true;
    }
    void leave()
    {
        const std::lock_guard guard(m_mutex);
        m_taken = false;
        m_free.notify_one();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_free;
    bool m_taken = false;
};

// A blocking flock() in a thread of its own, which the caller may stop waiting for. Blocked writers queue in the
// kernel and are woken when the lock is let go, where retrying LOCK_NB would lose every race against a program that
// writes setting after setting. A lock taken after the caller gave up is let go at once.
class LockWaiter
{
public:
    static int lockBefore(int fd, std::chrono::steady_clock::time_point deadline)
    {
        auto waiter = std::make_shared<LockWaiter>();
        std::thread([waiter, fd] { waiter->lock(fd); }).detach();
        std::unique_lock guard(waiter->m_mutex);
        if (waiter->m_done.wait_until(guard, deadline, [&] { return waiter->m_finished; }))
            return waiter->m_error;
        waiter->m_abandoned = true;
        return EWOULDBLOCK;
    }

private:
    void lock(int fd)
    {
        int result;
        do {
            result = ::flock(fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        const int error = result == 0 ? 0 : errno;
        const std::lock_guard guard(m_mutex);
        m_finished = true;
        m_error = error;
        if (m_abandoned)
            ::close(fd);
        m_done.notify_one();
    }

    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    bool m_abandoned = false;
    int m_error = 0;
};

} // namespace

LSettingsLock::LSettingsLock(const std::string &lockPath, std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    m_entered = ProcessGate::instance().enterBefore(deadline);
    if (!m_entered) {
        m_error = EWOULDBLOCK;
        return;
    }
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    m_error = lockBefore(fd, deadline);
    if (m_error == 0)
        m_fd = fd;
}

LSettingsLock::~LSettingsLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_entered)
        ProcessGate::instance().leave();
}

// 0 once the lock is held, else the errno of the failure (EWOULDBLOCK at the deadline). The descriptor is closed on
// failure, here or by the waiting thread.
int LSettingsLock::lockBefore(int fd, std::chrono::steady_clock::time_point deadline)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return 0;
    if (errno != EWOULDBLOCK && errno != EINTR) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    const int error = LockWaiter::lockBefore(fd, deadline);
    if (error != 0 && error != EWOULDBLOCK)
        ::close(fd);
    return error;
}

} // namespace settings
