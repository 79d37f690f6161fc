#pragma once

#include "meteo/reader/wapiaccess_p.h"
#include "meteo/reader/wapicache_p.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace meteo
{

class WWebPage;

// Requests to the web service: one GET each, answered with JSON. The service refuses requests that do not name
// their program, and redirects non-canonical addresses, which the page fetch does not follow; callers build the
// canonical forms ("points/39.7456,-97.0892").
class WApiClient
{
public:
    // GeoJSON for places, zones and alerts; JSON-LD for text products.
    enum class Accept { GeoJson, JsonLd };

    // Real answers (a point's alerts, a product list, one product) stay well under 1 MB; a larger one is refused as
    // a bad one, so that whatever a server sends, reading it costs little.
    static constexpr std::size_t MAX_ANSWER_SIZE = 2 * 1024 * 1024;

    // Answers no longer than this many seconds fresh, whatever the server says.
    static constexpr std::int64_t ANY_AGE = std::numeric_limits<std::int64_t>::max() / 2;

    // With a cache, every request for an address whose good answer is kept is conditional, and none is made while
    // that answer is fresh; now (seconds since 1970) tells which are.
    explicit WApiClient(const WApiAccess &access, WApiCache *cache = nullptr, std::int64_t now = 0);

    // Each records how it ended in the access's failure: for a refused answer with the title of the problem the
    // service reports ("application/problem+json").
    // Fetches the base address + path: L_OK with the body, made well-formed UTF-8 (mendedUtf8) so that one stray
    // byte cannot cost the whole answer; or L_CONNECT (no answer, a status other than 200, a broken or too slow
    // transfer, a body over MAX_ANSWER_SIZE, an abort). The kept answer is handed out when the server answers 304
    // or when it is fresh for at most longestFresh seconds (unchanged() tells); a new one is kept only by
    // keepAnswer(), once the caller has found it good.
    int fetch(const std::string &path, Accept accept, std::string &body, std::int64_t longestFresh = ANY_AGE);
    // fetch, then parse: L_FORMAT when an answer came but cannot be read, being no JSON (an HTML page sent with
    // status 200) or not of the shape of the service's answers (withinJsonLimits). A good answer is kept.
    int get(const std::string &path, Accept accept, nlohmann::json &document);
    // Keeps the last answer fetch() brought, with its validators, for the next request for its address.
    void keepAnswer();

    // Whether the last fetch handed out the answer kept from before: the server answered 304, or it was fresh.
    bool unchanged() const { return m_unchanged; }

    const WApiAccess &access() const { return m_access; }
    // The status of the last answer, 0 when none arrived; 404 tells that the address names nothing.
    long status() const { return m_status; }
    // Whether the fetches are being aborted: a failure then says nothing about the service.
    bool aborted() const { return m_access.abort && m_access.abort->load(); }

private:
    std::string address(const std::string &path) const;
    int request(WWebPage &page, const std::string &url, Accept accept, const WApiCache::Answer *kept);
    int handOutKept(const WApiCache::Answer &kept, std::string &body);
    void record(WFailure failure) const;
    void recordRetryAfter(const std::string &retryAfter) const;

    const WApiAccess &m_access;
    WApiCache *m_cache;
    std::int64_t m_now;
    long m_status = 0;
    bool m_unchanged = false;
    // The last new answer, until keepAnswer() keeps it.
    WApiCache::Answer m_fetched;
};

} // namespace meteo
