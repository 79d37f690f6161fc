#pragma once

#include "corekit/lex.h"
#include "settings/lsettingsdoc_p.h"
#include "settings/lsettingsfailure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings
{

// What a write did to the file, so that the person can be told.
struct LSettingsOutcome {
    // L_OK, L_CREATE when the directory or the lock file cannot be made, L_OUTPUT when the file cannot be read or
    // written.
    int result = corekit::L_OK;
    // Why the file was not written ("Read-only file system"); empty when it was.
    std::string reason;
    LSettingsFailure failure = LSettingsFailure::Unwritable;

    // The outcome of a failure with the errno behind it, which tells a full disk from the rest.
    static LSettingsOutcome failed(int result, int error, std::string reason);
};

// What one stat() of a settings file tells of its version: a file that was replaced or changed has another stamp.
struct LSettingsStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    bool operator==(const LSettingsStamp &) const = default;
};

// A damaged file that was moved aside: the lines left out ("line 3: invalid value ...") and where the file was kept
// ("Nimbrel.conf.corrupt-20240521T134501Z").
struct LSettingsRepair {
    std::string dropped;
    std::string keptAs;
};

// One settings file on disk. Every call opens, reads or writes, and closes it again, so that keepers on several
// threads and in several processes share the file without sharing a handle.
//
// Readers take no lock: a writer replaces the file in one rename, so a reader sees either the old or the new text.
// A reader holds one line at a time, not the file: a line longer than MAX_LINE is left out as damaged, as is
// everything past MAX_SIZE, and the other lines are kept. Writers read, change and replace the file under
// LSettingsLock, so no writer loses another's value; the replacement keeps the file's permissions. A file that is a
// symbolic link is replaced where the link points, so the link stays.
//
// A value that cannot be written is kept in memory for the life of the process, by file, and read as if it had been
// written: the program goes on with the person's choices, and the next write that succeeds saves them too.
class LSettingsFile
{
public:
    // The most of a file that is read, and the most a write may make it. A settings file holds a few kilobytes.
    static constexpr std::size_t MAX_SIZE = 16 * 1024 * 1024;
    // The longest line that is read, and the longest a write may add.
    static constexpr std::size_t MAX_LINE = 1024 * 1024;

    explicit LSettingsFile(std::string path);

    // The version of the file now, by one stat() through any symbolic link.
    LSettingsStamp stamp() const;
    // The settings stored in the file, and the stamp of the version read. A missing or unreadable file reads as
    // empty; a damaged line is skipped.
    LSettingsDoc read(LSettingsStamp &stamp) const;
    // A value that could not be written, which stands in for the file's own until a write succeeds.
    std::optional<LSettingsValue> unsaved(std::string_view section, std::string_view key) const;
    // Whether the file can be read as settings, with the reason when it cannot: L_OK (also when there is no file),
    // L_INPUT when it cannot be read at all (unreadable, not a file), L_FORMAT when lines are damaged, which reading
    // passes over or holds to their range.
    int check(std::string &reason) const;
    // Stores one value; the caller sees to it that its line fits MAX_LINE. A damaged file is first moved aside with a
    // time stamp in its name, which is also reported once on standard error, and the settings of its good lines are
    // kept.
    LSettingsOutcome write(std::string_view section, std::string_view key, const LSettingsValue &value) const;
    // Moves a damaged file aside and writes back the settings of its good lines; a sound file stays untouched.
    LSettingsOutcome repair() const;
    // The repairs that any keeper of the process made to the file since the last call, oldest first: whichever
    // thread's keeper first wrote to a damaged file, the one that can tell the person takes them.
    std::vector<LSettingsRepair> takeRepairs() const;

private:
    struct Change;

    LSettingsOutcome update(const Change *change) const;
    bool readForUpdate(const std::string &target, LSettingsDoc &doc, LSettingsOutcome &outcome, bool &moved) const;
    bool moveAside(const std::string &target, const std::string &reason, LSettingsOutcome &outcome, bool &moved) const;

    std::string m_path;
};

} // namespace settings
