#include "settings/lsettings.h"

#include "settings/lfontrecord.h"
#include "settings/lmessagekind.h"

#include <algorithm>
#include <cstdint>
#include <span>
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

// In the order the program lays them down at start-up, which is also the order of a new settings file: these, the
// kinds of special message in SETTINGS_ORDER, then the notifications.
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
    {LSettings::INTERNET, LSettings::USE_NEARBY_STATION, 1, false},
};

// After the kinds of special message.
constexpr Default NOTIFY_DEFAULTS[] = {
    {LSettings::NOTIFY, LSettings::NOTIFY_WARNINGS, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_WATCHES, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_STATEMENTS, 0, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_OTHERS, 0, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_SOUND, 0, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES, 1, false},
};

// Not laid down, so that a new settings file keeps the keys it always had.
constexpr Default NOTIFY_FALLBACKS[] = {
    {LSettings::NOTIFY, LSettings::NOTIFY_SOUND_EXTREME, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_SOUND_SEVERE, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_SOUND_OTHERS, 1, false},
    {LSettings::NOTIFY, LSettings::NOTIFY_REPEAT, 0, false}, // sent once
    {LSettings::NOTIFY, LSettings::NOTIFY_SPEAK, 0, false}, // not spoken
    {LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY, 1, false}, // Moderate
};

const Default *findDefault(std::span<const Default> defaults, std::string_view section, std::string_view key)
{
    const auto found = std::find_if(defaults.begin(), defaults.end(),
        [&](const Default &setting) { return sameName(section, setting.section) && sameName(key, setting.key); });
    return found != defaults.end() ? &*found : nullptr;
}

} // namespace

std::uint32_t LSettings::DefaultOf(std::string_view section, std::string_view key)
{
    if (sameName(section, SPECIAL)) {
        for (const LMessageKindInfo &kind : messageKinds()) {
            if (sameName(key, kind.key))
                return kind.enabledByDefault ? 1 : 0;
        }
    }
    for (const std::span<const Default> defaults : {std::span<const Default>(DEFAULTS),
             std::span<const Default>(NOTIFY_DEFAULTS), std::span<const Default>(NOTIFY_FALLBACKS)}) {
        const Default *found = findDefault(defaults, section, key);
        if (found && !found->font)
            return found->value;
    }
    return 0;
}

int LSettings::InitDefaults(LKeeper &keeper)
{
    const LBinary font = LFontRecord::standard().toBinary();
    int first = L_OK;
    const auto init = [&](const Default &setting) {
        const int result = setting.font ? keeper.InitBinary(setting.section, setting.key, font, false)
                                        : keeper.InitInt(setting.section, setting.key, setting.value, false);
        if (first == L_OK)
            first = result;
    };
    for (const Default &setting : DEFAULTS)
        init(setting);
    for (const LMessageKind kind : SETTINGS_ORDER) {
        const LMessageKindInfo &info = messageKind(kind);
        init({SPECIAL, info.key, info.enabledByDefault ? 1u : 0u, false});
    }
    for (const Default &setting : NOTIFY_DEFAULTS)
        init(setting);
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
