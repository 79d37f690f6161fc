#pragma once

#include "meteo/base/wcondition.h"
#include "settings/lplacecache.h"
#include "settings/lplacelist.h"

#include <string>
#include <vector>

namespace nimbdesk
{

// The last observation of each saved place, so that switching to a place shows its own values, with their age,
// at once while its update runs, and the tray's tip names each place's temperature.
class LPlaceValues
{
public:
    virtual ~LPlaceValues() = default;
    virtual void Remember(const settings::LPlaceId &place, const meteo::WCondition &condition) = 0;
    // False, condition untouched, when nothing is known of the place.
    virtual bool Recall(const settings::LPlaceId &place, meteo::WCondition &condition) const = 0;
};

// Keeps them while the program runs; a place it has not seen yet is looked up in the place cache
// (settings::LPlaceCache), where the window keeps the last values of each place it showed, in an earlier run too.
class LPlaceMemory final : public LPlaceValues
{
public:
    // The cache's folder; an empty one looks up nothing.
    explicit LPlaceMemory(std::string cacheDirectory = std::string());

    void Remember(const settings::LPlaceId &place, const meteo::WCondition &condition) override;
    bool Recall(const settings::LPlaceId &place, meteo::WCondition &condition) const override;

private:
    struct Entry {
        settings::LPlaceId place;
        meteo::WCondition condition;
    };
    Entry *entryOf(const settings::LPlaceId &place) const;

    settings::LPlaceCache m_cache;
    // At most a few places: a list is quicker than a map and keeps no order to maintain. Filled from the cache as
    // places are recalled.
    mutable std::vector<Entry> m_entries;
};

} // namespace nimbdesk
