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
    {"/zone.html", nullptr, "forecast", true, "ZFP", WAlertKind::Warning},
    {"/allwarnings.html", nullptr, "warnings", false, nullptr, WAlertKind::Warning},
    {"/watches.html", nullptr, "watches", false, nullptr, WAlertKind::Watch},
    {"/special.html", nullptr, "special statements", false, nullptr, WAlertKind::Statement},
    {"/discussion.html", "FXUS", "weather discussion", false, "AFD", WAlertKind::Warning},
    {"/summary.html", "ABUS", "weather summary", false, "RWS", WAlertKind::Warning},
    {"/public.html", "ABUS", "public messages", false, "PNS", WAlertKind::Warning},
}};

} // namespace

const WProductKind &productKind(WApiProduct product)
{
    return KINDS[static_cast<std::size_t>(product)];
}

} // namespace meteo
