#pragma once

#include "corekit/lkeeper.h"
#include "settings/lwinkeeper.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>

// The desktop program's settings, read and never written: what is set here (the reader's defaults, values given on
// the command line) is kept in memory and read before the settings file. Binary values are only read.
class CliKeeper final : public LKeeper
{
public:
    // The settings in directory, or where the desktop program keeps them when it is empty.
    explicit CliKeeper(const std::string &directory);

    // The settings file, for its path and its check.
    const LWinKeeper &file() const { return m_file; }

    bool Exists(const LString &section, const LString &key, bool global) override;
    int GetInt(const LString &section, const LString &key, std::uint32_t &value, bool global) override;
    int GetString(const LString &section, const LString &key, LString &value, bool global) override;
    int GetBinary(const LString &section, const LString &key, LBinary &value, bool global) override;
    int SetInt(const LString &section, const LString &key, std::uint32_t value, bool global) override;
    int SetString(const LString &section, const LString &key, const LString &value, bool global) override;
    int SetBinary(const LString &section, const LString &key, const LBinary &value, bool global) override;

private:
    using Value = std::variant<std::uint32_t, LString>;

    static std::string name(const LString &section, const LString &key, bool global);
    template<typename T>
    int get(const LString &section, const LString &key, bool global, T &value);

    LWinKeeper m_file;
    std::map<std::string, Value> m_memory;
};
