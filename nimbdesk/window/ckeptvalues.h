#pragma once

#include "meteo/base/walert.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wforecast.h"
#include "meteo/base/wlocation.h"
#include "nimbdesk/freshness/cupdateresults.h"
#include "settings/lplacecache.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nimbdesk
{

class CFreshness;

// The window's side of the place cache (settings::LPlaceCache): at start it reads what the last run kept of the
// place, and after each update it writes what the window shows of it, so that a start without the network shows
// the last values at once. Its texts are worded through the application's translation.
class CKeptValues
{
    Q_DECLARE_TR_FUNCTIONS(CKeptValues)

public:
    explicit CKeptValues(std::string directory);

    const std::string &directory() const { return m_cache.directory(); }

    // What was kept of the place, or nothing; from here on the place is the one whose values are written, and
    // nothing is shown of it yet. A file
    // that cannot be used is named in note, for the status story; a place with no file yet leaves note empty.
    std::optional<settings::LPlaceCacheRecord> Load(
        std::uint32_t state, std::uint32_t city, std::int64_t now, QString &note);

    // The observation the window shows now, and whose it is; the end of the cycle tells whether it is the place's.
    void ConditionShown(const meteo::WCondition &condition, const meteo::WStationUsed &station);
    // The forecast's periods (index 0) or hours (1) the window shows now; kept as the observation is.
    void OutlookShown(int index, const meteo::WForecast &forecast);
    // After a cycle in which something came: writes the observation, the texts the window holds, the forecast's
    // periods and hours, and the alerts of the place. Returns what the window must say of a write that failed, once
    // until a write succeeds again; empty otherwise.
    QString CycleFinished(const CUpdateResults &results, const CFreshness &freshness,
        const std::vector<meteo::WAlertRecord> &alerts, const meteo::WLocation &alertsPlace, std::int64_t now);
    // After the alerts of the place came: writes them when they changed. Returns as CycleFinished.
    QString AlertsReady(
        const std::vector<meteo::WAlertRecord> &alerts, const meteo::WLocation &alertsPlace, std::int64_t now);

private:
    bool samePlace(const meteo::WLocation &place) const;
    QString save(std::int64_t now);

    settings::LPlaceCache m_cache;
    // What the next write holds; it starts as what was kept, so that a value no cycle has brought yet goes on.
    settings::LPlaceCacheRecord m_record;
    std::optional<meteo::WCondition> m_shown;
    meteo::WStationUsed m_shownStation;
    std::array<std::optional<meteo::WForecast>, 2> m_outlook;
    bool m_failureTold = false;
};

} // namespace nimbdesk
