#pragma once

#include "meteo/base/walert.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace meteo
{

// The alert records of the state product pages: the messages the reader's last warnings, watches and statements
// scans kept for a place, one record each. Exported for the tests only; this header is not installed.
class WPageAlerts
{
public:
    // Replaces the records of one kind with one per message ("A\nB\n") found for the forecast zone ('IAZ086').
    void keep(const std::string &zone, WAlertKind kind, const std::vector<std::string> &messages);
    // The records of every kind kept for the zone, warnings first; none for another zone.
    std::vector<WAlertRecord> records(const std::string &zone) const;

    // "page:" and the text's 64-bit FNV-1a hash in hexadecimal: the same message gives the same id on every page
    // it is found on and in every cycle.
    static std::string messageId(const std::string &text);

private:
    static WAlertRecord recordOf(WAlertKind kind, const std::string &message);

    std::string m_zone;
    std::array<std::vector<WAlertRecord>, 3> m_records;
};

} // namespace meteo
