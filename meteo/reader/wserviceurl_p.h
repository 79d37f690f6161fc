#pragma once

#include <string>
#include <string_view>

namespace meteo
{

// The host of the National Weather Service's web service, whose answers name their own addresses in full
// ("https://api.weather.gov/gridpoints/TOP/32,81/forecast").
constexpr std::string_view SERVICE_HOST = "api.weather.gov";

// The path of an address found inside an answer, to be asked for on the configured base instead (a mirror, or a
// test server, hands out the service's own addresses): "https://api.weather.gov/gridpoints/TOP/32,81/forecast"
// gives "gridpoints/TOP/32,81/forecast", its query kept. Only an address on the service's host or on the base's
// own is followed; on the base's host the base's own path is taken off ("http://127.0.0.1:8080/api/points/1,2"
// with the base "http://127.0.0.1:8080/api/" gives "points/1,2").
// False, with the reason in why, for an address on another host, one that is not http(s), or one holding a blank
// or a control character.
bool servicePath(std::string_view url, std::string_view base, std::string &path, std::string &why);

} // namespace meteo
