#include "nimbdesk/freshness/timetext.h"

#include "corekit/lctime.h"

#include <QCoreApplication>

#include <cstdio>

using namespace corekit;

namespace nimbdesk
{

namespace
{

// The hour on a 12-hour clock with AM or PM, built from the fields: strftime's "%p" is empty in many locales.
std::string twelveHourOf(const LCTime &local)
{
    const unsigned hour = local.GetHour() % 12 == 0 ? 12 : local.GetHour() % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u %s", hour, local.GetMin(), local.GetHour() < 12 ? "AM" : "PM");
    return text;
}

bool sameDay(const LCTime &one, const LCTime &other)
{
    return one.GetYear() == other.GetYear() && one.GetMonth() == other.GetMonth() && one.GetDay() == other.GetDay();
}

} // namespace

std::string twelveHourTime(std::int64_t time)
{
    return twelveHourOf(LCTime(time, LCTime::LCL));
}

std::int64_t currentTime()
{
    LCTime now;
    now.Now();
    return static_cast<std::int64_t>(now);
}

std::string clockTime(std::int64_t time, std::int64_t now)
{
    const LCTime local(time, LCTime::LCL);
    if (sameDay(local, LCTime(now, LCTime::LCL)))
        return twelveHourOf(local);
    char date[32];
    std::snprintf(date, sizeof date, "%02u/%02u ", local.GetMonth(), local.GetDay());
    return date + twelveHourOf(local);
}

std::string zoneName(std::int64_t time)
{
    LCTime local(time, LCTime::LCL);
    return static_cast<const char *>(local.TimeZoneName());
}

std::string shortDateTime(std::int64_t time)
{
    const LCTime local(time, LCTime::LCL);
    char text[64] = {};
    local.format(text, sizeof text, LCTime::SHORT_TYPE, nullptr);
    return text;
}

// An age is told in hours up to two days, so that "30 h ago" is not rounded down to a day.
constexpr int HOURS_BEFORE_DAYS = 48;

QString ageText(std::int64_t seconds)
{
    const int minutes = static_cast<int>(seconds / 60);
    const int hours = minutes / 60;
    const char *text = QT_TRANSLATE_N_NOOP("TimeText", "%n min ago");
    int count = minutes;
    if (hours >= HOURS_BEFORE_DAYS) {
        text = QT_TRANSLATE_N_NOOP("TimeText", "%n days ago");
        count = hours / 24;
    } else if (hours >= 1) {
        text = QT_TRANSLATE_N_NOOP("TimeText", "%n h ago");
        count = hours;
    }
    return QCoreApplication::translate("TimeText", text, nullptr, count);
}

} // namespace nimbdesk
