#pragma once

#include <QString>

namespace nimbdesk
{

class CWgauge;

// A gauge's caption in the words a screen reader says: "76 °F" is "76 degrees Fahrenheit", "29.92 inHg" is
// "29.92 inches of mercury", a wind of "17 G 29 MPH" from 190 degrees is "from the south, 17 miles per hour, gusts
// 29", "Calm" is "calm" and a gauge without a value "no reading". It follows the caption, so it says what the
// gauge shows, in the units it shows.
QString spokenReading(const CWgauge &gauge);

// A sixteen-point compass direction the wind blows from: "SSW" is "from the south-southwest", "VRB" "variable".
QString spokenDirection(const QString &point);

} // namespace nimbdesk
