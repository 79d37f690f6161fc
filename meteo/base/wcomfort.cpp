#include "meteo/base/wcomfort.h"

#include "meteo/base/wconvert.h"

#include <cmath>

namespace meteo
{

namespace
{

constexpr double MPH_PER_KNOT = 1.150779;
constexpr double HEAT_INDEX_FROM_F = 80.0;
constexpr double WIND_CHILL_UP_TO_F = 50.0;
constexpr double WIND_CHILL_FROM_MPH = 3.0;

double vapourPressure(double celsius)
{
    return 6.11 * std::pow(10.0, 7.5 * celsius / (237.3 + celsius));
}

// Steadman's values by Rothfusz's regression, in degrees F and percent.
double rothfusz(double t, double rh)
{
    return -42.379 + 2.04901523 * t + 10.14333127 * rh - 0.22475541 * t * rh - 0.00683783 * t * t - 0.05481717 * rh * rh
        + 0.00122874 * t * t * rh + 0.00085282 * t * rh * rh - 0.00000199 * t * t * rh * rh;
}

// The regression runs warm in very dry heat and cool in humid air just above 80 F; these two corrections belong to
// it.
double adjustedRothfusz(double t, double rh)
{
    double index = rothfusz(t, rh);
    if (rh < 13.0 && t >= 80.0 && t <= 112.0)
        index -= (13.0 - rh) / 4.0 * std::sqrt((17.0 - std::fabs(t - 95.0)) / 17.0);
    if (rh > 85.0 && t >= 80.0 && t <= 87.0)
        index += (rh - 85.0) / 10.0 * (87.0 - t) / 5.0;
    return index;
}

} // namespace

float relativeHumidity(float temperatureC, float dewPointC)
{
    return static_cast<float>(100.0 * vapourPressure(dewPointC) / vapourPressure(temperatureC));
}

// The simple formula first; only where it averages 80 F or more with the temperature does the regression apply,
// since the regression was fitted to hot air.
std::optional<float> heatIndex(float temperatureC, float humidityPct)
{
    const double t = C2F(temperatureC);
    const double rh = humidityPct;
    if (t < HEAT_INDEX_FROM_F)
        return std::nullopt;
    const double simple = 0.5 * (t + 61.0 + (t - 68.0) * 1.2 + rh * 0.094);
    const double index = (simple + t) / 2.0 >= HEAT_INDEX_FROM_F ? adjustedRothfusz(t, rh) : simple;
    return F2C(static_cast<float>(index));
}

// The 2001 formula, in degrees F and miles per hour.
std::optional<float> windChill(float temperatureC, float windKnots)
{
    const double t = C2F(temperatureC);
    const double mph = windKnots * MPH_PER_KNOT;
    if (t > WIND_CHILL_UP_TO_F || mph < WIND_CHILL_FROM_MPH)
        return std::nullopt;
    const double v = std::pow(mph, 0.16);
    return F2C(static_cast<float>(35.74 + 0.6215 * t - 35.75 * v + 0.4275 * t * v));
}

} // namespace meteo
