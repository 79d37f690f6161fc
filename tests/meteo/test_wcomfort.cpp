#include "meteo/base/wcomfort.h"

#include "meteo/base/wconvert.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace meteo;

namespace
{

constexpr float MPH_PER_KNOT = 1.150779f;

// Rounded to whole degrees F, as the National Weather Service's charts print them.
long chartDegrees(std::optional<float> celsius)
{
    return celsius ? std::lround(C2F(*celsius)) : -999;
}

// Points of the NWS dew point and humidity tables, in degrees F.
TEST(relativeHumidity, matchesNwsTables)
{
    struct Point {
        float temperatureF, dewPointF, humidity;
    };
    for (const Point &point :
        {Point{90, 70, 52}, Point{70, 50, 49}, Point{50, 30, 46}, Point{100, 60, 27}, Point{32, 32, 100}}) {
        SCOPED_TRACE(point.temperatureF);
        EXPECT_NEAR(relativeHumidity(F2C(point.temperatureF), F2C(point.dewPointF)), point.humidity, 0.6f);
    }
}

// Points of the NWS heat index chart: rows of temperature (F), columns of relative humidity.
TEST(heatIndex, matchesTheNwsChart)
{
    struct Point {
        float temperatureF, humidity;
        long index;
    };
    for (const Point &point : {Point{80, 40, 80}, Point{84, 75, 92}, Point{90, 50, 95}, Point{90, 60, 100},
             Point{90, 100, 132}, Point{96, 65, 121}, Point{100, 40, 109}, Point{104, 55, 137}, Point{110, 40, 136}}) {
        SCOPED_TRACE(testing::Message() << point.temperatureF << " F " << point.humidity << "%");
        EXPECT_EQ(chartDegrees(heatIndex(F2C(point.temperatureF), point.humidity)), point.index);
    }
    // Below 80 F there is none; in very dry and in very humid air the regression's corrections apply.
    EXPECT_FALSE(heatIndex(F2C(79.5f), 90));
    EXPECT_EQ(chartDegrees(heatIndex(F2C(100), 5)), 93);
    EXPECT_EQ(chartDegrees(heatIndex(F2C(82), 95)), 94);
}

// Points of the NWS wind chill chart: rows of temperature (F), columns of wind speed (mph).
TEST(windChill, matchesTheNwsChart)
{
    struct Point {
        float temperatureF, mph;
        long chill;
    };
    for (const Point &point : {Point{40, 5, 36}, Point{40, 30, 28}, Point{30, 10, 21}, Point{20, 25, 3},
             Point{0, 15, -19}, Point{0, 60, -33}, Point{-20, 10, -41}, Point{-20, 40, -57}}) {
        SCOPED_TRACE(testing::Message() << point.temperatureF << " F " << point.mph << " mph");
        EXPECT_EQ(chartDegrees(windChill(F2C(point.temperatureF), point.mph / MPH_PER_KNOT)), point.chill);
    }
    // Only at 50 F or below, with wind of 3 mph or more.
    EXPECT_TRUE(windChill(F2C(50), 3 / MPH_PER_KNOT));
    EXPECT_FALSE(windChill(F2C(50.5f), 20));
    EXPECT_FALSE(windChill(F2C(0), 2.9f / MPH_PER_KNOT));
}

} // namespace
