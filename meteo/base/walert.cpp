#include "meteo/base/walert.h"

#include <algorithm>
#include <iterator>

namespace meteo
{

int severityRank(std::string_view severity)
{
    static constexpr std::string_view ORDER[] = {"Extreme", "Severe", "Moderate", "Minor"};
    const auto found = std::find(std::begin(ORDER), std::end(ORDER), severity);
    return static_cast<int>(found - std::begin(ORDER));
}

WAlertCategory alertCategory(const WAlertRecord &alert)
{
    if (std::string_view(alert.event).ends_with("Warning"))
        return WAlertCategory::Warning;
    if (alert.kind == WAlertKind::Watch)
        return WAlertCategory::Watch;
    if (alert.kind == WAlertKind::Statement)
        return WAlertCategory::Statement;
    return WAlertCategory::Other;
}

} // namespace meteo
