#include "meteo/reader/wapiclient_p.h"

#include "corekit/lex.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wwebpage_p.h"

#include <nlohmann/json.hpp>

#ifndef NIMBREL_VERSION
#error "NIMBREL_VERSION must name the program's version"
#endif
#ifndef NIMBREL_HOMEPAGE
#error "NIMBREL_HOMEPAGE must name where the project can be reached"
#endif

namespace
{

// The web service answers requests without a User-Agent with 403 and asks for one that names the program and a
// way to reach its makers, so that it can contact them about a misbehaving client before blocking it.
constexpr const char *USER_AGENT = "User-Agent: Nimbrel/" NIMBREL_VERSION " (" NIMBREL_HOMEPAGE ")";

} // namespace

WApiClient::WApiClient(const WApiAccess &access)
    : m_access(access)
{
}

int WApiClient::fetch(const std::string &path, Accept accept, std::string &body)
{
    WWebPage page(m_access.useProxy, m_access.proxyLocation, m_access.abort);
    page.setLimits(m_access.limits);
    page.setMaxSize(MAX_ANSWER_SIZE);
    page.addHeader(USER_AGENT);
    page.addHeader(accept == Accept::GeoJson ? "Accept: application/geo+json" : "Accept: application/ld+json");
    const int result = page.open(address(path).c_str());
    m_status = page.status();
    if (result != L_OK)
        return L_CONNECT;
    body.clear();
    LString line;
    while (page.readLine(line) == L_OK)
        body += static_cast<const char *>(line);
    page.close();
    return L_OK;
}

int WApiClient::get(const std::string &path, Accept accept, nlohmann::json &document)
{
    std::string body;
    if (fetch(path, accept, body) != L_OK)
        return L_CONNECT;
    if (!withinJsonLimits(body))
        return L_CONNECT;
    document = nlohmann::json::parse(body, nullptr, false);
    return document.is_discarded() ? L_CONNECT : L_OK;
}

// The base is expected to end with "/"; one is put in where it does not.
std::string WApiClient::address(const std::string &path) const
{
    std::string address(static_cast<const char *>(m_access.base));
    if (!address.empty() && !address.ends_with('/'))
        address += '/';
    return address + path;
}
