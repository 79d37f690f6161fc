#include "meteo/reader/wproductkind_p.h"

#include <array>
#include <cstddef>

namespace meteo
{

namespace
{

// By WApiProduct. The forecast comes from the zone forecast product (ZFP); discussion, summary and public
// information statement from the office's newest area forecast discussion (AFD), regional weather summary (RWS)
// and public information statement (PNS).
constexpr std::array<WProductKind, 7> KINDS = {{
    {WApiProduct::Forecast, "/zone.html", nullptr, "forecast", true, "ZFP", WAlertKind::Warning},
    {WApiProduct::Warnings, "/allwarnings.html", nullptr, "warnings", false, nullptr, WAlertKind::Warning},
    {WApiProduct::Watches, "/watches.html", nullptr, "watches", false, nullptr, WAlertKind::Watch},
    {WApiProduct::Statements, "/special.html", nullptr, "special statements", false, nullptr, WAlertKind::Statement},
    {WApiProduct::Discussion, "/discussion.html", "FXUS", "weather discussion", false, "AFD", WAlertKind::Warning},
    {WApiProduct::Summary, "/summary.html", "ABUS", "weather summary", false, "RWS", WAlertKind::Warning},
    {WApiProduct::Public, "/public.html", "ABUS", "public messages", false, "PNS", WAlertKind::Warning},
}};

constexpr bool inProductOrder()
{
    for (std::size_t i = 0; i < KINDS.size(); ++i) {
        if (static_cast<std::size_t>(KINDS[i].product) != i)
            return false;
    }
    return true;
}
static_assert(inProductOrder(), "productKind() looks a product up by its index");

} // namespace

const WProductKind &productKind(WApiProduct product)
{
    return KINDS[static_cast<std::size_t>(product)];
}

} // namespace meteo
