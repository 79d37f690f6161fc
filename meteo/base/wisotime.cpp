#include "meteo/base/wisotime.h"

#include <chrono>
#include <cstdio>

namespace meteo
{

std::string isoTime(std::int64_t seconds, int utcOffset)
{
    const std::int64_t local = seconds + utcOffset;
    const std::int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const std::int64_t secondOfDay = local - days * 86400;
    const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(days))};
    const int offsetMinutes = (utcOffset < 0 ? -utcOffset : utcOffset) / 60;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d%c%02d:%02d", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), static_cast<int>(secondOfDay / 3600),
        static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60), utcOffset < 0 ? '-' : '+',
        offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

} // namespace meteo
