#include "meteo/reader/wserviceurl_p.h"

#include <algorithm>
#include <cctype>

namespace meteo
{

namespace
{

// An http or https address taken apart: "HTTPS://Api.Weather.gov/a/b?c" gives host "api.weather.gov" and path
// "/a/b?c" (without any "#fragment").
struct UrlParts {
    std::string host;
    std::string_view path;
};

std::string lowerCase(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

bool startsWithNoCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && lowerCase(text.substr(0, start.size())) == start;
}

bool splitUrl(std::string_view url, UrlParts &parts)
{
    for (const std::string_view scheme : {"https://", "http://"}) {
        if (!startsWithNoCase(url, scheme))
            continue;
        url.remove_prefix(scheme.size());
        const std::size_t pathStart = std::min(url.find_first_of("/?#"), url.size());
        parts.host = lowerCase(url.substr(0, pathStart));
        parts.path = url.substr(pathStart);
        parts.path = parts.path.substr(0, parts.path.find('#'));
        return !parts.host.empty();
    }
    return false;
}

bool isClean(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c > 0x20 && c != 0x7f; });
}

// The host as a failure may quote it: only the characters a host name is made of.
std::string quotedHost(std::string_view host)
{
    const bool plain = host.size() <= 100 && std::all_of(host.begin(), host.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
    });
    return plain ? " (" + std::string(host) + ")" : std::string();
}

} // namespace

bool servicePath(std::string_view url, std::string_view base, std::string &path, std::string &why)
{
    UrlParts target;
    UrlParts baseParts;
    if (!isClean(url) || !splitUrl(url, target)) {
        why = "the answer names an address that is not one of the web service's";
        return false;
    }
    const bool onBase = splitUrl(base, baseParts) && target.host == baseParts.host;
    if (!onBase && target.host != SERVICE_HOST) {
        why = "the answer names an address on another host" + quotedHost(target.host);
        return false;
    }
    std::string_view rest = target.path;
    // The client puts a "/" after a base that lacks one.
    std::string basePath(baseParts.path.substr(0, baseParts.path.find('?')));
    if (!basePath.ends_with('/'))
        basePath += '/';
    if (onBase && rest.starts_with(basePath))
        rest.remove_prefix(basePath.size());
    rest.remove_prefix(std::min(rest.find_first_not_of('/'), rest.size()));
    path = rest;
    return true;
}

} // namespace meteo
