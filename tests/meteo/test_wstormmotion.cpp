#include "meteo/base/wstormmotion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace meteo;

namespace
{

// 2026-09-02T07:50:00Z
constexpr std::int64_t NOW = 1788335400;
// A place in the plains; a tenth of a degree of latitude is 11.12 km, of longitude there 8.52 km.
constexpr double PLACE_LAT = 40.0;
constexpr double PLACE_LON = -95.0;
constexpr double KM_PER_DEGREE = 111.195;

WStormMotion motion(std::int64_t time, int fromDeg, int speedKt, std::vector<WStormPoint> points)
{
    return {time, fromDeg, speedKt, std::move(points)};
}

WStormApproach estimated(const WStormMotion &storm)
{
    const std::optional<WStormApproach> approach = estimateStormApproach(storm, PLACE_LAT, PLACE_LON, NOW);
    EXPECT_TRUE(approach);
    return approach.value_or(WStormApproach{});
}

// Motions as the service's alerts state them, from the recorded answer of 2026-09-02.
TEST(ParseStormMotion, recordedMotions)
{
    const std::optional<WStormMotion> line
        = parseStormMotion("2026-09-02T07:47:00-00:00...storm...275DEG...27KT...43.43,-85.39 43.28,-85.62");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->time, NOW - 180);
    EXPECT_EQ(line->fromDeg, 275);
    EXPECT_EQ(line->speedKt, 27);
    ASSERT_EQ(line->points.size(), 2u);
    EXPECT_DOUBLE_EQ(line->points[1].latitude, 43.28);
    EXPECT_DOUBLE_EQ(line->points[1].longitude, -85.62);

    const std::optional<WStormMotion> one
        = parseStormMotion("2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85,-88.6");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->time, NOW - 240);
    ASSERT_EQ(one->points.size(), 1u);
    EXPECT_DOUBLE_EQ(one->points[0].longitude, -88.6);

    const std::optional<WStormMotion> offset
        = parseStormMotion("2024-05-21T14:26:00-05:00...storm...000DEG...0KT...40.92,-95.39");
    ASSERT_TRUE(offset);
    EXPECT_EQ(offset->time, 1716319560);
    EXPECT_EQ(offset->speedKt, 0);
}

TEST(ParseStormMotion, wrongFormat)
{
    for (const char *text : {"", "2026-09-02T07:46:00-00:00", "2026-09-02T07:46:00-00:00...storm...272DEG...38KT",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38KT...",
             "2026-09-02T07:46:00...storm...272DEG...38KT...43.85,-88.6",
             "2026-09-02T07:46:00-00:00...storm...400DEG...38KT...43.85,-88.6",
             "2026-09-02T07:46:00-00:00...storm...272DEG...-5KT...43.85,-88.6",
             "2026-09-02T07:46:00-00:00...storm...272...38KT...43.85,-88.6",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38MPH...43.85,-88.6",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38KT...93.85,-88.6",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85,-188.6",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85,-88.6 nan,-88.6",
             "2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85,-88.6...more",
             "2026-09-02T07:46:00-00:00...272DEG...38KT...43.85,-88.6"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseStormMotion(text));
    }
}

// 30 kt is 55.56 km/h; the storms start 0.5 degrees (55.6 km) south of the place unless said otherwise.
TEST(EstimateStormApproach, headingStraightAtThePlace)
{
    const WStormApproach approach = estimated(motion(NOW, 180, 30, {{39.5, -95.0}}));
    EXPECT_NEAR(approach.distanceKm, 55.6, 0.1);
    EXPECT_NEAR(approach.bearingDeg, 180, 0.01);
    EXPECT_NEAR(approach.closestKm, 0, 0.01);
    EXPECT_NEAR(approach.closestTime, NOW + 3602, 2);
    EXPECT_FALSE(approach.movingAway);
    EXPECT_FALSE(approach.stillNearing);
}

// Half an hour ago the storm was 27.8 km further south; it has travelled to where the last case starts.
TEST(EstimateStormApproach, movedAlongItsMotionToNow)
{
    const WStormApproach approach = estimated(motion(NOW - 1800, 180, 30, {{39.5 - 27.78 / KM_PER_DEGREE, -95.0}}));
    EXPECT_NEAR(approach.distanceKm, 55.6, 0.1);
    EXPECT_NEAR(approach.closestTime, NOW + 3602, 2);
}

// West of the track by 0.5 degrees of longitude: 42.6 km.
TEST(EstimateStormApproach, passingToTheSide)
{
    const WStormApproach approach = estimated(motion(NOW, 180, 30, {{39.5, -95.5}}));
    EXPECT_NEAR(approach.distanceKm, 70.0, 0.2);
    EXPECT_NEAR(approach.bearingDeg, 217.4, 0.2);
    EXPECT_NEAR(approach.closestKm, 42.6, 0.1);
    EXPECT_NEAR(approach.closestBearingDeg, 270, 0.2);
    EXPECT_NEAR(approach.closestTime, NOW + 3602, 2);
    EXPECT_FALSE(approach.movingAway);
}

TEST(EstimateStormApproach, movingAway)
{
    const WStormApproach approach = estimated(motion(NOW, 0, 30, {{39.5, -95.0}}));
    EXPECT_NEAR(approach.closestKm, 55.6, 0.1);
    EXPECT_EQ(approach.closestTime, NOW);
    EXPECT_TRUE(approach.movingAway);
    EXPECT_FALSE(approach.stillNearing);
}

// 20 kt (37.04 km/h) from 222.4 km away: 74.1 km nearer after the two hours and still coming.
TEST(EstimateStormApproach, stillNearingAfterTwoHours)
{
    const WStormApproach approach = estimated(motion(NOW, 180, 20, {{38.0, -95.0}}));
    EXPECT_NEAR(approach.closestKm, 148.3, 0.2);
    EXPECT_EQ(approach.closestTime, NOW + STORM_ESTIMATE_SECONDS);
    EXPECT_TRUE(approach.stillNearing);
    EXPECT_FALSE(approach.movingAway);
}

// A line from a degree west to a degree east, south of the place: its nearest point is the middle of a segment,
// not an end, and the place passes under the line.
TEST(EstimateStormApproach, lineOfStorms)
{
    const WStormApproach approach = estimated(motion(NOW, 180, 30, {{39.5, -96.0}, {39.5, -94.0}}));
    EXPECT_NEAR(approach.distanceKm, 55.6, 0.1);
    EXPECT_NEAR(approach.bearingDeg, 180, 0.01);
    EXPECT_NEAR(approach.closestKm, 0, 0.01);
    EXPECT_NEAR(approach.closestTime, NOW + 3602, 2);

    // A bent line whose corner, nearest now, passes 8.5 km west; its far segment crosses the place 1.5 hours on.
    const WStormApproach bent = estimated(motion(NOW, 180, 30, {{39.0, -95.3}, {39.5, -95.1}, {39.0, -94.9}}));
    EXPECT_NEAR(bent.distanceKm, 56.2, 0.1);
    EXPECT_NEAR(bent.bearingDeg, 188.7, 0.1);
    EXPECT_NEAR(bent.closestKm, 0, 0.01);
    EXPECT_NEAR(bent.closestTime, NOW + 5404, 2);
}

TEST(EstimateStormApproach, stationaryStormIsNearestNow)
{
    const WStormApproach approach = estimated(motion(NOW - 3600, 90, 0, {{39.5, -95.0}}));
    EXPECT_NEAR(approach.distanceKm, 55.6, 0.1);
    EXPECT_EQ(approach.closestTime, NOW);
    EXPECT_FALSE(approach.movingAway);
}

// More than two hours old, or further ahead of the clock than it can be off: no estimate rather than a wrong one.
TEST(EstimateStormApproach, staleOrFutureMotions)
{
    const std::vector<WStormPoint> south{{39.5, -95.0}};
    EXPECT_TRUE(estimateStormApproach(motion(NOW - 7200, 180, 30, south), PLACE_LAT, PLACE_LON, NOW));
    EXPECT_FALSE(estimateStormApproach(motion(NOW - 7201, 180, 30, south), PLACE_LAT, PLACE_LON, NOW));
    EXPECT_TRUE(estimateStormApproach(motion(NOW + 600, 180, 30, south), PLACE_LAT, PLACE_LON, NOW));
    EXPECT_FALSE(estimateStormApproach(motion(NOW + 601, 180, 30, south), PLACE_LAT, PLACE_LON, NOW));
    EXPECT_FALSE(estimateStormApproach(motion(NOW, 180, 30, {}), PLACE_LAT, PLACE_LON, NOW));
}

// The recorded storm near Fond du Lac, seen from Sheboygan four minutes later: 71.5 km west and 11 km north,
// moving toward 92 degrees at 70.4 km/h, it passes 8.6 km north about an hour after its fix.
TEST(EstimateStormApproach, recordedMotion)
{
    const std::optional<WStormMotion> storm
        = parseStormMotion("2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85,-88.6");
    ASSERT_TRUE(storm);
    const std::optional<WStormApproach> approach = estimateStormApproach(*storm, 43.75, -87.71, NOW);
    ASSERT_TRUE(approach);
    EXPECT_NEAR(approach->distanceKm, 67.7, 0.2);
    EXPECT_NEAR(approach->closestKm, 8.6, 0.2);
    EXPECT_NEAR(approach->closestBearingDeg, 2, 2);
    EXPECT_NEAR(approach->closestTime, NOW - 240 + 3675, 30);
}

} // namespace
