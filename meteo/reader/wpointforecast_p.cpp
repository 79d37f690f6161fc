#include "meteo/reader/wpointforecast_p.h"

#include "corekit/lex.h"
#include "meteo/base/wisotime_p.h"
#include "meteo/reader/wforecastvalues_p.h"
#include "meteo/reader/wjson_p.h"

#include <utility>

using namespace corekit;

namespace meteo
{

namespace
{

using nlohmann::json;

const json NO_VALUE;

const json &valueOf(const json &object, const char *name)
{
    const json *member = memberOf(object, name);
    return member ? *member : NO_VALUE;
}

void readWind(const json &entry, WForecastUnits units, WForecastPeriod &period)
{
    period.windSpeed = textOf(entry, "windSpeed");
    period.windDirection = textOf(entry, "windDirection");
    double low = 0;
    double high = 0;
    if (windSpeedRange(period.windSpeed, units, low, high)) {
        period.windSpeedLow = low;
        period.windSpeedHigh = high;
    }
}

// False when the period's start or end cannot be read.
bool readPeriod(const json &entry, WForecastUnits units, WForecastPeriod &period)
{
    int endOffset = 0;
    if (!parseIsoTime(textOf(entry, "startTime"), period.start, period.utcOffset)
        || !parseIsoTime(textOf(entry, "endTime"), period.end, endOffset))
        return false;
    const std::optional<double> number = forecastNumber(valueOf(entry, "number"));
    if (number && *number >= 1 && *number < 10000)
        period.number = static_cast<int>(*number);
    period.name = textOf(entry, "name");
    const json &daytime = valueOf(entry, "isDaytime");
    period.isDaytime = daytime.is_boolean() ? daytime.get<bool>() : textOf(daytime) == "true";
    period.temperature = forecastTemperature(valueOf(entry, "temperature"), textOf(entry, "temperatureUnit"), units);
    period.precipitationChance = forecastPercent(valueOf(entry, "probabilityOfPrecipitation"));
    readWind(entry, units, period);
    period.shortForecast = textOf(entry, "shortForecast");
    period.detailedForecast = textOf(entry, "detailedForecast");
    skyOf(textOf(entry, "icon"), period.sky, period.skyChance);
    period.dewPoint = forecastDewPoint(valueOf(entry, "dewpoint"));
    period.relativeHumidity = forecastPercent(valueOf(entry, "relativeHumidity"));
    return true;
}

std::vector<WForecastPeriod> periodsToCome(const json::array_t &entries, WForecastUnits units, std::int64_t now)
{
    std::vector<WForecastPeriod> periods;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        WForecastPeriod period;
        period.number = static_cast<int>(i + 1);
        if (readPeriod(entries[i], units, period) && period.end > now)
            periods.push_back(std::move(period));
    }
    return periods;
}

// Old by WForecast's rules; an answer all of whose periods have ended is old as well.
bool isOld(const WForecast &forecast, bool hadPeriods, std::int64_t now)
{
    if (forecast.updated != 0 && forecast.updated < now - OLD_UPDATE_AGE)
        return true;
    if (forecast.periods.empty())
        return hadPeriods;
    return forecast.periods.front().start < now - OLD_FIRST_PERIOD_AGE;
}

} // namespace

int readPointForecast(std::string_view answer, std::int64_t now, WForecast &forecast)
{
    if (!withinJsonLimits(answer))
        return L_FORMAT;
    const json document = json::parse(answer, nullptr, false);
    const json *properties = memberOf(document, "properties");
    const json::array_t *entries = properties ? listOf(*properties, "periods") : nullptr;
    if (!entries)
        return L_FORMAT;
    const WForecastUnits units = textOf(*properties, "units") == "si" ? WForecastUnits::Si : WForecastUnits::Us;
    WForecast read;
    // Older answers name the update "updated" only.
    if (!parseIsoTime(textOf(*properties, "updateTime"), read.updated))
        parseIsoTime(textOf(*properties, "updated"), read.updated);
    parseIsoTime(textOf(*properties, "generatedAt"), read.generated);
    read.periods = periodsToCome(*entries, units, now);
    read.old = isOld(read, !entries->empty(), now);
    forecast = std::move(read);
    return L_OK;
}

} // namespace meteo
