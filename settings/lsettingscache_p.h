#pragma once

#include "settings/lsettingsdoc_p.h"
#include "settings/lsettingsfile_p.h"

#include <cstddef>
#include <string>

namespace settings
{

// The settings of one file as last read, so that a keeper that is asked for setting after setting parses the file
// once rather than once a setting. Each look costs one stat(): a file that another keeper or program replaced or
// changed since has another stamp (device, inode, size, modification and change time), and is read again.
class LSettingsCache
{
public:
    // The settings stored in the file at path now.
    const LSettingsDoc &current(const std::string &path);
    // How many times a file was read and parsed.
    std::size_t reads() const { return m_reads; }

private:
    std::string m_path;
    LSettingsStamp m_stamp;
    bool m_filled = false;
    LSettingsDoc m_doc;
    std::size_t m_reads = 0;
};

} // namespace settings
