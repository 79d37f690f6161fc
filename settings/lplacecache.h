#pragma once

#include "meteo/base/walert.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wforecast.h"
#include "meteo/reader/wnearbycondition.h"
#include "settings/lmessagekind.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace settings
{

// A text the window shows, with when it was fetched (seconds since 1970).
struct LCachedText {
    std::string text;
    std::int64_t fetched = 0;
};

// What the window showed of one place after its last update, kept so that the next start shows it at once, marked
// with its age, before any request: a start without the network is not blank.
struct LPlaceCacheRecord {
    std::uint32_t state = 0;
    std::uint32_t city = 0;
    // When it was written, seconds since 1970.
    std::int64_t written = 0;
    // The observation with its time, and the nearby station it came from while the place's own was quiet.
    std::optional<meteo::WCondition> condition;
    meteo::WStationUsed station;
    std::optional<LCachedText> forecast;
    // By indexOf the kind of special message.
    std::array<std::optional<LCachedText>, MESSAGE_KIND_COUNT> messages;
    std::vector<meteo::WAlertRecord> alerts;
    // The structured forecast: its day and night periods, and its hours.
    std::optional<meteo::WForecast> periods;
    std::optional<meteo::WForecast> hours;
};

// The last values of each place, one small JSON file per place in a cache folder, named by the place's state and
// city identifiers ("place-17-2045.json"). The cache is never required: a missing, damaged or foreign file is only
// a start without a head start, and deleting the folder loses nothing else.
//
// A file holds a version and the place's identifiers; one of another version or place, or written ahead of the
// clock, is not used. It is written whole or not at all (a new file renamed over the old), and never larger than
// MAX_SIZE: the largest texts are cut first.
class LPlaceCache
{
public:
    static constexpr int VERSION = 1;
    static constexpr std::size_t MAX_SIZE = 256 * 1024;
    // A file written later than this ahead of the clock came from a clock that was wrong, or is not ours.
    static constexpr std::int64_t AHEAD_LIMIT = 10 * 60;

    enum class Loaded { Read, Missing, Damaged, Foreign, Future };

    // The folder; an empty one keeps nothing.
    explicit LPlaceCache(std::string directory);

    // "$XDG_CACHE_HOME/Nimbrel", by default "~/.cache/Nimbrel"; beside the settings ("DIR/cache") when they are
    // kept in a folder of their own, given or named by NIMBREL_SETTINGS_DIR. Empty without a home.
    static std::string directoryFor(const std::string &settingsDirectory);

    const std::string &directory() const { return m_directory; }
    std::string pathOf(std::uint32_t state, std::uint32_t city) const;

    // Reads the place's file into record. Anything but Read leaves record empty and, but for Missing, says why in
    // reason ("it is not valid JSON (line 1)", "it is for another place").
    Loaded load(std::uint32_t state, std::uint32_t city, std::int64_t now, LPlaceCacheRecord &record,
        std::string &reason) const;
    // Writes the record's file, its folder made where needed. 0, or the errno of the failure, with its words in
    // reason.
    int save(const LPlaceCacheRecord &record, std::string &reason) const;

private:
    std::string m_directory;
};

} // namespace settings
