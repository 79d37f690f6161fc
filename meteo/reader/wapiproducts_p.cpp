#include "meteo/reader/wapiproducts_p.h"

#include "corekit/lex.h"
#include "meteo/base/wisotime_p.h"
#include "meteo/reader/wapiclient_p.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wkeptlines_p.h"

#include <algorithm>
#include <cstdint>
#include <limits>

using namespace corekit;

namespace meteo
{

namespace
{

using nlohmann::json;

struct ListEntry {
    std::string id;
    // Seconds since 1970.
    std::int64_t issued;
};

// The service lists an office's products mostly, but not always, newest first: the newest is chosen by its time
// among this many of the list's first entries.
constexpr int NEWEST_AMONG = 5;

// Ids are put into addresses, so only the characters of the service's ids (UUIDs) pass.
bool isProductId(std::string_view id)
{
    return !id.empty() && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
    });
}

// A product list has its entries under "@graph": [{"id": "758ed100-512d-...", "issuanceTime":
// "2026-09-03T18:17:00+00:00", ...}, ...]. An entry without a string id means that the answer is not a product list
// at all, as a missing "@graph" does. An entry without a time that can be read counts as the oldest.
int entriesOf(const json &document, std::vector<ListEntry> &entries)
{
    const json::array_t *graph = listOf(document, "@graph");
    if (!graph)
        return L_FORMAT;
    for (const json &entry : *graph) {
        const json *id = memberOf(entry, "id");
        if (!id || !id->is_string())
            return L_FORMAT;
        std::int64_t issued = std::numeric_limits<std::int64_t>::min();
        parseIsoTime(textOf(entry, "issuanceTime"), issued);
        if (isProductId(textOf(*id)))
            entries.push_back({std::string(textOf(*id)), issued});
    }
    return L_OK;
}

// 'A' stands for a capital, '9' for a digit, anything else for itself.
bool matches(std::string_view text, std::string_view pattern)
{
    if (text.size() != pattern.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool fits
            = pattern[i] == 'A' ? c >= 'A' && c <= 'Z' : (pattern[i] == '9' ? c >= '0' && c <= '9' : c == pattern[i]);
        if (!fits)
            return false;
    }
    return true;
}

std::string_view withoutTrailingBlanks(std::string_view line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// 'FXUS65 KPSR 031817', or with an amendment group 'FXUS65 KPSR 031817 AAA'.
bool isWmoLine(std::string_view line)
{
    line = withoutTrailingBlanks(line);
    return matches(line, "AAAA99 AAAA 999999") || matches(line, "AAAA99 AAAA 999999 AAA");
}

// 'AFDPSR', 'PNSWSH': four to six capitals and digits.
bool isProductIdentifier(std::string_view line)
{
    line = withoutTrailingBlanks(line);
    return line.size() >= 4 && line.size() <= 6 && std::all_of(line.begin(), line.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// The line at the front of the text, and the text after it.
std::string_view takeLine(std::string_view &text)
{
    const std::size_t feed = text.find('\n');
    const std::string_view line = text.substr(0, feed);
    text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
    return line;
}

// Moves the text past its header lines: the WMO line and the product identifier under it. Nothing moves when the
// text has no WMO line.
void skipHeader(std::string_view &text)
{
    for (std::string_view rest = text; !rest.empty();) {
        if (!isWmoLine(takeLine(rest)))
            continue;
        std::string_view next = rest;
        text = isProductIdentifier(takeLine(next)) ? next : rest;
        return;
    }
}

void skipBlankLines(std::string_view &text)
{
    while (!text.empty()) {
        std::string_view next = text;
        if (!withoutTrailingBlanks(takeLine(next)).empty())
            return;
        text = next;
    }
}

} // namespace

int WApiProducts::newest(WApiClient &client, const char *type, const std::string &office, std::string &id)
{
    json document;
    std::vector<ListEntry> entries;
    const std::string path
        = std::string("products?type=") + type + "&location=" + office + "&limit=" + std::to_string(NEWEST_AMONG);
    int result = client.get(path, WApiClient::Accept::JsonLd, document);
    if (result != L_OK || (result = entriesOf(document, entries)) != L_OK)
        return result;
    // The first of the newest, should two share a time.
    const auto newest = std::max_element(
        entries.begin(), entries.end(), [](const ListEntry &a, const ListEntry &b) { return a.issued < b.issued; });
    id = newest == entries.end() ? std::string() : newest->id;
    return L_OK;
}

int WApiProducts::listed(WApiClient &client, const char *type, const std::string &office, std::vector<std::string> &ids)
{
    json document;
    std::vector<ListEntry> entries;
    const std::string path = std::string("products/types/") + type + "/locations/" + office;
    int result = client.get(path, WApiClient::Accept::JsonLd, document);
    if (result != L_OK || (result = entriesOf(document, entries)) != L_OK)
        return result;
    for (ListEntry &entry : entries)
        ids.push_back(std::move(entry.id));
    return L_OK;
}

int WApiProducts::text(WApiClient &client, const std::string &id, std::string &text)
{
    const auto kept
        = std::find_if(m_texts.begin(), m_texts.end(), [&id](const auto &each) { return each.first == id; });
    if (kept != m_texts.end()) {
        text = kept->second;
        return L_OK;
    }
    json document;
    if (const int result = client.get("products/" + id, WApiClient::Accept::JsonLd, document); result != L_OK)
        return result;
    const json *productText = memberOf(document, "productText");
    if (!productText || !productText->is_string())
        return L_FORMAT;
    text = withoutControls(textOf(*productText));
    m_texts.emplace_back(id, text);
    if (m_texts.size() > KEPT_TEXTS)
        m_texts.pop_front();
    return L_OK;
}

std::string bulletinBody(std::string_view productText)
{
    std::string_view body = productText;
    skipHeader(body);
    skipBlankLines(body);
    std::string text;
    keepLines(text, body);
    return text;
}

} // namespace meteo
