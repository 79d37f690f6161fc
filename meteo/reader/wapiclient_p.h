#pragma once

#include "meteo/reader/wapiaccess_p.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>

namespace meteo
{

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

    explicit WApiClient(const WApiAccess &access);

    // Each records how it ended in the access's failure: for a refused answer with the title of the problem the
    // service reports ("application/problem+json").
    // Fetches the base address + path: L_OK with the body, made well-formed UTF-8 (mendedUtf8) so that one stray
    // byte cannot cost the whole answer; or L_CONNECT (no answer, a status other than 200, a broken or too slow
    // transfer, a body over MAX_ANSWER_SIZE, an abort).
    int fetch(const std::string &path, Accept accept, std::string &body);
    // fetch, then parse: L_FORMAT when an answer came but cannot be read, being no JSON (an HTML page sent with
    // status 200) or not of the shape of the service's answers (withinJsonLimits).
    int get(const std::string &path, Accept accept, nlohmann::json &document);

    // The status of the last answer, 0 when none arrived; 404 tells that the address names nothing.
    long status() const { return m_status; }
    // Whether the fetches are being aborted: a failure then says nothing about the service.
    bool aborted() const { return m_access.abort && m_access.abort->load(); }

private:
    std::string address(const std::string &path) const;
    void record(WFailure failure) const;

    const WApiAccess &m_access;
    long m_status = 0;
};

} // namespace meteo
