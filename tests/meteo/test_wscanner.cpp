#include "meteo/reader/wcityscanner_p.h"
#include "meteo/reader/wzonescanner_p.h"

#include "tests/support/productpages.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <string>

using namespace corekit;
using namespace meteo;

namespace
{

using nimbreltest::productFile;
// Feeds the page as the page reader hands it out: line by line with the line feed, carriage returns dropped.
std::string scan(WProductScanner &scanner, const std::string &page)
{
    std::string line;
    for (const char c : page) {
        if (c == '\r')
            continue;
        line += c;
        if (c == '\n') {
            if (!scanner.feed(line.c_str()))
                return std::string(scanner.text());
            line.clear();
        }
    }
    if (!line.empty())
        scanner.feed(line.c_str());
    return std::string(scanner.text());
}

std::string zoneText(const std::string &page, const char *zone, bool firstOnly = false)
{
    WZoneScanner scanner(zone, firstOnly);
    return scan(scanner, page);
}

std::string cityText(const std::string &page, const char *prefix, const char *code)
{
    WCityScanner scanner(prefix, code);
    return scan(scanner, page);
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

const char *const TWO_MESSAGES = "ILZ013>016-101500-\n"
                                 "FIRST A\n"
                                 "FIRST B\n"
                                 "$$\n"
                                 "INZ001-101500-\n"
                                 "INDIANA TEXT\n"
                                 "$$\n"
                                 "ILZ014-101500-\n"
                                 "SECOND\n"
                                 "NNNN\n";

TEST(WZoneScanner, keptLinesEndInCarriageReturnLineFeedAndJoinWithABlank)
{
    EXPECT_EQ(zoneText(TWO_MESSAGES, "ILZ014", true), "FIRST A\r\n FIRST B\r\n");
    EXPECT_EQ(zoneText(TWO_MESSAGES, "ILZ014"), "FIRST A\r\n FIRST B\r\n SECOND\r\n");
    EXPECT_EQ(zoneText(TWO_MESSAGES, "INZ001"), "INDIANA TEXT\r\n");
    EXPECT_EQ(zoneText(TWO_MESSAGES, "ILZ020"), "");
}

TEST(WZoneScanner, messagesEndAtMarkersBreaksAndOtherHeaders)
{
    const std::string page = "<PRE>ILZ014-101500-\n"
                             "ONE\n"
                             "ILZ014>015-101500-\n"
                             "TWO\n"
                             "ILZ020-101500-\n"
                             "OTHER ZONE\n"
                             "ILZ014-101500-\n"
                             "THREE\n"
                             "</PRE><BR><PRE>\n"
                             "AFTER BREAK\n"
                             "ILZ014-101500-\n"
                             "FOUR\n"
                             "END GSK\n"
                             "AFTER GSK\n";
    // A covering header right after a covering message goes on gathering; the first-only scanner stops there.
    EXPECT_EQ(zoneText(page, "ILZ014"), "ONE\r\n TWO\r\n THREE\r\n FOUR\r\n");
    EXPECT_EQ(zoneText(page, "ILZ014", true), "ONE\r\n");
    EXPECT_EQ(zoneText(page, "ILZ020"), "OTHER ZONE\r\n");
    // "<br>" in lower case is no break: the tag is stripped and the line kept.
    EXPECT_EQ(zoneText("ILZ014-101500-\nA\n<br>B\n$$\n", "ILZ014"), "A\r\n B\r\n");
}

TEST(WZoneScanner, headersContinuedOverLinesAreJoined)
{
    const std::string page = "ILZ001>003-\n"
                             "005-INZ010-\n"
                             "101500-\n"
                             "JOINED TEXT\n"
                             "$$\n"
                             "ILZ014-\n"
                             "NO EXPIRY\n"
                             "$$\n";
    EXPECT_EQ(zoneText(page, "ILZ005"), "JOINED TEXT\r\n");
    EXPECT_EQ(zoneText(page, "INZ010"), "JOINED TEXT\r\n");
    EXPECT_EQ(zoneText(page, "ILZ002"), "JOINED TEXT\r\n");
    EXPECT_EQ(zoneText(page, "ILZ004"), "");
    // A header line without an expiry group that nothing continues covers no zone.
    EXPECT_EQ(zoneText(page, "ILZ014"), "");
}

TEST(WZoneScanner, realWarningWithTwoLineHeader)
{
    const std::string page = productFile("NPW_NPWDMX.txt");
    // IAZ075 closes the first header line, IAZ086 stands on the continuation line.
    for (const char *zone : {"IAZ004", "IAZ075", "IAZ086", "IAZ097"}) {
        const std::string text = zoneText(page, zone);
        EXPECT_EQ(text.rfind("/O.CON.KDMX.HT.Y.0001.000000T0000Z-220615T0000Z/\r\n", 0), 0u) << zone;
        EXPECT_TRUE(contains(text, "Heat stroke is an emergency! Call 9 1 1.\r\n")) << zone;
        EXPECT_FALSE(contains(text, "081>086")) << zone;
        EXPECT_FALSE(contains(text, "Worth-Cerro Gordo")) << zone;
        EXPECT_FALSE(contains(text, "$$")) << zone;
    }
    const std::string second = zoneText(page, "IAZ027");
    EXPECT_EQ(second.rfind("/O.CON.KDMX.HT.Y.0001.220614T1600Z-220615T0000Z/\r\n", 0), 0u);
    EXPECT_TRUE(contains(second, "Worth-Cerro Gordo-Franklin-Butler-Bremer-"));
    EXPECT_EQ(zoneText(page, "IAZ001"), "");
}

TEST(WZoneScanner, realProductsWithSeveralSegmentsAndStates)
{
    const std::string storm = productFile("WSWOKX_10.txt");
    EXPECT_TRUE(contains(zoneText(storm, "NYZ177"), "/O.CAN.KOKX.WS.W.0003.000000T0000Z-150202T2300Z/"));
    EXPECT_TRUE(contains(zoneText(storm, "CTZ012"), "SOUTHERN MIDDLESEX-SOUTHERN NEW LONDON-"));
    EXPECT_FALSE(contains(zoneText(storm, "CTZ012"), "/O.CAN."));
    EXPECT_TRUE(contains(zoneText(storm, "NJZ104"), "/O.CON.KOKX.WS.W.0003."));

    const std::string summary = zoneText(productFile("RWS.txt"), "IAZ092");
    EXPECT_TRUE(contains(summary, "WEATHER SUMMARY FOR IOWA\r\n"));
    EXPECT_FALSE(contains(summary, "092>097"));

    EXPECT_TRUE(contains(zoneText(productFile("SPS_SPSOKX.txt"), "NYZ178"), "brush fire spread"));
    // County headers ('MNC003-...') are no zone headers.
    EXPECT_EQ(zoneText(productFile("WCN_WCNMPX.txt"), "MNC003"), "");
}

TEST(WZoneScanner, realZoneForecastFirstOnly)
{
    const std::string forecast = zoneText(productFile("ZFP.txt"), "NDZ009", true);
    EXPECT_EQ(forecast.rfind("WILLIAMS-\r\n INCLUDING THE CITIES OF...WILLISTON", 0), 0u) << forecast;
    EXPECT_FALSE(contains(forecast, "DIVIDE-"));
    EXPECT_FALSE(contains(forecast, "NDZ017"));
    EXPECT_EQ(forecast.find('\n'), forecast.find("\r\n") + 1);
}

TEST(WCityScanner, runsFromHeaderToNextHeaderOfThePrefix)
{
    const std::string page = "FXUS63 KDVN 051744\n"
                             "QUAD CITIES\n"
                             "FXUS63 KDMX 051744\n"
                             "DES MOINES\n"
                             "$$\n"
                             "NNNN\n"
                             "FXUS63 KDMX 051800\n"
                             "UPDATE\n"
                             "FXUS63 KOAX 051744\n"
                             "OMAHA\n"
                             "FXUS63 KDMX 051900\n"
                             "LATER\n"
                             "<BR>\n"
                             "AFTER BREAK\n";
    EXPECT_EQ(cityText(page, "FXUS", "KDMX"), "DES MOINES\r\n $$\r\n NNNN\r\n UPDATE\r\n LATER\r\n");
    EXPECT_EQ(cityText(page, "FXUS", "KDVN"), "QUAD CITIES\r\n");
    EXPECT_EQ(cityText(page, "ABUS", "KDMX"), "");
}

TEST(WCityScanner, realDiscussionWithDoubledCarriageReturns)
{
    const std::string page = productFile("AFDDMX.txt");
    const std::string text = cityText(page, "FXUS", "KDMX");
    EXPECT_EQ(text.rfind("AFDDMX\r\n \r\n AREA FORECAST DISCUSSION\r\n", 0), 0u);
    EXPECT_TRUE(contains(text, "\r\n $$\r\n"));
    EXPECT_FALSE(contains(text, "\r\r"));
    EXPECT_EQ(cityText(page, "FXUS", "KDVN"), "");
}

} // namespace
