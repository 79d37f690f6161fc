#pragma once

#include "nimbdesk/lsettingsdoc_p.h"

#include <string>
#include <string_view>

// One settings file on disk. Every call opens, reads or writes, and closes it again, so that keepers on several
// threads and in several processes share the file without sharing a handle.
//
// Readers take no lock: a writer replaces the file in one rename, so a reader sees either the old or the new text.
// Writers read, change and replace the file under LSettingsLock, so no writer loses another's value.
class LSettingsFile
{
public:
    // Files above this size are not settings files; writes that would exceed it fail.
    static constexpr std::size_t MAX_SIZE = 1024 * 1024;

    explicit LSettingsFile(std::string path);

    // The settings of the file; a missing, unreadable or unparseable file reads as empty.
    LSettingsDoc read() const;
    // Stores one value: L_OK, L_CREATE when the directory or the lock file cannot be made, L_OUTPUT when the file
    // cannot be read or written. A file that cannot be parsed is first moved aside with a time stamp in its name,
    // which is reported once on standard error, and the settings start empty.
    int write(std::string_view section, std::string_view key, const LSettingsValue &value) const;

private:
    bool readForUpdate(LSettingsDoc &doc) const;
    bool moveAside(const std::string &reason) const;

    std::string m_path;
};
