#include "nimbdesk/places/lplacememory.h"

#include <algorithm>

using namespace settings;
using namespace meteo;

namespace nimbdesk
{

void LPlaceMemory::Remember(const LPlaceId &place, const WCondition &condition)
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&place](const Entry &entry) { return entry.place == place; });
    if (found != m_entries.end())
        found->condition = condition;
    else
        m_entries.push_back({place, condition});
}

bool LPlaceMemory::Recall(const LPlaceId &place, WCondition &condition) const
{
    const auto found = std::find_if(
        m_entries.begin(), m_entries.end(), [&place](const Entry &entry) { return entry.place == place; });
    if (found == m_entries.end())
        return false;
    condition = found->condition;
    return true;
}

} // namespace nimbdesk
