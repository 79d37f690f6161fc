#include "meteo/base/wlocation.h"

#include "corekit/lex.h"
#include "meteo/base/wrecords.h"

#include <gtest/gtest.h>

using namespace corekit;
using namespace meteo;

namespace
{

TEST(WLocation, getDataTokenFindsKeyedValues)
{
    const LString data("acode(KABC)azone(XYZ001)");
    LString value;
    EXPECT_EQ(WLocation::getDataToken(data, "acode", value), L_OK);
    EXPECT_STREQ(value, "KABC");
    EXPECT_EQ(WLocation::getDataToken(data, "azone", value), L_OK);
    EXPECT_STREQ(value, "XYZ001");
    EXPECT_EQ(WLocation::getDataToken("acode()", "acode", value), L_OK);
    EXPECT_STREQ(value, "");

    // Keys the reader does not use stand after the ones it does.
    const LString chicago("acode(KORD)azone(ILZ104)alat(41.837)alon(-87.6849)");
    EXPECT_EQ(WLocation::getDataToken(chicago, "alon", value), L_OK);
    EXPECT_STREQ(value, "-87.6849");
    EXPECT_EQ(WLocation::getDataToken(chicago, "azone", value), L_OK);
    EXPECT_STREQ(value, "ILZ104");

    // The search is by substring: the first occurrence wins, even inside another key.
    EXPECT_EQ(WLocation::getDataToken("xacode(1)acode(2)", "acode", value), L_OK);
    EXPECT_STREQ(value, "1");

    // The value may be taken into the very string searched.
    LString same("acode(KORD)");
    EXPECT_EQ(WLocation::getDataToken(same, "acode", same), L_OK);
    EXPECT_STREQ(same, "KORD");
}

TEST(WLocation, getDataTokenFailuresLeaveValue)
{
    LString value("kept");
    EXPECT_EQ(WLocation::getDataToken("acode(KABC)azone(XYZ001)", "metar", value), L_NOTFOUND);
    EXPECT_EQ(WLocation::getDataToken("", "acode", value), L_NOTFOUND);
    EXPECT_EQ(WLocation::getDataToken("ACODE(KABC)", "acode", value), L_NOTFOUND);
    EXPECT_EQ(WLocation::getDataToken("acodeKABC", "acode", value), L_FORMAT);
    EXPECT_EQ(WLocation::getDataToken("acode (KABC)", "acode", value), L_FORMAT);
    EXPECT_EQ(WLocation::getDataToken("acode(KABC", "acode", value), L_FORMAT);
    EXPECT_EQ(WLocation::getDataToken("azone(X)acode", "acode", value), L_FORMAT);
    EXPECT_EQ(WLocation::getDataToken("acode(", "acode", value), L_FORMAT);
    EXPECT_STREQ(value, "kept");
}

TEST(WLocation, cityDataQueriesGoThroughTheToken)
{
    WLocation location;
    location.setCityData("acode(KSPI)azone(ILZ051)");
    LString value;
    EXPECT_EQ(location.getCityData("azone", value), L_OK);
    EXPECT_STREQ(value, "ILZ051");
    EXPECT_EQ(location.getCityData("metar", value), L_NOTFOUND);

    const WCity city(1772000, 1, 17, "Springfield", "acode(KSPI)azone(ILZ051)alat(39.7911)alon(-89.6446)");
    EXPECT_EQ(city.getDataToken("acode", value), L_OK);
    EXPECT_STREQ(value, "KSPI");
    EXPECT_EQ(city.getDataToken("alat", value), L_OK);
    EXPECT_STREQ(value, "39.7911");
    EXPECT_EQ(city.getDataToken("metar", value), L_NOTFOUND);
}

// Des Moines' record, and records no request may be built from.
TEST(WLocation, coordinatesAreWholeNumbersWithinRange)
{
    const auto point = WLocation::coordinatesOf(LString("acode(KDSM)alat(41.5726)alon(-93.6102)"));
    ASSERT_TRUE(point);
    EXPECT_DOUBLE_EQ(point->latitude, 41.5726);
    EXPECT_DOUBLE_EQ(point->longitude, -93.6102);
    for (const char *data : {"acode(KDSM)alat(41.5726)", "alat(91)alon(0)", "alat(0)alon(-180.5)", "alat(41,57)alon(0)",
             "alat(41.5x)alon(0)", "alat()alon(0)", "alat(nan)alon(0)", "alat(0)alon(inf)"})
        EXPECT_FALSE(WLocation::coordinatesOf(LString(data))) << data;
}

TEST(WLocation, startsUnsetAndCopiesDeep)
{
    WLocation location;
    EXPECT_FALSE(location.isValid());
    EXPECT_EQ(location.getCountry() + location.getState() + location.getArea() + location.getCity(), 0u);
    EXPECT_STREQ(location.getName(), "");

    location.setCountry(1);
    location.setState(17);
    location.setArea(3);
    location.setCity(1772000);
    location.setName("Springfield, Illinois, United States");
    location.setShortState("il");
    location.setCityData("acode(KSPI)");
    location.setValid(true);

    WLocation copy(location);
    copy.setName("Peoria, Illinois, United States");
    copy.setCityData("acode(KPIA)");
    LString code;
    EXPECT_EQ(location.getCityData("acode", code), L_OK);
    EXPECT_STREQ(code, "KSPI");
    EXPECT_STREQ(location.getName(), "Springfield, Illinois, United States");

    WLocation assigned;
    assigned = location;
    EXPECT_TRUE(assigned.isValid());
    EXPECT_EQ(assigned.getCountry(), 1u);
    EXPECT_EQ(assigned.getState(), 17u);
    EXPECT_EQ(assigned.getArea(), 3u);
    EXPECT_EQ(assigned.getCity(), 1772000u);
    EXPECT_STREQ(assigned.getShortState(), "il");
}

TEST(WRecords, settersFillEveryField)
{
    WCity city;
    EXPECT_EQ(city.getId(), 0u);
    EXPECT_STREQ(city.getName(), "");
    city.setCity(7215193, 1, 72, "Cataño", "acode(TJIG)azone(PRZ001)");
    const WCity copy(city);
    city.setCity(1, 2, 3, "x", "y");
    EXPECT_EQ(copy.getId(), 7215193u);
    EXPECT_EQ(copy.getCountryId(), 1u);
    EXPECT_EQ(copy.getStateId(), 72u);
    EXPECT_STREQ(copy.getName(), "Cataño");
    EXPECT_STREQ(copy.getData(), "acode(TJIG)azone(PRZ001)");

    WState state;
    state.setData(17, 1, "Illinois", "il");
    WState other(state);
    state.setData(18, 1, "Indiana", "in");
    EXPECT_EQ(other.getId(), 17u);
    EXPECT_EQ(other.getCountryId(), 1u);
    EXPECT_STREQ(other.getName(), "Illinois");
    EXPECT_STREQ(other.getData(), "il");
}

} // namespace
