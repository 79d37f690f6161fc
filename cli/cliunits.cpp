#include "cli/cliunits.h"

#include "corekit/lkeeper.h"
#include "meteo/base/wconvert.h"
#include "meteo/reader/wobservationwords.h"
#include "meteo/reader/wstormwords.h"
#include "settings/lsettings.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace cli
{

namespace
{

std::string number(double value, int decimals, const char *unit)
{
    // "-0 °C" would puzzle a reader.
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f%s", decimals, value, unit);
    return text;
}

std::uint32_t setting(LKeeper &keeper, const char *key)
{
    std::uint32_t value = 0;
    keeper.GetInt(LSettings::GENERAL, key, value, false);
    return value;
}

} // namespace

CliUnits CliUnits::choose(CliOptions::Units units, LKeeper &keeper)
{
    CliUnits chosen;
    if (units == CliOptions::Units::Settings) {
        chosen.m_fahrenheit = setting(keeper, LSettings::TEMPERATURE_SCALE) != 0;
        chosen.m_speed = setting(keeper, LSettings::WIND_SPEED_SCALE) == 1 ? Speed::Kmh : Speed::Mph;
        const std::uint32_t pressure = setting(keeper, LSettings::PRESSURE_SCALE);
        chosen.m_pressure = pressure == 1 ? Pressure::MmHg : pressure == 2 ? Pressure::HPa : Pressure::InHg;
    } else if (units == CliOptions::Units::Us) {
        chosen.m_fahrenheit = true;
    } else {
        chosen.m_speed = Speed::Kmh;
        chosen.m_pressure = Pressure::HPa;
    }
    return chosen;
}

std::string CliUnits::temperature(float celsius, bool compact) const
{
    const char *unit = m_fahrenheit ? (compact ? "°F" : " °F") : (compact ? "°C" : " °C");
    return number(m_fahrenheit ? C2F(celsius) : celsius, 0, unit);
}

std::string CliUnits::speed(int knots) const
{
    const float mph = knots2MPH(static_cast<unsigned int>(knots));
    return m_speed == Speed::Kmh ? number(MPH2KMPH(mph), 0, " km/h") : number(mph, 0, " mph");
}

std::string CliUnits::speedOfMph(double mph) const
{
    return m_speed == Speed::Kmh ? number(MPH2KMPH(mph), 0, " km/h") : number(mph, 0, " mph");
}

std::string CliUnits::pressure(float inHg) const
{
    if (m_pressure == Pressure::MmHg)
        return number(INHG2MMHG(inHg), 0, " mmHg");
    if (m_pressure == Pressure::HPa)
        return number(INHG2HPA(inHg), 0, " hPa");
    return number(inHg, 2, " inHg");
}

std::string CliUnits::words(const WObservation &observation) const
{
    const WObservationWords words(m_fahrenheit ? WCondition::Fahrenheit : WCondition::Celsius,
        m_speed == Speed::Kmh ? WObservationWords::Distance::Metric : WObservationWords::Distance::Imperial);
    return words.line(observation);
}

std::string CliUnits::storm(const WStormMotion &motion, const WStormApproach &approach, const std::string &clock) const
{
    const WStormWords words(m_speed == Speed::Kmh ? WStormWords::Speed::Kmh : WStormWords::Speed::Mph);
    return words.line(motion, approach, clock);
}

} // namespace cli
