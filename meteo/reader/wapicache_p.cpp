#include "meteo/reader/wapicache_p.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace meteo
{

namespace
{

// A server that asks for a longer rest is taken to mean an hour: an alert watch must not fall silent for a day.
constexpr std::int64_t LONGEST_RETRY_AFTER = 60 * 60;

constexpr std::string_view MAX_AGE = "max-age=";

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

} // namespace

WApiCache::Answer *WApiCache::find(const std::string &address)
{
    const auto found = std::find_if(
        m_answers.begin(), m_answers.end(), [&address](const Answer &answer) { return answer.address == address; });
    if (found == m_answers.end())
        return nullptr;
    m_answers.splice(m_answers.begin(), m_answers, found);
    return &m_answers.front();
}

void WApiCache::keep(Answer answer)
{
    if (Answer *kept = find(answer.address)) {
        *kept = std::move(answer);
        return;
    }
    m_answers.push_front(std::move(answer));
    if (m_answers.size() > KEPT_ANSWERS)
        m_answers.pop_back();
}

void WApiCache::staleAll()
{
    for (Answer &answer : m_answers)
        answer.maxAge = 0;
}

std::int64_t maxAgeOf(std::string_view cacheControl)
{
    std::int64_t seconds = 0;
    for (std::size_t start = 0; start <= cacheControl.size();) {
        const std::size_t end = std::min(cacheControl.find(',', start), cacheControl.size());
        const std::string directive = lowerCase(trimmedBlanks(cacheControl.substr(start, end - start)));
        start = end + 1;
        if (directive == "no-cache" || directive == "no-store")
            return 0;
        if (!directive.starts_with(MAX_AGE))
            continue;
        const std::string_view value = std::string_view(directive).substr(MAX_AGE.size());
        if (isDigits(value))
            std::from_chars(value.data(), value.data() + value.size(), seconds);
    }
    return seconds;
}

std::int64_t retryAfterOf(std::string_view retryAfter, std::int64_t now)
{
    retryAfter = trimmedBlanks(retryAfter);
    std::int64_t wait = -1;
    if (isDigits(retryAfter)) {
        if (std::from_chars(retryAfter.data(), retryAfter.data() + retryAfter.size(), wait).ec != std::errc())
            wait = LONGEST_RETRY_AFTER;
    } else if (!retryAfter.empty()) {
        const std::string date(retryAfter);
        const time_t when = curl_getdate(date.c_str(), nullptr);
        wait = when == -1 ? -1 : std::max<std::int64_t>(0, when - now);
    }
    return wait < 0 ? 0 : now + std::min(wait, LONGEST_RETRY_AFTER);
}

} // namespace meteo
