#pragma once

#include "meteo/base/walert.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/wstormwords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nimbdesk
{

// Where the storms of the alerts in force are, as the window tells it at a moment: the sentence of WStormWords for
// each alert whose motion gives an estimate at the place, the speed in the wind speed unit of the settings and the
// closest approach at the window's clock time ("1:42 PM", with the date on another day). The estimates move on with
// the clock, so each answer takes the moment it is for.
class LStormNotes
{
public:
    // The alerts of the last batch for the place; windSpeedScale as the settings store it (0 mph, 1 km/h).
    void Update(
        const std::vector<meteo::WAlertRecord> &alerts, const meteo::WLocation &place, std::uint32_t windSpeedScale);

    // The sentence for the alert at now (seconds since 1970), "" where its storm gives no estimate.
    std::string LineOf(const meteo::WAlertRecord &alert, std::int64_t now) const;
    // The sentences of the alerts of the last batch that have one.
    std::vector<std::string> Lines(std::int64_t now) const;
    // The special messages' text ("A\r\n B\r\n") with each sentence on a line of its own above its alert's first
    // line, indented as that line is.
    std::string Annotated(std::string special, std::int64_t now) const;

private:
    std::vector<meteo::WAlertRecord> m_alerts;
    std::optional<meteo::WLocation::Coordinates> m_place;
    meteo::WStormWords::Speed m_speed = meteo::WStormWords::Speed::Mph;
};

} // namespace nimbdesk
