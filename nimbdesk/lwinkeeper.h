#pragma once

#include "corekit/lkeeper.h"

#include <string>

// The program's settings keeper: one human-readable file per application and user,
// "$XDG_CONFIG_HOME/Nimbrel/Nimbrel.conf" (by default under "~/.config"), with one section per group of settings.
// The environment variable NIMBREL_SETTINGS_DIR, or a directory given to the keeper, holds the file instead.
//
// Values keep their type (32-bit integer, string, binary) and are checked as a typed store checks them: GetInt
// reads through a 4-byte buffer, so a value whose data is longer (a string of four or more characters, a binary
// of five or more bytes) is not found at all, and a shorter one of another type is L_WRONGTYPE.
//
// Every operation opens, reads or writes, and closes the file, so keepers on several threads work at once.
// The global flag chooses a second file, "Nimbrel-global.conf", beside the first.
class LWinKeeper final : public LKeeper
{
public:
    // Reads NIMBREL_SETTINGS_DIR, XDG_CONFIG_HOME and HOME once, here.
    explicit LWinKeeper(const LString &appName);
    LWinKeeper(const LString &appName, const std::string &directory);

    // Keeps the settings in this directory from now on; an empty name returns to the default directory.
    void SetDirectory(const std::string &directory);
    // The file that holds the settings of the scope.
    std::string FilePath(bool global) const;

    bool Exists(const LString &section, const LString &key, bool global) override;
    int GetInt(const LString &section, const LString &key, std::uint32_t &value, bool global) override;
    int GetString(const LString &section, const LString &key, LString &value, bool global) override;
    int GetBinary(const LString &section, const LString &key, LBinary &value, bool global) override;
    int SetInt(const LString &section, const LString &key, std::uint32_t value, bool global) override;
    int SetString(const LString &section, const LString &key, const LString &value, bool global) override;
    int SetBinary(const LString &section, const LString &key, const LBinary &value, bool global) override;

private:
    // Empty: the directory named after the application in m_configHome.
    std::string m_directory;
    std::string m_configHome;
};
