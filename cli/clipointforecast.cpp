#include "cli/clipointforecast.h"

#include "cli/clifailure.h"
#include "cli/cliobservation.h"
#include "cli/clisession.h"
#include "cli/clitext.h"
#include "cli/cliunits.h"
#include "meteo/base/wforecast.h"
#include "meteo/base/wisotime.h"
#include "meteo/reader/wreadersettings.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;

namespace cli
{

namespace
{

using json = nlohmann::ordered_json;

constexpr const char *NONE = "-";

struct Column {
    const char *title;
    std::size_t width;
};

// The columns of the two tables; the short forecast, last, takes what is left of the line.
const std::vector<Column> PERIOD_COLUMNS
    = {{"Period", 17}, {"Temp", 7}, {"Precip", 8}, {"Wind", 18}, {"Sky", 10}, {"Forecast", 0}};
const std::vector<Column> HOUR_COLUMNS = {{"Time", 13}, {"Temp", 7}, {"Dew pt", 8}, {"Humidity", 10}, {"Precip", 8},
    {"Wind", 18}, {"Sky", 10}, {"Forecast", 0}};

// Characters, not bytes: "°" takes two bytes and one column.
std::size_t columnsOf(const std::string &text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return count;
}

std::string tableLine(const std::vector<Column> &columns, const std::vector<std::string> &cells)
{
    std::string line;
    for (std::size_t i = 0; i < columns.size() && i < cells.size(); ++i) {
        line += cells[i];
        if (i + 1 < columns.size())
            line += std::string(columns[i].width - std::min(columnsOf(cells[i]), columns[i].width - 1), ' ');
    }
    return line + '\n';
}

std::string percent(const std::optional<int> &value)
{
    return value ? std::to_string(*value) + '%' : NONE;
}

std::string temperature(const CliUnits &units, const std::optional<double> &celsius)
{
    return celsius ? units.temperature(static_cast<float>(*celsius)) : NONE;
}

// "S 15 to 20 mph" in the chosen units.
std::string wind(const CliUnits &units, const WForecastPeriod &period)
{
    // A text without a speed ("Calm") is shown as given.
    std::string speed = plainText(period.windSpeed);
    if (period.windSpeedLow && period.windSpeedHigh) {
        speed = units.speedOfMph(*period.windSpeedHigh);
        const std::string low = units.speedOfMph(*period.windSpeedLow);
        if (low != speed)
            speed = low.substr(0, low.find(' ')) + " to " + speed;
    }
    if (speed.empty())
        return NONE;
    return period.windDirection.empty() ? speed : plainText(period.windDirection) + ' ' + speed;
}

// "05-21 17:00", at the answer's own offset: the place's time.
std::string hourOf(const WForecastPeriod &period)
{
    std::string text = isoTime(period.start, period.utcOffset).substr(5, 11);
    text[5] = ' ';
    return text;
}

std::vector<std::string> rowOf(const CliUnits &units, const WForecastPeriod &period, bool hourly)
{
    std::vector<std::string> row{
        hourly ? hourOf(period) : plainText(period.name), temperature(units, period.temperature)};
    if (hourly)
        row.insert(row.end(), {temperature(units, period.dewPoint), percent(period.relativeHumidity)});
    row.insert(row.end(),
        {percent(period.precipitationChance), wind(units, period), period.sky.empty() ? NONE : period.sky,
            plainText(period.shortForecast)});
    return row;
}

std::string table(const CliPlace &place, const CliUnits &units, const WForecast &forecast, bool hourly)
{
    std::string text = place.label() + '\n';
    if (forecast.updated > 0)
        text += fieldLine(
            "Updated:", localTime(forecast.updated) + (forecast.old ? " (old: the service sent a stale copy)" : ""));
    else if (forecast.old)
        text += fieldLine("Updated:", "unknown (old: the service sent a stale copy)");
    const std::vector<Column> &columns = hourly ? HOUR_COLUMNS : PERIOD_COLUMNS;
    std::vector<std::string> titles;
    for (const Column &column : columns)
        titles.emplace_back(column.title);
    text += tableLine(columns, titles);
    for (const WForecastPeriod &period : forecast.periods)
        text += tableLine(columns, rowOf(units, period, hourly));
    return text;
}

json tenths(const std::optional<double> &value)
{
    return value ? json(std::round(*value * 10.0) / 10.0) : json(nullptr);
}

json textOrNull(const std::string &text)
{
    return text.empty() ? json(nullptr) : json(plainText(text));
}

json periodJson(const WForecastPeriod &period, bool hourly)
{
    json entry = {{"number", period.number}, {"name", plainText(period.name)},
        {"start", isoTime(period.start, period.utcOffset)}, {"end", isoTime(period.end, period.utcOffset)},
        {"is_daytime", period.isDaytime}, {"temperature_c", tenths(period.temperature)},
        {"precipitation_chance", orNull(period.precipitationChance)},
        {"wind_direction", textOrNull(period.windDirection)}, {"wind_speed", textOrNull(period.windSpeed)},
        {"wind_speed_mph_low", tenths(period.windSpeedLow)}, {"wind_speed_mph_high", tenths(period.windSpeedHigh)},
        {"short_forecast", plainText(period.shortForecast)}};
    if (hourly) {
        entry["dew_point_c"] = tenths(period.dewPoint);
        entry["relative_humidity"] = orNull(period.relativeHumidity);
    } else {
        entry["detailed_forecast"] = plainText(period.detailedForecast);
    }
    entry["sky"] = textOrNull(period.sky);
    return entry;
}

// The answer's times at the offset its periods were written with.
json answerTime(std::int64_t seconds, const WForecast &forecast)
{
    const int offset = forecast.periods.empty() ? 0 : forecast.periods.front().utcOffset;
    return seconds > 0 ? json(isoTime(seconds, offset)) : json(nullptr);
}

json forecastJson(const CliPlace &place, const WForecast &forecast, bool hourly)
{
    json list = json::array();
    for (const WForecastPeriod &period : forecast.periods)
        list.push_back(periodJson(period, hourly));
    return {{"place", place.toJson()}, {"updated", answerTime(forecast.updated, forecast)},
        {"generated", answerTime(forecast.generated, forecast)}, {"old", forecast.old},
        {hourly ? "hourly" : "periods", list}};
}

bool statePagesChosen(CliSession &session)
{
    std::uint32_t source = WReaderSettings::SOURCE_WEB_SERVICE;
    session.keeper().GetInt(WReaderSettings::INTERNET, WReaderSettings::PRODUCT_SOURCE, source, false);
    return source == WReaderSettings::SOURCE_STATE_PAGES;
}

} // namespace

CliExit runPointForecast(CliSession &session, std::ostream &out)
{
    const bool hourly = session.options().hourly;
    if (statePagesChosen(session))
        throw CliError(CliExit::Usage,
            "the forecast by periods or hours needs the web service; the state product pages hold none "
            "(use --source api)");
    const CliPlace place = session.place();
    WForecast forecast;
    const WLocation location = session.location(place);
    const int result = hourly ? session.reader().getForecastHours(location, forecast)
                              : session.reader().getForecastPeriods(location, forecast);
    if (result == L_NOTFOUND)
        throw CliError(CliExit::Nothing, place.label() + " has no coordinates for a point forecast");
    if (result != L_OK)
        throw CliError(CliExit::Fetch, "cannot fetch the forecast: " + failureReason(session.reader().lastFailure()));
    if (session.options().json)
        out << jsonLine(forecastJson(place, forecast, hourly));
    else
        out << table(place, session.units(), forecast, hourly);
    if (!forecast.periods.empty())
        return CliExit::Ok;
    std::cerr << "nimbrel: the service's forecast for " << place.label() << " holds no period still to come\n";
    return CliExit::Nothing;
}

} // namespace cli
