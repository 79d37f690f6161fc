#pragma once

#include <cstdint>

namespace corekit
{
class LString;
}

namespace meteo
{

// The values of one METAR or SPECI report. A value is meaningful only where its flag is set; the decoder clears
// every flag (and value) before it starts.
struct WMetarReport {
    int windDirection = 0; // degrees the wind blows from; WCondition::VARIABLE_WIND for "VRB"
    int windSpeed = 0; // knots
    int windGust = 0; // knots; 0 when the wind group has no gust
    int variableFrom = 400; // degrees of a variable sector ('240V300'); both 400 when there is none
    int variableTo = 400;
    std::int64_t observationTime = 0; // seconds since 1970-01-01 00:00 UTC
    float temperature = 0.0f; // degrees C
    float dewPoint = 0.0f; // degrees C
    float pressure = 0.0f; // inches of mercury (the altimeter setting)
    bool hasTemperature = false;
    bool hasDewPoint = false;
    bool hasPressure = false;
    bool hasWindDirection = false;
    bool hasWindSpeed = false;
    bool hasWindGust = false;
    bool hasObservationTime = false;
};

// Decodes a report such as 'KJFK 121851Z 18010KT 10SM FEW050 24/12 A3001 RMK AO2 T02440122' group by group, in
// the order the groups stand in a report. A group that is not recognised costs only the values that depend on it;
// bad input never throws (only a failed allocation does). Always returns L_OK.
//
// The report carries only day, hour and minute; the time is the latest with them that lies at most an hour ahead
// of now (UTC): today's or an earlier day of this month, a day of the month before (a stale page), or, for a clock
// running slow across a month end, the first hours of the next. Values beyond physical bounds (a wind direction
// over 360 degrees, a speed or gust over 250 kt, an altimeter outside 25 to 33 inHg, a temperature or dew point
// outside -90 to +60 C) are left absent, as a missing group's are.
int decodeMetar(const corekit::LString &report, WMetarReport &out);
// The same with "now" given in seconds since 1970-01-01 00:00 UTC instead of read from the clock.
int decodeMetar(const corekit::LString &report, WMetarReport &out, std::int64_t now);

} // namespace meteo
