#include "corekit/lctime.h"

#include "corekit/lex.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ostream>
#include <time.h>

namespace corekit
{

namespace
{

constexpr std::size_t DATE_BUFFER_SIZE = 128;

// The fields hold years 1969 to 2100 and seconds up to 59 (a leap-second zone can yield 60).
bool representable(const std::tm &record)
{
    const long year = record.tm_year + 1900L;
    return year >= 1969 && year <= 2100 && record.tm_sec <= 59;
}

// strftime leaves the buffer undefined when the text does not fit; it is then emptied.
void writeRecord(char *buffer, std::size_t length, const char *format, const std::tm &record)
{
    if (length == 0)
        return;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    if (std::strftime(buffer, length, format, &record) == 0)
        buffer[0] = '\0';
#pragma GCC diagnostic pop
}

// Scans "%d/%d/%d %d:%d:%d" ("12/31/99 23:59:59"): white space before each number, an optional sign, digits,
// then the exact separator. False unless all six numbers are there and each fits an int.
bool scanDate(const char *text, long (&numbers)[6])
{
    static const char separators[] = "// ::";
    const char *p = text ? text : "";
    for (int i = 0; i < 6; ++i) {
        if (i > 0 && separators[i - 1] != ' ' && *p++ != separators[i - 1])
            return false;
        char *end = nullptr;
        errno = 0;
        const long value = std::strtol(p, &end, 10);
        if (end == p || errno == ERANGE || value < INT_MIN || value > INT_MAX)
            return false;
        numbers[i] = value;
        p = end;
    }
    return true;
}

// A negative number wraps far beyond every field's range, so the setter rejects it.
std::uint32_t field(long value)
{
    return static_cast<std::uint32_t>(value);
}

} // namespace

LCTime::LCTime(TimeZone zone)
{
    SetTimeZone(zone);
}

LCTime::LCTime(std::int64_t calendarTime, TimeZone zone)
{
    SetTimeZone(zone);
    *this = calendarTime;
}

LCTime::LCTime(std::uint32_t calendarTime, TimeZone zone)
    : LCTime(static_cast<std::int64_t>(calendarTime), zone)
{
}

LCTime::LCTime(int calendarTime, TimeZone zone)
    : LCTime(static_cast<std::int64_t>(calendarTime), zone)
{
}

LCTime::LCTime(std::uint32_t month, std::uint32_t day, std::uint32_t year, std::uint32_t hour, std::uint32_t min,
    std::uint32_t sec, TimeZone zone)
{
    SetTimeZone(zone);
    SetDate(year, month, day, hour, min, sec);
}

// A time that was never set (year 0, which no setter accepts) copies as one that is not set either.
LCTime::LCTime(const LCTime &other)
    : LTime(L_DATETIME)
    , m_outputFormat(other.m_outputFormat)
{
    SetTimeZone(other.GetTimeZone());
    if (other.GetYear() != 0)
        *this = other.Instant();
}

LCTime::~LCTime() = default;

LCTime &LCTime::operator=(const LCTime &other)
{
    const std::int64_t calendarTime = other.Instant();
    SetTimeZone(other.GetTimeZone());
    m_outputFormat = other.m_outputFormat;
    return *this = calendarTime;
}

LCTime &LCTime::operator=(std::int64_t calendarTime)
{
    m_calendarTime = calendarTime;
    CalcBrokenTime();
    return *this;
}

LCTime &LCTime::operator=(std::uint32_t calendarTime)
{
    return *this = static_cast<std::int64_t>(calendarTime);
}

LCTime &LCTime::operator=(int calendarTime)
{
    return *this = static_cast<std::int64_t>(calendarTime);
}

void LCTime::SetDate(std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour, std::uint32_t min,
    std::uint32_t sec)
{
    SetYear(year);
    SetMonth(month);
    SetDay(day);
    SetHour(hour);
    SetMin(min);
    SetSec(sec);
    CalcCalendarTime();
}

// The zone changes only once the text has been read and set, so that a rejected text changes no zone.
void LCTime::SetDate(const char *text)
{
    const TimeZone zone = GetTimeZone();
    SetTimeZone(LCL);
    try {
        Read(text);
    } catch (...) {
        SetTimeZone(zone);
        throw;
    }
    m_outputFormat = NormalOutput;
}

void LCTime::Read(const char *text)
{
    long numbers[6];
    if (!scanDate(text, numbers))
        throwLEx(L_CONVERTION, "LCTime::LCTime", "cannot convert given string");
    const long year = numbers[2] < 70 ? 2000 + numbers[2] : 1900 + numbers[2];
    SetDate(field(year), field(numbers[0]), field(numbers[1]), field(numbers[3]), field(numbers[4]), field(numbers[5]));
}

void LCTime::CalcCalendarTime()
{
    ConvertFields(GetDay(), -1);
}

void LCTime::CalcBrokenTime()
{
    std::tm record{};
    const std::time_t calendarTime = static_cast<std::time_t>(m_calendarTime);
    const bool converted = m_calendarTime != -1
        && (GetTimeZone() == UTC ? gmtime_r(&calendarTime, &record) : localtime_r(&calendarTime, &record));
    if (!converted || !representable(record)) {
        m_calendarTime = -1;
        return;
    }
    m_tm = record;
    SetValues();
}

std::int64_t LCTime::GetCalendarTime()
{
    CalcCalendarTime();
    return m_calendarTime;
}

void LCTime::Now()
{
    *this = static_cast<std::int64_t>(std::time(nullptr));
}

void LCTime::Advance(int days)
{
    ConvertFields(static_cast<long long>(GetDay()) + days, m_tm.tm_isdst);
}

int LCTime::When(const LTime &pattern, unsigned long horizon)
{
    return When(pattern, horizon, static_cast<std::int64_t>(std::time(nullptr)));
}

// Walks day by day with the time bits out of the copy's mask, so that only the pattern's date fields choose the
// day; the first matching day whose pattern time is not already past wins.
int LCTime::When(const LTime &pattern, unsigned long horizon, std::int64_t now)
{
    *this = now;
    LCTime day(*this);
    day.SetMask(day.GetMask() & ~L_TIME);
    for (unsigned long pass = 0; pass < horizon; ++pass) {
        if (day == pattern) {
            day.SetTimeOf(pattern);
            if (day >= *this) {
                *this = day;
                return 0;
            }
            day.SetMask(day.GetMask() & ~L_TIME);
        }
        day.Advance(1);
    }
    return -1;
}

long LCTime::GMTOffset()
{
    CalcCalendarTime();
    if (GetTimeZone() == UTC)
        return 0;
    tzset();
    return timezone;
}

bool LCTime::IsDst()
{
    CalcCalendarTime();
    return m_tm.tm_isdst > 0;
}

LString LCTime::TimeZoneName()
{
    const bool dst = IsDst();
    tzset();
    return LString(tzname[dst ? 1 : 0]);
}

char *LCTime::format(char *buffer, std::size_t length, int type, const char *formatText) const
{
    const char *chosen = formatText ? formatText : TypeFormat(type);
    if (chosen)
        writeRecord(buffer, length, chosen, m_tm);
    return buffer;
}

const char *LCTime::FormatDate(const char *formatText)
{
    char *buffer = GetBuf(DATE_BUFFER_SIZE);
    writeRecord(buffer, DATE_BUFFER_SIZE, formatText ? formatText : "", m_tm);
    return buffer;
}

const char *LCTime::FormatDate()
{
    CalcBrokenTime();
    return FormatDate("%m/%d/%y %H:%M:%S %Z");
}

void LCTime::output(std::ostream &stream)
{
    char *buffer = GetBuf(DATE_BUFFER_SIZE);
    const char *chosen = OutputText();
    if (!chosen)
        return;
    writeRecord(buffer, DATE_BUFFER_SIZE, chosen, m_tm);
    stream << buffer;
}

std::uint32_t LCTime::operator-(const LCTime &other)
{
    std::tm record{};
    const std::int64_t otherTime = other.ReadFields(record, other.GetDay(), -1);
    return static_cast<std::uint32_t>(GetCalendarTime() - otherTime);
}

// The local fields of the hour repeated when daylight saving ends (01:30 on 3 November 2024 in Chicago) name two
// instants, so the stored calendar time is taken while the fields are still those it was converted to; only fields
// set since are read afresh.
std::int64_t LCTime::Instant() const
{
    const bool converted = m_calendarTime != -1 && GetYear() == static_cast<std::uint32_t>(m_tm.tm_year + 1900)
        && GetMonth() == static_cast<std::uint32_t>(m_tm.tm_mon + 1)
        && GetDay() == static_cast<std::uint32_t>(m_tm.tm_mday) && GetHour() == static_cast<std::uint32_t>(m_tm.tm_hour)
        && GetMin() == static_cast<std::uint32_t>(m_tm.tm_min) && GetSec() == static_cast<std::uint32_t>(m_tm.tm_sec);
    if (converted)
        return m_calendarTime;
    std::tm record{};
    return ReadFields(record, GetDay(), -1);
}

// Reads the fields, with monthDay as the day of month, as a time in this object's zone; record receives the
// normalised fields. UTC fields go through the UTC conversion alone, so the result does not depend on the
// machine's zone: 02:30 UTC on 9 March 2025 is 1741487400 even where that hour is skipped locally.
std::int64_t LCTime::ReadFields(std::tm &record, long long monthDay, int dstFlag) const
{
    if (monthDay < INT_MIN || monthDay > INT_MAX)
        return -1;
    record = std::tm{};
    record.tm_year = static_cast<int>(GetYear()) - 1900;
    record.tm_mon = static_cast<int>(GetMonth()) - 1;
    record.tm_mday = static_cast<int>(monthDay);
    record.tm_hour = static_cast<int>(GetHour());
    record.tm_min = static_cast<int>(GetMin());
    record.tm_sec = static_cast<int>(GetSec());
    record.tm_isdst = dstFlag;
    const std::time_t calendarTime = GetTimeZone() == UTC ? timegm(&record) : std::mktime(&record);
    if (calendarTime == -1 || !representable(record))
        return -1;
    return calendarTime;
}

void LCTime::ConvertFields(long long monthDay, int dstFlag)
{
    m_calendarTime = ReadFields(m_tm, monthDay, dstFlag);
    if (m_calendarTime != -1)
        SetValues();
}

void LCTime::SetValues()
{
    SetYear(static_cast<std::uint32_t>(m_tm.tm_year + 1900));
    SetMonth(static_cast<std::uint32_t>(m_tm.tm_mon + 1));
    SetDay(static_cast<std::uint32_t>(m_tm.tm_mday));
    SetHour(static_cast<std::uint32_t>(m_tm.tm_hour));
    SetMin(static_cast<std::uint32_t>(m_tm.tm_min));
    SetSec(static_cast<std::uint32_t>(m_tm.tm_sec));
    SetDayOfWeek(static_cast<std::uint32_t>(m_tm.tm_wday + 1));
    SetDayOfYear(static_cast<std::uint32_t>(m_tm.tm_yday + 1));
    // The "%U" week number (weeks start on Sunday, 0 before the first Sunday) plus 1.
    SetWeekOfYear(static_cast<std::uint32_t>((m_tm.tm_yday + 7 - m_tm.tm_wday) / 7 + 1));
}

void LCTime::SetTimeOf(const LTime &pattern)
{
    const std::uint32_t mask = pattern.GetMask();
    SetHour(mask & L_HOUR ? pattern.GetHour() : 0);
    SetMin(mask & L_MIN ? pattern.GetMin() : 0);
    SetSec(mask & L_SEC ? pattern.GetSec() : 0);
    CalcCalendarTime();
    SetMask(GetMask() | L_TIME);
}

const char *LCTime::TypeFormat(int type) const
{
    switch (type) {
    case NORMAL_TYPE:
        return NormalFormat;
    case SHORT_TYPE:
        return ShortFormat;
    case LONG_TYPE:
        return GetTimeZone() == UTC ? LongFormatUTC : LongFormat;
    default:
        return nullptr;
    }
}

const char *LCTime::OutputText() const
{
    switch (m_outputFormat) {
    case LongOutput:
        return GetTimeZone() == UTC ? LongFormatUTC : LongFormat;
    case NormalOutput:
        return NormalFormat;
    case ShortOutput:
        return ShortFormat;
    default:
        return nullptr;
    }
}

} // namespace corekit
