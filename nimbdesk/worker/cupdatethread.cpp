#include "nimbdesk/worker/cupdatethread.h"

#include "corekit/lex.h"
#include "meteo/reader/wreader.h"
#include "meteo/reader/wreadersettings.h"
#include "nimbdesk/freshness/timetext.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "settings/lsettings.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <thread>
#include <utility>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

// Where the place of a result is kept: 0 the observation, 1 the forecast, then the kinds of message; past the end
// for the events that carry no result of their own.
std::size_t resultSlot(QEvent::Type type, int index)
{
    if (type == WM_CONDITION_READY)
        return 0;
    if (type == WM_FORECAST_READY)
        return 1;
    if (type == WM_MESSAGE_READY && index >= 0)
        return 2 + static_cast<std::size_t>(index);
    // The forecast's periods (index 0) and hours (1) follow the special messages.
    if (type == WM_OUTLOOK_READY && index >= 0)
        return 2 + settings::MESSAGE_KIND_COUNT + static_cast<std::size_t>(index);
    return std::numeric_limits<std::size_t>::max();
}

// Nothing known yet: the gauges read "--" for what the first report of a place lacks.
WCondition unknownCondition()
{
    WCondition condition;
    condition.setTemp(std::numeric_limits<float>::quiet_NaN());
    condition.setDewPoint(std::numeric_limits<float>::quiet_NaN());
    condition.setPressure(std::numeric_limits<float>::quiet_NaN());
    condition.setWindDirection(-1);
    condition.setWindSpeed(-1);
    condition.setWindGustSpeed(-1);
    return condition;
}

// A fetch that throws has failed like any other: the cycle goes on with the next one.
template<typename Fetch>
int guarded(Fetch fetch)
{
    try {
        return fetch();
    } catch (const LEx &ex) {
        return ex.code() == L_OK ? L_ERROR : ex.code();
    } catch (const std::bad_alloc &) {
        return L_MEM;
    } catch (const std::exception &) {
        return L_ERROR;
    }
}

void copyTerminated(const LString &text, char *buffer, unsigned long size)
{
    if (!buffer || size == 0)
        return;
    const unsigned long count = std::min(text.length(), size - 1);
    std::memcpy(buffer, static_cast<const char *>(text), count);
    buffer[count] = '\0';
}

// The result of a fetch, when it ended, and why it could not be had.
void note(CUpdateResults::Fetch &fetch, int code, const WReader &reader)
{
    fetch = {true, code, currentTime(), code == L_CONNECT ? reader.lastFailure() : WFailure()};
}

bool validKind(int index)
{
    return index >= 0 && index < MESSAGE_KIND_COUNT;
}

// The kinds of special message made of the place's alerts, which an alert check fetches anew.
constexpr std::array<LMessageKind, 3> ALERT_KINDS
    = {LMessageKind::Warnings, LMessageKind::Watches, LMessageKind::Statements};

// Counts a countdown down on the clock; true when it has run out. The elapsed time is counted in whole
// milliseconds and the last reading moves by just as much, so no fraction is lost from tick to tick.
bool runOut(std::chrono::milliseconds &countdown, std::chrono::steady_clock::time_point &last,
    std::chrono::steady_clock::time_point now)
{
    if (countdown <= std::chrono::milliseconds(0))
        return true;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - last);
    countdown -= elapsed;
    last += elapsed;
    return false;
}

bool samePlace(const WLocation &a, const WLocation &b)
{
    return a.getState() == b.getState() && a.getCity() == b.getCity();
}

// The seconds since 1970 of the worker's calendar.
WAlertWatch::Clock calendarOf(const CUpdateTiming &timing)
{
    if (timing.calendar)
        return timing.calendar;
    return [] { return currentTime(); };
}

} // namespace

CUpdateThread::CUpdateThread(const LString &appName, const std::string &settingsDirectory, CUpdateTiming timing)
    : m_timing(std::move(timing))
    , m_keeper(appName, settingsDirectory)
    , m_watch(calendarOf(m_timing))
    , m_placeWatch(calendarOf(m_timing))
    , m_forecast(std::make_unique<LString>())
{
    for (auto &message : m_messages)
        message = std::make_unique<LString>();
    Start();
    while (GetState() == State::Starting)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

CUpdateThread::~CUpdateThread()
{
    CUpdateThread::Stop();
}

void CUpdateThread::SetWindow(QObject *window)
{
    Locker lock(*this);
    m_window = window;
    Restart();
}

void CUpdateThread::SetInterval(int minutes)
{
    Locker lock(*this);
    m_interval = std::max(minutes, 0);
    Restart();
}

void CUpdateThread::SetLocation(const WLocation &location)
{
    Locker lock(*this);
    m_location = location;
    Restart();
}

int CUpdateThread::SetProductFlag(int index, int flag)
{
    if (!validKind(index))
        return L_RANGE;
    Locker lock(*this);
    m_flags[index] = flag != 0 ? 1 : 0;
    return L_OK;
}

void CUpdateThread::UpdateNow()
{
    Locker lock(*this);
    Restart();
    m_forceCheck = true;
    if (!m_cycleRunning || !m_reader)
        return;
    m_cutCycle = true;
    m_reader->abortFetch();
}

void CUpdateThread::SetCheckInterval(int minutes)
{
    Locker lock(*this);
    m_checkInterval = std::max(minutes, 1);
    m_checkCountdown = std::chrono::minutes(m_checkInterval);
    m_checkClock = m_timing.clock();
    // The other places' checks are spread anew over the new interval.
    m_otherPlacesChanged = true;
}

void CUpdateThread::CheckAlertsNow()
{
    Locker lock(*this);
    m_checkCountdown = std::chrono::milliseconds(0);
    m_forceCheck = true;
}

void CUpdateThread::CopyCondition(WCondition &condition)
{
    Locker lock(*this);
    condition = m_condition;
}

settings::LPlaceId CUpdateThread::PlaceOf(QEvent::Type type, int index)
{
    Locker lock(*this);
    const std::size_t slot = resultSlot(type, index);
    return slot < m_resultPlaces.size() ? m_resultPlaces[slot] : settings::LPlaceId{};
}

void CUpdateThread::CopyStation(WStationUsed &station)
{
    Locker lock(*this);
    station = m_station;
}

void CUpdateThread::SetNearbyStation(bool use, const std::string &directory)
{
    Locker lock(*this);
    m_useNearby = use;
    m_stationsDirectory = directory;
}

void CUpdateThread::SetOtherPlaces(const std::vector<WLocation> &places)
{
    Locker lock(*this);
    m_otherPlaces = places;
    m_otherPlacesChanged = true;
}

bool CUpdateThread::CopyWatched(const LPlaceId &place, CWatchedResult &result)
{
    Locker lock(*this);
    const auto found = std::find_if(
        m_watched.begin(), m_watched.end(), [&place](const CWatchedResult &watched) { return watched.place == place; });
    if (found == m_watched.end())
        return false;
    result = *found;
    return true;
}

void CUpdateThread::GetForecastLength(unsigned long &length)
{
    Locker lock(*this);
    length = m_forecast->length();
}

void CUpdateThread::CopyForecast(char *buffer, unsigned long size)
{
    Locker lock(*this);
    copyTerminated(*m_forecast, buffer, size);
}

int CUpdateThread::GetMessageLength(int index, unsigned long &length)
{
    length = 0;
    if (!validKind(index))
        return L_RANGE;
    Locker lock(*this);
    length = m_messages[index]->length();
    return L_OK;
}

int CUpdateThread::CopyMessage(int index, char *buffer, unsigned long size)
{
    if (!validKind(index)) {
        copyTerminated(LString(), buffer, size);
        return L_RANGE;
    }
    Locker lock(*this);
    copyTerminated(*m_messages[index], buffer, size);
    return L_OK;
}

void CUpdateThread::CopyAlerts(std::vector<WAlertRecord> &alerts, WLocation &place)
{
    Locker lock(*this);
    alerts = m_alerts;
    place = m_alertsPlace;
}

void CUpdateThread::CopyInfoText(char *buffer, unsigned long size)
{
    std::lock_guard info(m_infoLock);
    copyTerminated(m_infoText, buffer, size);
}

void CUpdateThread::CopyResults(CUpdateResults &results)
{
    Locker lock(*this);
    results = m_results;
}

void CUpdateThread::CopyOutlook(int index, WForecast &forecast)
{
    Locker lock(*this);
    forecast = m_outlook[index == 0 ? 0 : 1];
}

void CUpdateThread::CopyCheckResults(CUpdateResults &results)
{
    Locker lock(*this);
    results = m_checkResults;
}

// The request and the abort go together under the lock; an abort stays in force, so a fetch that begins after
// it fails at once.
bool CUpdateThread::Stop()
{
    {
        Locker lock(*this);
        RequestStop();
        if (m_reader)
            m_reader->abortFetch();
    }
    return LSyncThread::Stop();
}

void CUpdateThread::SetText(const LString &text)
{
    if (m_quietProgress)
        return;
    Locker lock(*this);
    std::lock_guard info(m_infoLock);
    m_infoText = text;
    Post(WM_INFO_TEXT, 0);
}

// "The update was cut short: std::bad_alloc"; when even that cannot be told, the next cycle's texts follow.
void CUpdateThread::tellCutShort(const char *reason) noexcept
{
    try {
        SetText(LString((std::string("The update was cut short: ") + reason).c_str()));
    } catch (...) {
    }
}

void CUpdateThread::Clear()
{
    if (m_quietProgress)
        return;
    Post(WM_INFO_CLEAR, 0);
}

bool CUpdateThread::Init()
{
    try {
        auto reader = std::make_unique<WReader>(this, m_timing.calendar);
        reader->SetKeeper(&m_keeper);
        reader->setFetchLimits(m_timing.fetchLimits);
        Locker lock(*this);
        m_reader = std::move(reader);
        return false;
    } catch (const LEx &) {
        return true;
    } catch (const std::exception &) {
        return true;
    }
}

// A cycle that fails outside its fetches (memory ran out while posting) is cut short and says so on the status
// line; the thread goes on.
bool CUpdateThread::Tick()
{
    try {
        TakeOtherPlaces();
        if (CycleDue())
            RunCycle();
        else if (CheckDue())
            RunCheck();
        else
            WatchPlaces();
    } catch (const LEx &failure) {
        tellCutShort(failure.text() ? failure.text() : LEx::describe(failure.code()));
    } catch (const std::exception &failure) {
        tellCutShort(failure.what());
    }
    EndCycle();
    SleepFor(m_timing.tick);
    return false;
}

void CUpdateThread::Cleanup()
{
    Locker lock(*this);
    m_reader.reset();
}

// Called with the lock held.
void CUpdateThread::Restart()
{
    m_countdown = std::chrono::milliseconds(0);
}

// Whether the worker has a window, an interval and a place, and is not stopping. Called with the lock held.
bool CUpdateThread::Updating()
{
    return m_window && m_interval != 0 && m_location.getState() != 0 && m_location.getCity() != 0 && !StopRequested();
}

// Counts the interval down on the clock; true when a cycle is to run now.
bool CUpdateThread::CycleDue()
{
    Locker lock(*this);
    if (!Updating())
        return false;
    const auto now = m_timing.clock();
    if (!runOut(m_countdown, m_lastClock, now))
        return false;
    // Set before the cycle runs, so that the countdown goes on even if the cycle is cut short. The cycle fetches
    // the alerts, so the next check is a check interval away.
    m_countdown = std::chrono::minutes(m_interval);
    m_lastClock = now;
    m_checkCountdown = std::chrono::minutes(m_checkInterval);
    m_checkClock = now;
    m_placeWatch.PlanObservations(now, std::chrono::minutes(m_interval));
    m_placeWatch.PlanChecks(now, std::chrono::minutes(m_checkInterval));
    return true;
}

// Counts the check interval down on the clock, while the worker has what a cycle needs; true when a check is due.
bool CUpdateThread::CheckDue()
{
    Locker lock(*this);
    if (!Updating())
        return false;
    const auto now = m_timing.clock();
    if (!runOut(m_checkCountdown, m_checkClock, now))
        return false;
    m_checkCountdown = std::chrono::minutes(m_checkInterval);
    m_checkClock = now;
    return true;
}

// Runs as a cycle does, so that UpdateNow cuts it short and the cycle it asks for follows at once.
void CUpdateThread::RunCheck()
{
    if (!AlertKindsSet() || !ChecksApart())
        return;
    bool forced = false;
    {
        Locker lock(*this);
        m_cycleRunning = true;
        std::swap(forced, m_forceCheck);
    }
    if (!PrepareFetch())
        return;
    const WAlertWatch::Outcome outcome = WatchAlerts(forced);
    if (outcome == WAlertWatch::Outcome::Failed)
        TellWait();
    if (outcome == WAlertWatch::Outcome::Failed || outcome == WAlertWatch::Outcome::Waiting)
        CheckAgainIn(m_watch.nextCheck() - calendarOf(m_timing)());
    if (outcome != WAlertWatch::Outcome::Changed)
        return;
    m_checkRun = CUpdateResults();
    m_checkRun.state = m_fetchLocation.getState();
    m_checkRun.city = m_fetchLocation.getCity();
    for (const LMessageKind kind : ALERT_KINDS) {
        if (FlagSet(kind))
            CheckText(messageKind(kind));
    }
    PublishCheck();
}

// With the state pages as the source the alerts come with the pages a cycle reads; there is nothing to check apart.
bool CUpdateThread::ChecksApart()
{
    std::uint32_t source = WReaderSettings::SOURCE_WEB_SERVICE;
    return m_keeper.GetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, source, false) != L_OK
        || source != WReaderSettings::SOURCE_STATE_PAGES;
}

// Asks the watch, which asks the reader for the alerts alone when its schedule says so (or, forced, at once). The
// watch follows one place: another forgets what it tracked.
WAlertWatch::Outcome CUpdateThread::WatchAlerts(bool forced)
{
    PrepareWatch();
    if (forced)
        m_watch.checkNow();
    return m_watch.check(*m_reader, m_fetchLocation);
}

// The watch follows one place (another forgets what it tracked) at the check interval of the moment.
void CUpdateThread::PrepareWatch()
{
    if (!samePlace(m_watchPlace, m_fetchLocation)) {
        m_watch.clear();
        m_watchPlace = m_fetchLocation;
    }
    int minutes = 1;
    {
        Locker lock(*this);
        minutes = m_checkInterval;
    }
    m_watch.setInterval(std::int64_t{minutes} * 60);
}

// After a failure the watch asks again sooner than the interval, and never before the server's Retry-After.
void CUpdateThread::CheckAgainIn(std::int64_t seconds)
{
    Locker lock(*this);
    m_checkCountdown = std::chrono::seconds(std::max<std::int64_t>(seconds, 1));
    m_checkClock = m_timing.clock();
}

// "The weather service asked to wait until 2:05 PM": said on the status line after an answer of 429 or 503.
void CUpdateThread::TellWait()
{
    const std::int64_t until = m_watch.retryAfterUntil();
    if (until == 0)
        return;
    const std::string time = clockTime(until, calendarOf(m_timing)());
    SetText(LString(QCoreApplication::translate("CUpdateThread", "The weather service asked to wait until %1")
                        .arg(QString::fromStdString(time))
                        .toStdString()
                        .c_str()));
}

// The text comes from the alert answer the check just had, so it asks the service nothing more.
void CUpdateThread::CheckText(const LMessageKindInfo &kind)
{
    std::unique_ptr<LString> fetched;
    const int result = guarded([&] {
        fetched = std::make_unique<LString>();
        return ((*m_reader).*kind.fetch)(m_fetchLocation, *fetched);
    });
    const int index = indexOf(kind.kind);
    note(m_checkRun.messages[index], result, *m_reader);
    if (result != L_OK)
        return;
    Locker lock(*this);
    m_messages[index].swap(fetched);
}

// The texts and the alerts go out together, as a cycle's would; a check that UpdateNow cut short leaves them to
// the cycle that follows.
void CUpdateThread::PublishCheck()
{
    {
        Locker lock(*this);
        if (m_cutCycle || StopRequested())
            return;
        m_checkResults = m_checkRun;
        m_alerts = m_watch.inForce();
        m_alertsPlace = m_fetchLocation;
        Post(WM_ALERTS_CHECKED, 0);
        Post(WM_ALERTS_READY, 0);
    }
    HandOver();
}

void CUpdateThread::RunCycle()
{
    m_cycleResults = CUpdateResults();
    bool forced = false;
    {
        Locker lock(*this);
        m_cycleRunning = true;
        // Update Now, a resume or the network coming back asks the server afresh, whatever it called fresh.
        std::swap(forced, m_forceCheck);
        Post(WM_UPDATE_STARTED, 0);
    }
    m_reader->beginUpdate(forced);
    bool going = FetchCondition()
        && FetchText(&WReader::getForecast, m_forecast, m_cycleResults.forecast, WM_FORECAST_READY, 0)
        && FetchOutlook();
    for (const LMessageKindInfo &kind : messageKinds()) {
        const int index = indexOf(kind.kind);
        if (going && FlagSet(kind.kind))
            going = FetchText(kind.fetch, m_messages[index], m_cycleResults.messages[index], WM_MESSAGE_READY, index);
    }
    if (!going)
        return;
    PublishResults();
    ScheduleNextCycle();
    if (AlertKindsSet())
        FetchAlerts();
}

// After every tick, whatever became of its cycle: one cut short by UpdateNow lifts the reader's abort for the next
// one; one cut short by Stop leaves it.
void CUpdateThread::EndCycle()
{
    Locker lock(*this);
    m_cycleRunning = false;
    m_quietProgress = false;
    if (m_cutCycle && !StopRequested() && m_reader)
        m_reader->allowFetch();
    m_cutCycle = false;
}

// The results go out with the event that ends the cycle, so that the window reads those of the cycle it ends. A
// cycle that UpdateNow cut short in its last fetch ends without them, since the next one follows at once.
void CUpdateThread::PublishResults()
{
    Locker lock(*this);
    if (m_cutCycle)
        return;
    m_results = m_cycleResults;
    Post(WM_UPDATE_FINISHED, 0);
}

// The next cycle starts an interval after this one ended, unless the window changed a setting while it ran and
// so set the countdown to 0: then the next tick starts it.
void CUpdateThread::ScheduleNextCycle()
{
    Locker lock(*this);
    if (m_countdown > std::chrono::milliseconds(0))
        m_countdown = std::chrono::minutes(m_interval);
    m_lastClock = m_timing.clock();
}

// Takes the place as it is now for the next fetch; false once the worker is stopping or the cycle is cut short, so
// that the rest of the cycle is skipped.
bool CUpdateThread::PrepareFetch()
{
    Locker lock(*this);
    if (StopRequested() || m_cutCycle)
        return false;
    m_fetchLocation = m_location;
    m_cycleResults.state = m_fetchLocation.getState();
    m_cycleResults.city = m_fetchLocation.getCity();
    return true;
}

bool CUpdateThread::FlagSet(LMessageKind kind)
{
    Locker lock(*this);
    return m_flags[indexOf(kind)] != 0;
}

// The alerts come from the answers the warnings, watches and statements fetches had, so they are asked for only
// when one of those kinds ran.
bool CUpdateThread::AlertKindsSet()
{
    return FlagSet(LMessageKind::Warnings) || FlagSet(LMessageKind::Watches) || FlagSet(LMessageKind::Statements);
}

// The cycle's alerts come through the watch, forced, so that it tracks them; the cycle's warnings fetch has just
// had the answer, so the server is asked only whether it changed.
// The cycle's texts have fetched the alerts already: the watch takes in that same answer, asking nothing more.
void CUpdateThread::FetchAlerts()
{
    if (!PrepareFetch())
        return;
    PrepareWatch();
    const WAlertWatch::Outcome outcome = m_watch.takeUpdate(*m_reader, m_fetchLocation);
    if (outcome == WAlertWatch::Outcome::Failed)
        return;
    Locker lock(*this);
    m_alerts = m_watch.inForce();
    m_alertsPlace = m_fetchLocation;
    Post(WM_ALERTS_READY, 0);
}

// The reader leaves what it could not read as it was, so the observation is fetched into a copy of the last one
// that succeeded. Returns false once the worker is stopping.
bool CUpdateThread::FetchCondition()
{
    if (!PrepareFetch())
        return false;
    // What a report lacks stays as the same place's last report had it; another place's values are no base.
    const LPlaceId place{m_fetchLocation.getState(), m_fetchLocation.getCity()};
    WCondition fetched = place == m_fetchConditionPlace ? m_fetchCondition : unknownCondition();
    const int own = guarded([&] { return m_reader->getCondition(m_fetchLocation, fetched); });
    note(m_cycleResults.condition, own, *m_reader);
    WStationUsed station;
    const int result = FetchNearby(own, fetched, station);
    if (station.isNearby())
        note(m_cycleResults.condition, result, *m_reader);
    if (result != L_OK)
        return true;
    m_fetchCondition = fetched;
    m_fetchConditionPlace = place;
    {
        Locker lock(*this);
        m_condition = m_fetchCondition;
        m_station = station;
        Post(WM_CONDITION_READY, 0);
    }
    return HandOver();
}

// While the place's station is quiet, a nearby one's recent report takes the place of its old one.
int CUpdateThread::FetchNearby(int result, WCondition &condition, WStationUsed &station)
{
    std::string directory;
    {
        Locker lock(*this);
        if (!m_useNearby)
            return result;
        directory = m_stationsDirectory;
    }
    return m_nearby.Fetch(*m_reader, m_fetchLocation, directory, result, condition, calendarOf(m_timing)(), station);
}

// The text is fetched into a string of the worker's own and published by exchanging it with the shared one.
bool CUpdateThread::FetchText(
    TextFetch fetch, std::unique_ptr<LString> &shared, CUpdateResults::Fetch &record, QEvent::Type type, int index)
{
    if (!PrepareFetch())
        return false;
    std::unique_ptr<LString> fetched;
    const int result = guarded([&] {
        fetched = std::make_unique<LString>();
        return ((*m_reader).*fetch)(m_fetchLocation, *fetched);
    });
    note(record, result, *m_reader);
    if (result != L_OK)
        return true;
    {
        Locker lock(*this);
        shared.swap(fetched);
        Post(type, index);
    }
    return HandOver();
}

// The periods and hours of the service's forecast; the state pages have none, so they are not asked for then.
bool CUpdateThread::FetchOutlook()
{
    return !ChecksApart()
        || (FetchOutlookPart(&WReader::getForecastPeriods, m_cycleResults.periods, 0)
            && FetchOutlookPart(&WReader::getForecastHours, m_cycleResults.hours, 1));
}

bool CUpdateThread::FetchOutlookPart(OutlookFetch fetch, CUpdateResults::Fetch &record, int index)
{
    if (!PrepareFetch())
        return false;
    WForecast fetched;
    const int result = guarded([&] { return ((*m_reader).*fetch)(m_fetchLocation, fetched); });
    note(record, result, *m_reader);
    if (result != L_OK)
        return true;
    {
        Locker lock(*this);
        m_outlook[static_cast<std::size_t>(index)] = std::move(fetched);
        Post(WM_OUTLOOK_READY, index);
    }
    return HandOver();
}

// The worker's copy of the other places follows the window's list; results of places no longer listed go.
void CUpdateThread::TakeOtherPlaces()
{
    std::vector<WLocation> places;
    std::chrono::milliseconds check{0};
    {
        Locker lock(*this);
        if (!m_otherPlacesChanged)
            return;
        m_otherPlacesChanged = false;
        places = m_otherPlaces;
        check = std::chrono::minutes(m_checkInterval);
        std::erase_if(m_watched, [&places](const CWatchedResult &watched) {
            return std::none_of(places.begin(), places.end(), [&watched](const WLocation &location) {
                return watched.place == LPlaceId{location.getState(), location.getCity()};
            });
        });
    }
    m_placeWatch.SetPlaces(places, m_timing.clock(), check);
}

// At most one request to another place per tick, so that they never come in a burst.
void CUpdateThread::WatchPlaces()
{
    {
        Locker lock(*this);
        if (!Updating())
            return;
    }
    const CPlaceWatch::Turn turn = m_placeWatch.Next(m_timing.clock());
    if (turn.job == CPlaceWatch::Job::Observation)
        ObservePlace(turn.index);
    else if (turn.job == CPlaceWatch::Job::Alerts)
        CheckPlace(turn.index);
}

// A request to another place runs as a cycle does, so that UpdateNow and Stop cut it short.
bool CUpdateThread::BeginWatchRequest()
{
    Locker lock(*this);
    if (StopRequested() || m_cutCycle || !m_reader)
        return false;
    m_cycleRunning = true;
    m_quietProgress = true;
    return true;
}

// One request: the observation alone. What a report lacks stays as the place's last report had it.
void CUpdateThread::ObservePlace(std::size_t index)
{
    if (!BeginWatchRequest())
        return;
    const WLocation location = m_placeWatch.location(index);
    WCondition fetched = unknownCondition();
    m_placeWatch.lastCondition(index, fetched);
    m_reader->beginUpdate(false);
    const int result = guarded([&] { return m_reader->getCondition(location, fetched); });
    if (result == L_OK) {
        m_placeWatch.setCondition(index, fetched);
        PublishWatched(index, CPlaceEvent::Ready::Observation, [&fetched](CWatchedResult &watched) {
            watched.observed = true;
            watched.condition = fetched;
        });
    }
    if (!ChecksApart() && AlertKindsSet())
        TakePageAlerts(index);
}

// The state pages hold the alerts with the warnings text: the place's alerts come with its observation.
void CUpdateThread::TakePageAlerts(std::size_t index)
{
    const WLocation location = m_placeWatch.location(index);
    LString text;
    if (guarded([&] { return m_reader->getWarnings(location, text); }) != L_OK)
        return;
    WAlertWatch &watch = m_placeWatch.watch(index);
    if (watch.takeUpdate(*m_reader, location) == WAlertWatch::Outcome::Changed)
        PublishWatched(
            index, CPlaceEvent::Ready::Alerts, [&watch](CWatchedResult &watched) { watched.alerts = watch.inForce(); });
}

// The place's own watch asks for its alerts alone; only a change is handed over. After a failure its wait holds.
void CUpdateThread::CheckPlace(std::size_t index)
{
    if (!AlertKindsSet() || !ChecksApart() || !BeginWatchRequest())
        return;
    WAlertWatch &watch = m_placeWatch.watch(index);
    const WAlertWatch::Outcome outcome = watch.check(*m_reader, m_placeWatch.location(index));
    if (outcome == WAlertWatch::Outcome::Failed || outcome == WAlertWatch::Outcome::Waiting)
        m_placeWatch.CheckAgainIn(
            index, m_timing.clock(), std::chrono::seconds(watch.nextCheck() - calendarOf(m_timing)()));
    if (outcome == WAlertWatch::Outcome::Changed)
        PublishWatched(
            index, CPlaceEvent::Ready::Alerts, [&watch](CWatchedResult &watched) { watched.alerts = watch.inForce(); });
}

void CUpdateThread::PublishWatched(
    std::size_t index, CPlaceEvent::Ready ready, const std::function<void(CWatchedResult &)> &take)
{
    {
        Locker lock(*this);
        if (m_cutCycle || StopRequested())
            return;
        const LPlaceId place = m_placeWatch.id(index);
        auto found = std::find_if(m_watched.begin(), m_watched.end(),
            [&place](const CWatchedResult &watched) { return watched.place == place; });
        if (found == m_watched.end())
            found = m_watched.insert(m_watched.end(), CWatchedResult{place, false, unknownCondition(), {}});
        take(*found);
        if (m_window)
            QCoreApplication::postEvent(m_window, new CPlaceEvent(place, ready));
    }
    HandOver();
}

// Leaves the window a moment to copy the result before the next one; false when a stop came meanwhile.
bool CUpdateThread::HandOver()
{
    return !SleepFor(m_timing.handOver);
}

// Posting under the lock means that once SetWindow has changed the window, nothing more reaches the old one.
void CUpdateThread::Post(QEvent::Type type, int index)
{
    Locker lock(*this);
    const std::size_t slot = resultSlot(type, index);
    if (slot < m_resultPlaces.size())
        m_resultPlaces[slot] = {m_fetchLocation.getState(), m_fetchLocation.getCity()};
    if (m_window)
        QCoreApplication::postEvent(m_window, new CUpdateEvent(type, index));
}

} // namespace nimbdesk
