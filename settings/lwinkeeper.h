#pragma once

#include "corekit/lkeeper.h"
#include "settings/lsettingsfailure.h"

#include <cstddef>
#include <memory>
#include <string>

namespace settings
{

class LSettingsCache;
struct LSettingsOutcome;
struct LSettingsValue;

// Hears what the person must be told about the settings file: that a value could not be saved (it stays in effect
// until the program ends), and that a damaged file was mended, with the lines left out and where the original was
// kept. Called on the thread that used the keeper.
class LSettingsListener
{
public:
    // section and key are empty when the failure concerns the file as a whole.
    virtual void NotSaved(const std::string &file, const std::string &section, const std::string &key,
        const std::string &reason, LSettingsFailure failure)
        = 0;
    virtual void Repaired(const std::string &file, const std::string &dropped, const std::string &keptAs) = 0;

protected:
    ~LSettingsListener() = default;
};

// The program's settings keeper: one human-readable file per application and user,
// "$XDG_CONFIG_HOME/Nimbrel/Nimbrel.conf" (by default under "~/.config"), with one section per group of settings.
// The environment variable NIMBREL_SETTINGS_DIR, or a directory given to the keeper, holds the file instead.
//
// Values keep their type (32-bit integer, string, binary) and are checked as a typed store checks them: GetInt
// reads through a 4-byte buffer, so a value whose data is longer (a string of four or more characters, a binary
// of five or more bytes) is not found at all, and a shorter one of another type is L_WRONGTYPE.
//
// Every operation opens, reads or writes, and closes the file, so keepers on several threads work at once; a keeper
// keeps the settings it last read and reads the file again only when it changed. A line of the file that does not
// parse is skipped, and a number outside the range the options accept (LSettings::RangeOf) is held to it; the next
// write keeps the original file aside and writes the others back. A value that cannot be written is still read back,
// by every keeper of the process, until the program ends. Writing never waits more than a couple of seconds for
// another program that holds the file. The global flag chooses a second file, "Nimbrel-global.conf", beside the
// first.
class LWinKeeper final : public corekit::LKeeper
{
public:
    // Reads NIMBREL_SETTINGS_DIR, XDG_CONFIG_HOME and HOME once, here.
    explicit LWinKeeper(const corekit::LString &appName);
    LWinKeeper(const corekit::LString &appName, const std::string &directory);
    ~LWinKeeper();
    LWinKeeper(const LWinKeeper &) = delete;
    LWinKeeper &operator=(const LWinKeeper &) = delete;

    // Keeps the settings in this directory from now on; an empty name returns to the default directory.
    void SetDirectory(const std::string &directory);
    // The file that holds the settings of the scope.
    std::string FilePath(bool global) const;
    // Failures to write and mended files are told to the listener, if there is one (not owned). A file mended by a
    // keeper without a listener is told by the next operation here that writes.
    void SetListener(LSettingsListener *listener) { m_listener = listener; }
    // Mends a damaged settings file at once (see above) rather than at the next write: L_OK, L_CREATE or L_OUTPUT.
    int Repair();

    // Whether the settings of the scope can be read, with the reason when they cannot: L_OK (also when there are none
    // yet), L_INPUT when the file cannot be read at all, L_FORMAT when lines are damaged, which every Get passes
    // over.
    int Check(bool global, std::string &reason) const;
    // How many times this keeper read and parsed a settings file.
    std::size_t FileReads() const;

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
    LSettingsCache &cache(bool global);
    int store(bool global, const corekit::LString &section, const corekit::LString &key, const LSettingsValue &value);
    int report(const std::string &path, const corekit::LString &section, const corekit::LString &key,
        const LSettingsOutcome &outcome);

    LSettingsListener *m_listener = nullptr;
    // Empty: the directory named after the application in m_configHome.
    std::string m_directory;
    std::string m_configHome;
    // The settings last read, by scope: [0] the person's file, [1] the global one.
    std::unique_ptr<LSettingsCache[]> m_caches;
};

} // namespace settings
