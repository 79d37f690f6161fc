#pragma once

#include "meteo/base/wforecast.h"

#include <QCoreApplication>
#include <QString>

namespace nimbdesk
{

// The forecast's periods and hours as the window and the tray tell them, in the temperature unit of the options.
// Texts from the service reach them without control characters.
class ForecastWords
{
    Q_DECLARE_TR_FUNCTIONS(ForecastWords)

public:
    explicit ForecastWords(bool fahrenheit)
        : m_fahrenheit(fahrenheit)
    {
    }

    // "58", in the unit; empty when the period has no temperature.
    QString degrees(double celsius) const;
    QString degrees(const meteo::WForecastPeriod &period) const;
    // "High 84°F", "Low 58°F" by day or by night.
    QString highOrLow(const meteo::WForecastPeriod &period) const;
    // "Tonight: low 58, thunderstorms likely, chance of rain 70 percent", as assistive tools read a period.
    QString spoken(const meteo::WForecastPeriod &period) const;
    // "Tonight: low 58, 70% thunderstorms likely", as the tray tip tells the next period.
    QString brief(const meteo::WForecastPeriod &period) const;
    // "Thu 2 PM: 84°F, dew point 66°F, humidity 55%, wind SW 10 mph, chance of precipitation 20%, Sunny".
    QString hour(const meteo::WForecastPeriod &hour) const;
    // "2 PM", "Thu 12 AM" at midnight: the hour in local time.
    static QString hourLabel(const meteo::WForecastPeriod &hour);
    // The text without its control characters (line feeds become spaces).
    static QString cleaned(const std::string &text);

private:
    QString withUnit(double celsius) const;
    int rounded(double celsius) const;

    bool m_fahrenheit;
};

} // namespace nimbdesk
