#include "meteo/reader/wmetar_p.h"

#include "corekit/lex.h"
#include "corekit/lstring.h"
#include "corekit/ltokenizer.h"
#include "meteo/base/wcondition.h"

#include <chrono>
#include <cstring>
#include <ctime>

using namespace corekit;

namespace meteo
{

namespace
{

// The part of a report not yet decoded, read from the front. A group runs up to the next blank or to the end of
// the text, so the last group of a report that ends without remarks ('... 28/17 A3003') is read like any other.
// Consuming moves a pointer instead of cutting a string: a report of many groups stays linear.
class MetarText
{
public:
    explicit MetarText(const char *text)
        : m_rest(text)
    {
    }

    bool atEnd() const { return *m_rest == '\0'; }
    const char *rest() const { return m_rest; }
    // The front group: '18010KT' of '18010KT 10SM CLR'; empty at the end.
    LString group() const { return LString(m_rest, std::strcspn(m_rest, " ")); }
    // Removes the front group and the blanks behind it.
    void consume()
    {
        m_rest += std::strcspn(m_rest, " ");
        trimLeft();
    }
    // Removes a code that the text begins with: '-' of '-SHRA BR'.
    bool cutCode(const char *code)
    {
        const std::size_t length = std::strlen(code);
        if (std::strncmp(m_rest, code, length) != 0)
            return false;
        m_rest += length;
        return true;
    }
    void trimLeft()
    {
        while (*m_rest == ' ')
            ++m_rest;
    }

private:
    const char *m_rest;
};

bool toNumber(const LString &text, long &value)
{
    return text.convert(value) == 0;
}

// Values outside these bounds are no observation but a damaged or mistyped report ('37010KT', '999KT', 'A0000',
// '99/10'), and are taken as missing, as a missing group is. The bounds lie beyond any value measured on earth.
constexpr long MOST_DEGREES = 360;
constexpr long MOST_KNOTS = 250;
constexpr float LEAST_INCHES = 25.0f;
constexpr float MOST_INCHES = 33.0f;
constexpr float LEAST_CELSIUS = -90.0f;
constexpr float MOST_CELSIUS = 60.0f;

template<typename T>
bool within(T value, T least, T most)
{
    return value >= least && value <= most;
}

// The count characters at the position, read as a whole number.
bool numberAt(const LString &text, unsigned long position, unsigned long count, long &value)
{
    LString part;
    return text.mid(position, count, part) == 0 && toNumber(part, value);
}

// The report type ('METAR', 'SPECI') may stand in front.
void skipType(MetarText &text)
{
    if (!text.cutCode("METAR"))
        text.cutCode("SPECI");
    text.trimLeft();
}

// A station ('KJFK') has four characters; any other group is left for the next steps, which then find
// nothing they know, so that only the remarks can still give values.
void skipStation(MetarText &text)
{
    if (text.group().length() == 4)
        text.consume();
}

// A report stamped more than this far ahead of the clock is not from today but from a month before: a page left
// stale for weeks. Less than that is the clock running slow, and the report stays ahead of it.
constexpr std::int64_t AHEAD_AT_MOST = 3600;

// The latest time of the report's day, hour and minute (UTC) that is at most AHEAD_AT_MOST ahead of now, in the
// month after now's (the clock is slow across a month end), in now's, or in the months before. Months without the
// day are passed over: a 31st read on the 1st of May is the 31st of March.
bool calendarTime(long day, long hour, long minute, std::int64_t now, std::int64_t &out)
{
    using namespace std::chrono;
    const year_month_day today{floor<days>(sys_seconds(seconds(now)))};
    year_month month = year_month(today.year(), today.month()) + months(1);
    // Of any two months in a row one has a 31st, so four are enough.
    for (int tried = 0; tried < 4; ++tried, month -= months(1)) {
        const year_month_day date = month / std::chrono::day(static_cast<unsigned>(day));
        if (!date.ok())
            continue;
        const std::int64_t time = sys_seconds(sys_days(date)).time_since_epoch().count() + hour * 3600 + minute * 60;
        if (time <= now + AHEAD_AT_MOST) {
            out = time;
            return true;
        }
    }
    return false;
}

// '121851Z' is the 12th at 18:51 UTC. A group of that shape is consumed even when its numbers are out of
// range ('001851Z', '122460Z'); the time is then absent and decoding goes on.
void decodeTime(MetarText &text, WMetarReport &out, std::int64_t now)
{
    const LString group = text.group();
    if (group.length() != 7 || !group.compareRight("Z"))
        return;
    text.consume();
    long day = 0;
    long hour = 0;
    long minute = 0;
    if (!numberAt(group, 0, 2, day) || !numberAt(group, 2, 2, hour) || !numberAt(group, 4, 2, minute))
        return;
    if (day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return;
    out.hasObservationTime = calendarTime(day, hour, minute, now, out.observationTime);
}

// The modifiers; corrected automatic reports write them as 'COR AUTO'.
void skipModifiers(MetarText &text)
{
    for (LString group = text.group(); group == "AUTO" || group == "COR"; group = text.group())
        text.consume();
}

// The first three characters of '27015G25KT': degrees, or 'VRB' for a variable direction.
void decodeDirection(const LString &wind, WMetarReport &out)
{
    LString direction;
    long degrees = 0;
    if (wind.left(3, direction) != 0)
        return;
    if (direction == "VRB") {
        out.windDirection = WCondition::VARIABLE_WIND;
        out.hasWindDirection = true;
    } else if (toNumber(direction, degrees) && within(degrees, 0L, MOST_DEGREES)) {
        out.windDirection = static_cast<int>(degrees);
        out.hasWindDirection = true;
    }
}

// What follows the direction: '15G25KT' (speed 15, gust 25) or '10KT' (no gust).
void decodeSpeed(const LString &wind, WMetarReport &out)
{
    LString rest;
    if (wind.mid(3, wind.length() - 3, rest) != 0)
        return;
    LString speed(rest);
    LString gust;
    long knots = 0;
    rest.split("G", speed, gust);
    if (toNumber(speed, knots) && within(knots, 0L, MOST_KNOTS)) {
        out.windSpeed = static_cast<int>(knots);
        out.hasWindSpeed = true;
    }
    if (toNumber(gust, knots) && within(knots, 1L, MOST_KNOTS)) {
        out.windGust = static_cast<int>(knots);
        out.hasWindGust = true;
    }
}

// Any group with a "V" right behind the wind is taken as its variable sector: '240V300'.
void decodeVariableSector(MetarText &text, WMetarReport &out)
{
    LString from;
    LString to;
    long degrees = 0;
    if (text.group().split("V", from, to) != 0)
        return;
    text.consume();
    if (toNumber(from, degrees))
        out.variableFrom = static_cast<int>(degrees);
    if (toNumber(to, degrees))
        out.variableTo = static_cast<int>(degrees);
}

// The wind, any group with "KT" in it ('27015G25KT'), and the variable sector behind it.
void decodeWind(MetarText &text, WMetarReport &out)
{
    const LString wind = text.group();
    if (!wind.contains("KT"))
        return;
    text.consume();
    decodeDirection(wind, out);
    decodeSpeed(wind, out);
    decodeVariableSector(text, out);
}

// '10SM', or a whole number and a fraction in two groups: '1 1/2SM'.
void skipVisibility(MetarText &text)
{
    if (text.group().compareRight("SM")) {
        text.consume();
        return;
    }
    MetarText after = text;
    after.consume();
    if (after.group().compareRight("SM")) {
        after.consume();
        text = after;
    }
}

// Runway visual ranges: 'R04/2400FT', 'R19R/P6000FT'.
void skipRunwayRanges(MetarText &text)
{
    for (LString group = text.group(); group.compareLeft("R") && group.contains("/"); group = text.group())
        text.consume();
}

// Present-weather codes by category, each category tried in its order. 'PL' (ice pellets) replaced 'PE', which
// older reports still carry; 'DS' is a dust storm.
const char *const intensityCodes[] = {"-", "+", "VC", nullptr};
const char *const descriptorCodes[] = {"MI", "PR", "BC", "DR", "BL", "SH", "TS", "FZ", nullptr};
const char *const precipitationCodes[] = {"DZ", "RA", "SN", "SG", "IC", "PE", "PL", "GR", "GS", "UP", nullptr};
const char *const obscurationCodes[] = {"BR", "FG", "FU", "VA", "DU", "SA", "HZ", "PY", nullptr};
const char *const otherCodes[] = {"PO", "SQ", "FC", "SS", "DS", nullptr};
const char *const *const weatherCategories[]
    = {intensityCodes, descriptorCodes, precipitationCodes, obscurationCodes, otherCodes};

void cutFirstCode(MetarText &text, const char *const *codes)
{
    for (; *codes; ++codes) {
        if (text.cutCode(*codes))
            return;
    }
}

// Present weather, recognised by the letters at the front rather than by groups. Each pass removes at most
// one code of each category, so '-SHRA BR FEW010' takes two passes ('-', 'SH', 'RA'; then 'BR') and a third
// finds nothing.
void skipPresentWeather(MetarText &text)
{
    const char *before = nullptr;
    do {
        before = text.rest();
        for (const char *const *codes : weatherCategories)
            cutFirstCode(text, codes);
        text.trimLeft();
    } while (text.rest() != before);
}

// Sky cover layers: 'FEW050', 'OVC004', 'VV002'.
bool isSkyCover(const LString &group)
{
    static const char *const covers[] = {"SKC", "CLR", "FEW", "SCT", "BKN", "OVC", "VV"};
    for (const char *cover : covers) {
        if (group.compareLeft(cover))
            return true;
    }
    return false;
}

void skipSkyCover(MetarText &text)
{
    while (isSkyCover(text.group()))
        text.consume();
}

// Whole degrees C, "M" for minus: 'M05' is -5, and 'M00' is negative zero.
bool wholeDegrees(LString part, float &value)
{
    const bool minus = part.compareLeft("M") == 1;
    long degrees = 0;
    if (minus)
        part.cutLeft(1);
    if (!toNumber(part, degrees))
        return false;
    const float celsius = minus ? -static_cast<float>(degrees) : static_cast<float>(degrees);
    if (!within(celsius, LEAST_CELSIUS, MOST_CELSIUS))
        return false;
    value = celsius;
    return true;
}

// '24/12', 'M05/M12'. A part without a number ('23/', '//') leaves its value absent.
void decodeTemperature(MetarText &text, WMetarReport &out)
{
    LString temperature;
    LString dewPoint;
    if (text.group().split("/", temperature, dewPoint) != 0)
        return;
    text.consume();
    out.hasTemperature = wholeDegrees(temperature, out.temperature);
    out.hasDewPoint = wholeDegrees(dewPoint, out.dewPoint);
}

// The altimeter in hundredths of an inch of mercury: 'A2992' is 29.92.
void decodeAltimeter(MetarText &text, WMetarReport &out)
{
    LString group = text.group();
    long hundredths = 0;
    if (!group.compareLeft("A"))
        return;
    text.consume();
    group.cutLeft(1);
    if (!toNumber(group, hundredths))
        return;
    const float inches = static_cast<float>(hundredths) * 0.01f;
    if (within(inches, LEAST_INCHES, MOST_INCHES)) {
        out.pressure = inches;
        out.hasPressure = true;
    }
}

// Tenths of a degree C in four characters, a leading "1" for minus: '0244' is 24.4, '1056' is -5.6.
bool tenthsOfDegrees(const LString &word, unsigned long position, float &value)
{
    LString part;
    long tenths = 0;
    if (word.mid(position, 4, part) != 0)
        return false;
    const bool minus = part.compareLeft("1") == 1;
    if (minus)
        part.cutLeft(1);
    if (!toNumber(part, tenths))
        return false;
    const float celsius = static_cast<float>(minus ? -tenths : tenths) * 0.1f;
    if (!within(celsius, LEAST_CELSIUS, MOST_CELSIUS))
        return false;
    value = celsius;
    return true;
}

// 'T02440122': 24.4 and 12.2, finer than the body's '24/12', which they replace. A part without a number
// ('T0089////') keeps the body's value.
void decodeHourlyTemperature(const LString &word, WMetarReport &out)
{
    float value = 0.0f;
    if (tenthsOfDegrees(word, 1, value)) {
        out.temperature = value;
        out.hasTemperature = true;
    }
    if (tenthsOfDegrees(word, 5, value)) {
        out.dewPoint = value;
        out.hasDewPoint = true;
    }
}

// The remarks behind "RMK". Of their words only the first 'T' word of nine characters is kept; the
// station type ('AO2') and everything else carry no value of the record.
void decodeRemarks(const MetarText &text, WMetarReport &out)
{
    const char *remarks = std::strstr(text.rest(), "RMK");
    if (!remarks)
        return;
    LString rest(remarks + 3);
    rest.leftTrim();
    LTokenizer words(rest, LString(" "));
    LString word;
    while (!words.eof()) {
        words >> word;
        if (word.compareLeft("T") && word.length() == 9) {
            decodeHourlyTemperature(word, out);
            return;
        }
    }
}

} // namespace

int decodeMetar(const LString &report, WMetarReport &out)
{
    return decodeMetar(report, out, static_cast<std::int64_t>(std::time(nullptr)));
}

int decodeMetar(const LString &report, WMetarReport &out, std::int64_t now)
{
    out = WMetarReport();
    MetarText text(report);
    skipType(text);
    skipStation(text);
    decodeTime(text, out, now);
    skipModifiers(text);
    decodeWind(text, out);
    skipVisibility(text);
    skipRunwayRanges(text);
    skipPresentWeather(text);
    skipSkyCover(text);
    decodeTemperature(text, out);
    decodeAltimeter(text, out);
    decodeRemarks(text, out);
    return L_OK;
}

} // namespace meteo
