#include "meteo/base/wcondition.h"

#include "corekit/lctime.h"
#include "corekit/lstring.h"

#include <gtest/gtest.h>

using namespace corekit;
using namespace meteo;

namespace
{

WCondition observed()
{
    WCondition condition;
    condition.setValid(true);
    condition.setTemp(24.4f);
    condition.setDewPoint(12.2f);
    condition.setPressure(30.01f);
    condition.setWindDirection(400);
    condition.setWindSpeed(15);
    condition.setWindGustSpeed(25);
    condition.setTime(LCTime(6, 12, 2025, 18, 51, 0, LTime::UTC));
    return condition;
}

TEST(WCondition, startsInvalidWithoutTime)
{
    const WCondition condition;
    EXPECT_FALSE(condition.isValid());
    EXPECT_FALSE(condition.getTime().IsValid());
    EXPECT_EQ(condition.getTime().GetTimeZone(), LTime::LCL);

    // A condition never filled copies as one.
    const WCondition copy(condition);
    EXPECT_FALSE(copy.isValid());
    EXPECT_FALSE(copy.getTime().IsValid());
}

TEST(WCondition, formatsTemperatureInEitherScale)
{
    WCondition condition = observed();
    LString text("left over");
    EXPECT_EQ(&condition.formatTemp(text, WCondition::Celsius), &text);
    EXPECT_STREQ(text, "24 C");
    EXPECT_STREQ(condition.formatTemp(text, WCondition::Fahrenheit), "76 F");
    EXPECT_STREQ(condition.formatTemp(text, static_cast<WCondition::TempScale>(2)), "76 F");

    condition.setTemp(-40.0f);
    EXPECT_STREQ(condition.formatTemp(text, WCondition::Celsius), "-40 C");
    EXPECT_STREQ(condition.formatTemp(text, WCondition::Fahrenheit), "-40 F");
    // The C library's rounding: halves go to the even neighbour, and a small negative keeps its sign.
    condition.setTemp(2.5f);
    EXPECT_STREQ(condition.formatTemp(text, WCondition::Celsius), "2 C");
    condition.setTemp(-0.4f);
    EXPECT_STREQ(condition.formatTemp(text, WCondition::Celsius), "-0 C");
    condition.setTemp(-17.5f);
    EXPECT_STREQ(condition.formatTemp(text, WCondition::Fahrenheit), "0 F");
}

} // namespace
