#include "meteo/reader/wapiclient_p.h"

#include "corekit/lex.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wutf8_p.h"
#include "meteo/reader/wwebpage_p.h"

#include <nlohmann/json.hpp>

using namespace corekit;

namespace meteo
{

namespace
{

// The "title" of a problem report: {"title": "Data Unavailable For Requested Point", "status": 404, ...}; empty
// when the body is none.
std::string problemTitle(const std::string &body)
{
    const nlohmann::json problem = nlohmann::json::parse(body, nullptr, false);
    if (!problem.is_object() || !problem.contains("title") || !problem["title"].is_string())
        return std::string();
    return problem["title"].get<std::string>();
}

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
    page.addHeader(accept == Accept::GeoJson ? "Accept: application/geo+json" : "Accept: application/ld+json");
    const int result = page.open(address(path).c_str());
    m_status = page.status();
    WFailure failure = page.failure();
    if (failure.kind == WFailure::Kind::NotFound || failure.kind == WFailure::Kind::Status)
        failure.text = problemTitle(page.problem());
    record(std::move(failure));
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
    if (withinJsonLimits(body)) {
        document = nlohmann::json::parse(body, nullptr, false);
        if (!document.is_discarded())
            return L_OK;
    }
    record({WFailure::Kind::BadAnswer, m_status, "the answer could not be read as JSON"});
    return L_FORMAT;
}

// The base is expected to end with "/"; one is put in where it does not.
std::string WApiClient::address(const std::string &path) const
{
    std::string address(static_cast<const char *>(m_access.base));
    if (!address.empty() && !address.ends_with('/'))
        address += '/';
    return address + path;
}

void WApiClient::record(WFailure failure) const
{
    if (m_access.failure)
        *m_access.failure = std::move(failure);
}

} // namespace meteo
