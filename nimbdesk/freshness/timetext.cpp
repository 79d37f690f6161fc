#include "nimbdesk/freshness/timetext.h"

#include "corekit/lage.h"
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

QString ageText(std::int64_t seconds)
{
    const LAge age = ageOf(seconds);
    const char *text = QT_TRANSLATE_N_NOOP("TimeText", "%n min ago");
    if (age.unit == LAge::Unit::Hours)
        text = QT_TRANSLATE_N_NOOP("TimeText", "%n h ago");
    else if (age.unit == LAge::Unit::Days)
        text = QT_TRANSLATE_N_NOOP("TimeText", "%n days ago");
    return QCoreApplication::translate("TimeText", text, nullptr, static_cast<int>(age.count));
}

} // namespace nimbdesk
