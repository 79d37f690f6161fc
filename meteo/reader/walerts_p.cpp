#include "meteo/reader/walerts_p.h"

#include "corekit/lex.h"
#include "corekit/ltrimmed.h"
#include "meteo/base/wisotime_p.h"
#include "meteo/reader/walerttext.h"
#include "meteo/reader/wkeptlines_p.h"

#include "meteo/reader/wjson_p.h"

#include <algorithm>
#include <set>

using namespace corekit;

namespace meteo
{

namespace
{

using nlohmann::json;

// The parameters hold lists of strings: "NWSheadline": ["EXCESSIVE HEAT WARNING REMAINS IN EFFECT..."].
std::string_view nwsHeadline(const json &properties)
{
    const json *parameters = memberOf(properties, "parameters");
    const json *headline = parameters ? memberOf(*parameters, "NWSheadline") : nullptr;
    if (headline && headline->is_array() && !headline->empty())
        return textOf(headline->get_ref<const json::array_t &>().front());
    return headline ? textOf(*headline) : std::string_view();
}

// "eventMotionDescription": ["2026-09-02T07:46:00-00:00...storm...272DEG...38KT...43.85,-88.6"]
std::optional<WStormMotion> motionOf(const json &properties)
{
    const json *parameters = memberOf(properties, "parameters");
    const json::array_t *motions = parameters ? listOf(*parameters, "eventMotionDescription") : nullptr;
    if (!motions || motions->empty())
        return std::nullopt;
    return parseStormMotion(textOf(motions->front()));
}

bool inForce(const json &properties, std::int64_t now)
{
    if (textOf(properties, "status") != "Actual" || textOf(properties, "messageType") == "Cancel")
        return false;
    std::int64_t expires = 0;
    return !parseIsoTime(textOf(properties, "expires"), expires) || expires > now;
}

// "EXCESSIVE HEAT WARNING - EXCESSIVE HEAT WARNING REMAINS IN EFFECT...", on one line.
std::string headLine(const json &properties, std::string_view event)
{
    std::string line = capitals(event);
    std::string_view headline = nwsHeadline(properties);
    if (headline.empty())
        headline = textOf(properties, "headline");
    if (!headline.empty())
        line.append(" - ").append(headline);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line + '\n';
}

// Each line of a text with its line feed; "\r\n" becomes "\n". Nothing for an empty text.
void appendLines(std::string &text, std::string_view lines)
{
    forEachLine(lines, [&text](std::string_view line) { text.append(line) += '\n'; });
}

// "references": [{"identifier": "urn:oid:2.49.0.1.840.0.08c1...", "sent": "..."}, ...]
std::vector<std::string> referencesOf(const json &properties)
{
    std::vector<std::string> ids;
    if (const json::array_t *references = listOf(properties, "references")) {
        for (const json &reference : *references) {
            const std::string_view id = textOf(reference, "identifier");
            if (!id.empty())
                ids.emplace_back(id);
        }
    }
    return ids;
}

std::int64_t timeOf(const json &properties, const char *name)
{
    std::int64_t seconds = 0;
    parseIsoTime(textOf(properties, name), seconds);
    return seconds;
}

WAlertRecord recordOf(const json &properties, std::string_view event, std::string_view id)
{
    WAlertRecord record;
    record.id = id;
    record.references = referencesOf(properties);
    // The service's JSON may escape any character; none but the line feed reaches a record.
    record.event = withoutControls(event);
    record.severity = textOf(properties, "severity");
    record.urgency = textOf(properties, "urgency");
    record.certainty = textOf(properties, "certainty");
    record.headline = withoutControls(textOf(properties, "headline"));
    if (record.headline.empty())
        record.headline = withoutControls(nwsHeadline(properties));
    appendLines(record.description, withoutControls(textOf(properties, "description")));
    record.sent = timeOf(properties, "sent");
    record.effective = timeOf(properties, "effective");
    record.expires = timeOf(properties, "expires");
    record.ends = timeOf(properties, "ends");
    record.messageType = textOf(properties, "messageType");
    record.kind = alertKind(event);
    record.text = withoutControls(headLine(properties, event)) + record.description;
    appendLines(record.text, withoutControls(textOf(properties, "instruction")));
    record.motion = motionOf(properties);
    return record;
}

// Ids are taken from the properties, or else from the feature; alerts without either are never duplicates.
void addRecord(
    const json &feature, std::int64_t now, std::set<std::string_view> &ids, std::vector<WAlertRecord> &records)
{
    const json *properties = memberOf(feature, "properties");
    if (!properties || !properties->is_object() || !inForce(*properties, now))
        return;
    const std::string_view event = trimmed(textOf(*properties, "event"));
    if (event.empty())
        return;
    std::string_view id = textOf(*properties, "id");
    if (id.empty())
        id = textOf(feature, "id");
    if (!id.empty() && !ids.insert(id).second)
        return;
    records.push_back(recordOf(*properties, event, id));
}

void addCancelled(const json &feature, std::vector<std::string> &cancelled)
{
    const json *properties = memberOf(feature, "properties");
    if (!properties || textOf(*properties, "status") != "Actual" || textOf(*properties, "messageType") != "Cancel")
        return;
    for (std::string &id : referencesOf(*properties))
        cancelled.push_back(std::move(id));
}

} // namespace

WAlertKind alertKind(std::string_view event)
{
    event = trimmed(event);
    if (event.ends_with("Watch"))
        return WAlertKind::Watch;
    if (event.ends_with("Statement") || event == "Short Term Forecast" || event == "Hazardous Weather Outlook"
        || event == "Hydrologic Outlook")
        return WAlertKind::Statement;
    return WAlertKind::Warning;
}

int WAlertList::read(std::string_view answer, std::int64_t now)
{
    m_alerts.clear();
    m_cancelled.clear();
    if (!withinJsonLimits(answer))
        return L_FORMAT;
    const json document = json::parse(answer.begin(), answer.end(), nullptr, false);
    const json::array_t *features = listOf(document, "features");
    if (!features)
        return L_FORMAT;
    std::set<std::string_view> ids;
    for (const json &feature : *features) {
        addRecord(feature, now, ids, m_alerts);
        addCancelled(feature, m_cancelled);
    }
    std::stable_sort(m_alerts.begin(), m_alerts.end(), [](const WAlertRecord &a, const WAlertRecord &b) {
        const int rankA = severityRank(a.severity);
        const int rankB = severityRank(b.severity);
        return rankA != rankB ? rankA < rankB : a.sent > b.sent;
    });
    return L_OK;
}

void WAlertList::dropExpired(std::int64_t now)
{
    std::erase_if(m_alerts, [now](const WAlertRecord &alert) { return alert.expires != 0 && alert.expires <= now; });
}

std::string WAlertList::text(WAlertKind kind) const
{
    return alertsText(m_alerts, kind);
}

std::string alertsText(const std::vector<WAlertRecord> &alerts, WAlertKind kind)
{
    std::string out;
    for (const auto &alert : alerts)
        if (alert.kind == kind)
            keepLines(out, alert.text);
    return out;
}

} // namespace meteo
