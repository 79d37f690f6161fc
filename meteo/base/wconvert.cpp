#include "meteo/base/wconvert.h"

#include <array>
#include <cmath>

namespace meteo
{

namespace
{

// Entry k is k knots times 1.1508 in miles per hour, rounded to one decimal with halves up.
// clang-format off
constexpr std::array<double, 210> knotsToMph = {
    0.0, 1.2, 2.3, 3.5, 4.6, 5.8, 6.9, 8.1, 9.2, 10.4,
    11.5, 12.7, 13.8, 15.0, 16.1, 17.3, 18.4, 19.6, 20.7, 21.9,
    23.0, 24.2, 25.3, 26.5, 27.6, 28.8, 29.9, 31.1, 32.2, 33.4,
    34.5, 35.7, 36.8, 38.0, 39.1, 40.3, 41.4, 42.6, 43.7, 44.9,
    46.0, 47.2, 48.3, 49.5, 50.6, 51.8, 52.9, 54.1, 55.2, 56.4,
    57.5, 58.7, 59.8, 61.0, 62.1, 63.3, 64.4, 65.6, 66.7, 67.9,
    69.0, 70.2, 71.3, 72.5, 73.7, 74.8, 76.0, 77.1, 78.3, 79.4,
    80.6, 81.7, 82.9, 84.0, 85.2, 86.3, 87.5, 88.6, 89.8, 90.9,
    92.1, 93.2, 94.4, 95.5, 96.7, 97.8, 99.0, 100.1, 101.3, 102.4,
    103.6, 104.7, 105.9, 107.0, 108.2, 109.3, 110.5, 111.6, 112.8, 113.9,
    115.1, 116.2, 117.4, 118.5, 119.7, 120.8, 122.0, 123.1, 124.3, 125.4,
    126.6, 127.7, 128.9, 130.0, 131.2, 132.3, 133.5, 134.6, 135.8, 136.9,
    138.1, 139.2, 140.4, 141.5, 142.7, 143.9, 145.0, 146.2, 147.3, 148.5,
    149.6, 150.8, 151.9, 153.1, 154.2, 155.4, 156.5, 157.7, 158.8, 160.0,
    161.1, 162.3, 163.4, 164.6, 165.7, 166.9, 168.0, 169.2, 170.3, 171.5,
    172.6, 173.8, 174.9, 176.1, 177.2, 178.4, 179.5, 180.7, 181.8, 183.0,
    184.1, 185.3, 186.4, 187.6, 188.7, 189.9, 191.0, 192.2, 193.3, 194.5,
    195.6, 196.8, 197.9, 199.1, 200.2, 201.4, 202.5, 203.7, 204.8, 206.0,
    207.1, 208.3, 209.4, 210.6, 211.7, 212.9, 214.0, 215.2, 216.4, 217.5,
    218.7, 219.8, 221.0, 222.1, 223.3, 224.4, 225.6, 226.7, 227.9, 229.0,
    230.2, 231.3, 232.5, 233.6, 234.8, 235.9, 237.1, 238.2, 239.4, 240.5,
};
// clang-format on

float times(float value, double factor)
{
    return static_cast<float>(static_cast<double>(value) * factor);
}

} // namespace

float knots2MPH(unsigned int knots)
{
    if (knots >= knotsToMph.size())
        return 999.99f;
    return static_cast<float>(knotsToMph[knots]);
}

float MPH2KMPH(float mph)
{
    return times(mph, 1.609);
}

float KMPH2MPH(float kmph)
{
    return times(kmph, 0.6215040397762586);
}

float INHG2MMHG(float inHg)
{
    return times(inHg, 25.4);
}

float INHG2HPA(float inHg)
{
    return times(inHg, 33.8638);
}

float C2F(float celsius)
{
    return static_cast<float>(32.0 - static_cast<double>(celsius) * -1.8);
}

float F2C(float fahrenheit)
{
    return static_cast<float>((static_cast<double>(fahrenheit) - 32.0) * 0.5555555555555556);
}

const char *compassPointName(double degrees)
{
    static constexpr std::array<const char *, 16> POINTS
        = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE", "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    const double turned = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
    return POINTS[static_cast<std::size_t>(std::lround(turned / 22.5)) % POINTS.size()];
}

} // namespace meteo
