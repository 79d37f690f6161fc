#pragma once

#include "settings/lplacelist.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace nimbdesk
{

class CAlertNotifier;
class CPlaceEvent;
class CSavedPlaces;
class CUpdateThread;

// The window's side of watching the saved places that are not shown: it gives the worker the list of them whenever
// the saved places change, takes in what a CPlaceEvent names (an observation for the tray's tip, alerts for the
// switcher's marks and the notifications, which name the place), and, when a notification of such a place is
// clicked, asks for the place to be shown and then for its special messages at the alert, once its update has
// brought them. It sees the worker's events through an event filter on the window, which it installs.
class CWatchedPlaces : public QObject
{
    Q_OBJECT

public:
    // Nothing is owned; all of them outlive this object, which the window owns.
    CWatchedPlaces(CUpdateThread &worker, CSavedPlaces &places, CAlertNotifier &notifier, QObject *window);

signals:
    // The tray's list of places with their temperatures is to be shown anew.
    void tipChanged();
    void placeRequested(std::uint32_t stateId, std::uint32_t cityId);
    // The special messages, at the alert whose text begins with the line.
    void alertRequested(const QString &firstLine);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placesChanged();
    void placeReady(const CPlaceEvent &event);
    void alertClicked(std::uint32_t stateId, std::uint32_t cityId, const QString &firstLine);
    void updateFinished();

    CUpdateThread &m_worker;
    CSavedPlaces &m_places;
    CAlertNotifier &m_notifier;
    // The place of a clicked notification and its alert's first line, until that place's update has finished.
    bool m_pending = false;
    settings::LPlaceId m_pendingPlace;
    QString m_pendingLine;
};

} // namespace nimbdesk
