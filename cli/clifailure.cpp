#include "cli/clifailure.h"

#include <algorithm>

using namespace meteo;

namespace cli
{

namespace
{

// The title comes from the server and goes to a terminal: no control character of it is passed on.
std::string cleaned(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    return text;
}

// "the server reports \"Unexpected Problem\" (500)"; "not found (404)" where the server gives no title.
std::string statusReason(const WFailure &failure)
{
    if (!failure.text.empty())
        return "the server reports \"" + cleaned(failure.text) + "\" (" + std::to_string(failure.httpStatus) + ")";
    if (failure.kind == WFailure::Kind::NotFound)
        return "not found (404)";
    return "the server answered with status " + std::to_string(failure.httpStatus);
}

} // namespace

std::string failureReason(const WFailure &failure)
{
    switch (failure.kind) {
    case WFailure::Kind::Connect:
        return "cannot connect to the server (" + cleaned(failure.text) + ")";
    case WFailure::Kind::HostNotFound:
        return "host not found (" + cleaned(failure.text) + ")";
    case WFailure::Kind::TimedOut:
        return "timed out (" + cleaned(failure.text) + ")";
    case WFailure::Kind::NotFound:
    case WFailure::Kind::Status:
        return statusReason(failure);
    case WFailure::Kind::Aborted:
        return "stopped";
    case WFailure::Kind::None:
    case WFailure::Kind::BadAnswer:
        break;
    }
    return "the server's answer could not be read";
}

} // namespace cli
