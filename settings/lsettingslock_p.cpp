#include "settings/lsettingslock_p.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{

// flock() excludes separate opens of the lock file from each other, even in one process; the mutex still keeps
// this process's writers in a queue of their own instead of contending in the kernel.
std::mutex &processMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

LSettingsLock::LSettingsLock(const std::string &lockPath)
    : m_guard(processMutex())
{
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        m_error = errno;
        ::close(fd);
        return;
    }
    m_fd = fd;
}

LSettingsLock::~LSettingsLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}
