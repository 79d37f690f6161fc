#include "meteo/reader/wproduct_p.h"

#include <gtest/gtest.h>

#include <string>

using namespace corekit;
using namespace meteo;

namespace
{

std::string stripped(const char *text, bool dropLineFeeds)
{
    LString line(text);
    stripHTMLTags(line, dropLineFeeds);
    return std::string(line);
}

TEST(stripHTMLTags, tagsBecomeBlanksAndOuterBlanksGo)
{
    EXPECT_EQ(stripped("a<b>c</b>d", false), "a c d");
    EXPECT_EQ(stripped("5 > 3", false), "5 > 3");
    EXPECT_EQ(stripped("x<y", false), "x");
    EXPECT_EQ(stripped("<PRE>ILZ014-101500-\n", false), "ILZ014-101500-\n");
    EXPECT_EQ(stripped("<PRE>ILZ014-101500-\n", true), "ILZ014-101500-");
    // Blanks before the line feed are inside the text, not at its end.
    EXPECT_EQ(stripped("  <B>bold</B>  \n", false), "bold   \n");
    EXPECT_EQ(stripped("  <B>bold</B>  \n", true), "bold");
    EXPECT_EQ(stripped("<TR><TD>", false), "");
    EXPECT_EQ(stripped("   ", false), "");
    EXPECT_EQ(stripped("", true), "");
    // A second "<" inside a tag only repeats it; the ">" after the closing one is text.
    EXPECT_EQ(stripped("<<b>>", false), ">");
    EXPECT_EQ(stripped("one\ntwo\n", true), "onetwo");
}

TEST(stripHTMLTags, openTagEndsWithTheLine)
{
    EXPECT_EQ(stripped("text <A HREF=\"x\n", false), "text");
    EXPECT_EQ(stripped("still> text", false), "still> text");
}

TEST(isZoneHeader, thirdCharacterZAndTrailingDash)
{
    EXPECT_TRUE(isZoneHeader("ILZ014-015-101500-\n"));
    EXPECT_TRUE(isZoneHeader("<PRE>ILZ014-101500-\n"));
    EXPECT_TRUE(isZoneHeader("  ILZ014-101500-  \n"));
    EXPECT_TRUE(isZoneHeader("ILZ014-"));
    EXPECT_TRUE(isZoneHeader("IAZ004>006-015-016-023>025-033>039-044>050-057>062-070>075-\n"));
    EXPECT_FALSE(isZoneHeader("020-021-101600-\n"));
    EXPECT_FALSE(isZoneHeader("MNC003-025-059-065-095-123-163-WIC005-017-\n"));
    EXPECT_FALSE(isZoneHeader("ILZ014-101500\n"));
    EXPECT_FALSE(isZoneHeader("Z-\n"));
    EXPECT_FALSE(isZoneHeader("<B>\n"));
    EXPECT_FALSE(isZoneHeader(""));
}

TEST(inZone, listsAndRanges)
{
    const LString zone("ILZ014");
    EXPECT_TRUE(inZone(zone, "ILZ014-015-101500-\n"));
    EXPECT_TRUE(inZone(zone, "ILZ013>016-101500-\n"));
    EXPECT_TRUE(inZone(zone, "ILZ014>014-101500-\n"));
    EXPECT_FALSE(inZone(zone, "ILZ015>020-101500-\n"));
    EXPECT_FALSE(inZone(zone, "ILZ010>013-101500-\n"));
    EXPECT_TRUE(inZone(zone, "INZ001-002-ILZ014-101500-\n"));
    EXPECT_FALSE(inZone(zone, "ILZ010-INZ014-101500-\n"));
    EXPECT_TRUE(inZone(zone, "ILZ001-003-014-101500-\n"));
    // Ranges compare numbers, not text.
    for (const char *covered : {"ILZ008", "ILZ009", "ILZ010", "ILZ011"})
        EXPECT_TRUE(inZone(covered, "ILZ008>011-101500-\n")) << covered;
    for (const char *outside : {"ILZ007", "ILZ012", "ILZ100"})
        EXPECT_FALSE(inZone(outside, "ILZ008>011-101500-\n")) << outside;
}

TEST(inZone, theExpiryGroupIsNoZone)
{
    // Removing the last 8 characters of 'ILZ014-\n' leaves nothing to search.
    EXPECT_FALSE(inZone("ILZ014", "ILZ014-\n"));
    EXPECT_FALSE(inZone("ILZ101", "ILZ014-101500-\n"));
    EXPECT_FALSE(inZone("ILZ500", "ILZ014-101500-\n"));
    // A line shorter than 8 characters is searched whole.
    EXPECT_TRUE(inZone("ILZ014", "ILZ014"));
}

TEST(inZone, malformedItemsMatchNothing)
{
    EXPECT_TRUE(inZone("ILZ014", "ILZ->-014-101500-\n"));
    EXPECT_FALSE(inZone("ILZ014", "ILZ>014-101500-\n"));
    EXPECT_FALSE(inZone("ILZ014", "ILZ010>-101500-\n"));
    EXPECT_TRUE(inZone("ILZ014", "ILZ99999999999999999999-014-101500-\n"));
    EXPECT_FALSE(inZone("ILZ014", "ILZ000>99999999999999999999-101500-\n"));
    EXPECT_FALSE(inZone("ILZ014", "ILZ 014-101500-\n"));
    EXPECT_FALSE(inZone("ILZ014", ""));
    for (const char *zone : {"", "IL", "ILZ", "ILZABC"})
        EXPECT_FALSE(inZone(zone, "ILZ014-ILZ-101500-\n")) << zone;
}

TEST(isZoneContinuation, shapesOfContinuedHeaders)
{
    EXPECT_TRUE(isZoneContinuation("081>086-092>097-140400-\n"));
    EXPECT_TRUE(isZoneContinuation("109-290700-\n"));
    EXPECT_TRUE(isZoneContinuation("NYZ072-074-022000-\n"));
    EXPECT_FALSE(isZoneContinuation("081>086-092>097\n"));
    EXPECT_FALSE(isZoneContinuation("NNNN\n"));
    EXPECT_FALSE(isZoneContinuation("$$\n"));
    EXPECT_FALSE(isZoneContinuation("Wright-Sac-Calhoun-\n"));
    EXPECT_FALSE(isZoneContinuation("SOUTHERN MIDDLESEX-SOUTHERN NEW LONDON-\n"));
    EXPECT_FALSE(isZoneContinuation("\n"));

    EXPECT_TRUE(endsWithExpiryGroup("081>086-092>097-140400-\n"));
    EXPECT_TRUE(endsWithExpiryGroup("<PRE>ILZ014-101500-"));
    EXPECT_FALSE(endsWithExpiryGroup("IAZ004>006-015-016-023>025-033>039-044>050-057>062-070>075-\n"));
    EXPECT_FALSE(endsWithExpiryGroup("ILZ014-01500-\n"));
    EXPECT_FALSE(endsWithExpiryGroup("1015000-\n"));
    EXPECT_FALSE(endsWithExpiryGroup("101500-\n"));
}

TEST(isCityHeader, prefixAndCodeAnywhere)
{
    EXPECT_TRUE(isCityHeader("FXUS63 KDMX 051744\n", "FXUS"));
    EXPECT_TRUE(isCityHeader("FXUS63 KDMX 051744\n", "FXUS", "KDMX"));
    EXPECT_FALSE(isCityHeader("FXUS63 KDVN 051744\n", "FXUS", "KDMX"));
    EXPECT_FALSE(isCityHeader("fxus63 KDMX 051744\n", "FXUS", "KDMX"));
    EXPECT_TRUE(isCityHeader("000 ABUS KDMX\n", "ABUS", "KDMX"));
    EXPECT_FALSE(isCityHeader("AWUS83 KDMX 091558\n", "ABUS"));
}

} // namespace
