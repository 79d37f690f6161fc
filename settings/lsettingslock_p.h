#pragma once

#include <chrono>
#include <string>

namespace settings
{

// Serialises the writers of settings files: a gate for the threads of this process, then an exclusive flock()
// on a lock file beside the settings for other processes. Held from construction to destruction.
//
// The window's thread writes settings, and it must never wait without a deadline: a lock that another program holds
// longer than the patience given is not taken, and the write fails as any other write that cannot be done. Waiting
// for the lock of a hung program leaves one thread blocked in flock() until that program lets go or ends.
class LSettingsLock
{
public:
    static constexpr std::chrono::milliseconds PATIENCE{2000};

    explicit LSettingsLock(const std::string &lockPath, std::chrono::milliseconds patience = PATIENCE);
    ~LSettingsLock();
    LSettingsLock(const LSettingsLock &) = delete;
    LSettingsLock &operator=(const LSettingsLock &) = delete;

    // False when the lock file could not be opened or locked; the caller must not write then.
    bool held() const { return m_fd >= 0; }
    // The errno of the failure when the lock is not held: EWOULDBLOCK when the patience ran out.
    int error() const { return m_error; }

private:
    static int lockBefore(int fd, std::chrono::steady_clock::time_point deadline);

    bool m_entered = false;
    int m_fd = -1;
    int m_error = 0;
};

} // namespace settings
