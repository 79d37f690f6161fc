#pragma once

#include "meteo/base/walert.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/walertwatch.h"
#include "settings/lplacelist.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

namespace nimbdesk
{

// What the worker has of a saved place that is not the one shown.
struct CWatchedResult {
    settings::LPlaceId place;
    bool observed = false;
    meteo::WCondition condition;
    std::vector<meteo::WAlertRecord> alerts;
};

// The schedule of the saved places other than the one shown: each one's observation once per update interval and
// its alerts once per check interval, each place at its own moment, so that with N places the requests come one
// at a time, evenly over the intervals, never together. Place i of n is observed i/n of the way into the interval
// (the first at once), and checked (i+1)/(n+1) of the way into the check interval, between the shown place's
// checks. Used by the worker thread alone; it asks nothing itself.
class CPlaceWatch
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    enum class Job { None, Observation, Alerts };
    struct Turn {
        Job job = Job::None;
        std::size_t index = 0;
    };

    explicit CPlaceWatch(meteo::WAlertWatch::Clock calendar);

    // The places to watch. A place watched before keeps its watch, its last observation and its moments; a new
    // one is first observed in the next interval (the list changes as the shown place does, and that place's
    // update goes first), and has its check planned.
    void SetPlaces(const std::vector<meteo::WLocation> &places, TimePoint now, std::chrono::milliseconds check);
    // A full update of the shown place began: the others' observations are spread over this interval.
    void PlanObservations(TimePoint now, std::chrono::milliseconds interval);
    // The check interval changed, or the shown place's check just ran: the others' checks are spread anew.
    void PlanChecks(TimePoint now, std::chrono::milliseconds check);
    // The one request due now, observations first; a turn taken is not given again until planned anew.
    Turn Next(TimePoint now);
    // After a failed check: the place's next one comes after the watch's wait.
    void CheckAgainIn(std::size_t index, TimePoint now, std::chrono::seconds wait);

    std::size_t size() const { return m_places.size(); }
    const meteo::WLocation &location(std::size_t index) const { return m_places[index].location; }
    settings::LPlaceId id(std::size_t index) const;
    meteo::WAlertWatch &watch(std::size_t index) { return m_places[index].watch; }
    // The place's last observation, as the base of the next one; false when none arrived yet.
    bool lastCondition(std::size_t index, meteo::WCondition &condition) const;
    void setCondition(std::size_t index, const meteo::WCondition &condition);

private:
    struct Place {
        meteo::WLocation location;
        meteo::WAlertWatch watch;
        std::optional<TimePoint> observeAt;
        TimePoint checkAt;
        std::optional<meteo::WCondition> condition;
    };

    meteo::WAlertWatch::Clock m_calendar;
    std::chrono::milliseconds m_check{60000};
    std::vector<Place> m_places;
};

} // namespace nimbdesk
