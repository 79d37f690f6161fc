#pragma once

#include "corekit/corekit_export.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>

namespace corekit
{

// A broken-down time: year, month, day, hour, minute, second, day of week, day of year and week of year, each
// kept within its range, plus a zone flag and a mask that says which fields take part in comparisons and printing.
// With a partial mask the object is a pattern ("every Monday", "the 15th at 10:00") that compares against a full
// time. Every internal use of a field goes through the virtual getters and setters.
class COREKIT_EXPORT LTime
{
public:
    enum TimeZone : std::int32_t { LCL = 0, UTC = 1 };
    enum Month : std::uint32_t {
        January = 1,
        February,
        March,
        April,
        May,
        June,
        July,
        August,
        September,
        October,
        November,
        December
    };
    // Weekday matches Monday to Friday and Weekend matches Saturday and Sunday when compared.
    enum DayOfWeek : std::uint32_t {
        Sunday = 1,
        Monday,
        Tuesday,
        Wednesday,
        Thursday,
        Friday,
        Saturday,
        Weekday,
        Weekend
    };

    static constexpr std::uint32_t L_YEAR = 1;
    static constexpr std::uint32_t L_MONTH = 2;
    static constexpr std::uint32_t L_DAY = 4;
    static constexpr std::uint32_t L_HOUR = 8;
    static constexpr std::uint32_t L_MIN = 16;
    static constexpr std::uint32_t L_SEC = 32;
    static constexpr std::uint32_t L_DAYOFWEEK = 64;
    static constexpr std::uint32_t L_DAYOFYEAR = 128;
    static constexpr std::uint32_t L_WEEKOFYEAR = 256;
    static constexpr std::uint32_t L_DATE = 7;
    static constexpr std::uint32_t L_TIME = 56;
    static constexpr std::uint32_t L_DATETIME = 255;
    static constexpr std::uint32_t L_EVENT = 63;

    // Indexed by day of week minus 1.
    static constexpr const char *DayCodes[9] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Wkd", "Wnd"};

    // The fields hold no date until they are set (they start at 0, which no setter accepts for the year).
    explicit LTime(std::uint32_t mask = L_DATETIME);
    // Copies the fields and the mask; the copy has no format buffer until it formats.
    LTime(const LTime &other);
    LTime &operator=(const LTime &other);
    virtual ~LTime();

    // Each setter throws LEx (L_RANGE) and keeps the old value when the argument is out of range.
    virtual void SetYear(std::uint32_t year);
    virtual void SetMonth(std::uint32_t month);
    virtual void SetDay(std::uint32_t day);
    virtual void SetHour(std::uint32_t hour);
    virtual void SetMin(std::uint32_t min);
    virtual void SetSec(std::uint32_t sec);
    virtual void SetDayOfWeek(std::uint32_t dayOfWeek);
    virtual void SetDayOfYear(std::uint32_t dayOfYear);
    virtual void SetWeekOfYear(std::uint32_t weekOfYear);
    virtual void SetTimeZone(TimeZone zone);

    virtual std::uint32_t GetYear() const;
    virtual std::uint32_t GetMonth() const;
    virtual std::uint32_t GetDay() const;
    virtual std::uint32_t GetHour() const;
    virtual std::uint32_t GetMin() const;
    virtual std::uint32_t GetSec() const;
    virtual std::uint32_t GetDayOfWeek() const;
    virtual std::uint32_t GetDayOfYear() const;
    virtual std::uint32_t GetWeekOfYear() const;
    virtual TimeZone GetTimeZone() const;

    // Writes the mask-driven text, "1999/06/15 (166.Tue.--) 10:05:00 LCL", into buffer, which must hold
    // FORMAT_SIZE bytes; length, type and formatText serve the derived classes.
    virtual char *format(char *buffer, std::size_t length, int type, const char *formatText) const;

    // Formats with type 0 into the object's own buffer; the text lives until the next formatting call.
    const char *format();
    void output(std::ostream &stream);

    void SetMask(std::uint32_t mask) { m_mask = mask; }
    std::uint32_t GetMask() const { return m_mask; }

    // Only the fields in both masks are compared, in the order year, month, day, week of year, day of week,
    // day of year, hour, minute, second.
    bool operator==(const LTime &other) const { return compare(other) == 0; }
    bool operator!=(const LTime &other) const { return compare(other) != 0; }
    bool operator<(const LTime &other) const { return compare(other) < 0; }
    bool operator>(const LTime &other) const { return compare(other) > 0; }
    bool operator<=(const LTime &other) const { return compare(other) <= 0; }
    bool operator>=(const LTime &other) const { return compare(other) >= 0; }

    static constexpr std::size_t FORMAT_SIZE = 37;

protected:
    // Replaces the format buffer by a fresh one of n bytes and returns it.
    char *GetBuf(std::size_t n);

private:
    // -1 when this time orders first, 1 when the other does, 0 when every common field counts as equal.
    int compare(const LTime &other) const;

    std::uint32_t m_year = 0;
    std::uint32_t m_month = 0;
    std::uint32_t m_day = 0;
    std::uint32_t m_hour = 0;
    std::uint32_t m_min = 0;
    std::uint32_t m_sec = 0;
    std::uint32_t m_dayOfWeek = 0;
    std::uint32_t m_dayOfYear = 0;
    std::uint32_t m_weekOfYear = 0;
    TimeZone m_timeZone = LCL;
    std::unique_ptr<char[]> m_buffer;
    std::uint32_t m_mask;
};

} // namespace corekit
