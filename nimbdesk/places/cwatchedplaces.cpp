#include "nimbdesk/places/cwatchedplaces.h"

#include "meteo/location/wlocationdb.h"
#include "nimbdesk/alerts/calertnotifier.h"
#include "nimbdesk/places/csavedplaces.h"
#include "nimbdesk/places/placename.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "nimbdesk/worker/cupdatethread.h"

#include <vector>

using namespace meteo;
using namespace settings;

namespace nimbdesk
{

CWatchedPlaces::CWatchedPlaces(CUpdateThread &worker, CSavedPlaces &places, CAlertNotifier &notifier, QObject *window)
    : QObject(window)
    , m_worker(worker)
    , m_places(places)
    , m_notifier(notifier)
{
    connect(&m_places, &CSavedPlaces::listChanged, this, &CWatchedPlaces::placesChanged);
    connect(&m_notifier, &CAlertNotifier::otherAlertActivated, this, &CWatchedPlaces::alertClicked);
    window->installEventFilter(this);
}

// The window handles every event as well: only the places' own event ends here.
bool CWatchedPlaces::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == WM_PLACE_READY) {
        placeReady(*static_cast<CPlaceEvent *>(event));
        return true;
    }
    if (event->type() == WM_UPDATE_FINISHED && m_pending)
        updateFinished();
    return QObject::eventFilter(watched, event);
}

void CWatchedPlaces::placesChanged()
{
    std::vector<WLocation> others;
    for (const LPlaceId &place : m_places.Places()) {
        WLocation location;
        if (!(place == m_places.Shown())
            && WLocationDB::getLocationDB().makeUSLocation(place.stateId, place.cityId, location) == 0)
            others.push_back(location);
    }
    m_worker.SetOtherPlaces(others);
}

// A result may arrive just after its place became the one shown: the shown place's own update tells of it then.
void CWatchedPlaces::placeReady(const CPlaceEvent &event)
{
    CWatchedResult result;
    if (event.place() == m_places.Shown() || !m_worker.CopyWatched(event.place(), result))
        return;
    if (event.ready() == CPlaceEvent::Ready::Observation) {
        if (result.observed) {
            m_places.Remember(result.place, result.condition);
            emit tipChanged();
        }
        return;
    }
    m_places.AlertsFor(result.place, result.alerts);
    WLocation location;
    WLocationDB::getLocationDB().makeUSLocation(result.place.stateId, result.place.cityId, location);
    m_notifier.UpdateOther(result.alerts, location, placeName(result.place));
}

void CWatchedPlaces::alertClicked(std::uint32_t stateId, std::uint32_t cityId, const QString &firstLine)
{
    m_pending = true;
    m_pendingPlace = {stateId, cityId};
    m_pendingLine = firstLine;
    emit placeRequested(stateId, cityId);
}

// The window takes in the update's texts after this filter has seen its end, so the alert is asked for after that.
void CWatchedPlaces::updateFinished()
{
    CUpdateResults results;
    m_worker.CopyResults(results);
    // The update of the place shown before the click may still end first.
    if (!(LPlaceId{results.state, results.city} == m_pendingPlace))
        return;
    m_pending = false;
    if (!(m_places.Shown() == m_pendingPlace))
        return;
    const QString line = m_pendingLine.trimmed();
    m_pendingLine.clear();
    QMetaObject::invokeMethod(
        this, [this, line] { emit alertRequested(line); }, Qt::QueuedConnection);
}

} // namespace nimbdesk
