#pragma once

#include "settings/lsettingsdoc_p.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace settings
{

// Reads the text of a settings file into settings a line at a time, so that a reader holds one line, never the
// whole file. A line that does not parse is left out and the others are kept; a number outside the range that the
// options accept for its setting (LSettings::RangeOf) is held to that range. Either way the line is noted, and the
// file needs mending.
class LSettingsParser
{
public:
    // Empties the settings first.
    explicit LSettingsParser(LSettingsDoc &doc);

    // The next line of the file, without its '\n'.
    void line(std::string_view text);
    // The next line of the file, left unread for the reason given ("longer than 1048576 bytes").
    void skip(const std::string &reason);
    // The lines of the file that follow, left unread for the reason given.
    void skipRest(const std::string &reason);

    // Whether every line was read as it stands.
    bool sound() const { return m_noted == 0; }
    // The lines left out or changed, the first few by number ("line 3: invalid value ...; 2 more"); empty when sound.
    std::string damage() const;

private:
    static constexpr std::size_t MAX_LISTED = 3;

    void note(const std::string &reason);
    const char *parseHeader(std::string_view line);
    const char *parseEntry(std::string_view line);
    std::string heldToRange(std::string_view key, LSettingsValue &value) const;

    LSettingsDoc &m_doc;
    // Empty before the first header and under a damaged one.
    std::string m_section;
    std::size_t m_number = 0;
    std::size_t m_noted = 0;
    std::string m_damage;
};

} // namespace settings
