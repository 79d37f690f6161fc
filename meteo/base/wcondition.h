#pragma once

#include "corekit/lctime.h"
#include "meteo/base/wobservation.h"
#include "meteo/meteo_base_export.h"

#include <cstdint>

namespace corekit
{
class LString;
}

namespace meteo
{

// One observation as the reader hands it to the display: temperature and dew point in degrees C, the altimeter
// setting in inches of mercury, the wind in degrees and knots, the time of the observation, and what else the report
// says.
class METEO_BASE_EXPORT WCondition
{
public:
    // The wind direction of a variable wind ('VRB05KT'), beyond any compass degree.
    static constexpr int VARIABLE_WIND = 400;

    // Any value other than Celsius is read as Fahrenheit.
    enum TempScale : std::int32_t { Celsius = 0, Fahrenheit = 1 };

    // Not valid, all numbers 0, the time in the local zone and not yet set.
    WCondition();
    WCondition(const WCondition &other);
    WCondition &operator=(const WCondition &other);
    ~WCondition();

    bool isValid() const { return m_valid; }
    void setValid(bool valid) { m_valid = valid; }
    float getTemp() const { return m_temperature; }
    void setTemp(float celsius) { m_temperature = celsius; }
    float getDewPoint() const { return m_dewPoint; }
    void setDewPoint(float celsius) { m_dewPoint = celsius; }
    float getPressure() const { return m_pressure; }
    void setPressure(float inHg) { m_pressure = inHg; }
    // Degrees the wind blows from; VARIABLE_WIND for a variable direction.
    int getWindDirection() const { return m_windDirection; }
    void setWindDirection(int degrees) { m_windDirection = degrees; }
    int getWindSpeed() const { return m_windSpeed; }
    void setWindSpeed(int knots) { m_windSpeed = knots; }
    // -1 when no gust was reported.
    int getWindGustSpeed() const { return m_windGustSpeed; }
    void setWindGustSpeed(int knots) { m_windGustSpeed = knots; }
    const corekit::LCTime &getTime() const { return m_time; }
    void setTime(const corekit::LCTime &time) { m_time = time; }
    // The rest of the report in words' terms: visibility, weather, sky, humidity and how it feels.
    const WObservation &getObservation() const { return m_observation; }
    void setObservation(const WObservation &observation) { m_observation = observation; }

    // Replaces out by the temperature in whole degrees of the scale ("24 C", "76 F") and returns it.
    const corekit::LString &formatTemp(corekit::LString &out, TempScale scale) const;

private:
    bool m_valid = false;
    float m_temperature = 0.0f;
    float m_dewPoint = 0.0f;
    float m_pressure = 0.0f;
    std::int32_t m_windDirection = 0;
    std::int32_t m_windSpeed = 0;
    std::int32_t m_windGustSpeed = 0;
    corekit::LCTime m_time;
    WObservation m_observation;
};

} // namespace meteo
