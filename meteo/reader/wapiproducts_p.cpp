#include "meteo/reader/wapiproducts_p.h"

#include "corekit/lex.h"
#include "meteo/reader/wapiclient_p.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wkeptlines_p.h"

#include <algorithm>

namespace
{

using nlohmann::json;

// Ids are put into addresses, so only the characters of the service's ids (UUIDs) pass.
bool isProductId(std::string_view id)
{
    return !id.empty() && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
    });
}

// A product list has its entries under "@graph", newest first: [{"id": "758ed100-512d-...", ...}, ...]. An entry
// without a string id means that the answer is not a product list at all, as a missing "@graph" does.
int idsOf(const json &document, std::vector<std::string> &ids)
{
    const json::array_t *graph = listOf(document, "@graph");
    if (!graph)
        return L_CONNECT;
    for (const json &entry : *graph) {
        const json *id = memberOf(entry, "id");
        if (!id || !id->is_string())
            return L_CONNECT;
        if (isProductId(textOf(*id)))
            ids.emplace_back(textOf(*id));
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
    std::vector<std::string> ids;
    const std::string path = std::string("products?type=") + type + "&location=" + office + "&limit=1";
    if (client.get(path, WApiClient::Accept::JsonLd, document) != L_OK || idsOf(document, ids) != L_OK)
        return L_CONNECT;
    id = ids.empty() ? std::string() : ids.front();
    return L_OK;
}

int WApiProducts::listed(WApiClient &client, const char *type, const std::string &office, std::vector<std::string> &ids)
{
    json document;
    const std::string path = std::string("products/types/") + type + "/locations/" + office;
    if (client.get(path, WApiClient::Accept::JsonLd, document) != L_OK)
        return L_CONNECT;
    return idsOf(document, ids);
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
    const json *productText = nullptr;
    if (client.get("products/" + id, WApiClient::Accept::JsonLd, document) != L_OK
        || !(productText = memberOf(document, "productText")) || !productText->is_string())
        return L_CONNECT;
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
