#include "meteo/base/wisotime_p.h"

#include <chrono>
#include <cstddef>

namespace meteo
{

namespace
{

// Reads fixed-width decimal fields and single characters off the front of a text.
class Cursor
{
public:
    explicit Cursor(std::string_view text)
        : m_text(text)
    {
    }

    bool number(std::size_t width, int &value)
    {
        if (m_text.size() < width)
            return false;
        value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            if (m_text[i] < '0' || m_text[i] > '9')
                return false;
            value = value * 10 + (m_text[i] - '0');
        }
        m_text.remove_prefix(width);
        return true;
    }
    bool literal(char c)
    {
        if (m_text.empty() || m_text.front() != c)
            return false;
        m_text.remove_prefix(1);
        return true;
    }
    void skipFraction()
    {
        if (literal('.'))
            while (!m_text.empty() && m_text.front() >= '0' && m_text.front() <= '9')
                m_text.remove_prefix(1);
    }
    // "Z", "+05:30", "-0700": seconds east of UTC.
    bool offset(int &seconds)
    {
        if (literal('Z')) {
            seconds = 0;
            return true;
        }
        const int sign = literal('-') ? -1 : (literal('+') ? 1 : 0);
        int hours = 0;
        int minutes = 0;
        if (sign == 0 || !number(2, hours))
            return false;
        literal(':');
        if (!number(2, minutes) || hours > 23 || minutes > 59)
            return false;
        seconds = sign * (hours * 3600 + minutes * 60);
        return true;
    }
    bool atEnd() const { return m_text.empty(); }

private:
    std::string_view m_text;
};

} // namespace

bool parseIsoTime(std::string_view text, std::int64_t &seconds)
{
    int utcOffset = 0;
    return parseIsoTime(text, seconds, utcOffset);
}

bool parseIsoTime(std::string_view text, std::int64_t &seconds, int &utcOffset)
{
    Cursor in(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, offset = 0;
    if (!(in.number(4, year) && in.literal('-') && in.number(2, month) && in.literal('-') && in.number(2, day)
            && in.literal('T') && in.number(2, hour) && in.literal(':') && in.number(2, minute) && in.literal(':')
            && in.number(2, second)))
        return false;
    in.skipFraction();
    if (!in.offset(offset) || !in.atEnd() || hour > 23 || minute > 59 || second > 60)
        return false;
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
        std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return false;
    const std::int64_t days = std::chrono::sys_days(date).time_since_epoch().count();
    seconds = days * 86400 + hour * 3600 + minute * 60 + second - offset;
    utcOffset = offset;
    return true;
}

} // namespace meteo
