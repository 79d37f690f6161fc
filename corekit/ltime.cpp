#include "corekit/ltime.h"

#include "corekit/lex.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace corekit
{

namespace
{

void checkRange(std::uint32_t value, std::uint32_t low, std::uint32_t high, const char *where, const char *reason)
{
    if (value < low || value > high)
        throwLEx(L_RANGE, where, reason);
}

int order(std::uint32_t a, std::uint32_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool isCategory(std::uint32_t day)
{
    return day == LTime::Weekday || day == LTime::Weekend;
}

// Monday to Friday and Weekday make the first group, Saturday, Sunday and Weekend the second.
std::uint32_t dayGroup(std::uint32_t day)
{
    return day == LTime::Saturday || day == LTime::Sunday || day == LTime::Weekend ? 1 : 0;
}

// Plain days order Sunday first; once a category takes part only the groups count, so Weekday equals Tuesday
// and orders before Saturday, Sunday and Weekend.
int orderDayOfWeek(std::uint32_t a, std::uint32_t b)
{
    if (!isCategory(a) && !isCategory(b))
        return order(a, b);
    return order(dayGroup(a), dayGroup(b));
}

struct Field {
    std::uint32_t bit;
    std::uint32_t (LTime::*get)() const;
};

const Field walkOrder[] = {
    {LTime::L_YEAR, &LTime::GetYear},
    {LTime::L_MONTH, &LTime::GetMonth},
    {LTime::L_DAY, &LTime::GetDay},
    {LTime::L_WEEKOFYEAR, &LTime::GetWeekOfYear},
    {LTime::L_DAYOFWEEK, &LTime::GetDayOfWeek},
    {LTime::L_DAYOFYEAR, &LTime::GetDayOfYear},
    {LTime::L_HOUR, &LTime::GetHour},
    {LTime::L_MIN, &LTime::GetMin},
    {LTime::L_SEC, &LTime::GetSec},
};

// The value zero-padded to width digits ("06"), or the filler ("--") when the field is not shown.
std::string piece(bool shown, std::uint32_t value, int width, const char *filler)
{
    if (!shown)
        return filler;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*u", width, static_cast<unsigned>(value));
    return digits;
}

std::string dayCode(bool shown, std::uint32_t day)
{
    if (!shown || day < LTime::Sunday || day > LTime::Weekend)
        return "---";
    return LTime::DayCodes[day - 1];
}

} // namespace

LTime::LTime(std::uint32_t mask)
    : m_mask(mask)
{
}

LTime::LTime(const LTime &other)
    : m_year(other.m_year)
    , m_month(other.m_month)
    , m_day(other.m_day)
    , m_hour(other.m_hour)
    , m_min(other.m_min)
    , m_sec(other.m_sec)
    , m_dayOfWeek(other.m_dayOfWeek)
    , m_dayOfYear(other.m_dayOfYear)
    , m_weekOfYear(other.m_weekOfYear)
    , m_timeZone(other.m_timeZone)
    , m_mask(other.m_mask)
{
}

LTime &LTime::operator=(const LTime &other)
{
    m_year = other.m_year;
    m_month = other.m_month;
    m_day = other.m_day;
    m_hour = other.m_hour;
    m_min = other.m_min;
    m_sec = other.m_sec;
    m_dayOfWeek = other.m_dayOfWeek;
    m_dayOfYear = other.m_dayOfYear;
    m_weekOfYear = other.m_weekOfYear;
    m_timeZone = other.m_timeZone;
    m_mask = other.m_mask;
    return *this;
}

LTime::~LTime() = default;

// 1969 is accepted so that the first hours of 1970 UTC still have a year in zones west of Greenwich.
void LTime::SetYear(std::uint32_t year)
{
    checkRange(year, 1969, 2100, "LTime::SetYear", "invalid year (must be between 1970 and 2100)");
    m_year = year;
}

void LTime::SetMonth(std::uint32_t month)
{
    checkRange(month, 1, 12, "LTime::SetMonth", "invalid month (must be between 1 and 12)");
    m_month = month;
}

// Not checked against the month's length: a conversion carries 31 April into 1 May.
void LTime::SetDay(std::uint32_t day)
{
    checkRange(day, 1, 31, "LTime::SetDay", "invalid day (must be between 1 and 31)");
    m_day = day;
}

void LTime::SetHour(std::uint32_t hour)
{
    checkRange(hour, 0, 23, "LTime::SetHour", "invalid hour (must be between 0 and 23)");
    m_hour = hour;
}

void LTime::SetMin(std::uint32_t min)
{
    checkRange(min, 0, 59, "LTime::SetMin", "invalid value (must be between 0 and 59)");
    m_min = min;
}

void LTime::SetSec(std::uint32_t sec)
{
    checkRange(sec, 0, 59, "LTime::SetSec", "invalid value (must be between 0 and 59)");
    m_sec = sec;
}

void LTime::SetDayOfWeek(std::uint32_t dayOfWeek)
{
    checkRange(dayOfWeek, 1, 9, "LTime::SetDayOfWeek", "invalid value (must be between 1 and 9)");
    m_dayOfWeek = dayOfWeek;
}

void LTime::SetDayOfYear(std::uint32_t dayOfYear)
{
    checkRange(dayOfYear, 1, 366, "LTime::SetDayOfYear", "invalid value (must be between 1 and 366)");
    m_dayOfYear = dayOfYear;
}

// Week 54 exists: Sunday 31 December 2023 is in "%U" week 53, stored as 54.
void LTime::SetWeekOfYear(std::uint32_t weekOfYear)
{
    checkRange(weekOfYear, 1, 54, "LTime::SetWeekOfYear", "invalid value (must be between 1 and 53)");
    m_weekOfYear = weekOfYear;
}

void LTime::SetTimeZone(TimeZone zone)
{
    m_timeZone = zone;
}

std::uint32_t LTime::GetYear() const
{
    return m_year;
}

std::uint32_t LTime::GetMonth() const
{
    return m_month;
}

std::uint32_t LTime::GetDay() const
{
    return m_day;
}

std::uint32_t LTime::GetHour() const
{
    return m_hour;
}

std::uint32_t LTime::GetMin() const
{
    return m_min;
}

std::uint32_t LTime::GetSec() const
{
    return m_sec;
}

std::uint32_t LTime::GetDayOfWeek() const
{
    return m_dayOfWeek;
}

std::uint32_t LTime::GetDayOfYear() const
{
    return m_dayOfYear;
}

std::uint32_t LTime::GetWeekOfYear() const
{
    return m_weekOfYear;
}

LTime::TimeZone LTime::GetTimeZone() const
{
    return m_timeZone;
}

char *LTime::format(char *buffer, std::size_t, int, const char *) const
{
    const std::uint32_t mask = GetMask();
    std::string text = piece(mask & L_YEAR, GetYear(), 4, "----") + "/";
    text += piece(mask & L_MONTH, GetMonth(), 2, "--") + "/";
    text += piece(mask & L_DAY, GetDay(), 2, "--") + " (";
    text += piece(mask & L_DAYOFYEAR, GetDayOfYear(), 3, "---") + ".";
    text += dayCode(mask & L_DAYOFWEEK, GetDayOfWeek()) + ".";
    text += piece(mask & L_WEEKOFYEAR, GetWeekOfYear(), 2, "--") + ") ";
    text += piece(mask & L_HOUR, GetHour(), 2, "--") + ":";
    text += piece(mask & L_MIN, GetMin(), 2, "--") + ":";
    text += piece(mask & L_SEC, GetSec(), 2, "--");
    text += GetTimeZone() == UTC ? " UTC" : " LCL";
    std::snprintf(buffer, FORMAT_SIZE, "%s", text.c_str());
    return buffer;
}

const char *LTime::format()
{
    return format(GetBuf(64), 64, 0, nullptr);
}

void LTime::output(std::ostream &stream)
{
    stream << format();
}

char *LTime::GetBuf(std::size_t n)
{
    m_buffer = std::make_unique<char[]>(n);
    return m_buffer.get();
}

int LTime::compare(const LTime &other) const
{
    const std::uint32_t common = GetMask() & other.GetMask();
    for (const Field &field : walkOrder) {
        if (!(common & field.bit))
            continue;
        const std::uint32_t a = (this->*field.get)();
        const std::uint32_t b = (other.*field.get)();
        const int result = field.bit == L_DAYOFWEEK ? orderDayOfWeek(a, b) : order(a, b);
        if (result != 0)
            return result;
    }
    return 0;
}

} // namespace corekit
