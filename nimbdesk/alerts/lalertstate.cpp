#include "nimbdesk/alerts/lalertstate.h"

#include "corekit/lregularfile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

using namespace corekit;

namespace nimbdesk
{

namespace
{

// Only a regular file is read, opened without waiting for a writer: a FIFO in its place would block the window
// before it appears. One byte past the bound tells that the file is larger; the line it cuts is dropped.
LAlertState::Loaded readFile(const std::string &path, std::string &bytes)
{
    LRegularFile file(path);
    if (file.state() == LRegularFile::State::Missing)
        return LAlertState::Loaded::Whole;
    if (file.state() != LRegularFile::State::Open || !file.readUpTo(LAlertState::MAX_SIZE + 1, bytes))
        return LAlertState::Loaded::Unreadable;
    if (bytes.size() <= LAlertState::MAX_SIZE)
        return LAlertState::Loaded::Whole;
    bytes.resize(bytes.rfind('\n', LAlertState::MAX_SIZE - 1) + 1);
    return LAlertState::Loaded::Truncated;
}

} // namespace

LAlertState::LAlertState(std::string path)
    : m_path(std::move(path))
{
}

// The base directory rules ignore a relative XDG_STATE_HOME.
std::string LAlertState::defaultPath()
{
    std::string base;
    if (const char *state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        base = state;
    else if (const char *home = std::getenv("HOME"); home && home[0] == '/')
        base = std::string(home) + "/.local/state";
    else
        return std::string();
    return base + "/Nimbrel/notified-alerts";
}

LAlertState::Loaded LAlertState::load(std::int64_t now)
{
    m_expiry.clear();
    m_leaveFile = false;
    if (m_path.empty())
        return Loaded::Whole;
    std::string bytes;
    const Loaded loaded = readFile(m_path, bytes);
    m_leaveFile = loaded == Loaded::Unreadable;
    if (!m_leaveFile)
        parse(bytes);
    prune(now);
    return loaded;
}

// Written beside the file and renamed over it, so that a crash leaves the old file or the new one, never half.
bool LAlertState::save(std::int64_t now)
{
    prune(now);
    if (m_path.empty())
        return true;
    if (m_leaveFile)
        return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
    const std::string partial = m_path + ".new";
    {
        std::ofstream out(partial, std::ios::trunc);
        for (const auto &[id, expiry] : m_expiry)
            out << expiry << ' ' << id << '\n';
        out.flush();
        if (!out)
            return false;
    }
    std::filesystem::rename(partial, m_path, error);
    return !error;
}

void LAlertState::add(const std::string &id, std::int64_t expiry)
{
    std::int64_t &kept = m_expiry[id];
    kept = std::max(kept, expiry);
}

void LAlertState::parse(const std::string &text)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::int64_t expiry = 0;
        std::string id;
        if (fields >> expiry >> id && fields.peek() == std::char_traits<char>::eof())
            m_expiry[id] = expiry;
    }
}

void LAlertState::prune(std::int64_t now)
{
    std::erase_if(m_expiry, [now](const auto &entry) { return entry.second <= now; });
}

} // namespace nimbdesk
