#include "corekit/lage.h"

#include <algorithm>

namespace corekit
{

namespace
{

constexpr std::int64_t MINUTE = 60;
constexpr std::int64_t HOUR = 60 * MINUTE;
constexpr std::int64_t DAY = 24 * HOUR;
constexpr std::int64_t HOURS_BEFORE_DAYS = 48;

} // namespace

LAge ageOf(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(seconds, 0);
    if (seconds < HOUR)
        return {LAge::Unit::Minutes, seconds / MINUTE};
    if (seconds < HOURS_BEFORE_DAYS * HOUR)
        return {LAge::Unit::Hours, seconds / HOUR};
    return {LAge::Unit::Days, seconds / DAY};
}

} // namespace corekit
