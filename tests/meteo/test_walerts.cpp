#include "meteo/base/wisotime_p.h"
#include "meteo/reader/walerts_p.h"
#include "meteo/reader/wutf8_p.h"

#include "corekit/lex.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace
{

std::string recorded(const std::string &name)
{
    return nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/live/" + name);
}

const std::string PHOENIX = "alerts_active_point_33.25_-112.30_heat_aqa_2024.json";
const std::string FIVE_ALERTS = "alerts_limit5_SPS_test_SVR_cancel_update_2026-09-02.json";

// 2024-07-18T19:50:06Z, when the Phoenix answer was recorded.
constexpr std::int64_t PHOENIX_RECORDED = 1721332206;
// 2026-09-02T07:50:00Z, two minutes after the five alerts were recorded.
constexpr std::int64_t FIVE_RECORDED = 1788335400;

std::string firstLine(const std::string &text)
{
    return text.substr(0, text.find('\n'));
}

std::vector<WAlertKind> kindsOf(const WAlertList &list)
{
    std::vector<WAlertKind> kinds;
    for (const auto &alert : list.alerts())
        kinds.push_back(alert.kind);
    return kinds;
}

// One feature of an alert collection, with the members that decide whether and where an alert is shown.
std::string feature(const std::string &id, const std::string &event, const std::string &severity,
    const std::string &sent, const std::string &more = "")
{
    return R"({"properties": {"id": ")" + id + R"(", "status": "Actual", "messageType": "Alert", "event": ")" + event
        + R"(", "severity": ")" + severity + R"(", "sent": ")" + sent + R"(", "headline": ")" + id + R"(")" + more
        + "}}";
}

std::string collection(const std::vector<std::string> &features)
{
    std::string text = R"({"type": "FeatureCollection", "features": [)";
    for (std::size_t i = 0; i < features.size(); ++i)
        text += (i ? ", " : "") + features[i];
    return text + "]}";
}

TEST(WAlertList, pointAnswerOfHeatAndAirQuality)
{
    WAlertList list;
    ASSERT_EQ(list.read(recorded(PHOENIX), PHOENIX_RECORDED), L_OK);
    ASSERT_EQ(list.alerts().size(), 2u);
    // Severe before Unknown; the county-based alert is a warning too.
    EXPECT_EQ(kindsOf(list), (std::vector<WAlertKind>{WAlertKind::Warning, WAlertKind::Warning}));
    const std::string &heat = list.alerts()[0].text;
    EXPECT_EQ(firstLine(heat),
        "EXCESSIVE HEAT WARNING - EXCESSIVE HEAT WARNING REMAINS IN EFFECT FROM 10 AM FRIDAY TO 8 PM MST SATURDAY");
    EXPECT_EQ(
        heat.substr(heat.find('\n') + 1, 67), "* WHAT...Dangerously hot conditions. Afternoon temperatures 112 to\n");
    EXPECT_NE(heat.find("\nhttps://www.maricopa.gov/heat\nAn Excessive Heat Warning means that"), std::string::npos);
    EXPECT_TRUE(heat.ends_with("\nofficials for more details.\n"));
    const std::string &air = list.alerts()[1].text;
    EXPECT_EQ(firstLine(air),
        "AIR QUALITY ALERT - OZONE HIGH POLLUTION ADVISORY FOR MARICOPA COUNTY INCLUDING THE "
        "PHOENIX METRO AREA THROUGH FRIDAY");
    EXPECT_TRUE(air.ends_with("site at www.azdeq.gov/forecast/phoenix or call 602-771-2300.\n")) << "no instruction";

    const std::string warnings = list.text(WAlertKind::Warning);
    EXPECT_EQ(warnings.find("EXCESSIVE HEAT WARNING - "), 0u);
    EXPECT_NE(warnings.find("\r\n \r\n * WHERE...The Northwest Valley"), std::string::npos);
    EXPECT_NE(warnings.find("officials for more details.\r\n AIR QUALITY ALERT - "), std::string::npos);
    EXPECT_TRUE(warnings.ends_with("602-771-2300.\r\n"));
    EXPECT_EQ(warnings.find("\n\n"), std::string::npos);
    EXPECT_EQ(list.text(WAlertKind::Watch), "");
    EXPECT_EQ(list.text(WAlertKind::Statement), "");
}

TEST(WAlertList, expiryCountsTheOffset)
{
    // The heat warning expires at 2024-07-19T03:00:00-07:00, 10:00 UTC; the air quality alert at 21:00 MST.
    WAlertList list;
    ASSERT_EQ(list.read(recorded(PHOENIX), 1721383200 - 1), L_OK);
    EXPECT_EQ(list.alerts().size(), 2u);
    ASSERT_EQ(list.read(recorded(PHOENIX), 1721383200), L_OK);
    ASSERT_EQ(list.alerts().size(), 1u);
    EXPECT_EQ(firstLine(list.alerts()[0].text).substr(0, 17), "AIR QUALITY ALERT");
}

TEST(WAlertList, testsCancellationsAndStatements)
{
    WAlertList list;
    ASSERT_EQ(list.read(recorded(FIVE_ALERTS), FIVE_RECORDED), L_OK);
    // The test message and the cancellation are gone; the update of the warning stays.
    ASSERT_EQ(list.alerts().size(), 3u);
    EXPECT_EQ(
        kindsOf(list), (std::vector<WAlertKind>{WAlertKind::Warning, WAlertKind::Statement, WAlertKind::Statement}));
    EXPECT_EQ(firstLine(list.alerts()[0].text),
        "SEVERE THUNDERSTORM WARNING - A SEVERE THUNDERSTORM WARNING REMAINS IN EFFECT UNTIL 315 AM CDT FOR "
        "NORTHERN LA CROSSE...WESTERN JACKSON...NORTHWESTERN MONROE AND SOUTHERN TREMPEALEAU COUNTIES");
    EXPECT_TRUE(list.alerts()[0].text.ends_with(
        "For your protection move to an interior room on the lowest floor of a\nbuilding.\n"));
    // Both statements are Moderate: Grand Rapids' (07:48 UTC) is newer than Milwaukee's (07:46 UTC).
    const std::string statements = list.text(WAlertKind::Statement);
    EXPECT_EQ(statements.find("SPECIAL WEATHER STATEMENT - Strong thunderstorms will impact portions of northern "
                              "Kent, southeastern Newaygo and Montcalm Counties through 445 AM EDT\r\n"),
        0u);
    EXPECT_NE(statements.find("\r\n Stanton...             Howard City...         Edmore...\r\n"), std::string::npos);
    const auto milwaukee = statements.find(
        "\r\n SPECIAL WEATHER STATEMENT - A STRONG THUNDERSTORM WILL IMPACT NORTHEASTERN FOND DU LAC COUNTY");
    EXPECT_NE(milwaukee, std::string::npos);
    EXPECT_LT(statements.find("Wyman...               Langston..."), milwaukee);
    EXPECT_EQ(statements.find("Monitoring message"), std::string::npos);
    EXPECT_EQ(list.text(WAlertKind::Warning).find("has been cancelled"), std::string::npos);
    EXPECT_EQ(list.text(WAlertKind::Watch), "");

    // The warning's update ran out at 08:15 UTC, Milwaukee's statement at 08:30 UTC.
    ASSERT_EQ(list.read(recorded(FIVE_ALERTS), 1788336900), L_OK);
    EXPECT_EQ(kindsOf(list), (std::vector<WAlertKind>{WAlertKind::Statement, WAlertKind::Statement}));
    ASSERT_EQ(list.read(recorded(FIVE_ALERTS), 1788337800), L_OK);
    EXPECT_EQ(list.alerts().size(), 1u);
}

TEST(WAlertList, orderBySeverityThenNewestFirst)
{
    const std::string answer = collection({
        feature("minor", "Frost Advisory", "Minor", "2026-09-02T07:00:00+00:00"),
        feature("unknown", "Air Quality Alert", "Unknown", "2026-09-02T09:00:00+00:00"),
        feature("severe-old", "Flood Warning", "Severe", "2026-09-02T01:00:00-05:00"),
        feature("extreme", "Tornado Warning", "Extreme", "2026-09-01T00:00:00+00:00"),
        feature("severe-new", "Flash Flood Warning", "Severe", "2026-09-02T06:30:00Z"),
        feature("no-severity", "Wind Advisory", "", "2026-09-02T08:00:00Z"),
        feature("moderate", "Winter Storm Watch", "Moderate", "2026-09-02T07:00:00Z"),
    });
    WAlertList list;
    ASSERT_EQ(list.read(answer, FIVE_RECORDED), L_OK);
    std::vector<std::string> order;
    for (const auto &alert : list.alerts()) {
        const std::string line = firstLine(alert.text);
        order.push_back(line.substr(line.rfind(" - ") + 3));
    }
    // 01:00-05:00 is 06:00 UTC, older than 06:30 UTC; an empty severity counts as Unknown.
    EXPECT_EQ(order,
        (std::vector<std::string>{
            "extreme", "severe-new", "severe-old", "moderate", "minor", "unknown", "no-severity"}));
}

TEST(WAlertList, missingMembersAreAbsent)
{
    const std::string answer = collection({
        feature("a", "Heat Advisory", "Moderate", "2026-09-02T07:00:00Z",
            R"(, "parameters": {"NWSheadline": []}, "description": "Hot.\r\nVery hot.", "instruction": null)"),
        R"({"properties": {"status": "Actual", "event": "Flood Watch", "headline": null, "description": null}})",
        feature("a", "Heat Advisory", "Moderate", "2026-09-02T07:00:00Z"),
        feature("no-event", "", "Severe", "2026-09-02T07:00:00Z"),
        R"({"properties": {"status": "Actual", "headline": "without an event"}})",
        R"({"properties": {"status": "Test", "event": "Test Message", "headline": null}})",
        R"({"properties": {"status": "Exercise", "event": "Tornado Warning"}})",
        R"({"properties": {"status": "Actual", "messageType": "Cancel", "event": "Tornado Warning"}})",
        R"({"properties": {"status": "Actual", "event": 7}})",
        R"({"properties": "Actual"})",
        R"("not a feature")",
        R"({"id": "outer", "properties": {"status": "Actual", "event": " Flood Statement ", "expires": "soon"}})",
        R"({"id": "outer", "properties": {"status": "Actual", "event": "Flood Statement"}})",
    });
    WAlertList list;
    ASSERT_EQ(list.read(answer, FIVE_RECORDED), L_OK);
    ASSERT_EQ(list.alerts().size(), 3u);
    EXPECT_EQ(list.alerts()[0].text, "HEAT ADVISORY - a\nHot.\nVery hot.\n");
    EXPECT_EQ(list.alerts()[0].kind, WAlertKind::Warning);
    EXPECT_EQ(list.alerts()[1].text, "FLOOD WATCH\n");
    EXPECT_EQ(list.alerts()[1].kind, WAlertKind::Watch);
    // An expiry that cannot be read does not end the alert; the feature's id stands in for the properties'.
    EXPECT_EQ(list.alerts()[2].text, "FLOOD STATEMENT\n");
    EXPECT_EQ(list.text(WAlertKind::Warning), "HEAT ADVISORY - a\r\n Hot.\r\n Very hot.\r\n");
}

// A motion that cannot be read leaves the alert without one, and the alert stays.
TEST(WAlertList, motionsThatCannotBeRead)
{
    const std::string answer = collection({
        feature("none", "Severe Thunderstorm Warning", "Severe", "2026-09-02T07:00:00Z",
            R"(, "parameters": {"eventMotionDescription": []})"),
        feature("wrong", "Severe Thunderstorm Warning", "Severe", "2026-09-02T07:01:00Z",
            R"(, "parameters": {"eventMotionDescription": ["2026-09-02T07:00:00-00:00...storm...400DEG...20KT"]})"),
        feature("text", "Severe Thunderstorm Warning", "Severe", "2026-09-02T07:02:00Z",
            R"(, "parameters": {"eventMotionDescription": "2026-09-02T07:00:00-00:00...storm...200DEG...20KT...40,-95"})"),
    });
    WAlertList list;
    ASSERT_EQ(list.read(answer, FIVE_RECORDED), L_OK);
    ASSERT_EQ(list.alerts().size(), 3u);
    for (const WAlertRecord &alert : list.alerts())
        EXPECT_FALSE(alert.motion) << alert.id;
}

TEST(WAlertList, answersThatAreNotAlertCollections)
{
    const std::string whole = recorded(PHOENIX);
    const std::vector<std::string> wrong = {"", "<HTML><HEAD>\n<TITLE>Access Denied</TITLE>", "null", "[]",
        R"({"type": "FeatureCollection", "title": "no features"})", R"({"features": {"0": {}}})",
        whole.substr(0, whole.size() / 2), whole + "}"};
    for (const auto &answer : wrong) {
        WAlertList list;
        ASSERT_EQ(list.read(whole, PHOENIX_RECORDED), L_OK);
        EXPECT_EQ(list.read(answer, PHOENIX_RECORDED), L_FORMAT) << answer.substr(0, 60);
        EXPECT_TRUE(list.alerts().empty());
    }
    WAlertList empty;
    EXPECT_EQ(empty.read(R"({"features": []})", 0), L_OK);
    EXPECT_TRUE(empty.alerts().empty());
}

// A text of a shape no real answer has is refused before it is parsed, where it would cost forty times its size;
// what stands inside strings does not count.
TEST(WAlertList, answersBeyondTheShapeOfRealOnes)
{
    const auto nested = [](std::size_t levels) {
        return R"({"features": )" + std::string(levels, '[') + std::string(levels, ']') + "}";
    };
    std::string many = R"({"features": [{})";
    for (int i = 0; i < 200000; ++i)
        many += ",{}";
    many += "]}";
    WAlertList list;
    EXPECT_EQ(list.read(nested(63), 0), L_OK);
    EXPECT_EQ(list.read(nested(64), 0), L_FORMAT);
    EXPECT_EQ(list.read(many, 0), L_FORMAT);

    std::string quoted = recorded(PHOENIX);
    const std::string description = R"("description": ")";
    quoted.insert(
        quoted.find(description) + description.size(), std::string(70000, '[') + std::string(150000, ',') + R"(\"{{{)");
    ASSERT_EQ(list.read(quoted, PHOENIX_RECORDED), L_OK);
    EXPECT_EQ(list.alerts().size(), 2u);
}

TEST(WAlertKind, byTheEndOfTheEventName)
{
    const std::vector<std::pair<const char *, WAlertKind>> cases = {
        {"Tornado Warning", WAlertKind::Warning},
        {"Heat Advisory", WAlertKind::Warning},
        {"Civil Emergency Message", WAlertKind::Warning},
        {"Child Abduction Emergency", WAlertKind::Warning},
        {"Air Quality Alert", WAlertKind::Warning},
        {"Test Message", WAlertKind::Warning},
        {"", WAlertKind::Warning},
        {"Tornado Watch", WAlertKind::Watch},
        {"Fire Weather Watch", WAlertKind::Watch},
        {"Winter Storm Watch ", WAlertKind::Watch},
        {"Special Weather Statement", WAlertKind::Statement},
        {"Severe Weather Statement", WAlertKind::Statement},
        {"Hurricane Local Statement", WAlertKind::Statement},
        {"Short Term Forecast", WAlertKind::Statement},
        {"Hazardous Weather Outlook", WAlertKind::Statement},
        {"Hydrologic Outlook", WAlertKind::Statement},
        {"Watch Tower Warning", WAlertKind::Warning},
        {"Statement of Watch", WAlertKind::Watch},
        {"Hydrologic Outlook Update", WAlertKind::Warning},
    };
    for (const auto &[event, kind] : cases)
        EXPECT_EQ(alertKind(event), kind) << event;
}

TEST(ParseIsoTime, offsetsAndWrongFormats)
{
    std::int64_t seconds = 0;
    EXPECT_TRUE(parseIsoTime("2024-07-19T03:00:00-07:00", seconds));
    EXPECT_EQ(seconds, 1721383200);
    EXPECT_TRUE(parseIsoTime("2024-07-19T10:00:00+00:00", seconds));
    EXPECT_EQ(seconds, 1721383200);
    EXPECT_TRUE(parseIsoTime("2024-07-19T15:30:00.250+0530", seconds));
    EXPECT_EQ(seconds, 1721383200);
    EXPECT_TRUE(parseIsoTime("2024-02-29T00:00:00Z", seconds));
    EXPECT_EQ(seconds, 1709164800);
    EXPECT_TRUE(parseIsoTime("1969-12-31T23:59:59Z", seconds));
    EXPECT_EQ(seconds, -1);
    for (const char *wrong : {"", "2024-02-30T00:00:00Z", "2024-07-19 10:00:00Z", "2024-07-19T10:00:00",
             "2024-07-19T24:00:00Z", "2024-07-19T10:60:00Z", "2024-07-19T10:00:00+24:00", "2024-07-19T10:00:00Z ",
             "2024-7-19T10:00:00Z", "null"}) {
        seconds = 42;
        EXPECT_FALSE(parseIsoTime(wrong, seconds)) << wrong;
        EXPECT_EQ(seconds, 42) << wrong;
    }
}

} // namespace

// The records carry the alert's own fields; the update of the severe thunderstorm warning names the warning it
// updates, and neither the test message nor the cancellation is in force.
TEST(WAlertList, recordsOfTheRecordedAnswers)
{
    WAlertList list;
    ASSERT_EQ(list.read(recorded(FIVE_ALERTS), FIVE_RECORDED), L_OK);
    ASSERT_EQ(list.alerts().size(), 3u);
    const WAlertRecord &update = list.alerts()[0];
    EXPECT_EQ(update.id, "urn:oid:2.49.0.1.840.0.d0de060466dc387307cc0a44dbed836b1d20c5e5.002.1");
    EXPECT_EQ(update.references,
        std::vector<std::string>{"urn:oid:2.49.0.1.840.0.08c14df6cccd6f5f0611d2a53a712ac6e8ae7215.001.1"});
    EXPECT_EQ(update.event, "Severe Thunderstorm Warning");
    EXPECT_EQ(update.messageType, "Update");
    EXPECT_EQ(update.severity + "/" + update.urgency + "/" + update.certainty, "Severe/Immediate/Observed");
    // 2026-09-02T02:42:00-05:00 and 03:15:00-05:00.
    EXPECT_EQ(update.sent, 1788334920);
    EXPECT_EQ(update.effective, 1788334920);
    EXPECT_EQ(update.expires, 1788336900);
    EXPECT_EQ(update.ends, 1788336900);
    EXPECT_EQ(update.headline.rfind("Severe Thunderstorm Warning issued September 2 at 2:42AM CDT", 0), 0u);
    EXPECT_EQ(update.description.rfind("At 241 AM CDT, severe thunderstorms were located along a line\n", 0), 0u)
        << update.description;
    for (const WAlertRecord &alert : list.alerts())
        EXPECT_NE(list.text(alert.kind).find(firstLine(alert.text)), std::string::npos) << alert.event;
    EXPECT_EQ(list.alerts()[1].event, "Special Weather Statement");
    EXPECT_EQ(list.alerts()[1].kind, WAlertKind::Statement);
    EXPECT_TRUE(list.alerts()[1].references.empty());
    // The line of storms the warning follows, and the storm of the statement.
    ASSERT_TRUE(update.motion);
    EXPECT_EQ(update.motion->time, 1788334860);
    EXPECT_EQ(update.motion->fromDeg, 260);
    EXPECT_EQ(update.motion->speedKt, 48);
    EXPECT_EQ(update.motion->points.size(), 3u);
    ASSERT_TRUE(list.alerts()[1].motion);
    EXPECT_EQ(list.alerts()[1].motion->points.size(), 2u);

    ASSERT_EQ(list.read(recorded(PHOENIX), PHOENIX_RECORDED), L_OK);
    EXPECT_FALSE(list.alerts()[0].motion);
    ASSERT_EQ(list.alerts().size(), 2u);
    EXPECT_EQ(list.alerts()[0].ends, 1721530800); // 2024-07-20T20:00:00-07:00
    EXPECT_EQ(list.alerts()[1].event, "Air Quality Alert");
    EXPECT_EQ(list.alerts()[1].severity, "Unknown");
    EXPECT_EQ(list.alerts()[1].ends, 0);
    EXPECT_EQ(list.alerts()[1].messageType, "Alert");
}

TEST(WUtf8, strayBytesAreReadAndWellFormedTextIsKept)
{
    const std::string wellFormed = "72\u00B0F \u2014 \U0001F32A \uFFFD";
    EXPECT_EQ(mendedUtf8(wellFormed), wellFormed);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"72\xB0 F", "72\u00B0 F"},
        {"a\x85z", "a\uFFFDz"},
        {"\xC0\xAF", "\u00C0\u00AF"},
        {"\xED\xA0\x80", "\u00ED\u00A0\uFFFD"},
        {"\xF4\x90\x80\x80", "\u00F4\uFFFD\uFFFD\uFFFD"},
        {"end \xE2\x82", "end \u00E2\uFFFD"},
        {"\xF5\xFF", "\u00F5\u00FF"},
    };
    for (const auto &[damaged, mended] : cases)
        EXPECT_EQ(mendedUtf8(damaged), mended) << damaged;
}
