#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace nimbdesk
{

// The alerts the person has been notified of, each with the moment it stops being in force (seconds since 1970),
// kept in a small file so that no alert is notified twice, also after a restart: one line per alert,
// "1788337800 urn:oid:2.49.0.1.840.0.d0de...002.1". Lines that do not read so are passed over; expired alerts are
// dropped when the file is read and written.
class LAlertState
{
public:
    // A few hundred alerts take some 30 kB; a larger file is damaged, and only its beginning is read.
    static constexpr std::size_t MAX_SIZE = 1024 * 1024;

    // What load() found in the file.
    enum class Loaded {
        // All of it, or no file: an empty state.
        Whole,
        // Its complete lines within the first MAX_SIZE bytes; the rest is passed over and goes at the next save.
        Truncated,
        // It exists but cannot be read, or is not a regular file (a FIFO would block the reader for ever): the
        // state lives in memory for this run, and the file is left as it is.
        Unreadable,
    };

    // The file; an empty path keeps the state in memory only.
    explicit LAlertState(std::string path);

    // "$XDG_STATE_HOME/Nimbrel/notified-alerts", by default under "~/.local/state"; empty without a home.
    static std::string defaultPath();

    // Reads the file, dropping what expired before now.
    Loaded load(std::int64_t now);
    // Writes the file anew, its directory made where needed. False when it cannot be written, or when the file
    // could not be read; the state in memory stands.
    bool save(std::int64_t now);

    bool contains(const std::string &id) const { return m_expiry.count(id) != 0; }
    void add(const std::string &id, std::int64_t expiry);
    const std::string &path() const { return m_path; }

private:
    void parse(const std::string &text);
    void prune(std::int64_t now);

    std::string m_path;
    bool m_leaveFile = false;
    std::map<std::string, std::int64_t> m_expiry;
};

} // namespace nimbdesk
