// Feeds arbitrary bytes to the line tests and scanners of text-product pages. The first line of the input is the
// zone code (and the station code), the rest the page, cut into lines as the page reader delivers them. Besides
// the sanitizers' checks: stripped text holds no "<", no line feed when they are dropped and no outer blank, and is
// never longer than its input; a covered zone's prefix occurs in the header.
#include "corekit/lstring.h"
#include "meteo/reader/wcityscanner_p.h"
#include "meteo/reader/wproduct_p.h"
#include "meteo/reader/wzonescanner_p.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace corekit;
using namespace meteo;

namespace
{

void checkStripped(const LString &line, bool dropLineFeeds)
{
    LString text(line);
    stripHTMLTags(text, dropLineFeeds);
    const std::string_view result(static_cast<const char *>(text));
    if (result.size() > line.length() || result.find('<') != std::string_view::npos)
        __builtin_trap();
    if (dropLineFeeds && result.find('\n') != std::string_view::npos)
        __builtin_trap();
    if (!result.empty() && (result.front() == ' ' || result.back() == ' '))
        __builtin_trap();
}

void checkZone(const LString &zone, const LString &line)
{
    isZoneHeader(line);
    isZoneContinuation(line);
    endsWithExpiryGroup(line);
    if (inZone(zone, line) && line.find(LString(zone, 3)) != 0)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t firstLine = std::min(input.find('\n'), input.size());
    const LString zone(input.data(), static_cast<unsigned long>(firstLine));
    WZoneScanner zones(zone, false);
    WZoneScanner firstZone(zone, true);
    WCityScanner cities("FXUS", zone);
    bool wantMore = true;
    for (std::size_t start = firstLine + 1; start < input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size() - 1) + 1;
        const LString line(input.data() + start, static_cast<unsigned long>(end - start));
        checkStripped(line, false);
        checkStripped(line, true);
        checkZone(zone, line);
        zones.feed(line);
        cities.feed(line);
        wantMore = wantMore && firstZone.feed(line);
        start = end;
    }
    if (!firstZone.isEmpty() && zones.isEmpty())
        __builtin_trap();
    return 0;
}
