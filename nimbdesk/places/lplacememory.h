#pragma once

#include "meteo/base/wcondition.h"
#include "settings/lplacelist.h"

#include <vector>

namespace nimbdesk
{

// The last observation of each saved place, so that switching to a place shows its own values, with their age,
// at once while its update runs. This one keeps them while the program runs; one that keeps them on disk as well
// takes its place through the same calls.
class LPlaceValues
{
public:
    virtual ~LPlaceValues() = default;
    virtual void Remember(const settings::LPlaceId &place, const meteo::WCondition &condition) = 0;
    // False, condition untouched, when nothing is known of the place.
    virtual bool Recall(const settings::LPlaceId &place, meteo::WCondition &condition) const = 0;
};

class LPlaceMemory final : public LPlaceValues
{
public:
    void Remember(const settings::LPlaceId &place, const meteo::WCondition &condition) override;
    bool Recall(const settings::LPlaceId &place, meteo::WCondition &condition) const override;

private:
    struct Entry {
        settings::LPlaceId place;
        meteo::WCondition condition;
    };
    // At most a few places: a list is quicker than a map and keeps no order to maintain.
    std::vector<Entry> m_entries;
};

} // namespace nimbdesk
