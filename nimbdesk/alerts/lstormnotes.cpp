#include "nimbdesk/alerts/lstormnotes.h"

#include "corekit/lex.h"
#include "corekit/lstring.h"
#include "meteo/base/wlocation.h"
#include "nimbdesk/freshness/timetext.h"

#include <string_view>

using namespace corekit;
using namespace meteo;

namespace nimbdesk
{

void LStormNotes::Update(const std::vector<WAlertRecord> &alerts, const WLocation &place, std::uint32_t windSpeedScale)
{
    m_alerts = alerts;
    m_place = place.getCoordinates();
    m_speed = windSpeedScale == 1 ? WStormWords::Speed::Kmh : WStormWords::Speed::Mph;
}

std::string LStormNotes::LineOf(const WAlertRecord &alert, std::int64_t now) const
{
    if (!alert.motion || !m_place)
        return {};
    const std::optional<WStormApproach> approach
        = estimateStormApproach(*alert.motion, m_place->latitude, m_place->longitude, now);
    if (!approach)
        return {};
    return WStormWords(m_speed).line(*alert.motion, *approach, clockTime(approach->closestTime, now));
}

std::vector<std::string> LStormNotes::Lines(std::int64_t now) const
{
    std::vector<std::string> lines;
    for (const WAlertRecord &alert : m_alerts) {
        if (std::string line = LineOf(alert, now); !line.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

// The alert's first line opens its block in the text: "SEVERE THUNDERSTORM WARNING - ...", after " " where it is
// not the text's first line.
std::string LStormNotes::Annotated(std::string special, std::int64_t now) const
{
    for (const WAlertRecord &alert : m_alerts) {
        const std::string line = LineOf(alert, now);
        const std::string first = alert.text.substr(0, alert.text.find('\n'));
        const std::size_t at = first.empty() ? std::string::npos : special.find(first);
        if (line.empty() || at == std::string::npos)
            continue;
        const std::size_t start = special.rfind('\n', at) == std::string::npos ? 0 : special.rfind('\n', at) + 1;
        special.insert(start, special.substr(start, at - start) + line + "\r\n");
    }
    return special;
}

} // namespace nimbdesk
