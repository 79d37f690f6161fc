#include "nimbdesk/alerts/lalertstate.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

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

bool LAlertState::load(std::int64_t now)
{
    m_expiry.clear();
    if (m_path.empty())
        return true;
    std::ifstream in(m_path);
    if (!in)
        return !std::filesystem::exists(m_path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::int64_t expiry = 0;
        std::string id;
        if (fields >> expiry >> id && fields.peek() == std::char_traits<char>::eof())
            m_expiry[id] = expiry;
    }
    prune(now);
    return !in.bad();
}

// Written beside the file and renamed over it, so that a crash leaves the old file or the new one, never half.
bool LAlertState::save(std::int64_t now)
{
    prune(now);
    if (m_path.empty())
        return true;
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

void LAlertState::prune(std::int64_t now)
{
    std::erase_if(m_expiry, [now](const auto &entry) { return entry.second <= now; });
}
