#pragma once

#include "meteo/meteo_base_export.h"

namespace meteo
{

// Unit conversions for the display side. Each multiplies in double precision and returns a float.

// Miles per hour for whole knots 0 to 209 from a table of one-decimal values; 999.99 for 210 knots and above.
METEO_BASE_EXPORT float knots2MPH(unsigned int knots);
METEO_BASE_EXPORT float MPH2KMPH(float mph);
METEO_BASE_EXPORT float KMPH2MPH(float kmph);
// Inches of mercury to millimetres of mercury and to hectopascals.
METEO_BASE_EXPORT float INHG2MMHG(float inHg);
METEO_BASE_EXPORT float INHG2HPA(float inHg);
METEO_BASE_EXPORT float C2F(float celsius);
METEO_BASE_EXPORT float F2C(float fahrenheit);

// The nearest of the sixteen points of the compass to a direction in degrees clockwise from north, as reports and
// gauges name them: 0 "N", 20 "NNE", 200 "SSW", 350 "N".
METEO_BASE_EXPORT const char *compassPointName(double degrees);

} // namespace meteo
