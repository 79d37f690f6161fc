#pragma once

#include "settings/lsettings.h"

#include <array>
#include <cstdint>

#include <QString>

namespace settings
{
class LWinKeeper;
}
class QFont;
class QWidget;

namespace nimbdesk
{

class CForecastPanel;
class CTrayIcon;
class CUpdateThread;
class CWeatherLine;
class CWcontrol;
class CWlabel;
class CWpres;
class CWptkr;
class CWtemp;
class CWwind;

// The controls of the main window that the settings reach.
struct CSettingsTargets {
    CWlabel *header = nullptr;
    CWtemp *temperature = nullptr;
    CWtemp *dewPoint = nullptr;
    CWwind *wind = nullptr;
    CWpres *pressure = nullptr;
    CWptkr *forecastTicker = nullptr;
    CWptkr *specialTicker = nullptr;
    CTrayIcon *tray = nullptr;
    CWeatherLine *words = nullptr;
    CForecastPanel *outlook = nullptr;
};

// Reads the stored settings and passes each on: colours, fonts and units to the controls and the tray, the interval,
// the place, the kinds of special message and whether a nearby station stands in to the worker. A setting that
// cannot be read leaves its target as it was (the nearby station takes its default). The worker gets the interval
// and the place only when they changed, since either starts a cycle at once.
class CSettingsApplier
{
public:
    CSettingsApplier(settings::LWinKeeper &keeper, CUpdateThread &worker, const CSettingsTargets &targets);

    void Apply();
    void ApplyPlace();
    // A place whose state or city the location files no longer list counts as none, so that the user is asked
    // again instead of watching a window that never updates.
    bool PlaceStored();
    // "Springfield, Illinois"; empty when the location files do not list the place.
    static QString PlaceName(std::uint32_t state, std::uint32_t city);
    // The place last passed to the worker; 0 before one was.
    std::uint32_t state() const { return m_state; }
    std::uint32_t city() const { return m_city; }
    // The interval last passed to the worker, in minutes.
    int interval() const { return m_interval; }

private:
    std::array<CWcontrol *, 5> headerAndGauges() const;
    bool readInt(const char *section, const char *key, std::uint32_t &value);
    bool readFont(const char *section, const char *key, QFont &font);
    void applyInterval();
    void applyCheckInterval();
    void applyProductFlags();
    void applyNearbyStation();
    void applyColors();
    void applyFonts();
    void applyUnits();
    void applyTicker(const char *section, CWptkr *ticker);
    void showPlaceName(std::uint32_t state, std::uint32_t city);

    settings::LWinKeeper &m_keeper;
    CUpdateThread &m_worker;
    const CSettingsTargets m_targets;
    // No setting holds this interval, so that the first apply always passes the interval on.
    int m_interval = static_cast<int>(settings::LSettings::NO_INTERVAL);
    // Passed on only when it changed, since passing it puts off the next check.
    int m_checkInterval = 0;
    std::uint32_t m_state = 0;
    std::uint32_t m_city = 0;
};

} // namespace nimbdesk
