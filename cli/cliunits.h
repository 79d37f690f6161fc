#pragma once

#include "cli/clioptions.h"
#include "meteo/base/wstormmotion.h"

#include <string>

namespace corekit
{
class LKeeper;
}
namespace meteo
{
struct WObservation;
}

namespace cli
{

// The units of the text output, as the window's settings choose them or as --units overrides them.
class CliUnits
{
public:
    enum class Speed { Mph, Kmh };
    enum class Pressure { InHg, MmHg, HPa };

    // The settings' TemperatureScale, WindSpeedScale and PressureScale, each with the window's default where it
    // is not stored; "us" is °F, mph and inHg, "metric" °C, km/h and hPa.
    static CliUnits choose(CliOptions::Units units, corekit::LKeeper &keeper);

    // "76 °F"; compact "76°F".
    std::string temperature(float celsius, bool compact = false) const;
    // "12 mph", in whole units as the window's wind gauge shows them.
    std::string speed(int knots) const;
    // "12 mph" or "19 km/h", whole, of a speed given in miles per hour.
    std::string speedOfMph(double mph) const;
    // "30.01 inHg", "762 mmHg", "1016 hPa".
    std::string pressure(float inHg) const;
    // The observation in words in these units: distances and heights follow the wind, as in the window.
    std::string words(const meteo::WObservation &observation) const;
    // A storm's approach in one sentence, its speed in the wind's unit and distances following it.
    std::string storm(
        const meteo::WStormMotion &motion, const meteo::WStormApproach &approach, const std::string &clock) const;

private:
    bool m_fahrenheit = false;
    Speed m_speed = Speed::Mph;
    Pressure m_pressure = Pressure::InHg;
};

} // namespace cli
