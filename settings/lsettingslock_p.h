#pragma once

#include <mutex>
#include <string>

// Serialises the writers of settings files: a mutex for the threads of this process, then an exclusive flock()
// on a lock file beside the settings for other processes. Held from construction to destruction.
class LSettingsLock
{
public:
    explicit LSettingsLock(const std::string &lockPath);
    ~LSettingsLock();
    LSettingsLock(const LSettingsLock &) = delete;
    LSettingsLock &operator=(const LSettingsLock &) = delete;

    // False when the lock file could not be opened or locked; the caller must not write then.
    bool held() const { return m_fd >= 0; }
    // The errno of the failure when the lock is not held.
    int error() const { return m_error; }

private:
    std::unique_lock<std::mutex> m_guard;
    int m_fd = -1;
    int m_error = 0;
};
