#include "meteo/reader/wstormwords.h"

#include <gtest/gtest.h>

#include <string>

using namespace meteo;

namespace
{

const std::string NOTE = " (estimated from the warning's storm motion)";

// Coming from 213 degrees at 37 kt (43 mph, 69 km/h): travelling toward 33 degrees, northeast.
const WStormMotion ONE_STORM{0, 213, 37, {{40.92, -95.39}}};
const WStormMotion LINE{0, 213, 37, {{40.92, -95.39}, {40.70, -95.50}}};

WStormApproach approach(double distanceKm, double bearingDeg, double closestKm, double closestBearingDeg)
{
    WStormApproach approach;
    approach.distanceKm = distanceKm;
    approach.bearingDeg = bearingDeg;
    approach.closestKm = closestKm;
    approach.closestBearingDeg = closestBearingDeg;
    return approach;
}

TEST(WStormWords, closestApproachInEachUnit)
{
    const WStormApproach near = approach(19.3, 225, 3.2, 0);
    EXPECT_EQ(WStormWords(WStormWords::Speed::Mph).line(ONE_STORM, near, "1:42 PM"),
        "Storm 12 mi SW of you, moving NE at 43 mph; closest about 1:42 PM, 2 mi N" + NOTE);
    EXPECT_EQ(WStormWords(WStormWords::Speed::Kmh).line(ONE_STORM, near, "13:42"),
        "Storm 19 km SW of you, moving NE at 69 km/h; closest about 13:42, 3 km N" + NOTE);
    EXPECT_EQ(WStormWords(WStormWords::Speed::Kt).line(ONE_STORM, near, "1:42 PM"),
        "Storm 12 mi SW of you, moving NE at 37 kt; closest about 1:42 PM, 2 mi N" + NOTE);
}

TEST(WStormWords, whereTheStormHeads)
{
    const WStormWords words(WStormWords::Speed::Mph);
    WStormApproach away = approach(19.3, 45, 19.3, 45);
    away.movingAway = true;
    EXPECT_EQ(words.line(ONE_STORM, away, "1:00 PM"), "Storm 12 mi NE of you, moving NE at 43 mph; moving away" + NOTE);
    EXPECT_EQ(words.line(ONE_STORM, approach(60, 200, 40.2, 290), "2:10 PM"),
        "Storm 37 mi S of you, moving NE at 43 mph; passing 25 mi to the west about 2:10 PM" + NOTE);
    WStormApproach coming = approach(200, 225, 74, 225);
    coming.stillNearing = true;
    EXPECT_EQ(words.line(ONE_STORM, coming, "3:40 PM"),
        "Storm 124 mi SW of you, moving NE at 43 mph; still nearing at 3:40 PM, 46 mi SW" + NOTE);
    EXPECT_EQ(words.line(ONE_STORM, approach(0.4, 0, 0.4, 0), "1:00 PM"),
        "Storm over you, moving NE at 43 mph; over you about 1:00 PM" + NOTE);
    EXPECT_EQ(words.line(LINE, approach(19.3, 225, 0, 0), "1:30 PM"),
        "Line of storms 12 mi SW of you, moving NE at 43 mph; over you about 1:30 PM" + NOTE);
    const WStormMotion still{0, 0, 0, {{40.92, -95.39}}};
    EXPECT_EQ(words.line(still, approach(19.3, 315, 19.3, 315), "1:00 PM"),
        "Storm 12 mi NW of you, nearly stationary" + NOTE);
}

} // namespace
