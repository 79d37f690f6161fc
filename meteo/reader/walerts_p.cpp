#include "meteo/reader/walerts_p.h"

#include "corekit/lex.h"
#include "meteo/reader/wkeptlines_p.h"

#include "meteo/reader/wjson_p.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <limits>
#include <set>

namespace
{

using nlohmann::json;

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// The parameters hold lists of strings: "NWSheadline": ["EXCESSIVE HEAT WARNING REMAINS IN EFFECT..."].
std::string_view nwsHeadline(const json &properties)
{
    const json *parameters = memberOf(properties, "parameters");
    const json *headline = parameters ? memberOf(*parameters, "NWSheadline") : nullptr;
    if (headline && headline->is_array() && !headline->empty())
        return textOf(headline->get_ref<const json::array_t &>().front());
    return headline ? textOf(*headline) : std::string_view();
}

// Extreme 0, Severe 1, Moderate 2, Minor 3; "Unknown" and anything else 4.
int severityRank(std::string_view severity)
{
    static constexpr std::string_view ORDER[] = {"Extreme", "Severe", "Moderate", "Minor"};
    const auto found = std::find(std::begin(ORDER), std::end(ORDER), severity);
    return static_cast<int>(found - std::begin(ORDER));
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
    while (!lines.empty()) {
        const std::size_t feed = lines.find('\n');
        std::string_view line = lines.substr(0, feed);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        text.append(line) += '\n';
        lines.remove_prefix(feed == std::string_view::npos ? lines.size() : feed + 1);
    }
}

struct Entry {
    WAlert alert;
    int severity;
    std::int64_t sent;
};

Entry entryOf(const json &properties, std::string_view event)
{
    Entry entry{{alertKind(event), headLine(properties, event)}, severityRank(textOf(properties, "severity")),
        std::numeric_limits<std::int64_t>::min()};
    appendLines(entry.alert.text, textOf(properties, "description"));
    appendLines(entry.alert.text, textOf(properties, "instruction"));
    parseIsoTime(textOf(properties, "sent"), entry.sent);
    return entry;
}

// Ids are taken from the properties, or else from the feature; alerts without either are never duplicates.
void addEntry(const json &feature, std::int64_t now, std::set<std::string_view> &ids, std::vector<Entry> &entries)
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
    entries.push_back(entryOf(*properties, event));
}

// Reads fixed-width decimal fields and single characters off the front of a text.
class Cursor
{
public:
    explicit Cursor(std::string_view text)
        : m_text(text)
    {
    }

    bool number(std::size_t width, int &value)
    {
        if (m_text.size() < width)
            return false;
        value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            if (m_text[i] < '0' || m_text[i] > '9')
                return false;
            value = value * 10 + (m_text[i] - '0');
        }
        m_text.remove_prefix(width);
        return true;
    }
    bool literal(char c)
    {
        if (m_text.empty() || m_text.front() != c)
            return false;
        m_text.remove_prefix(1);
        return true;
    }
    void skipFraction()
    {
        if (literal('.'))
            while (!m_text.empty() && m_text.front() >= '0' && m_text.front() <= '9')
                m_text.remove_prefix(1);
    }
    // "Z", "+05:30", "-0700": seconds east of UTC.
    bool offset(int &seconds)
    {
        if (literal('Z')) {
            seconds = 0;
            return true;
        }
        const int sign = literal('-') ? -1 : (literal('+') ? 1 : 0);
        int hours = 0;
        int minutes = 0;
        if (sign == 0 || !number(2, hours))
            return false;
        literal(':');
        if (!number(2, minutes) || hours > 23 || minutes > 59)
            return false;
        seconds = sign * (hours * 3600 + minutes * 60);
        return true;
    }
    bool atEnd() const { return m_text.empty(); }

private:
    std::string_view m_text;
};

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
    if (!withinJsonLimits(answer))
        return L_FORMAT;
    const json document = json::parse(answer.begin(), answer.end(), nullptr, false);
    const json::array_t *features = listOf(document, "features");
    if (!features)
        return L_FORMAT;
    std::set<std::string_view> ids;
    std::vector<Entry> entries;
    for (const json &feature : *features)
        addEntry(feature, now, ids, entries);
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.severity != b.severity ? a.severity < b.severity : a.sent > b.sent;
    });
    for (auto &entry : entries)
        m_alerts.push_back(std::move(entry.alert));
    return L_OK;
}

std::string WAlertList::text(WAlertKind kind) const
{
    std::string out;
    for (const auto &alert : m_alerts)
        if (alert.kind == kind)
            keepLines(out, alert.text);
    return out;
}

bool parseIsoTime(std::string_view text, std::int64_t &seconds)
{
    Cursor in(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, offset = 0;
    if (!(in.number(4, year) && in.literal('-') && in.number(2, month) && in.literal('-') && in.number(2, day)
            && in.literal('T') && in.number(2, hour) && in.literal(':') && in.number(2, minute) && in.literal(':')
            && in.number(2, second)))
        return false;
    in.skipFraction();
    if (!in.offset(offset) || !in.atEnd() || hour > 23 || minute > 59 || second > 60)
        return false;
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
        std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok())
        return false;
    const std::int64_t days = std::chrono::sys_days(date).time_since_epoch().count();
    seconds = days * 86400 + hour * 3600 + minute * 60 + second - offset;
    return true;
}
