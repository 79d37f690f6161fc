#include "nimbdesk/places/lplacememory.h"

#include <algorithm>
#include <ctime>
#include <string>
#include <utility>

using namespace settings;
using namespace meteo;

namespace nimbdesk
{

LPlaceMemory::LPlaceMemory(std::string cacheDirectory)
    : m_cache(std::move(cacheDirectory))
{
}

void LPlaceMemory::Remember(const LPlaceId &place, const WCondition &condition)
{
    if (Entry *entry = entryOf(place))
        entry->condition = condition;
    else
        m_entries.push_back({place, condition});
}

// A file that cannot be used is the window's to tell of, when the place is shown.
bool LPlaceMemory::Recall(const LPlaceId &place, WCondition &condition) const
{
    if (const Entry *entry = entryOf(place)) {
        condition = entry->condition;
        return true;
    }
    LPlaceCacheRecord record;
    std::string reason;
    if (m_cache.load(place.stateId, place.cityId, std::time(nullptr), record, reason) != LPlaceCache::Loaded::Read
        || !record.condition)
        return false;
    m_entries.push_back({place, *record.condition});
    condition = *record.condition;
    return true;
}

LPlaceMemory::Entry *LPlaceMemory::entryOf(const LPlaceId &place) const
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&place](const Entry &entry) { return entry.place == place; });
    return found == m_entries.end() ? nullptr : &*found;
}

} // namespace nimbdesk
