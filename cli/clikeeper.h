#pragma once

#include "corekit/lkeeper.h"
#include "settings/lwinkeeper.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace cli
{

// The desktop program's settings, read and never written: what is set here (the reader's defaults, values given on
// the command line) is kept in memory and read before the settings file. Binary values are only read.
class CliKeeper final : public corekit::LKeeper
{
public:
    // The settings in directory, or where the desktop program keeps them when it is empty.
    explicit CliKeeper(const std::string &directory);

    // The settings file, for its path and its check.
    const settings::LWinKeeper &file() const { return m_file; }

    bool Exists(const corekit::LString &section, const corekit::LString &key, bool global) override;
    int GetInt(
        const corekit::LString &section, const corekit::LString &key, std::uint32_t &value, bool global) override;
    int GetString(
        const corekit::LString &section, const corekit::LString &key, corekit::LString &value, bool global) override;
    int GetBinary(
        const corekit::LString &section, const corekit::LString &key, corekit::LBinary &value, bool global) override;
    int SetInt(const corekit::LString &section, const corekit::LString &key, std::uint32_t value, bool global) override;
    int SetString(const corekit::LString &section, const corekit::LString &key, const corekit::LString &value,
        bool global) override;
    int SetBinary(const corekit::LString &section, const corekit::LString &key, const corekit::LBinary &value,
        bool global) override;

private:
    using Value = std::variant<std::uint32_t, corekit::LString>;

    static std::string name(const corekit::LString &section, const corekit::LString &key, bool global);
    template<typename T>
    int get(const corekit::LString &section, const corekit::LString &key, bool global, T &value);

    settings::LWinKeeper m_file;
    std::map<std::string, Value> m_memory;
};

} // namespace cli
