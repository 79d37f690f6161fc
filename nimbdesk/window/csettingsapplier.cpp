#include "nimbdesk/window/csettingsapplier.h"

#include "meteo/base/wlocation.h"
#include "meteo/base/wrecords.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/common/fontconvert.h"
#include "nimbdesk/common/lstringqt.h"
#include "nimbdesk/forecast/cforecastpanel.h"
#include "nimbdesk/gauges/cweatherline.h"
#include "nimbdesk/gauges/cwlabel.h"
#include "nimbdesk/gauges/cwpres.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/gauges/cwtemp.h"
#include "nimbdesk/gauges/cwwind.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "nimbdesk/worker/cupdatethread.h"
#include "settings/lfontrecord.h"
#include "settings/lmessagekind.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"

#include <QFont>

#include <array>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

CSettingsApplier::CSettingsApplier(LWinKeeper &keeper, CUpdateThread &worker, const CSettingsTargets &targets)
    : m_keeper(keeper)
    , m_worker(worker)
    , m_targets(targets)
{
}

void CSettingsApplier::Apply()
{
    applyInterval();
    applyCheckInterval();
    ApplyPlace();
    applyProductFlags();
    applyNearbyStation();
    applyColors();
    applyFonts();
    applyUnits();
    applyTicker(LSettings::FORECAST_TICKER, m_targets.forecastTicker);
    applyTicker(LSettings::WARNINGS_TICKER, m_targets.specialTicker);
}

// Before the first place is chosen there is none to read, and the worker keeps its empty one.
void CSettingsApplier::ApplyPlace()
{
    std::uint32_t state = 0;
    std::uint32_t city = 0;
    if (!readInt(LSettings::LOCATION, LSettings::STATE, state) || !readInt(LSettings::LOCATION, LSettings::CITY, city))
        return;
    if (state == m_state && city == m_city)
        return;
    m_state = state;
    m_city = city;
    WLocation location;
    WLocationDB::getLocationDB().makeUSLocation(state, city, location);
    m_worker.SetLocation(location);
    showPlaceName(state, city);
}

bool CSettingsApplier::PlaceStored()
{
    std::uint32_t state = 0;
    std::uint32_t city = 0;
    WLocation location;
    return readInt(LSettings::LOCATION, LSettings::STATE, state) && readInt(LSettings::LOCATION, LSettings::CITY, city)
        && WLocationDB::getLocationDB().makeUSLocation(state, city, location) == 0;
}

std::array<CWcontrol *, 5> CSettingsApplier::headerAndGauges() const
{
    return {m_targets.header, m_targets.temperature, m_targets.dewPoint, m_targets.wind, m_targets.pressure};
}

bool CSettingsApplier::readInt(const char *section, const char *key, std::uint32_t &value)
{
    return m_keeper.GetInt(section, key, value, false) == L_OK;
}

bool CSettingsApplier::readFont(const char *section, const char *key, QFont &font)
{
    LBinary binary;
    LFontRecord record;
    if (m_keeper.GetBinary(section, key, binary, false) != L_OK || !record.fromBinary(binary))
        return false;
    font = fontFromRecord(record, screenPixelsPerInch(m_targets.header));
    return true;
}

void CSettingsApplier::applyInterval()
{
    std::uint32_t minutes = 0;
    if (!readInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, minutes))
        return;
    const int interval = static_cast<std::int32_t>(minutes);
    if (interval == m_interval)
        return;
    m_interval = interval;
    m_worker.SetInterval(interval);
}

void CSettingsApplier::applyCheckInterval()
{
    std::uint32_t minutes = 0;
    if (!readInt(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES, minutes))
        return;
    const int checkInterval = static_cast<std::int32_t>(minutes);
    if (checkInterval == m_checkInterval)
        return;
    m_checkInterval = checkInterval;
    m_worker.SetCheckInterval(checkInterval);
}

// The stations come from the same location files as the place.
void CSettingsApplier::applyNearbyStation()
{
    std::uint32_t use = LSettings::DefaultOf(LSettings::INTERNET, LSettings::USE_NEARBY_STATION);
    readInt(LSettings::INTERNET, LSettings::USE_NEARBY_STATION, use);
    const LString &directory = WLocationDB::getLocationDB().getDirectory();
    m_worker.SetNearbyStation(use != 0, std::string(directory, directory.length()));
}

void CSettingsApplier::applyProductFlags()
{
    for (const LMessageKindInfo &kind : messageKinds()) {
        std::uint32_t shown = 0;
        if (readInt(LSettings::SPECIAL, kind.key, shown))
            m_worker.SetProductFlag(indexOf(kind.kind), shown != 0 ? 1 : 0);
    }
}

void CSettingsApplier::applyColors()
{
    std::uint32_t fore = 0;
    std::uint32_t back = 0;
    const bool foreRead = readInt(LSettings::GENERAL, LSettings::FOREGROUND_COLOR, fore);
    const bool backRead = readInt(LSettings::GENERAL, LSettings::BACKGROUND_COLOR, back);
    for (CWcontrol *control : headerAndGauges()) {
        if (foreRead)
            control->SetForeColor(fore);
        if (backRead)
            control->SetBackColor(back);
    }
    if (backRead) {
        m_targets.forecastTicker->SetBackColor(back);
        m_targets.specialTicker->SetBackColor(back);
    }
    if (foreRead && backRead)
        m_targets.tray->SetColors(fore, back);
}

void CSettingsApplier::applyFonts()
{
    QFont font;
    if (readFont(LSettings::GENERAL, LSettings::FONT, font)) {
        for (CWcontrol *control : headerAndGauges())
            control->SetFont(font);
    }
    if (readFont(LSettings::GENERAL, LSettings::HEADER_FONT, font))
        m_targets.header->SetFont(font);
}

void CSettingsApplier::applyUnits()
{
    std::uint32_t scale = 0;
    if (readInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, scale)) {
        m_targets.temperature->SetScale(scale != 0 ? 1 : 0);
        m_targets.dewPoint->SetScale(scale != 0 ? 1 : 0);
        m_targets.tray->SetFahrenheit(scale != 0);
        m_targets.words->SetScale(scale != 0 ? WCondition::Fahrenheit : WCondition::Celsius);
        m_targets.outlook->SetFahrenheit(scale != 0);
    }
    if (readInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, scale)) {
        m_targets.wind->SetUnit(scale == 0 ? CWwind::MPH : CWwind::KMPH);
        // Distances and heights in words follow the wind: miles and feet with miles per hour.
        m_targets.words->SetDistance(
            scale == 0 ? WObservationWords::Distance::Imperial : WObservationWords::Distance::Metric);
    }
    if (readInt(LSettings::GENERAL, LSettings::PRESSURE_SCALE, scale))
        m_targets.pressure->SetUnit(scale <= 2 ? static_cast<short>(scale) : CWpres::INHG);
}

void CSettingsApplier::applyTicker(const char *section, CWptkr *ticker)
{
    std::uint32_t value = 0;
    if (readInt(section, LSettings::TEXT_COLOR, value))
        ticker->SetForeColor(value);
    QFont font;
    if (readFont(section, LSettings::FONT, font))
        ticker->SetFont(font);
    if (readInt(section, LSettings::DELAY, value))
        ticker->SetDelay(static_cast<std::int32_t>(value));
}

void CSettingsApplier::showPlaceName(std::uint32_t state, std::uint32_t city)
{
    m_targets.header->SetText(PlaceName(state, city));
}

QString CSettingsApplier::PlaceName(std::uint32_t state, std::uint32_t city)
{
    const WLocationDB &database = WLocationDB::getLocationDB();
    WState stateRecord;
    WCity cityRecord;
    if (database.getState(state, stateRecord) != 0 || database.getCity(city, cityRecord) != 0)
        return QString();
    return QStringLiteral("%1, %2").arg(toQString(cityRecord.getName()), toQString(stateRecord.getName()));
}

} // namespace nimbdesk
