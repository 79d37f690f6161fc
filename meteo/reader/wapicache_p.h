#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>

namespace meteo
{

// The last good answer of each of the few web-service addresses asked most recently, with what the server said
// about it: the validators that make the next request for the address conditional, and how long the answer is
// fresh (Cache-Control: max-age). Kept by whole address, never shared between addresses: a 304 for one place's
// alerts must not hand out another place's. The least recently used address goes first.
class WApiCache
{
public:
    // The addresses one update cycle asks for again, with room for a second place: a place's point, alerts, its
    // office's four product lists and the list before, the four products, and its two point forecasts.
    static constexpr std::size_t KEPT_ANSWERS = 32;

    struct Answer {
        std::string address;
        std::string body;
        std::string etag;
        std::string lastModified;
        // When the server last gave or confirmed the answer (seconds since 1970), and for how many seconds after
        // that it stays fresh: the address is not asked again before then.
        std::int64_t asked = 0;
        std::int64_t maxAge = 0;
    };

    // The kept answer of the address, now the most recently used; null when none is kept.
    Answer *find(const std::string &address);
    // Keeps the answer in place of the address's former one.
    void keep(Answer answer);
    // Every kept answer goes stale: the next request for each asks the server (conditionally).
    void staleAll();

private:
    std::list<Answer> m_answers;
};

// Seconds an answer stays fresh by its Cache-Control header ("public, max-age=30, s-maxage=30" gives 30); 0 when
// the header names no max-age, or says no-cache or no-store.
std::int64_t maxAgeOf(std::string_view cacheControl);

// The moment a Retry-After header names, as seconds ("120") or as an HTTP date ("Wed, 02 Sep 2026 08:00:00 GMT"),
// in seconds since 1970, at most an hour after now and never before it; 0 for an empty or unreadable header.
std::int64_t retryAfterOf(std::string_view retryAfter, std::int64_t now);

} // namespace meteo
