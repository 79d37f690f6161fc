#include "corekit/lage.h"

#include <gtest/gtest.h>

using namespace corekit;

namespace
{

constexpr std::int64_t MINUTE = 60;
constexpr std::int64_t HOUR = 60 * MINUTE;

void expectAge(std::int64_t seconds, LAge::Unit unit, std::int64_t count)
{
    SCOPED_TRACE(testing::Message() << seconds << " s");
    const LAge age = ageOf(seconds);
    EXPECT_EQ(age.unit, unit);
    EXPECT_EQ(age.count, count);
}

} // namespace

// Each unit from its first second to its last, rounded down: the window and the command line both tell these.
TEST(LAge, unitsChangeAtAnHourAndAtTwoDays)
{
    expectAge(0, LAge::Unit::Minutes, 0);
    expectAge(59, LAge::Unit::Minutes, 0);
    expectAge(MINUTE, LAge::Unit::Minutes, 1);
    expectAge(HOUR - 1, LAge::Unit::Minutes, 59);
    expectAge(HOUR, LAge::Unit::Hours, 1);
    expectAge(2 * HOUR - 1, LAge::Unit::Hours, 1);
    expectAge(30 * HOUR, LAge::Unit::Hours, 30);
    expectAge(48 * HOUR - 1, LAge::Unit::Hours, 47);
    expectAge(48 * HOUR, LAge::Unit::Days, 2);
    expectAge(24 * 24 * HOUR + 23 * HOUR, LAge::Unit::Days, 24);
}

// A computer clock a little behind the station's makes a report seem to come from the future.
TEST(LAge, aNegativeAgeIsNone)
{
    expectAge(-90, LAge::Unit::Minutes, 0);
}
