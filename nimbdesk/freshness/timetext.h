#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace nimbdesk
{

// Times as the window tells them, in the machine's local time. Each takes a calendar time: seconds since
// 1970-01-01 00:00:00 UTC.

// The calendar time now.
std::int64_t currentTime();
// "1:54 PM".
std::string twelveHourTime(std::int64_t time);
// "1:54 PM" when the time falls on the same local day as now, else "12/06 1:54 PM".
std::string clockTime(std::int64_t time, std::int64_t now);
// "CST", "CDT": the zone's name at that time.
std::string zoneName(std::int64_t time);
// "12/07/26 14:05:00", as the status line has always dated an update.
std::string shortDateTime(std::int64_t time);
// How long ago, rounded down, through the application's translation: "5 min ago", "3 h ago", "2 days ago".
QString ageText(std::int64_t seconds);

} // namespace nimbdesk
