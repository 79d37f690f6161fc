#include "nimbdesk/window/ckeptvalues.h"

#include "corekit/lex.h"
#include "nimbdesk/freshness/cfreshness.h"

#include <algorithm>
#include <utility>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

bool good(const CUpdateResults::Fetch &fetch)
{
    return fetch.tried && fetch.code == L_OK;
}

bool anySucceeded(const CUpdateResults &results)
{
    return good(results.condition) || good(results.forecast) || good(results.periods) || good(results.hours)
        || std::any_of(results.messages.begin(), results.messages.end(), good);
}

bool sameAlerts(const std::vector<WAlertRecord> &a, const std::vector<WAlertRecord> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
        [](const WAlertRecord &x, const WAlertRecord &y) { return x.id == y.id && x.expires == y.expires; });
}

} // namespace

CKeptValues::CKeptValues(std::string directory)
    : m_cache(std::move(directory))
{
}

std::optional<LPlaceCacheRecord> CKeptValues::Load(
    std::uint32_t state, std::uint32_t city, std::int64_t now, QString &note)
{
    std::string reason;
    LPlaceCacheRecord record;
    const LPlaceCache::Loaded loaded = m_cache.load(state, city, now, record, reason);
    m_record = loaded == LPlaceCache::Loaded::Read ? record : LPlaceCacheRecord();
    m_record.state = state;
    m_record.city = city;
    m_shown.reset();
    m_outlook = {};
    if (loaded == LPlaceCache::Loaded::Read)
        return record;
    if (loaded != LPlaceCache::Loaded::Missing)
        note = tr("The values kept from the last run were not used: %1.").arg(QString::fromStdString(reason));
    return std::nullopt;
}

void CKeptValues::ConditionShown(const WCondition &condition, const WStationUsed &station)
{
    m_shown = condition;
    m_shownStation = station;
}

void CKeptValues::OutlookShown(int index, const WForecast &forecast)
{
    m_outlook[index == 0 ? 0 : 1] = forecast;
}

QString CKeptValues::CycleFinished(const CUpdateResults &results, const CFreshness &freshness,
    const std::vector<WAlertRecord> &alerts, const WLocation &alertsPlace, std::int64_t now)
{
    if (results.state != m_record.state || results.city != m_record.city) {
        m_record = LPlaceCacheRecord();
        m_record.state = results.state;
        m_record.city = results.city;
    }
    if (!anySucceeded(results))
        return QString();
    if (good(results.condition) && m_shown) {
        m_record.condition = m_shown;
        m_record.station = m_shownStation;
    }
    if (good(results.periods) && m_outlook[0])
        m_record.periods = m_outlook[0];
    if (good(results.hours) && m_outlook[1])
        m_record.hours = m_outlook[1];
    m_record.forecast = freshness.KeptText(CFreshness::FORECAST);
    for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind)
        m_record.messages[kind] = freshness.KeptText(kind);
    if (samePlace(alertsPlace))
        m_record.alerts = alerts;
    return save(now);
}

QString CKeptValues::AlertsReady(
    const std::vector<WAlertRecord> &alerts, const WLocation &alertsPlace, std::int64_t now)
{
    if (!samePlace(alertsPlace) || m_record.written == 0 || sameAlerts(alerts, m_record.alerts))
        return QString();
    m_record.alerts = alerts;
    return save(now);
}

bool CKeptValues::samePlace(const WLocation &place) const
{
    return m_record.state != 0 && place.getState() == m_record.state && place.getCity() == m_record.city;
}

QString CKeptValues::save(std::int64_t now)
{
    m_record.written = now;
    std::string reason;
    if (m_cache.save(m_record, reason) == 0) {
        m_failureTold = false;
        return QString();
    }
    if (std::exchange(m_failureTold, true))
        return QString();
    return tr("The last values cannot be kept for the next start: %1.").arg(QString::fromStdString(reason));
}

} // namespace nimbdesk
