#include "nimbdesk/alerts/lstormnotes.h"

#include "meteo/base/wlocation.h"
#include "tests/support/centraltime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace nimbdesk;

namespace
{

// Monday 7 December 2026, 1:50 PM CST.
constexpr std::int64_t T0 = 1796673000;
const std::string NOTE = " (estimated from the warning's storm motion)";

WLocation place()
{
    WLocation location;
    location.setCityData("acode(KXYZ)azone(NEZ001)alat(40.0)alon(-95.0)");
    return location;
}

// Half a degree (55.6 km) south of the place at T0, coming north at 37 kt (68.5 km/h): over it 48.7 minutes later.
WAlertRecord warning()
{
    WAlertRecord alert;
    alert.event = "Severe Thunderstorm Warning";
    alert.text = "SEVERE THUNDERSTORM WARNING - a\nAt 140 PM CST, a severe thunderstorm was located near Town.\n";
    alert.motion = WStormMotion{T0, 180, 37, {{39.5, -95.0}}};
    return alert;
}

WAlertRecord watch()
{
    WAlertRecord alert;
    alert.event = "Flood Watch";
    alert.text = "FLOOD WATCH - b\n";
    return alert;
}

// The estimate follows the clock, in the unit of the settings, until the motion is too old to say anything.
TEST(LStormNotes, sentenceAtEachMoment)
{
    LStormNotes notes;
    notes.Update({watch(), warning()}, place(), 0);
    EXPECT_EQ(notes.LineOf(warning(), T0), "Storm 35 mi S of you, moving N at 43 mph; over you about 2:38 PM" + NOTE);
    EXPECT_EQ(
        notes.LineOf(warning(), T0 + 1200), "Storm 20 mi S of you, moving N at 43 mph; over you about 2:38 PM" + NOTE);
    EXPECT_EQ(notes.Lines(T0 + 1200), std::vector<std::string>{notes.LineOf(warning(), T0 + 1200)});
    EXPECT_EQ(notes.LineOf(watch(), T0), "");
    EXPECT_TRUE(notes.Lines(T0 + 7201).empty());

    notes.Update({warning()}, place(), 1);
    EXPECT_EQ(notes.LineOf(warning(), T0), "Storm 56 km S of you, moving N at 69 km/h; over you about 2:38 PM" + NOTE);

    WLocation nowhere;
    notes.Update({warning()}, nowhere, 0);
    EXPECT_TRUE(notes.Lines(T0).empty());
}

// The sentence goes on a line of its own above its alert's first line, indented as that line is.
TEST(LStormNotes, annotatedSpecialText)
{
    LStormNotes notes;
    notes.Update({watch(), warning()}, place(), 0);
    const std::string sentence = notes.LineOf(warning(), T0);
    EXPECT_EQ(notes.Annotated("FLOOD WATCH - b\r\n more\r\n SEVERE THUNDERSTORM WARNING - a\r\n At 140 PM.\r\n", T0),
        "FLOOD WATCH - b\r\n more\r\n " + sentence + "\r\n SEVERE THUNDERSTORM WARNING - a\r\n At 140 PM.\r\n");
    EXPECT_EQ(notes.Annotated("SEVERE THUNDERSTORM WARNING - a\r\n At 140 PM.\r\n", T0),
        sentence + "\r\nSEVERE THUNDERSTORM WARNING - a\r\n At 140 PM.\r\n");
    EXPECT_EQ(notes.Annotated("FLOOD WATCH - b\r\n", T0), "FLOOD WATCH - b\r\n");
    EXPECT_EQ(notes.Annotated("SEVERE THUNDERSTORM WARNING - a\r\n", T0 + 7201), "SEVERE THUNDERSTORM WARNING - a\r\n");
}

} // namespace
