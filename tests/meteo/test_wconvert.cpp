#include "meteo/base/wconvert.h"

#include <gtest/gtest.h>

using namespace meteo;

namespace
{

TEST(wconvert, knotsToMilesPerHourFromTheTable)
{
    EXPECT_FLOAT_EQ(knots2MPH(0), 0.0f);
    EXPECT_FLOAT_EQ(knots2MPH(1), 1.2f);
    EXPECT_FLOAT_EQ(knots2MPH(7), 8.1f);
    // 125 knots are 143.85 mph: the half is rounded up.
    EXPECT_FLOAT_EQ(knots2MPH(125), 143.9f);
    EXPECT_FLOAT_EQ(knots2MPH(209), 240.5f);
    EXPECT_EQ(knots2MPH(210), 999.99f);
    EXPECT_EQ(knots2MPH(4000000000u), 999.99f);
    // Every entry is the whole knots times 1.1508, to one decimal.
    for (unsigned int knots = 0; knots < 210; ++knots) {
        const unsigned int tenths = (knots * 11508 + 500) / 1000;
        EXPECT_NEAR(knots2MPH(knots), tenths / 10.0, 1e-4) << knots;
    }
}

TEST(wconvert, unitsOfSpeedPressureAndTemperature)
{
    EXPECT_FLOAT_EQ(MPH2KMPH(100.0f), 160.9f);
    EXPECT_FLOAT_EQ(KMPH2MPH(160.9f), 100.0f);
    EXPECT_FLOAT_EQ(INHG2MMHG(29.92f), 759.968f);
    EXPECT_FLOAT_EQ(INHG2HPA(29.92f), 1013.205f);
    EXPECT_FLOAT_EQ(C2F(-40.0f), -40.0f);
    EXPECT_FLOAT_EQ(C2F(24.4f), 75.92f);
    EXPECT_FLOAT_EQ(C2F(0.0f), 32.0f);
    EXPECT_FLOAT_EQ(F2C(212.0f), 100.0f);
    EXPECT_FLOAT_EQ(F2C(32.0f), 0.0f);
    EXPECT_FLOAT_EQ(F2C(C2F(-17.8f)), -17.8f);
}

} // namespace

// Each point covers 22.5 degrees centred on it; directions beyond a turn, or below north, name the same points.
TEST(wconvert, compassPointsOfADirection)
{
    EXPECT_STREQ(compassPointName(0), "N");
    EXPECT_STREQ(compassPointName(11), "N");
    EXPECT_STREQ(compassPointName(12), "NNE");
    EXPECT_STREQ(compassPointName(200), "SSW");
    EXPECT_STREQ(compassPointName(348), "NNW");
    EXPECT_STREQ(compassPointName(349), "N");
    EXPECT_STREQ(compassPointName(360), "N");
    EXPECT_STREQ(compassPointName(-90), "W");
    EXPECT_STREQ(compassPointName(450), "E");
}
