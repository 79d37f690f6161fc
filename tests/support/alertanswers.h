#pragma once

#include "tests/support/tempdir.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace nimbreltest
{

// An alert of an answer of the web service's alert listing: the recorded Excessive Heat Warning of Phoenix with
// these fields in place of its own.
struct AnswerAlert {
    std::string id;
    std::string event;
    // Seconds since 1970.
    std::int64_t sent = 0;
    std::int64_t expires = 0;
    std::vector<std::string> references = {};
    std::string messageType = "Alert";
};

// "2026-09-02T07:50:00+00:00"
inline std::string isoTime(std::int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S+00:00", &parts);
    return text;
}

// A FeatureCollection as /alerts/active answers, holding the alerts.
inline std::string alertAnswer(const std::vector<AnswerAlert> &alerts)
{
    using nlohmann::json;
    const json recorded = json::parse(
        TempDir::read(NIMBREL_SOURCE_DIR "/tests/data/live/alerts_active_point_33.25_-112.30_heat_aqa_2024.json"));
    json answer = recorded;
    answer["features"] = json::array();
    for (const AnswerAlert &alert : alerts) {
        json feature = recorded["features"][0];
        json &properties = feature["properties"];
        feature["id"] = properties["id"] = alert.id;
        properties["event"] = alert.event;
        properties["sent"] = isoTime(alert.sent);
        properties["expires"] = isoTime(alert.expires);
        properties["ends"] = nullptr;
        properties["messageType"] = alert.messageType;
        properties["references"] = json::array();
        for (const std::string &id : alert.references)
            properties["references"].push_back({{"identifier", id}, {"sent", isoTime(alert.sent)}});
        answer["features"].push_back(feature);
    }
    return answer.dump();
}

} // namespace nimbreltest
