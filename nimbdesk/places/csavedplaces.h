#pragma once

#include "meteo/base/walert.h"
#include "meteo/base/wcondition.h"
#include "nimbdesk/places/lplacememory.h"
#include "settings/lplacelist.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace corekit
{
class LKeeper;
}

namespace nimbdesk
{

class CPlaceSwitcher;

// The window's saved places: the list as stored, the place shown, the last values of each, and the switcher in
// the header. Switching writes [Location] as Select Location does; the window then applies the settings and starts
// an update.
class CSavedPlaces : public QObject
{
    Q_OBJECT

public:
    // Neither the keeper nor the switcher is owned; the values' store is.
    CSavedPlaces(corekit::LKeeper &keeper, CPlaceSwitcher *switcher, std::unique_ptr<LPlaceValues> values,
        QObject *parent = nullptr);

    // Reads the list and the place shown again; returns what was left out of the list, one entry each
    // ("'19/x': not STATE_ID/CITY_ID"), for the person to be told.
    QStringList Reload();
    const settings::LPlaceId &Shown() const { return m_shown; }
    const std::vector<settings::LPlaceId> &Places() const { return m_places; }
    // Makes the place the one shown: [Location] State and City.
    void Show(const settings::LPlaceId &place);

    // The observation of the place shown has arrived.
    void Remember(const meteo::WCondition &condition);
    // The observation of another saved place has arrived.
    void Remember(const settings::LPlaceId &place, const meteo::WCondition &condition);
    bool Recall(const settings::LPlaceId &place, meteo::WCondition &condition) const;
    // For the tray's tip, each saved place with its last temperature in whole degrees: "Des Moines 27°, Bismarck
    // −5°" ("--" for a place not yet observed); empty with one place, which the tip names already.
    QString TipLine(bool fahrenheit) const;
    // "Des Moines, Iowa", one per saved place in their order, and the index of the shown one.
    QStringList Names() const;
    int ShownIndex() const;
    // The alerts in force at a place: the switcher marks the place with its gravest warning.
    void AlertsFor(const settings::LPlaceId &place, const std::vector<meteo::WAlertRecord> &alerts);

signals:
    void switchRequested(std::uint32_t stateId, std::uint32_t cityId);
    // The list or the place shown changed: the places not shown are others now.
    void listChanged();

private:
    corekit::LKeeper &m_keeper;
    CPlaceSwitcher *m_switcher;
    std::unique_ptr<LPlaceValues> m_values;
    std::vector<settings::LPlaceId> m_places;
    settings::LPlaceId m_shown;
};

} // namespace nimbdesk
