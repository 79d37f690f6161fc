#include "meteo/reader/wapiclient_p.h"

#include "corekit/lex.h"
#include "meteo/reader/wjson_p.h"
#include "meteo/reader/wutf8_p.h"
#include "meteo/reader/wwebpage_p.h"

#include <nlohmann/json.hpp>

#include <algorithm>

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

WApiClient::WApiClient(const WApiAccess &access, WApiCache *cache, std::int64_t now)
    : m_access(access)
    , m_cache(cache)
    , m_now(now)
{
}

int WApiClient::fetch(const std::string &path, Accept accept, std::string &body, std::int64_t longestFresh)
{
    const std::string url = address(path);
    m_unchanged = false;
    m_fetched = WApiCache::Answer();
    WApiCache::Answer *kept = m_cache ? m_cache->find(url) : nullptr;
    if (kept && m_now < kept->asked + std::min(kept->maxAge, longestFresh)) {
        m_status = 0;
        record(WFailure());
        recordRetryAfter(std::string());
        return handOutKept(*kept, body);
    }
    WWebPage page(m_access.useProxy, m_access.proxyLocation, m_access.abort);
    if (const int result = request(page, url, accept, kept); result != L_OK)
        return result;
    if (page.notModified()) {
        kept->asked = m_now;
        kept->maxAge = maxAgeOf(page.answerHeader("cache-control"));
        return handOutKept(*kept, body);
    }
    if (page.takeBody(body) != L_OK)
        return L_CONNECT;
    body = mendedUtf8(body);
    m_fetched = {url, body, page.answerHeader("etag"), page.answerHeader("last-modified"), m_now,
        maxAgeOf(page.answerHeader("cache-control"))};
    return L_OK;
}

// One request, conditional on the kept answer if there is one; records how it ended.
int WApiClient::request(WWebPage &page, const std::string &url, Accept accept, const WApiCache::Answer *kept)
{
    page.setLimits(m_access.limits);
    page.setContact(m_access.contact);
    page.setMaxSize(MAX_ANSWER_SIZE);
    page.addHeader(accept == Accept::GeoJson ? "Accept: application/geo+json" : "Accept: application/ld+json");
    if (kept)
        page.setValidators(kept->etag, kept->lastModified);
    const int result = page.open(url.c_str());
    m_status = page.status();
    WFailure failure = page.failure();
    if (failure.kind == WFailure::Kind::NotFound || failure.kind == WFailure::Kind::Status)
        failure.text = problemTitle(page.problem());
    record(std::move(failure));
    recordRetryAfter(m_status == 429 || m_status == 503 ? page.answerHeader("retry-after") : std::string());
    return result == L_OK ? L_OK : L_CONNECT;
}

int WApiClient::get(const std::string &path, Accept accept, nlohmann::json &document)
{
    std::string body;
    if (fetch(path, accept, body) != L_OK)
        return L_CONNECT;
    if (withinJsonLimits(body)) {
        document = nlohmann::json::parse(body, nullptr, false);
        if (!document.is_discarded()) {
            keepAnswer();
            return L_OK;
        }
    }
    record({WFailure::Kind::BadAnswer, m_status, "the answer could not be read as JSON"});
    return L_FORMAT;
}

void WApiClient::keepAnswer()
{
    if (m_cache && !m_fetched.address.empty())
        m_cache->keep(std::move(m_fetched));
    m_fetched = WApiCache::Answer();
}

// The base is expected to end with "/"; one is put in where it does not.
std::string WApiClient::address(const std::string &path) const
{
    std::string address(static_cast<const char *>(m_access.base));
    if (!address.empty() && !address.ends_with('/'))
        address += '/';
    return address + path;
}

int WApiClient::handOutKept(const WApiCache::Answer &kept, std::string &body)
{
    body = kept.body;
    m_unchanged = true;
    return L_OK;
}

void WApiClient::record(WFailure failure) const
{
    if (m_access.failure)
        *m_access.failure = std::move(failure);
}

void WApiClient::recordRetryAfter(const std::string &retryAfter) const
{
    if (m_access.retryAfter)
        *m_access.retryAfter = retryAfterOf(retryAfter, m_now);
}

} // namespace meteo
