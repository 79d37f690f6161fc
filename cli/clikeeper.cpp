#include "cli/clikeeper.h"

using namespace corekit;
using namespace settings;

namespace cli
{

CliKeeper::CliKeeper(const std::string &directory)
    : LKeeper("Nimbrel")
    , m_file("Nimbrel", directory)
{
}

// "0/Internet/ApiBase": section and key names hold no "/".
std::string CliKeeper::name(const LString &section, const LString &key, bool global)
{
    return std::string(global ? "1/" : "0/") + std::string(section) + '/' + std::string(key);
}

template<typename T>
int CliKeeper::get(const LString &section, const LString &key, bool global, T &value)
{
    const auto found = m_memory.find(name(section, key, global));
    if (found == m_memory.end())
        return L_NOTFOUND;
    if (!std::holds_alternative<T>(found->second))
        return L_WRONGTYPE;
    value = std::get<T>(found->second);
    return L_OK;
}

bool CliKeeper::Exists(const LString &section, const LString &key, bool global)
{
    return m_memory.count(name(section, key, global)) || m_file.Exists(section, key, global);
}

int CliKeeper::GetInt(const LString &section, const LString &key, std::uint32_t &value, bool global)
{
    const int result = get(section, key, global, value);
    return result == L_NOTFOUND ? m_file.GetInt(section, key, value, global) : result;
}

int CliKeeper::GetString(const LString &section, const LString &key, LString &value, bool global)
{
    const int result = get(section, key, global, value);
    return result == L_NOTFOUND ? m_file.GetString(section, key, value, global) : result;
}

int CliKeeper::GetBinary(const LString &section, const LString &key, LBinary &value, bool global)
{
    return m_memory.count(name(section, key, global)) ? L_WRONGTYPE : m_file.GetBinary(section, key, value, global);
}

int CliKeeper::SetInt(const LString &section, const LString &key, std::uint32_t value, bool global)
{
    m_memory[name(section, key, global)] = value;
    return L_OK;
}

int CliKeeper::SetString(const LString &section, const LString &key, const LString &value, bool global)
{
    m_memory[name(section, key, global)] = value;
    return L_OK;
}

int CliKeeper::SetBinary(const LString &, const LString &, const LBinary &, bool)
{
    return L_OUTPUT;
}

} // namespace cli
