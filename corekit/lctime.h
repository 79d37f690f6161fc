#pragma once

#include "corekit/corekit_export.h"
#include "corekit/lstring.h"
#include "corekit/ltime.h"

#include <cstdint>
#include <ctime>
#include <iosfwd>

namespace corekit
{

// A broken-down time together with its calendar time: seconds since 1970-01-01 00:00:00 UTC, -1 when invalid.
// The fields are read in the object's zone: the machine's local time for LCL, UTC otherwise. The calendar time
// is 64 bits wide, so every date the setters accept (1969 to 2100) converts.
//
// Conversions use only the re-entrant forms of the C library. The zone settings themselves are process-wide:
// changing TZ while another thread converts is not supported.
class COREKIT_EXPORT LCTime : public LTime
{
public:
    // How output() prints: 0 long ("Tuesday June 15, 1999, 10:05:00 CDT"), 1 normal ("Tue Jun 15 1999 10:05:00"),
    // 2 short ("06/15/99 10:05:00").
    enum OutputFormat : std::int32_t { LongOutput = 0, NormalOutput = 1, ShortOutput = 2 };

    // Holds no time until one is set (Now, SetDate, assignment).
    explicit LCTime(TimeZone zone = LCL);
    LCTime(std::int64_t calendarTime, TimeZone zone);
    // An unsigned calendar time is the 32-bit count that operator- and the unsigned conversion give.
    LCTime(std::uint32_t calendarTime, TimeZone zone);
    LCTime(int calendarTime, TimeZone zone);
    // Note the order: month, day, year.
    LCTime(std::uint32_t month, std::uint32_t day, std::uint32_t year, std::uint32_t hour, std::uint32_t min,
        std::uint32_t sec, TimeZone zone);
    // Takes the other's instant, zone and output format; the mask is always L_DATETIME.
    LCTime(const LCTime &other);
    ~LCTime() override;

    // Takes the other's instant (read from its fields where they were set after its last conversion), zone and
    // output format; this object's mask stays.
    LCTime &operator=(const LCTime &other);
    LCTime &operator=(std::int64_t calendarTime);
    LCTime &operator=(std::uint32_t calendarTime);
    LCTime &operator=(int calendarTime);

    // Six setters in this order (the first failing one throws and stops), then CalcCalendarTime.
    void SetDate(std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour, std::uint32_t min,
        std::uint32_t sec);
    // As Read, then the zone becomes LCL and the output format normal.
    void SetDate(const char *text);
    // Reads "month/day/year hour:min:sec" ("12/31/99 23:59:59") with a two-digit year: below 70 is 20xx, else
    // 19xx. Throws LEx (L_CONVERTION) unless the text holds all six numbers, L_RANGE from the setters.
    void Read(const char *text);

    // Fields to calendar time; the fields come back normalised (31 April becomes 1 May).
    void CalcCalendarTime();
    // Calendar time to fields; a time the fields cannot hold (after 2100) makes the object invalid instead.
    void CalcBrokenTime();
    std::int64_t GetCalendarTime();
    // The stored calendar time, without recomputing it from the fields.
    operator std::int64_t() const { return m_calendarTime; }
    operator std::uint32_t() const { return static_cast<std::uint32_t>(m_calendarTime); }
    bool IsValid() const { return m_calendarTime != -1; }

    void Now();
    // Moves the date by days. The library reads the new date with the daylight setting of the last conversion,
    // so a step across a change of daylight saving moves the hour by the difference.
    void Advance(int days);
    // The next moment at or after now that matches pattern, looking up to horizon days ahead: 0 and this object
    // holds it, or -1 and this object holds the time of the call. The pattern's date fields choose the day; its
    // hour, minute and second where its mask has them (else 0) the time.
    int When(const LTime &pattern, unsigned long horizon = DEF_HORIZON);
    // The same search from the calendar time now.
    int When(const LTime &pattern, unsigned long horizon, std::int64_t now);

    // Seconds west of UTC of the machine's standard time (18000 for US Eastern), without daylight saving;
    // 0 for a UTC time.
    long GMTOffset();
    bool IsDst();
    // The machine's daylight zone name when IsDst, else its standard one, whatever this object's zone.
    LString TimeZoneName();

    OutputFormat GetFormat() const { return m_outputFormat; }
    void SetFormat(OutputFormat outputFormat) { m_outputFormat = outputFormat; }

    // The types of format() without a format text.
    static constexpr int NORMAL_TYPE = 0; // "Tue Jun 15 1999 10:05:00"
    static constexpr int SHORT_TYPE = 1; // "06/15/99 10:05:00"
    static constexpr int LONG_TYPE = 2; // "Tuesday June 15, 1999, 10:05:00 UTC"

    using LTime::format;
    // strftime of the last conversion's record with formatText, or when there is none by type; any other type
    // leaves the buffer untouched.
    char *format(char *buffer, std::size_t length, int type, const char *formatText) const override;
    const char *FormatDate(const char *formatText);
    // Recomputes the fields from the calendar time, then "06/15/99 10:05:00 CDT".
    const char *FormatDate();
    // Prints by the output format; any other value prints nothing.
    void output(std::ostream &stream);

    // This calendar time minus the other's, modulo 2^32 (one second earlier gives 4294967295).
    std::uint32_t operator-(const LCTime &other);

private:
    static constexpr const char *LongFormat = "%A %B %d, %Y, %H:%M:%S %Z";
    static constexpr const char *LongFormatUTC = "%A %B %d, %Y, %H:%M:%S UTC";
    static constexpr const char *NormalFormat = "%a %b %d %Y %H:%M:%S";
    static constexpr const char *ShortFormat = "%m/%d/%y %H:%M:%S";
    static constexpr unsigned long DEF_HORIZON = 365;

    std::int64_t Instant() const;
    std::int64_t ReadFields(std::tm &record, long long monthDay, int dstFlag) const;
    void ConvertFields(long long monthDay, int dstFlag);
    void SetValues();
    void SetTimeOf(const LTime &pattern);
    const char *TypeFormat(int type) const;
    const char *OutputText() const;

    std::int64_t m_calendarTime = -1;
    std::tm m_tm{};
    OutputFormat m_outputFormat = NormalOutput;
};

} // namespace corekit
