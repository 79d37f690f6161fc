#pragma once

#include "corekit/lkeeper.h"
#include "corekit/lstring.h"
#include "meteo/base/walert.h"
#include "meteo/base/wcondition.h"
#include "meteo/base/wfetchlimits.h"
#include "meteo/base/wforecast.h"
#include "meteo/base/wlocation.h"
#include "meteo/reader/walertwatch.h"
#include "meteo/reader/wnearbycondition.h"
#include "nimbdesk/freshness/cupdateresults.h"
#include "nimbdesk/worker/cnearbystation.h"
#include "nimbdesk/worker/cplacewatch.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "nimbdesk/worker/lsyncthread.h"
#include "settings/lplacelist.h"
#include "settings/lwinkeeper.h"

#include <QEvent>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QObject;
namespace meteo
{
class WReader;
}

namespace nimbdesk
{

// The worker's sense of time: the clock that measures the interval, the pause between two ticks and the gap left
// after each result for the window to copy it. Tests run the countdown on a clock of their own.
struct CUpdateTiming {
    std::function<std::chrono::steady_clock::time_point()> clock = [] { return std::chrono::steady_clock::now(); };
    std::chrono::milliseconds tick{1000};
    std::chrono::milliseconds handOver{100};
    // How long each fetch may take.
    meteo::WFetchLimits fetchLimits;
    // The reader's calendar clock (seconds since 1970); empty for the system's.
    std::function<std::int64_t()> calendar;
};

// The update worker: on its own thread it wakes every tick, counts the interval down and, when it has run out,
// fetches the observation, the forecast (with the web service also its periods and hours) and each enabled kind of
// special message for the place, and posts the
// window an event for each result (cupdateevent.h). The results stay here; the window copies them out.
//
// Fetches run without the main lock, so the window's calls never wait for the network: the lock is held only to
// publish a result and post its event, and by the window's calls. The info text has a lock of its own; the order
// is main lock, then info lock.
//
// The hand-over is deliberate and other parts rely on it: the event only names the result ("the forecast is
// ready"), never carries it; after posting, the worker leaves a short gap (CUpdateTiming::handOver) before it
// publishes the next result; and the window copies the result out through the Copy and Get calls, under the main
// lock, when the event arrives. So a result replaced meanwhile is copied whole (the newer one) and nothing is
// copied twice or lost. Do not put results into the events or drop the gap without changing both sides.
//
// Between two cycles, with the web service as the source, it checks the place's alerts every few minutes (the check
// interval) through an alert watch: a check asks only for the alert answer, and only when the alerts in force
// changed does it fetch the enabled warnings, watches and statements texts (from that same answer) and post
// WM_ALERTS_CHECKED and WM_ALERTS_READY; a check that finds nothing new posts nothing. After a failed check the
// watch's shorter wait holds, and a server's request to wait is told on the status line. A cycle counts as a
// check. With the state pages as the source the alerts follow the cycles alone.
//
// The saved places other than the one shown are watched too, one small request a tick at most (CPlaceWatch): each
// one's observation once per interval, its alerts once per check interval (with the state pages, with each of its
// observations), each handed over with a CPlaceEvent naming the place and copied out with CopyWatched.
//
// The thread starts in the constructor and idles until it has a window, an interval and a place.
class CUpdateThread final : public LSyncThread, public corekit::LInfoLine
{
public:
    // The worker's keeper is named appName and keeps its settings in settingsDirectory, or where LWinKeeper
    // keeps them by default when it is empty. Returns once the thread runs.
    explicit CUpdateThread(const corekit::LString &appName, const std::string &settingsDirectory = std::string(),
        CUpdateTiming timing = {});
    ~CUpdateThread() override;

    // Each of these three makes the next tick start a cycle, also when one is running now: that one finishes
    // first. Null stops the events; interval minutes of 0 or less stop updating.
    void SetWindow(QObject *window);
    void SetInterval(int minutes);
    void SetLocation(const meteo::WLocation &location);
    // Enables (flag not 0) or disables a kind of special message, by its settings::indexOf, from the next fetch
    // on. L_RANGE for an index that names no kind.
    int SetProductFlag(int index, int flag);
    // Starts a cycle on the next tick. A cycle under way is cut short at once, its fetch aborted, so that a server
    // that holds a fetch back does not hold back the new cycle; what it has handed over stays.
    void UpdateNow();
    // Minutes between two alert checks; less than 1 counts as 1. The next check comes that long after this call.
    void SetCheckInterval(int minutes);
    // Checks the alerts on the next tick, as after a resume from suspend or when the network came back.
    void CheckAlertsNow();
    // Whether a nearby station, from the station list of the location files in directory, stands in while the
    // place's station is quiet (off until set), from the next fetch on.
    void SetNearbyStation(bool use, const std::string &directory);
    // The saved places other than the one shown, watched from the next tick on; their forecasts and texts are
    // fetched only once they are shown.
    void SetOtherPlaces(const std::vector<meteo::WLocation> &places);
    // What the worker has of a watched place, as the last WM_PLACE_READY for it left it; false, result untouched,
    // for a place it does not watch.
    bool CopyWatched(const settings::LPlaceId &place, CWatchedResult &result);

    void CopyCondition(meteo::WCondition &condition);
    // The place of the result that an event of this type and index names (WM_CONDITION_READY, WM_FORECAST_READY,
    // WM_MESSAGE_READY, WM_OUTLOOK_READY), as last published: after SetLocation, results of the place before may still
    // be on their way, and the window must not show them under the new place's name.
    settings::LPlaceId PlaceOf(QEvent::Type type, int index);
    // The periods (index 0) or the hours (1) of the forecast the last WM_OUTLOOK_READY named.
    void CopyOutlook(int index, meteo::WForecast &forecast);
    // Whose the observation CopyCondition gives is, when a nearby station stood in for the place's.
    void CopyStation(meteo::WStationUsed &station);
    void GetForecastLength(unsigned long &length);
    // At most size - 1 characters, always terminated; nothing is written when size is 0.
    void CopyForecast(char *buffer, unsigned long size);
    // As the forecast; L_RANGE for an index that names no kind, with length 0 and an empty buffer.
    int GetMessageLength(int index, unsigned long &length);
    int CopyMessage(int index, char *buffer, unsigned long size);
    // The alerts in force, as the last cycle that could read them found them, and the place they are for.
    void CopyAlerts(std::vector<meteo::WAlertRecord> &alerts, meteo::WLocation &place);
    // Takes the info lock only.
    void CopyInfoText(char *buffer, unsigned long size);
    // What became of each fetch of the last cycle that ended, for the window to read at WM_UPDATE_FINISHED;
    // empty (nothing tried) until a cycle has ended.
    void CopyResults(CUpdateResults &results);
    // What became of the texts fetched by the last alert check that found a change, for WM_ALERTS_CHECKED; only
    // the kinds it fetched are tried.
    void CopyCheckResults(CUpdateResults &results);

    // Aborts the fetch under way, skips the rest of the cycle and returns once the thread has ended.
    bool Stop() override;

    // The reader's progress: stored for CopyInfoText and announced with WM_INFO_TEXT; Clear posts WM_INFO_CLEAR.
    void SetText(const corekit::LString &text) override;
    void Clear() override;

private:
    using TextFetch = int (meteo::WReader::*)(const meteo::WLocation &, corekit::LString &);
    using OutlookFetch = int (meteo::WReader::*)(const meteo::WLocation &, meteo::WForecast &);

    bool Init() override;
    bool Tick() override;
    void Cleanup() override;

    void Restart();
    bool Updating();
    bool CycleDue();
    void RunCycle();
    void tellCutShort(const char *reason) noexcept;
    void EndCycle();
    void ScheduleNextCycle();
    bool PrepareFetch();
    bool FlagSet(settings::LMessageKind kind);
    bool FetchCondition();
    int FetchNearby(int result, meteo::WCondition &condition, meteo::WStationUsed &station);
    bool FetchText(TextFetch fetch, std::unique_ptr<corekit::LString> &shared, CUpdateResults::Fetch &record,
        QEvent::Type type, int index);
    bool FetchOutlook();
    bool FetchOutlookPart(OutlookFetch fetch, CUpdateResults::Fetch &record, int index);
    void PublishResults();
    bool AlertKindsSet();
    void FetchAlerts();
    bool CheckDue();
    void RunCheck();
    bool ChecksApart();
    meteo::WAlertWatch::Outcome WatchAlerts(bool forced);
    void PrepareWatch();
    void CheckAgainIn(std::int64_t seconds);
    void TellWait();
    void CheckText(const settings::LMessageKindInfo &kind);
    void PublishCheck();
    void TakeOtherPlaces();
    void WatchPlaces();
    bool BeginWatchRequest();
    void ObservePlace(std::size_t index);
    void TakePageAlerts(std::size_t index);
    void CheckPlace(std::size_t index);
    void PublishWatched(std::size_t index, CPlaceEvent::Ready ready, const std::function<void(CWatchedResult &)> &take);
    bool HandOver();
    void Post(QEvent::Type type, int index);

    // Only the worker thread reads these; the clock and the two pauses are fixed at construction.
    const CUpdateTiming m_timing;
    settings::LWinKeeper m_keeper;
    meteo::WLocation m_fetchLocation;
    meteo::WCondition m_fetchCondition;
    settings::LPlaceId m_fetchConditionPlace;
    CUpdateResults m_cycleResults;
    CUpdateResults m_checkRun;
    CNearbyStation m_nearby;
    // The alerts in force for the place the watch was last asked for; a cycle's alerts come through it too.
    meteo::WAlertWatch m_watch;
    meteo::WLocation m_watchPlace;
    CPlaceWatch m_placeWatch;
    // Set while a request to another place runs: its progress is not the shown place's, and stays off the status
    // line.
    std::atomic<bool> m_quietProgress = false;

    // Shared with the window's thread, under the main lock. The reader is made and deleted by the worker thread
    // under the lock and used by it without the lock; the window's thread only aborts its fetch.
    QObject *m_window = nullptr;
    int m_interval = 0;
    std::chrono::milliseconds m_countdown{0};
    std::chrono::steady_clock::time_point m_lastClock;
    meteo::WLocation m_location;
    std::unique_ptr<meteo::WReader> m_reader;
    meteo::WCondition m_condition;
    meteo::WStationUsed m_station;
    bool m_useNearby = false;
    std::string m_stationsDirectory;
    std::unique_ptr<corekit::LString> m_forecast;
    // The forecast's periods and hours, by the index of WM_OUTLOOK_READY.
    std::array<meteo::WForecast, 2> m_outlook;
    std::array<std::unique_ptr<corekit::LString>, settings::MESSAGE_KIND_COUNT> m_messages;
    std::array<unsigned char, settings::MESSAGE_KIND_COUNT> m_flags{};
    bool m_cycleRunning = false;
    // Set by UpdateNow while a cycle runs: the cycle stops at once, and the reader's abort is lifted at its end.
    bool m_cutCycle = false;
    CUpdateResults m_results;
    CUpdateResults m_checkResults;
    int m_checkInterval = 1;
    // Set by UpdateNow and CheckAlertsNow: the next check asks the server even for an answer it called fresh.
    bool m_forceCheck = false;
    std::chrono::milliseconds m_checkCountdown{0};
    std::chrono::steady_clock::time_point m_checkClock;
    std::vector<meteo::WAlertRecord> m_alerts;
    meteo::WLocation m_alertsPlace;
    // The place of the observation, of the forecast and of each kind of message, by resultSlot.
    std::array<settings::LPlaceId, 4 + settings::MESSAGE_KIND_COUNT> m_resultPlaces{};
    // The other saved places as the window last gave them, taken in by the worker at its next tick when changed.
    std::vector<meteo::WLocation> m_otherPlaces;
    bool m_otherPlacesChanged = false;
    std::vector<CWatchedResult> m_watched;

    std::mutex m_infoLock;
    corekit::LString m_infoText;
};

} // namespace nimbdesk
