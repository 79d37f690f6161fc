#pragma once

#include "meteo/base/wstormmotion.h"
#include "meteo/meteo_export.h"

#include <string>

namespace meteo
{

// A storm's estimated approach in one sentence, in a person's units, as UTF-8 text:
//   "Storm 12 mi SW of you, moving NE at 43 mph; closest about 1:42 PM, 2 mi N (estimated from the warning's storm
//    motion)"
// The last part says where the storm heads: "moving away", "passing 25 mi to the west about 2:10 PM", "still
// nearing at 3:40 PM, 16 mi SW" when it is nearer still at the end of the two hours the estimate looks ahead.
class METEO_EXPORT WStormWords
{
public:
    // Speeds in miles per hour with distances in miles, kilometres per hour with kilometres, or knots with miles.
    enum class Speed { Mph, Kmh, Kt };

    explicit WStormWords(Speed speed);

    // closestClock is the time of the closest approach as the caller shows local times ("1:42 PM").
    std::string line(const WStormMotion &motion, const WStormApproach &approach, const std::string &closestClock) const;

private:
    std::string where(const WStormApproach &approach) const;
    std::string heading(const WStormMotion &motion) const;
    std::string ahead(const WStormMotion &motion, const WStormApproach &approach, const std::string &clock) const;
    std::string distance(double km) const;

    Speed m_speed;
};

} // namespace meteo
