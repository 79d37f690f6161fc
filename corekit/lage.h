#pragma once

#include "corekit/corekit_export.h"

#include <cstdint>

namespace corekit
{

// How an age is told: in which unit and how many of it, rounded down. The wording is the caller's (the window
// translates it, the command line writes English); the cut-offs are shared so both say the same age.
struct LAge {
    enum class Unit { Minutes, Hours, Days };
    Unit unit;
    std::int64_t count;
};

// Minutes below an hour, hours below two days (so that "30 h ago" is not rounded down to a day), days after.
// A negative age, from a clock that runs behind the station's, counts as none.
COREKIT_EXPORT LAge ageOf(std::int64_t seconds);

} // namespace corekit
