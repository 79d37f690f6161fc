// Feeds arbitrary bytes to the alert mapping as an answer of the active-alert listing, read at a fixed moment, and
// the front of them to the time and kind parsers. Besides the sanitizers' checks: a refused answer leaves no
// alerts; every alert's text is whole lines, the first of them starting with the event in capitals; and the three
// kinds' texts together hold every line of every alert, in the reader's layout ("A\r\n B\r\n").
#include "corekit/lex.h"
#include "meteo/base/wisotime_p.h"
#include "meteo/reader/walerts_p.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace corekit;
using namespace meteo;

namespace
{

// 2026-09-02T07:50:00Z.
constexpr std::int64_t NOW = 1788335400;

void checkAlert(const std::string &text)
{
    if (text.empty() || text.back() != '\n')
        __builtin_trap();
    const std::string_view first = std::string_view(text).substr(0, std::min(text.find(" - "), text.find('\n')));
    if (std::any_of(first.begin(), first.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        __builtin_trap();
}

// Every line ends in "\r\n" and every line after the first begins with a blank. Returns the number of lines.
std::size_t checkLayout(const std::string &text)
{
    if (!text.empty() && !text.ends_with("\r\n"))
        __builtin_trap();
    std::size_t lines = 0;
    for (std::size_t feed = text.find('\n'); feed != std::string::npos; feed = text.find('\n', feed + 1)) {
        ++lines;
        if (feed == 0 || text[feed - 1] != '\r' || (feed + 1 < text.size() && text[feed + 1] != ' '))
            __builtin_trap();
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    WAlertList list;
    if (list.read(input, NOW) != L_OK && !list.alerts().empty())
        __builtin_trap();
    std::size_t lines = 0;
    for (const auto &alert : list.alerts()) {
        checkAlert(alert.text);
        lines += static_cast<std::size_t>(std::count(alert.text.begin(), alert.text.end(), '\n'));
    }
    std::size_t laidOut = 0;
    for (const auto kind : {WAlertKind::Warning, WAlertKind::Watch, WAlertKind::Statement})
        laidOut += checkLayout(list.text(kind));
    if (laidOut != lines)
        __builtin_trap();
    std::int64_t seconds = 0;
    parseIsoTime(input.substr(0, 40), seconds);
    alertKind(input.substr(0, 64));
    return 0;
}
