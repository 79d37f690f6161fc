#include "nimbdesk/places/csavedplaces.h"

#include "corekit/lkeeper.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/places/cplaceswitcher.h"
#include "nimbdesk/places/placename.h"
#include "settings/lsettings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

bool listed(const LPlaceId &place)
{
    WLocation location;
    return WLocationDB::getLocationDB().makeUSLocation(place.stateId, place.cityId, location) == 0;
}

// The event of the most severe warning, the first of equals; empty when none is in force.
QString gravestWarning(const std::vector<WAlertRecord> &alerts)
{
    const WAlertRecord *gravest = nullptr;
    for (const WAlertRecord &alert : alerts) {
        if (alertCategory(alert) == WAlertCategory::Warning
            && (!gravest || severityRank(alert.severity) < severityRank(gravest->severity)))
            gravest = &alert;
    }
    return gravest ? QString::fromStdString(gravest->event) : QString();
}

// "27°", "−5°" with the minus sign, "--" unknown.
QString degrees(const WCondition *condition, bool fahrenheit)
{
    if (!condition)
        return QStringLiteral("--");
    const double celsius = condition->getTemp();
    const long rounded = std::lround(fahrenheit ? celsius * 9.0 / 5.0 + 32.0 : celsius);
    const QString number = QString::number(std::labs(rounded));
    return (rounded < 0 ? QStringLiteral("\u2212") : QString()) + number + QStringLiteral("°");
}

} // namespace

CSavedPlaces::CSavedPlaces(
    LKeeper &keeper, CPlaceSwitcher *switcher, std::unique_ptr<LPlaceValues> values, QObject *parent)
    : QObject(parent)
    , m_keeper(keeper)
    , m_switcher(switcher)
    , m_values(std::move(values))
{
    connect(m_switcher, &CPlaceSwitcher::placeChosen, this, &CSavedPlaces::switchRequested);
}

QStringList CSavedPlaces::Reload()
{
    LPlaceList::Parsed parsed = LPlaceList::Load(m_keeper);
    LPlaceList::DropMissing(parsed, &listed);
    m_places = parsed.places;
    m_shown = {};
    LPlaceList::Shown(m_keeper, m_shown);
    m_switcher->SetPlaces(m_places, m_shown);
    QStringList notes;
    for (const std::string &note : parsed.damaged)
        notes << QString::fromStdString(note);
    emit listChanged();
    return notes;
}

void CSavedPlaces::Show(const LPlaceId &place)
{
    m_keeper.SetInt(LSettings::LOCATION, LSettings::STATE, place.stateId, false);
    m_keeper.SetInt(LSettings::LOCATION, LSettings::CITY, place.cityId, false);
    m_shown = place;
    m_switcher->SetPlaces(m_places, m_shown);
    emit listChanged();
}

void CSavedPlaces::Remember(const WCondition &condition)
{
    m_values->Remember(m_shown, condition);
}

void CSavedPlaces::Remember(const LPlaceId &place, const WCondition &condition)
{
    m_values->Remember(place, condition);
}

bool CSavedPlaces::Recall(const LPlaceId &place, WCondition &condition) const
{
    return m_values->Recall(place, condition);
}

QString CSavedPlaces::TipLine(bool fahrenheit) const
{
    if (m_places.size() < 2)
        return QString();
    QStringList parts;
    for (const LPlaceId &place : m_places) {
        WCondition condition;
        const bool known = m_values->Recall(place, condition);
        parts << QStringLiteral("%1 %2").arg(cityName(place), degrees(known ? &condition : nullptr, fahrenheit));
    }
    return parts.join(QStringLiteral(", "));
}

QStringList CSavedPlaces::Names() const
{
    QStringList names;
    for (const LPlaceId &place : m_places)
        names << placeName(place);
    return names;
}

int CSavedPlaces::ShownIndex() const
{
    const auto found = std::find(m_places.begin(), m_places.end(), m_shown);
    return found == m_places.end() ? -1 : static_cast<int>(found - m_places.begin());
}

void CSavedPlaces::AlertsFor(const LPlaceId &place, const std::vector<WAlertRecord> &alerts)
{
    m_switcher->SetWarning(place, gravestWarning(alerts));
}

} // namespace nimbdesk
