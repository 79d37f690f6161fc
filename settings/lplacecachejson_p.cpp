#include "settings/lplacecachejson_p.h"

#include "corekit/lctime.h"

#include <string_view>

using namespace corekit;
using namespace meteo;
using json = nlohmann::json;

namespace settings
{

namespace
{

template<typename T>
void putOptional(json &object, const char *key, const std::optional<T> &value)
{
    if (value)
        object[key] = *value;
}

template<typename T>
void getOptional(const json &object, const char *key, std::optional<T> &value)
{
    if (object.contains(key))
        value = object.at(key).get<T>();
}

json weatherToJson(const WObservation &observation)
{
    json weather = json::array();
    for (const WWeather &group : observation.weather) {
        weather.push_back({{"intensity", group.intensity}, {"descriptor", group.descriptor},
            {"phenomena", group.phenomena}, {"text", group.text}});
    }
    return weather;
}

json skyToJson(const WObservation &observation)
{
    json sky = json::array();
    for (const WSkyLayer &layer : observation.sky) {
        json entry{{"cover", layer.cover}, {"cloud", layer.cloud}};
        putOptional(entry, "heightFt", layer.heightFt);
        sky.push_back(std::move(entry));
    }
    return sky;
}

json observationToJson(const WObservation &observation)
{
    json object{{"visibilityBound", static_cast<int>(observation.visibilityBound)},
        {"weather", weatherToJson(observation)}, {"sky", skyToJson(observation)}};
    putOptional(object, "visibilityMi", observation.visibilityMi);
    putOptional(object, "ceilingFt", observation.ceilingFt);
    putOptional(object, "humidityPct", observation.humidityPct);
    putOptional(object, "heatIndexC", observation.heatIndexC);
    putOptional(object, "windChillC", observation.windChillC);
    return object;
}

WObservation observationFromJson(const json &object)
{
    WObservation observation;
    const int bound = object.at("visibilityBound").get<int>();
    observation.visibilityBound = bound == 1 ? WBound::Below : bound == 2 ? WBound::Above : WBound::Exact;
    for (const json &group : object.at("weather")) {
        observation.weather.push_back(
            {group.at("intensity").get<std::string>(), group.at("descriptor").get<std::string>(),
                group.at("phenomena").get<std::vector<std::string>>(), group.at("text").get<std::string>()});
    }
    for (const json &layer : object.at("sky")) {
        WSkyLayer entry{layer.at("cover").get<std::string>(), std::nullopt, layer.at("cloud").get<std::string>()};
        getOptional(layer, "heightFt", entry.heightFt);
        observation.sky.push_back(std::move(entry));
    }
    getOptional(object, "visibilityMi", observation.visibilityMi);
    getOptional(object, "ceilingFt", observation.ceilingFt);
    getOptional(object, "humidityPct", observation.humidityPct);
    getOptional(object, "heatIndexC", observation.heatIndexC);
    getOptional(object, "windChillC", observation.windChillC);
    return observation;
}

json conditionToJson(const WCondition &condition)
{
    json object{{"valid", condition.isValid()}, {"temperatureC", condition.getTemp()},
        {"dewPointC", condition.getDewPoint()}, {"pressureInHg", condition.getPressure()},
        {"windDirection", condition.getWindDirection()}, {"windSpeedKt", condition.getWindSpeed()},
        {"windGustKt", condition.getWindGustSpeed()}, {"observation", observationToJson(condition.getObservation())}};
    if (condition.getTime().IsValid())
        object["time"] = static_cast<std::int64_t>(static_cast<long>(condition.getTime()));
    return object;
}

WCondition conditionFromJson(const json &object)
{
    WCondition condition;
    condition.setValid(object.at("valid").get<bool>());
    condition.setTemp(object.at("temperatureC").get<float>());
    condition.setDewPoint(object.at("dewPointC").get<float>());
    condition.setPressure(object.at("pressureInHg").get<float>());
    condition.setWindDirection(object.at("windDirection").get<int>());
    condition.setWindSpeed(object.at("windSpeedKt").get<int>());
    condition.setWindGustSpeed(object.at("windGustKt").get<int>());
    condition.setObservation(observationFromJson(object.at("observation")));
    if (object.contains("time"))
        condition.setTime(LCTime(object.at("time").get<std::int64_t>(), LCTime::LCL));
    return condition;
}

json stationToJson(const WStationUsed &station)
{
    return {{"station", station.station}, {"place", station.place}, {"distanceKm", station.distanceKm},
        {"requested", station.requested}, {"requestedLastReport", station.requestedLastReport}};
}

WStationUsed stationFromJson(const json &object)
{
    return {object.at("station").get<std::string>(), object.at("place").get<std::string>(),
        object.at("distanceKm").get<double>(), object.at("requested").get<std::string>(),
        object.at("requestedLastReport").get<std::int64_t>()};
}

json textToJson(const LCachedText &text)
{
    return {{"text", text.text}, {"fetched", text.fetched}};
}

LCachedText textFromJson(const json &object)
{
    return {object.at("text").get<std::string>(), object.at("fetched").get<std::int64_t>()};
}

json motionToJson(const WStormMotion &motion)
{
    json points = json::array();
    for (const WStormPoint &point : motion.points)
        points.push_back({point.latitude, point.longitude});
    return {{"time", motion.time}, {"fromDeg", motion.fromDeg}, {"speedKt", motion.speedKt}, {"points", points}};
}

WStormMotion motionFromJson(const json &object)
{
    WStormMotion motion;
    motion.time = object.at("time").get<std::int64_t>();
    motion.fromDeg = object.at("fromDeg").get<int>();
    motion.speedKt = object.at("speedKt").get<int>();
    for (const json &point : object.at("points"))
        motion.points.push_back({point.at(0).get<double>(), point.at(1).get<double>()});
    return motion;
}

json alertToJson(const WAlertRecord &alert)
{
    json object{{"id", alert.id}, {"references", alert.references}, {"event", alert.event},
        {"severity", alert.severity}, {"urgency", alert.urgency}, {"certainty", alert.certainty},
        {"headline", alert.headline}, {"description", alert.description}, {"sent", alert.sent},
        {"effective", alert.effective}, {"expires", alert.expires}, {"ends", alert.ends},
        {"messageType", alert.messageType}, {"kind", static_cast<int>(alert.kind)}, {"text", alert.text}};
    if (alert.motion)
        object["motion"] = motionToJson(*alert.motion);
    return object;
}

WAlertRecord alertFromJson(const json &object)
{
    WAlertRecord alert;
    alert.id = object.at("id").get<std::string>();
    alert.references = object.at("references").get<std::vector<std::string>>();
    alert.event = object.at("event").get<std::string>();
    alert.severity = object.at("severity").get<std::string>();
    alert.urgency = object.at("urgency").get<std::string>();
    alert.certainty = object.at("certainty").get<std::string>();
    alert.headline = object.at("headline").get<std::string>();
    alert.description = object.at("description").get<std::string>();
    alert.sent = object.at("sent").get<std::int64_t>();
    alert.effective = object.at("effective").get<std::int64_t>();
    alert.expires = object.at("expires").get<std::int64_t>();
    alert.ends = object.at("ends").get<std::int64_t>();
    alert.messageType = object.at("messageType").get<std::string>();
    const int kind = object.at("kind").get<int>();
    alert.kind = kind == 1 ? WAlertKind::Watch : kind == 2 ? WAlertKind::Statement : WAlertKind::Warning;
    alert.text = object.at("text").get<std::string>();
    if (object.contains("motion"))
        alert.motion = motionFromJson(object.at("motion"));
    return alert;
}

json periodToJson(const WForecastPeriod &period)
{
    json object{{"number", period.number}, {"name", period.name}, {"start", period.start}, {"end", period.end},
        {"utcOffset", period.utcOffset}, {"isDaytime", period.isDaytime}, {"windSpeed", period.windSpeed},
        {"windDirection", period.windDirection}, {"shortForecast", period.shortForecast},
        {"detailedForecast", period.detailedForecast}, {"sky", period.sky}};
    putOptional(object, "temperature", period.temperature);
    putOptional(object, "precipitationChance", period.precipitationChance);
    putOptional(object, "windSpeedLow", period.windSpeedLow);
    putOptional(object, "windSpeedHigh", period.windSpeedHigh);
    putOptional(object, "skyChance", period.skyChance);
    putOptional(object, "dewPoint", period.dewPoint);
    putOptional(object, "relativeHumidity", period.relativeHumidity);
    return object;
}

WForecastPeriod periodFromJson(const json &object)
{
    WForecastPeriod period;
    period.number = object.at("number").get<int>();
    period.name = object.at("name").get<std::string>();
    period.start = object.at("start").get<std::int64_t>();
    period.end = object.at("end").get<std::int64_t>();
    period.utcOffset = object.at("utcOffset").get<int>();
    period.isDaytime = object.at("isDaytime").get<bool>();
    period.windSpeed = object.at("windSpeed").get<std::string>();
    period.windDirection = object.at("windDirection").get<std::string>();
    period.shortForecast = object.at("shortForecast").get<std::string>();
    period.detailedForecast = object.at("detailedForecast").get<std::string>();
    period.sky = object.at("sky").get<std::string>();
    getOptional(object, "temperature", period.temperature);
    getOptional(object, "precipitationChance", period.precipitationChance);
    getOptional(object, "windSpeedLow", period.windSpeedLow);
    getOptional(object, "windSpeedHigh", period.windSpeedHigh);
    getOptional(object, "skyChance", period.skyChance);
    getOptional(object, "dewPoint", period.dewPoint);
    getOptional(object, "relativeHumidity", period.relativeHumidity);
    return period;
}

json forecastToJson(const WForecast &forecast)
{
    json periods = json::array();
    for (const WForecastPeriod &period : forecast.periods)
        periods.push_back(periodToJson(period));
    return {{"updated", forecast.updated}, {"generated", forecast.generated}, {"fetched", forecast.fetched},
        {"old", forecast.old}, {"periods", periods}};
}

WForecast forecastFromJson(const json &object)
{
    WForecast forecast;
    forecast.updated = object.at("updated").get<std::int64_t>();
    forecast.generated = object.at("generated").get<std::int64_t>();
    forecast.fetched = object.at("fetched").get<std::int64_t>();
    forecast.old = object.at("old").get<bool>();
    for (const json &period : object.at("periods"))
        forecast.periods.push_back(periodFromJson(period));
    return forecast;
}

} // namespace

json placeCacheToJson(const LPlaceCacheRecord &record)
{
    json document{
        {"version", LPlaceCache::VERSION}, {"state", record.state}, {"city", record.city}, {"written", record.written}};
    if (record.condition)
        document["condition"] = conditionToJson(*record.condition);
    if (record.station.isNearby())
        document["station"] = stationToJson(record.station);
    if (record.forecast)
        document["forecast"] = textToJson(*record.forecast);
    json messages = json::object();
    for (const LMessageKindInfo &kind : messageKinds()) {
        if (const auto &message = record.messages[indexOf(kind.kind)])
            messages[kind.name] = textToJson(*message);
    }
    document["messages"] = std::move(messages);
    document["alerts"] = json::array();
    for (const WAlertRecord &alert : record.alerts)
        document["alerts"].push_back(alertToJson(alert));
    if (record.periods)
        document["periods"] = forecastToJson(*record.periods);
    if (record.hours)
        document["hours"] = forecastToJson(*record.hours);
    return document;
}

LPlaceCacheRecord placeCacheFromJson(const json &document)
{
    LPlaceCacheRecord record;
    record.state = document.at("state").get<std::uint32_t>();
    record.city = document.at("city").get<std::uint32_t>();
    record.written = document.at("written").get<std::int64_t>();
    if (document.contains("condition"))
        record.condition = conditionFromJson(document.at("condition"));
    if (document.contains("station"))
        record.station = stationFromJson(document.at("station"));
    if (document.contains("forecast"))
        record.forecast = textFromJson(document.at("forecast"));
    const json &messages = document.at("messages");
    for (const LMessageKindInfo &kind : messageKinds()) {
        if (messages.contains(kind.name))
            record.messages[indexOf(kind.kind)] = textFromJson(messages.at(kind.name));
    }
    for (const json &alert : document.at("alerts"))
        record.alerts.push_back(alertFromJson(alert));
    if (document.contains("periods"))
        record.periods = forecastFromJson(document.at("periods"));
    if (document.contains("hours"))
        record.hours = forecastFromJson(document.at("hours"));
    return record;
}

} // namespace settings
