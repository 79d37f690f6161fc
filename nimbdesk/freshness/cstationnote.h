#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>

namespace meteo
{
struct WStationUsed;
}

namespace nimbdesk
{

// How the window says that the observation is a nearby station's because the place's own is quiet. Times are
// calendar times (seconds since 1970), told in the machine's local time.
class CStationNote
{
    Q_DECLARE_TR_FUNCTIONS(CStationNote)

public:
    // "at KIKV (Ankeny, 14 km) 1:54 PM: KDSM has not reported since 6:54 AM", to follow "observed"; "KDSM has no
    // report" when its page had none. Empty while the observation is the place's own station's.
    static QString Note(const meteo::WStationUsed &station, std::int64_t observed, std::int64_t now);
    // The note as a line of its own: "Observed at KIKV (Ankeny, 14 km) 1:54 PM: KDSM has not reported since 6:54 AM".
    static QString Line(const meteo::WStationUsed &station, std::int64_t observed, std::int64_t now);

private:
    static QString stationName(const meteo::WStationUsed &station);
    static QString quiet(const meteo::WStationUsed &station, std::int64_t now);
};

} // namespace nimbdesk
