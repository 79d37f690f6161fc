#include "meteo/reader/wpagealerts_p.h"

#include "corekit/ltrimmed.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string_view>

using namespace corekit;

namespace meteo
{

namespace
{

const char *eventOf(WAlertKind kind)
{
    switch (kind) {
    case WAlertKind::Watch:
        return "Watch";
    case WAlertKind::Statement:
        return "Special Statement";
    case WAlertKind::Warning:
        break;
    }
    return "Warning";
}

// The dots and blanks around a headline: "...WINTER STORM WARNING IN EFFECT UNTIL 6 PM CST... ".
constexpr std::string_view HEADLINE_EDGES = " .";

// Products headline their message between dots ("...WINTER STORM WARNING IN EFFECT UNTIL 6 PM CST..."); without
// such a line the first line of words stands in.
std::string headlineOf(std::string_view message)
{
    std::string_view first;
    while (!message.empty()) {
        const std::size_t feed = message.find('\n');
        const std::string_view line = message.substr(0, feed);
        message.remove_prefix(feed == std::string_view::npos ? message.size() : feed + 1);
        if (first.empty())
            first = trimmed(line, HEADLINE_EDGES);
        if (line.starts_with("...") && !trimmed(line, HEADLINE_EDGES).empty())
            return std::string(trimmed(line, HEADLINE_EDGES));
    }
    return std::string(first);
}

// "WINTER STORM WARNING REMAINS IN EFFECT..." names the event "Winter Storm Warning": the words up to the first
// that names a kind of message. Empty when no word does.
std::string eventIn(std::string_view headline)
{
    static constexpr std::string_view KINDS[] = {"WARNING", "WATCH", "ADVISORY", "STATEMENT", "EMERGENCY"};
    std::string event;
    for (std::size_t start = 0; start < headline.size();) {
        const std::size_t end = std::min(headline.find(' ', start), headline.size());
        const std::string_view word = headline.substr(start, end - start);
        if (!event.empty())
            event += ' ';
        for (std::size_t i = 0; i < word.size(); ++i)
            event += i == 0 || word[i] < 'A' || word[i] > 'Z' ? word[i] : static_cast<char>(word[i] - 'A' + 'a');
        if (std::find(std::begin(KINDS), std::end(KINDS), word) != std::end(KINDS))
            return event;
        start = end + 1;
    }
    return std::string();
}

} // namespace

void WPageAlerts::keep(const std::string &zone, WAlertKind kind, const std::vector<std::string> &messages)
{
    if (zone != m_zone) {
        m_zone = zone;
        for (auto &records : m_records)
            records.clear();
    }
    auto &records = m_records[static_cast<std::size_t>(kind)];
    records.clear();
    for (const std::string &message : messages)
        records.push_back(recordOf(kind, message));
}

std::vector<WAlertRecord> WPageAlerts::records(const std::string &zone) const
{
    std::vector<WAlertRecord> all;
    if (zone != m_zone)
        return all;
    for (const auto &records : m_records)
        all.insert(all.end(), records.begin(), records.end());
    return all;
}

std::string WPageAlerts::messageId(const std::string &text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("page:") + digits;
}

WAlertRecord WPageAlerts::recordOf(WAlertKind kind, const std::string &message)
{
    WAlertRecord record;
    record.id = messageId(message);
    record.headline = headlineOf(message);
    record.event = eventIn(record.headline);
    if (record.event.empty())
        record.event = eventOf(kind);
    record.description = message;
    record.messageType = "Alert";
    record.kind = kind;
    record.text = message;
    return record;
}

} // namespace meteo
