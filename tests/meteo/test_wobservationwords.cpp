#include "meteo/reader/wobservationwords.h"

#include <gtest/gtest.h>

using namespace corekit;
using namespace meteo;

namespace
{

const WObservationWords usWords(WCondition::Fahrenheit, WObservationWords::Distance::Imperial);
const WObservationWords metricWords(WCondition::Celsius, WObservationWords::Distance::Metric);

WObservation observed(const char *report, float temperatureC, float dewPointC, float windKnots)
{
    WObservation observation = readObservation(report);
    addComfort(observation, temperatureC, dewPointC, windKnots);
    return observation;
}

TEST(WObservationWords, wholeLineInEitherUnits)
{
    const WObservation storm
        = observed("KDSM 211854Z 17023G37KT 2 1/2SM -TSRA BR BKN008CB OVC035 28/23 A2951", 28, 23, 23);
    EXPECT_EQ(usWords.line(storm),
        "Thunderstorm, light rain, mist \u00b7 Broken 800 ft (CB), overcast 3,500 ft \u00b7 Visibility 2\u00bd mi "
        "\u00b7 Humidity 74% \u00b7 Feels like 88\u00b0F");
    EXPECT_EQ(metricWords.line(storm),
        "Thunderstorm, light rain, mist \u00b7 Broken 240 m (CB), overcast 1,070 m \u00b7 Visibility 4 km "
        "\u00b7 Humidity 74% \u00b7 Feels like 31\u00b0C");
    EXPECT_EQ(WObservationWords::weather(storm), "thunderstorm, light rain, mist");

    const WObservation cold = observed("KBIS 101756Z 33025KT P6SM FEW250 SCT///TCU VV001 CLR M12/M14", -12, -14, 25);
    EXPECT_EQ(usWords.line(cold),
        "Few clouds 25,000 ft, scattered clouds (TCU), sky obscured, vertical visibility 100 ft, clear sky \u00b7 "
        "Visibility more than 6 mi \u00b7 Humidity 85% \u00b7 Feels like -11\u00b0F");
    EXPECT_EQ(WObservationWords::weather(cold), "");
}

// Quarters and eighths as a chart prints them, other fractions plainly, metres below a kilometre.
TEST(WObservationWords, visibility)
{
    struct Case {
        const char *group, *miles, *metric;
    };
    for (const Case &c : {Case{"M1/4SM", "Visibility less than \u00bc mi", "Visibility less than 400 m"},
             Case{"1 3/4SM", "Visibility 1\u00be mi", "Visibility 2.8 km"},
             Case{"1/8SM", "Visibility \u215b mi", "Visibility 200 m"},
             Case{"5/16SM", "Visibility 5/16 mi", "Visibility 500 m"}, Case{"0SM", "Visibility 0 mi", "Visibility 0 m"},
             Case{"10SM", "Visibility 10 mi", "Visibility 16 km"}, Case{"6000", "Visibility 3.7 mi", "Visibility 6 km"},
             Case{"9999", "Visibility more than 6 mi", "Visibility more than 10 km"},
             Case{"0000", "Visibility less than 0.03 mi", "Visibility less than 50 m"}}) {
        SCOPED_TRACE(c.group);
        const WObservation observation = readObservation(std::string("KXYZ 121853Z 18010KT ") + c.group);
        EXPECT_EQ(usWords.line(observation), c.miles);
        EXPECT_EQ(metricWords.line(observation), c.metric);
    }
}

// A heat index comes before a wind chill; an observation without anything to say says nothing.
TEST(WObservationWords, partsLeftOut)
{
    WObservation observation;
    EXPECT_EQ(usWords.line(observation), "");
    observation.humidityPct = 99.6f;
    observation.windChillC = -0.2f;
    EXPECT_EQ(metricWords.line(observation), "Humidity 100% \u00b7 Feels like 0\u00b0C");
    observation.heatIndexC = 40.0f;
    EXPECT_EQ(usWords.line(observation), "Humidity 100% \u00b7 Feels like 104\u00b0F");
}

} // namespace
