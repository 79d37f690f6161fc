#pragma once

#include "corekit/lkeeper.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace nimbreltest
{

// A settings keeper held in memory, typed as the real stores are: a Get of the wrong type is L_WRONGTYPE.
class MemoryKeeper final : public corekit::LKeeper
{
public:
    bool Exists(const corekit::LString &section, const corekit::LString &key, bool) override
    {
        return m_values.count(name(section, key));
    }
    int GetInt(const corekit::LString &section, const corekit::LString &key, std::uint32_t &value, bool) override
    {
        return get(section, key, value);
    }
    int GetString(const corekit::LString &section, const corekit::LString &key, corekit::LString &value, bool) override
    {
        std::string text;
        const int result = get(section, key, text);
        if (result == corekit::L_OK)
            value = text.c_str();
        return result;
    }
    int GetBinary(const corekit::LString &section, const corekit::LString &key, corekit::LBinary &value, bool) override
    {
        std::vector<unsigned char> bytes;
        const int result = get(section, key, bytes);
        if (result == corekit::L_OK)
            value.assign(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        return result;
    }
    int SetInt(const corekit::LString &section, const corekit::LString &key, std::uint32_t value, bool) override
    {
        m_values[name(section, key)] = value;
        return corekit::L_OK;
    }
    int SetString(
        const corekit::LString &section, const corekit::LString &key, const corekit::LString &value, bool) override
    {
        m_values[name(section, key)] = std::string(value);
        return corekit::L_OK;
    }
    int SetBinary(
        const corekit::LString &section, const corekit::LString &key, const corekit::LBinary &value, bool) override
    {
        m_values[name(section, key)] = std::vector<unsigned char>(value.data(), value.data() + value.size());
        return corekit::L_OK;
    }

    // How many values are stored.
    std::size_t size() const { return m_values.size(); }

private:
    using Value = std::variant<std::uint32_t, std::string, std::vector<unsigned char>>;

    static std::string name(const corekit::LString &section, const corekit::LString &key)
    {
        return std::string(section) + "/" + std::string(key);
    }
    template<typename T>
    int get(const corekit::LString &section, const corekit::LString &key, T &value)
    {
        const auto found = m_values.find(name(section, key));
        if (found == m_values.end())
            return corekit::L_NOTFOUND;
        if (!std::holds_alternative<T>(found->second))
            return corekit::L_WRONGTYPE;
        value = std::get<T>(found->second);
        return corekit::L_OK;
    }

    std::map<std::string, Value> m_values;
};

} // namespace nimbreltest
