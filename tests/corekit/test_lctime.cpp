#include "corekit/lctime.h"

#include "corekit/lex.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <time.h>

using namespace corekit;

namespace
{

// Sets TZ for the life of the object and restores the previous setting afterwards.
class ZoneGuard
{
public:
    explicit ZoneGuard(const char *zone)
    {
        const char *old = std::getenv("TZ");
        m_hadZone = old != nullptr;
        if (old)
            m_oldZone = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        if (m_hadZone)
            setenv("TZ", m_oldZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneGuard(const ZoneGuard &) = delete;
    ZoneGuard &operator=(const ZoneGuard &) = delete;

private:
    bool m_hadZone = false;
    std::string m_oldZone;
};

// Zones with and without daylight saving, on both sides of Greenwich, one with a half-hour shift.
const char *const zones[] = {"America/Chicago", "Asia/Tokyo", "UTC", "Australia/Lord_Howe"};

void expectFields(LCTime &t, std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour,
    std::uint32_t min, std::uint32_t sec)
{
    EXPECT_EQ(t.GetYear(), year);
    EXPECT_EQ(t.GetMonth(), month);
    EXPECT_EQ(t.GetDay(), day);
    EXPECT_EQ(t.GetHour(), hour);
    EXPECT_EQ(t.GetMin(), min);
    EXPECT_EQ(t.GetSec(), sec);
}

// The code of the LEx that action throws (its text into text), or L_OK.
template<typename Action>
std::int32_t codeOf(Action action, std::string &text)
{
    try {
        action();
    } catch (const LEx &e) {
        text = e.text() ? e.text() : "";
        return e.code();
    }
    return L_OK;
}

TEST(LCTime, utcFieldsAreTheExactInverseOfTheUtcConversion)
{
    for (const char *zone : zones) {
        SCOPED_TRACE(zone);
        ZoneGuard guard(zone);
        LCTime january(1, 15, 1999, 10, 5, 0, LTime::UTC);
        EXPECT_EQ(january.GetCalendarTime(), 916394700);
        expectFields(january, 1999, 1, 15, 10, 5, 0);
        LCTime july(7, 15, 1999, 10, 5, 0, LTime::UTC);
        EXPECT_EQ(july.GetCalendarTime(), 932033100);
        expectFields(july, 1999, 7, 15, 10, 5, 0);
        EXPECT_FALSE(july.IsDst());
        EXPECT_EQ(july.GMTOffset(), 0);

        // 02:30 on 9 March 2025 does not exist in Chicago; in UTC it does.
        LCTime skipped(3, 9, 2025, 2, 30, 0, LTime::UTC);
        EXPECT_EQ(skipped.GetCalendarTime(), 1741487400);
        expectFields(skipped, 2025, 3, 9, 2, 30, 0);

        LCTime april31(4, 31, 2024, 23, 59, 59, LTime::UTC);
        EXPECT_EQ(static_cast<std::int64_t>(april31), 1714607999);
        expectFields(april31, 2024, 5, 1, 23, 59, 59);

        LCTime epoch(0, LTime::UTC);
        expectFields(epoch, 1970, 1, 1, 0, 0, 0);
        EXPECT_EQ(epoch.GetDayOfWeek(), static_cast<std::uint32_t>(LTime::Thursday));
        EXPECT_EQ(epoch.GetDayOfYear(), 1u);
        EXPECT_EQ(epoch.GetWeekOfYear(), 1u);
        LCTime back(std::int64_t{916394700}, LTime::UTC);
        expectFields(back, 1999, 1, 15, 10, 5, 0);
    }
}

TEST(LCTime, convertsDatesAfter2038)
{
    ZoneGuard guard("America/Chicago");
    LCTime leapDay(2, 29, 2040, 12, 0, 0, LTime::UTC);
    EXPECT_EQ(leapDay.GetCalendarTime(), 2214129600);
    LCTime leapDayBack(std::int64_t{2214129600}, LTime::UTC);
    expectFields(leapDayBack, 2040, 2, 29, 12, 0, 0);
    EXPECT_EQ(leapDayBack.GetDayOfYear(), 60u);

    LCTime last(12, 31, 2100, 23, 59, 59, LTime::UTC);
    EXPECT_EQ(last.GetCalendarTime(), 4133980799);
    LCTime lastBack(std::int64_t{4133980799}, LTime::UTC);
    expectFields(lastBack, 2100, 12, 31, 23, 59, 59);
    EXPECT_EQ(lastBack.GetDayOfWeek(), static_cast<std::uint32_t>(LTime::Friday));

    LCTime summer(7, 4, 2040, 12, 0, 0, LTime::LCL);
    EXPECT_EQ(summer.GetCalendarTime(), 2225034000);
    EXPECT_TRUE(summer.IsDst());
    LCTime summerBack(std::int64_t{2225034000}, LTime::LCL);
    expectFields(summerBack, 2040, 7, 4, 12, 0, 0);

    // Past what the fields can hold the time turns invalid and the fields stay.
    last.Advance(1);
    EXPECT_FALSE(last.IsValid());
    expectFields(last, 2100, 12, 31, 23, 59, 59);
    EXPECT_FALSE(LCTime(std::uint32_t{4294967295u}, LTime::UTC).IsValid());
    EXPECT_FALSE(LCTime(-1, LTime::UTC).IsValid());
}

TEST(LCTime, localTimeAcrossDaylightSavingChange)
{
    ZoneGuard guard("America/Chicago");
    LCTime saturday(3, 8, 2025, 12, 0, 0, LTime::LCL);
    LCTime sunday(3, 9, 2025, 12, 0, 0, LTime::LCL);
    EXPECT_EQ(saturday.GetCalendarTime(), 1741456800);
    EXPECT_EQ(sunday.GetCalendarTime(), 1741539600);
    EXPECT_EQ(sunday - saturday, 23u * 3600);
    EXPECT_EQ(saturday - sunday, 4294967296u - 23 * 3600);
    EXPECT_FALSE(saturday.IsDst());
    EXPECT_TRUE(sunday.IsDst());
    EXPECT_STREQ(saturday.TimeZoneName(), "CST");
    EXPECT_STREQ(sunday.TimeZoneName(), "CDT");
    EXPECT_EQ(saturday.GMTOffset(), 21600);
    EXPECT_EQ(sunday.GMTOffset(), 21600);
    EXPECT_STREQ(LCTime(7, 1, 2025, 12, 0, 0, LTime::UTC).TimeZoneName(), "CST");

    // A step keeps the old daylight setting: noon standard time is 13:00 daylight time.
    saturday.Advance(1);
    EXPECT_EQ(static_cast<std::int64_t>(saturday), 1741543200);
    expectFields(saturday, 2025, 3, 9, 13, 0, 0);
    LCTime halloween(11, 1, 2025, 12, 0, 0, LTime::LCL);
    halloween.Advance(1);
    EXPECT_EQ(static_cast<std::int64_t>(halloween), 1762102800);
    expectFields(halloween, 2025, 11, 2, 11, 0, 0);
    LCTime monday(3, 10, 2025, 12, 0, 0, LTime::LCL);
    monday.Advance(-1);
    expectFields(monday, 2025, 3, 9, 12, 0, 0);

    ZoneGuard tokyo("Asia/Tokyo");
    LCTime noon(3, 9, 2025, 12, 0, 0, LTime::LCL);
    EXPECT_EQ(noon.GetCalendarTime(), 1741489200);
    EXPECT_EQ(noon.GMTOffset(), -32400);
    EXPECT_STREQ(noon.TimeZoneName(), "JST");
}

TEST(LCTime, readsTwoDigitYearsAndRejectsBadText)
{
    ZoneGuard guard("America/Chicago");
    LCTime t(LTime::UTC);
    t.SetFormat(LCTime::ShortOutput);
    t.Read("12/31/99 23:59:59");
    expectFields(t, 1999, 12, 31, 23, 59, 59);
    EXPECT_EQ(t.GetTimeZone(), LTime::UTC);
    EXPECT_EQ(t.GetFormat(), LCTime::ShortOutput);
    t.Read(" 1/1/05 0:0:0");
    expectFields(t, 2005, 1, 1, 0, 0, 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1104537600);
    t.Read("1/1/70 0:0:0");
    EXPECT_EQ(t.GetYear(), 1970u);
    t.Read("1/1/69 0:0:0");
    EXPECT_EQ(t.GetYear(), 2069u);
    t.Read("1/1/05 0:0:0");

    std::string text;
    EXPECT_EQ(codeOf([&] { t.Read("1/1/1999 0:0:0"); }, text), L_RANGE);
    EXPECT_EQ(text, "LTime::SetYear -- invalid year (must be between 1970 and 2100)");
    EXPECT_EQ(codeOf([&] { t.Read("-1/1/05 0:0:0"); }, text), L_RANGE);
    const char *const unreadable[] = {"", "   ", "12/31/99", "12-31-99 1:2:3", "a/1/05 0:0:0", "99999999999/1/1 0:0:0"};
    for (const char *bad : unreadable) {
        EXPECT_EQ(codeOf([&] { t.Read(bad); }, text), L_CONVERTION) << bad;
        EXPECT_EQ(text, "LCTime::LCTime -- cannot convert given string");
    }
    expectFields(t, 2005, 1, 1, 0, 0, 0);

    EXPECT_EQ(codeOf([&] { t.SetDate(""); }, text), L_CONVERTION);
    EXPECT_EQ(t.GetTimeZone(), LTime::UTC);
    t.SetDate("7/4/40 12:00:00");
    EXPECT_EQ(t.GetTimeZone(), LTime::LCL);
    EXPECT_EQ(t.GetFormat(), LCTime::NormalOutput);
    EXPECT_EQ(static_cast<std::int64_t>(t), 2225034000);
}

TEST(LCTime, setDateStopsAtTheFirstFailingSetter)
{
    LCTime t(1, 15, 1999, 10, 5, 0, LTime::UTC);
    EXPECT_THROW(t.SetDate(2000, 13, 20, 11, 0, 0), LEx);
    expectFields(t, 2000, 1, 15, 10, 5, 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 916394700);
    EXPECT_EQ(static_cast<std::uint32_t>(LCTime()), 4294967295u);
}

TEST(LCTime, formatsByTypeAndByOutputFormat)
{
    ZoneGuard guard("America/Chicago");
    LCTime utc(6, 15, 1999, 10, 5, 0, LTime::UTC);
    char buffer[64] = "untouched";
    EXPECT_STREQ(utc.format(buffer, sizeof buffer, 3, nullptr), "untouched");
    EXPECT_STREQ(utc.format(buffer, sizeof buffer, 1, nullptr), "06/15/99 10:05:00");
    EXPECT_STREQ(utc.format(buffer, sizeof buffer, 0, nullptr), "Tue Jun 15 1999 10:05:00");
    EXPECT_STREQ(utc.format(buffer, sizeof buffer, 2, nullptr), "Tuesday June 15, 1999, 10:05:00 UTC");
    EXPECT_STREQ(utc.format(buffer, sizeof buffer, 1, "%Y-%j"), "1999-166");
    EXPECT_STREQ(utc.format(buffer, 5, 0, nullptr), "");
    EXPECT_STREQ(utc.format(), "Tue Jun 15 1999 10:05:00");
    EXPECT_STREQ(utc.FormatDate("%H.%M"), "10.05");

    LCTime local(6, 15, 1999, 10, 5, 0, LTime::LCL);
    EXPECT_STREQ(local.format(buffer, sizeof buffer, 2, nullptr), "Tuesday June 15, 1999, 10:05:00 CDT");
    EXPECT_STREQ(local.FormatDate(), "06/15/99 10:05:00 CDT");

    const std::pair<LCTime::OutputFormat, const char *> outputs[] = {
        {LCTime::LongOutput, "Tuesday June 15, 1999, 10:05:00 UTC"},
        {LCTime::NormalOutput, "Tue Jun 15 1999 10:05:00"},
        {LCTime::ShortOutput, "06/15/99 10:05:00"},
        {static_cast<LCTime::OutputFormat>(3), ""},
    };
    for (const auto &[outputFormat, expected] : outputs) {
        std::ostringstream stream;
        utc.SetFormat(outputFormat);
        utc.output(stream);
        EXPECT_EQ(stream.str(), expected);
    }
}

TEST(LCTime, copyAndAssignment)
{
    ZoneGuard guard("America/Chicago");
    LCTime source(4, 30, 2024, 12, 0, 0, LTime::UTC);
    source.SetMask(LTime::L_DATE);
    source.SetFormat(LCTime::ShortOutput);
    LCTime copy(source);
    EXPECT_EQ(copy.GetMask(), LTime::L_DATETIME);
    EXPECT_EQ(copy.GetTimeZone(), LTime::UTC);
    EXPECT_EQ(copy.GetFormat(), LCTime::ShortOutput);
    EXPECT_EQ(static_cast<std::int64_t>(copy), 1714478400);

    // Assignment reads the other's fields, not its stored calendar time.
    source.SetDay(31);
    LCTime target(LTime::LCL);
    target.SetMask(LTime::L_TIME);
    target = source;
    EXPECT_EQ(static_cast<std::int64_t>(source), 1714478400);
    EXPECT_EQ(static_cast<std::int64_t>(target), 1714564800);
    expectFields(target, 2024, 5, 1, 12, 0, 0);
    EXPECT_EQ(target.GetMask(), LTime::L_TIME);
    EXPECT_EQ(target.GetTimeZone(), LTime::UTC);

    target = std::int64_t{0};
    expectFields(target, 1970, 1, 1, 0, 0, 0);

    const LCTime unset;
    LCTime unsetCopy(unset);
    EXPECT_FALSE(unsetCopy.IsValid());
    EXPECT_EQ(unsetCopy.GetYear(), 0u);
}

// 01:30 comes twice in Chicago on 3 November 2024: at 1730615400 (CDT) and an hour later at 1730619000 (CST).
// Observation times pass through copies, so each must keep its own instant.
TEST(LCTime, copiesKeepTheInstantInTheRepeatedHour)
{
    ZoneGuard guard("America/Chicago");
    for (const std::int64_t instant : {std::int64_t{1730615400}, std::int64_t{1730619000}}) {
        LCTime observed(instant, LTime::LCL);
        expectFields(observed, 2024, 11, 3, 1, 30, 0);
        const LCTime copy(observed);
        EXPECT_EQ(static_cast<std::int64_t>(copy), instant);
        LCTime assigned(LTime::UTC);
        assigned = observed;
        EXPECT_EQ(static_cast<std::int64_t>(assigned), instant);
        expectFields(assigned, 2024, 11, 3, 1, 30, 0);
    }
}

// Mondays in June 2025, Chicago daylight time: 16th 09:00 is 1750082400.
TEST(LCTime, whenFindsTheNextOccurrenceOfAPattern)
{
    ZoneGuard guard("America/Chicago");
    LTime mondayTen(LTime::L_DAYOFWEEK | LTime::L_HOUR);
    mondayTen.SetDayOfWeek(LTime::Monday);
    mondayTen.SetHour(10);
    LCTime t;
    EXPECT_EQ(t.When(mondayTen, 365, 1750082400), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1750086000);
    expectFields(t, 2025, 6, 16, 10, 0, 0);
    EXPECT_EQ(t.When(mondayTen, 1, 1750086000), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1750086000);
    EXPECT_EQ(t.When(mondayTen, 8, 1750089600), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1750690800);
    EXPECT_EQ(t.When(mondayTen, 7, 1750089600), -1);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1750089600);
    EXPECT_EQ(t.When(mondayTen, 0, 1750082400), -1);
    expectFields(t, 2025, 6, 16, 9, 0, 0);

    LTime weekday(LTime::L_DAYOFWEEK);
    weekday.SetDayOfWeek(LTime::Weekday);
    EXPECT_EQ(t.When(weekday, 365, 1750514400), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1750654800);
    weekday.SetDayOfWeek(LTime::Weekend);
    EXPECT_EQ(t.When(weekday, 365, 1750428000), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1750482000);

    LTime fifteenth(LTime::L_DAY | LTime::L_HOUR);
    fifteenth.SetDay(15);
    fifteenth.SetHour(10);
    EXPECT_EQ(t.When(fifteenth, 365, 1750082400), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1752591600);

    // From Saturday 8 March 2025 09:00 standard time to Sunday 10:00 daylight time.
    LTime sundayTen(LTime::L_DAYOFWEEK | LTime::L_HOUR);
    sundayTen.SetDayOfWeek(LTime::Sunday);
    sundayTen.SetHour(10);
    EXPECT_EQ(t.When(sundayTen, 365, 1741446000), 0);
    EXPECT_EQ(static_cast<std::int64_t>(t), 1741532400);

    const std::time_t before = std::time(nullptr);
    EXPECT_EQ(t.When(weekday), 0);
    EXPECT_GE(static_cast<std::int64_t>(t), before - 1);
    EXPECT_LE(static_cast<std::int64_t>(t), before + 8 * 86400);
}

} // namespace
