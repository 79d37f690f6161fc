#include "settings/lsettings.h"

#include "settings/lfontrecord.h"

#include <cstdint>
#include <strings.h>

using namespace corekit;

namespace settings
{

namespace
{

struct Bounded {
    const char *section;
    const char *key;
    LSettings::Range range;
};

constexpr Bounded BOUNDED[] = {
    {LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, {LSettings::NO_UPDATES, LSettings::MAX_INTERVAL}},
    {LSettings::FORECAST_TICKER, LSettings::DELAY, {LSettings::MIN_DELAY, LSettings::MAX_DELAY}},
    {LSettings::WARNINGS_TICKER, LSettings::DELAY, {LSettings::MIN_DELAY, LSettings::MAX_DELAY}},
    {LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES, {LSettings::MIN_CHECK_MINUTES, LSettings::MAX_CHECK_MINUTES}},
};

// Names match without regard to ASCII case, as the settings file matches them.
bool sameName(std::string_view name, const char *known)
{
    return name.size() == std::char_traits<char>::length(known) && ::strncasecmp(name.data(), known, name.size()) == 0;
}

struct Default {
    const char *section;
    const char *key;
    // The integer default; a font setting takes the standard font record instead.
    std::uint32_t value;
    bool font;
};

// In the order the program lays them down at start-up, which is also the order of a new settings file.
constexpr Default DEFAULTS[] = {
    {LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 15, false}, // minutes
    {LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 0, false}, // Celsius
    {LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, 0, false}, // miles per hour
    {LSettings::GENERAL, LSettings::PRESSURE_SCALE, 0, false}, // inches of mercury
    {LSettings::GENERAL, LSettings::FOREGROUND_COLOR, LSettings::RED, false},
    {LSettings::GENERAL, LSettings::BACKGROUND_COLOR, 0x000000, false}, // black
    {LSettings::GENERAL, LSettings::FONT, 0, true},
    {LSettings::GENERAL, LSettings::HEADER_FONT, 0, true},
    {LSettings::FORECAST_TICKER, LSettings::DELAY, 30, false},
    {LSettings::FORECAST_TICKER, LSettings::FONT, 0, true},
    {LSettings::FORECAST_TICKER, LSettings::TEXT_COLOR, 0x00ff00, false}, // green
    {LSettings::WARNINGS_TICKER, LSettings::DELAY, 30, false},
    {LSettings::WARNINGS_TICKER, LSettings::FONT, 0, true},
    {LSettings::WARNINGS_TICKER, LSettings::TEXT_COLOR, LSettings::RED, false},
    {LSettings::SPECIAL, LSettings::SHOW_DISCUSSION, 0, false},
    {LSettings::SPECIAL, LSettings::SHOW_SUMMARY, 0, false},
    {LSettings::SPECIAL, LSettings::SHOW_PUBLIC, 0, false},
    {LSettings::SPECIAL, LSettings::SHOW_WATCHES, 0, false},
    {LSettings::SPECIAL, LSettings::SHOW_STATEMENTS, 0, false},
    {LSettings::SPECIAL, LSettings::SHOW_WARNINGS, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_WARNINGS, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_WATCHES, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_STATEMENTS, 0, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_OTHERS, 0, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_SOUND, 0, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES, 1, false},
};

} // namespace

int LSettings::InitDefaults(LKeeper &keeper)
{
    const LBinary font = LFontRecord::standard().toBinary();
    int first = L_OK;
    for (const Default &setting : DEFAULTS) {
        const int result = setting.font ? keeper.InitBinary(setting.section, setting.key, font, false)
                                        : keeper.InitInt(setting.section, setting.key, setting.value, false);
        if (first == L_OK)
            first = result;
    }
    return first;
}

const LSettings::Range *LSettings::RangeOf(std::string_view section, std::string_view key)
{
    for (const Bounded &bounded : BOUNDED) {
        if (sameName(section, bounded.section) && sameName(key, bounded.key))
            return &bounded.range;
    }
    return nullptr;
}

} // namespace settings
