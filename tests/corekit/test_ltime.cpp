#include "corekit/ltime.h"

#include "corekit/lex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

using namespace corekit;

namespace
{

struct SetterCase {
    void (LTime::*set)(std::uint32_t);
    std::uint32_t (LTime::*get)() const;
    std::uint32_t low;
    std::uint32_t high;
    const char *text;
};

const SetterCase setterCases[] = {
    {&LTime::SetYear, &LTime::GetYear, 1969, 2100, "LTime::SetYear -- invalid year (must be between 1970 and 2100)"},
    {&LTime::SetMonth, &LTime::GetMonth, 1, 12, "LTime::SetMonth -- invalid month (must be between 1 and 12)"},
    {&LTime::SetDay, &LTime::GetDay, 1, 31, "LTime::SetDay -- invalid day (must be between 1 and 31)"},
    {&LTime::SetHour, &LTime::GetHour, 0, 23, "LTime::SetHour -- invalid hour (must be between 0 and 23)"},
    {&LTime::SetMin, &LTime::GetMin, 0, 59, "LTime::SetMin -- invalid value (must be between 0 and 59)"},
    {&LTime::SetSec, &LTime::GetSec, 0, 59, "LTime::SetSec -- invalid value (must be between 0 and 59)"},
    {&LTime::SetDayOfWeek, &LTime::GetDayOfWeek, 1, 9,
        "LTime::SetDayOfWeek -- invalid value (must be between 1 and 9)"},
    {&LTime::SetDayOfYear, &LTime::GetDayOfYear, 1, 366,
        "LTime::SetDayOfYear -- invalid value (must be between 1 and 366)"},
    {&LTime::SetWeekOfYear, &LTime::GetWeekOfYear, 1, 54,
        "LTime::SetWeekOfYear -- invalid value (must be between 1 and 53)"},
};

// Expects the setter to throw L_RANGE with its text and to keep the field's previous value.
void expectRejected(const SetterCase &c, std::uint32_t value)
{
    LTime t;
    (t.*c.set)(c.low);
    try {
        (t.*c.set)(value);
        ADD_FAILURE() << c.text << ": " << value << " accepted";
    } catch (const LEx &e) {
        EXPECT_EQ(e.code(), L_RANGE);
        EXPECT_STREQ(e.text(), c.text);
    }
    EXPECT_EQ((t.*c.get)(), c.low) << c.text;
}

LTime pattern(std::uint32_t mask, std::uint32_t dayOfWeek, std::uint32_t hour = 0)
{
    LTime t(mask);
    t.SetDayOfWeek(dayOfWeek);
    t.SetHour(hour);
    return t;
}

// 15 June 1999 10:05:00, a Tuesday, day 166, week 25.
LTime june15()
{
    LTime t;
    t.SetYear(1999);
    t.SetMonth(LTime::June);
    t.SetDay(15);
    t.SetHour(10);
    t.SetMin(5);
    t.SetSec(0);
    t.SetDayOfWeek(LTime::Tuesday);
    t.SetDayOfYear(166);
    t.SetWeekOfYear(25);
    return t;
}

TEST(LTime, settersCheckTheirRangeAndKeepTheOldValue)
{
    for (const SetterCase &c : setterCases) {
        LTime t;
        (t.*c.set)(c.low);
        EXPECT_EQ((t.*c.get)(), c.low) << c.text;
        (t.*c.set)(c.high);
        EXPECT_EQ((t.*c.get)(), c.high) << c.text;
        if (c.low > 0)
            expectRejected(c, c.low - 1);
        expectRejected(c, c.high + 1);
        expectRejected(c, 0xFFFFFFFFu);
    }
}

TEST(LTime, comparesOnlyTheFieldsOfBothMasks)
{
    const LTime full = june15();
    LTime day(LTime::L_DAY);
    day.SetDay(15);
    EXPECT_TRUE(full == day);
    day.SetDay(16);
    EXPECT_TRUE(full < day);
    EXPECT_TRUE(day > full);
    EXPECT_TRUE(full != day);

    LTime date(LTime::L_DATE);
    date.SetYear(2000);
    LTime time(LTime::L_TIME);
    time.SetHour(23);
    EXPECT_TRUE(date == time);
    EXPECT_FALSE(date < time);
    EXPECT_FALSE(time < date);
    EXPECT_TRUE(date <= time);
    EXPECT_TRUE(date >= time);
}

TEST(LTime, walksYearFirstAndDayOfWeekBeforeTheHour)
{
    LTime earlier = june15();
    LTime later = june15();
    later.SetYear(2000);
    later.SetMonth(LTime::January);
    EXPECT_TRUE(earlier < later);
    EXPECT_FALSE(later < earlier);
    EXPECT_TRUE(later >= earlier);

    const LTime mondayLate = pattern(LTime::L_DAYOFWEEK | LTime::L_HOUR, LTime::Monday, 23);
    const LTime tuesdayEarly = pattern(LTime::L_DAYOFWEEK | LTime::L_HOUR, LTime::Tuesday, 1);
    EXPECT_TRUE(mondayLate < tuesdayEarly);
    EXPECT_TRUE(tuesdayEarly > mondayLate);
    const LTime sundayLate = pattern(LTime::L_DAYOFWEEK | LTime::L_HOUR, LTime::Sunday, 23);
    EXPECT_TRUE(sundayLate < mondayLate);

    LTime saturdayWeek2(LTime::L_WEEKOFYEAR | LTime::L_DAYOFWEEK);
    saturdayWeek2.SetWeekOfYear(2);
    saturdayWeek2.SetDayOfWeek(LTime::Saturday);
    LTime sundayWeek3(LTime::L_WEEKOFYEAR | LTime::L_DAYOFWEEK);
    sundayWeek3.SetWeekOfYear(3);
    sundayWeek3.SetDayOfWeek(LTime::Sunday);
    EXPECT_TRUE(saturdayWeek2 < sundayWeek3);
}

TEST(LTime, weekdayAndWeekendCategories)
{
    const std::uint32_t mask = LTime::L_DAYOFWEEK;
    EXPECT_TRUE(june15() == pattern(mask, LTime::Weekday));
    EXPECT_FALSE(june15() == pattern(mask, LTime::Weekend));
    EXPECT_TRUE(pattern(mask, LTime::Saturday) == pattern(mask, LTime::Weekend));
    EXPECT_TRUE(pattern(mask, LTime::Sunday) == pattern(mask, LTime::Weekend));
    EXPECT_FALSE(pattern(mask, LTime::Weekday) == pattern(mask, LTime::Weekend));
    EXPECT_TRUE(pattern(mask, LTime::Weekday) == pattern(mask, LTime::Weekday));

    EXPECT_TRUE(pattern(mask, LTime::Friday) < pattern(mask, LTime::Weekend));
    EXPECT_TRUE(pattern(mask, LTime::Weekday) < pattern(mask, LTime::Sunday));
    EXPECT_TRUE(pattern(mask, LTime::Weekday) < pattern(mask, LTime::Weekend));
    EXPECT_FALSE(pattern(mask, LTime::Saturday) < pattern(mask, LTime::Weekday));
    EXPECT_TRUE(pattern(mask, LTime::Saturday) > pattern(mask, LTime::Weekday));
    EXPECT_FALSE(pattern(mask, LTime::Weekend) < pattern(mask, LTime::Monday));
    EXPECT_TRUE(pattern(mask, LTime::Weekend) >= pattern(mask, LTime::Weekday));

    // Inside its category the day counts as equal and the next field decides.
    const std::uint32_t withHour = LTime::L_DAYOFWEEK | LTime::L_HOUR;
    EXPECT_TRUE(pattern(withHour, LTime::Weekday, 9) < pattern(withHour, LTime::Tuesday, 10));
    EXPECT_FALSE(pattern(withHour, LTime::Tuesday, 10) < pattern(withHour, LTime::Weekday, 9));
    EXPECT_TRUE(pattern(withHour, LTime::Weekend, 9) < pattern(withHour, LTime::Sunday, 10));
}

TEST(LTime, formatPrintsTheMaskedFields)
{
    LTime t = june15();
    EXPECT_STREQ(t.format(), "1999/06/15 (166.Tue.--) 10:05:00 LCL");
    t.SetMask(LTime::L_DATETIME | LTime::L_WEEKOFYEAR);
    t.SetTimeZone(LTime::UTC);
    EXPECT_STREQ(t.format(), "1999/06/15 (166.Tue.25) 10:05:00 UTC");
    t.SetMask(LTime::L_DAY | LTime::L_MIN);
    EXPECT_STREQ(t.format(), "----/--/15 (---.---.--) --:05:-- UTC");
    t.SetMask(LTime::L_DAYOFWEEK);
    t.SetDayOfWeek(LTime::Weekend);
    EXPECT_STREQ(t.format(), "----/--/-- (---.Wnd.--) --:--:-- UTC");

    char buffer[LTime::FORMAT_SIZE];
    t.SetMask(LTime::L_DATETIME | LTime::L_WEEKOFYEAR);
    EXPECT_EQ(t.format(buffer, 0, 7, "ignored"), buffer);
    EXPECT_EQ(std::strlen(buffer), LTime::FORMAT_SIZE - 1);

    std::ostringstream stream;
    t.output(stream);
    EXPECT_EQ(stream.str(), "1999/06/15 (166.Wnd.25) 10:05:00 UTC");
}

TEST(LTime, copiesFieldsAndMaskButNotTheFormatBuffer)
{
    LTime original = june15();
    original.SetMask(LTime::L_DATE);
    const char *text = original.format();
    LTime copy(original);
    EXPECT_EQ(copy.GetMask(), LTime::L_DATE);
    EXPECT_EQ(copy.GetDayOfYear(), 166u);
    copy.SetDay(16);
    EXPECT_STRNE(copy.format(), text);
    EXPECT_STREQ(text, "1999/06/15 (---.---.--) --:--:-- LCL");

    LTime assigned;
    assigned = copy;
    EXPECT_TRUE(assigned == copy);
    EXPECT_EQ(assigned.GetMask(), LTime::L_DATE);
    EXPECT_STREQ(assigned.format(), "1999/06/16 (---.---.--) --:--:-- LCL");
}

} // namespace
