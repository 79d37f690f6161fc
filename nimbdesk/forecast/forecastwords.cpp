#include "nimbdesk/forecast/forecastwords.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <cmath>

using namespace meteo;

namespace nimbdesk
{

namespace
{

// In the machine's local time, as the window tells every time.
QDateTime localStart(const WForecastPeriod &period)
{
    return QDateTime::fromSecsSinceEpoch(period.start);
}

} // namespace

int ForecastWords::rounded(double celsius) const
{
    return static_cast<int>(std::lround(m_fahrenheit ? celsius * 9 / 5 + 32 : celsius));
}

QString ForecastWords::withUnit(double celsius) const
{
    return m_fahrenheit ? tr("%1°F").arg(rounded(celsius)) : tr("%1°C").arg(rounded(celsius));
}

QString ForecastWords::degrees(double celsius) const
{
    return QString::number(rounded(celsius));
}

QString ForecastWords::degrees(const WForecastPeriod &period) const
{
    return period.temperature ? degrees(*period.temperature) : QString();
}

QString ForecastWords::highOrLow(const WForecastPeriod &period) const
{
    if (!period.temperature)
        return QString();
    const QString value = withUnit(*period.temperature);
    return period.isDaytime ? tr("High %1").arg(value) : tr("Low %1").arg(value);
}

QString ForecastWords::spoken(const WForecastPeriod &period) const
{
    QStringList parts;
    if (period.temperature)
        parts.append(period.isDaytime ? tr("high %1").arg(degrees(period)) : tr("low %1").arg(degrees(period)));
    if (!period.shortForecast.empty())
        parts.append(cleaned(period.shortForecast).toLower());
    if (period.precipitationChance && *period.precipitationChance > 0)
        parts.append(tr("chance of rain %1 percent").arg(*period.precipitationChance));
    return tr("%1: %2").arg(cleaned(period.name), parts.join(QStringLiteral(", ")));
}

QString ForecastWords::brief(const WForecastPeriod &period) const
{
    QStringList parts;
    if (period.temperature)
        parts.append(period.isDaytime ? tr("high %1").arg(degrees(period)) : tr("low %1").arg(degrees(period)));
    QString weather = cleaned(period.shortForecast).toLower();
    if (period.precipitationChance && *period.precipitationChance > 0)
        weather = tr("%1% %2").arg(*period.precipitationChance).arg(weather).trimmed();
    if (!weather.isEmpty())
        parts.append(weather);
    return tr("%1: %2").arg(cleaned(period.name), parts.join(QStringLiteral(", ")));
}

QString ForecastWords::hour(const WForecastPeriod &hour) const
{
    QStringList parts;
    if (hour.temperature)
        parts.append(withUnit(*hour.temperature));
    if (hour.dewPoint)
        parts.append(tr("dew point %1").arg(withUnit(*hour.dewPoint)));
    if (hour.relativeHumidity)
        parts.append(tr("humidity %1%").arg(*hour.relativeHumidity));
    if (!hour.windSpeed.empty())
        parts.append(tr("wind %1").arg(cleaned(hour.windDirection + ' ' + hour.windSpeed).trimmed()));
    if (hour.precipitationChance)
        parts.append(tr("chance of precipitation %1%").arg(*hour.precipitationChance));
    if (!hour.shortForecast.empty())
        parts.append(cleaned(hour.shortForecast));
    const QString when = QLocale::c().toString(localStart(hour), QStringLiteral("ddd h AP"));
    return tr("%1: %2").arg(when, parts.join(QStringLiteral(", ")));
}

QString ForecastWords::hourLabel(const WForecastPeriod &hour)
{
    const QDateTime time = localStart(hour);
    const QString format = time.time().hour() == 0 ? QStringLiteral("ddd h AP") : QStringLiteral("h AP");
    return QLocale::c().toString(time, format);
}

QString ForecastWords::cleaned(const std::string &text)
{
    QString result = QString::fromStdString(text);
    for (QChar &character : result) {
        if (character.category() == QChar::Other_Control)
            character = QLatin1Char(' ');
    }
    return result.simplified();
}

} // namespace nimbdesk
