#pragma once

#include "corekit/lex.h"
#include "settings/lsettingsdoc_p.h"

#include <string>
#include <string_view>
#include <vector>

// What a write did to the file, so that the person can be told.
struct LSettingsOutcome {
    // L_OK, L_CREATE when the directory or the lock file cannot be made, L_OUTPUT when the file cannot be read or
    // written.
    int result = L_OK;
    // Why the file was not written ("Read-only file system"); empty when it was.
    std::string reason;
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
// Writers read, change and replace the file under LSettingsLock, so no writer loses another's value. A file that is
// a symbolic link is replaced where the link points, so the link stays.
//
// A value that cannot be written is kept in memory for the life of the process, by file, and read as if it had been
// written: the program goes on with the person's choices, and the next write that succeeds saves them too.
class LSettingsFile
{
public:
    // Files above this size are not settings files; writes that would exceed it fail.
    static constexpr std::size_t MAX_SIZE = 1024 * 1024;

    explicit LSettingsFile(std::string path);

    // The settings of the file with the values not yet written over them. A missing, unreadable or unparseable file
    // reads as empty; a damaged line is skipped.
    LSettingsDoc read() const;
    // Whether the file can be read as settings, with the reason when it cannot: L_OK (also when there is no file),
    // L_INPUT when it cannot be read at all (unreadable, too large, not a file), L_FORMAT when lines are damaged,
    // which reading passes over.
    int check(std::string &reason) const;
    // Stores one value. A damaged file is first moved aside with a time stamp in its name, which is also reported
    // once on standard error, and the settings of its good lines are kept.
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
