#include "meteo/reader/wapiclient_p.h"

#include "corekit/lex.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wutf8_p.h"
#include "meteo/reader/wwebpage_p.h"

#include <nlohmann/json.hpp>

WApiClient::WApiClient(const WApiAccess &access)
    : m_access(access)
{
}

int WApiClient::fetch(const std::string &path, Accept accept, std::string &body)
{
    WWebPage page(m_access.useProxy, m_access.proxyLocation, m_access.abort);
    page.setLimits(m_access.limits);
    page.setMaxSize(MAX_ANSWER_SIZE);
    page.addHeader(accept == Accept::GeoJson ? "Accept: application/geo+json" : "Accept: application/ld+json");
    const int result = page.open(address(path).c_str());
    m_status = page.status();
    if (result != L_OK || page.takeBody(body) != L_OK)
        return L_CONNECT;
    body = mendedUtf8(body);
    return L_OK;
}

int WApiClient::get(const std::string &path, Accept accept, nlohmann::json &document)
{
    std::string body;
    if (fetch(path, accept, body) != L_OK)
        return L_CONNECT;
    if (!withinJsonLimits(body))
        return L_FORMAT;
    document = nlohmann::json::parse(body, nullptr, false);
    return document.is_discarded() ? L_FORMAT : L_OK;
}

// The base is expected to end with "/"; one is put in where it does not.
std::string WApiClient::address(const std::string &path) const
{
    std::string address(static_cast<const char *>(m_access.base));
    if (!address.empty() && !address.ends_with('/'))
        address += '/';
    return address + path;
}
