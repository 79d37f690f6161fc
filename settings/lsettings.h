#pragma once

#include "corekit/lkeeper.h"
#include "meteo/reader/wreadersettings.h"

#include <cstdint>
#include <string_view>

namespace settings
{

// The names of the program's settings, section by section, and the defaults laid down at every start.
// Every setting is read and written with the scope flag false.
class LSettings
{
public:
    // Section "General": the update interval (minutes, 0 stops updating), the units, the gauges' colours
    // (0x00BBGGRR) and the fonts of the gauges and of the header label.
    static constexpr const char *GENERAL = "General";
    static constexpr const char *UPDATE_TIMEOUT = "UpdateTimeout";
    // The minutes between updates that the General page accepts; a stored 0 stops updating.
    static constexpr std::uint32_t MIN_INTERVAL = 1;
    static constexpr std::uint32_t MAX_INTERVAL = 180;
    static constexpr std::uint32_t NO_UPDATES = 0;
    // Longer than any interval the options accept, so that it can stand for "no interval yet"; the most a person
    // can type, so that a longer one is refused with a message.
    static constexpr std::uint32_t NO_INTERVAL = 9999;
    static constexpr const char *TEMPERATURE_SCALE = "TemperatureScale";
    static constexpr const char *WIND_SPEED_SCALE = "WindSpeedScale";
    static constexpr const char *PRESSURE_SCALE = "PressureScale";
    static constexpr const char *FOREGROUND_COLOR = "ForegroundColor";
    static constexpr const char *BACKGROUND_COLOR = "BackgroundColor";
    static constexpr const char *FONT = "Font";
    static constexpr const char *HEADER_FONT = "HeaderFont";
    // The gauges' and the special-messages ticker's colour until one is chosen.
    static constexpr std::uint32_t RED = 0x0000ff;

    // Section "Internet": the two server base addresses, the source of the forecast and special messages (1: the
    // NWS web service at API_BASE, 0: the per-state pages at WARNINGS_BASE) and the proxy; the reader reads them
    // and lays down their defaults (meteo/reader/wreadersettings.h).
    static constexpr const char *INTERNET = meteo::WReaderSettings::INTERNET;
    static constexpr const char *CONDITIONS_BASE = meteo::WReaderSettings::CONDITIONS_BASE;
    static constexpr const char *WARNINGS_BASE = meteo::WReaderSettings::WARNINGS_BASE;
    static constexpr const char *PRODUCT_SOURCE = meteo::WReaderSettings::PRODUCT_SOURCE;
    static constexpr const char *API_BASE = meteo::WReaderSettings::API_BASE;
    static constexpr const char *USE_PROXY = meteo::WReaderSettings::USE_PROXY;
    static constexpr const char *PROXY_LOCATION = meteo::WReaderSettings::PROXY_LOCATION;
    // An e-mail address the web service's requests name, so that the service can reach whoever runs the program
    // (empty: none), and whose alerts the web service is asked for (0: the place's point; 1: its forecast zone and
    // county).
    static constexpr const char *CONTACT = meteo::WReaderSettings::CONTACT;
    static constexpr const char *ALERT_AREA = meteo::WReaderSettings::ALERT_AREA;
    // Whether the observation comes from a nearby station while the place's own has nothing recent (default 1).
    static constexpr const char *USE_NEARBY_STATION = "UseNearbyStation";

    // Section "Special": which kinds of special message to fetch, one key each (lmessagekind.h).
    static constexpr const char *SPECIAL = "Special";

    // Section "Notify": which alerts pop a desktop notification (non-zero: notify) by the kind of their event, and
    // whether severe and extreme alerts ask the desktop for a sound.
    static constexpr const char *NOTIFY = "Notify";
    static constexpr const char *NOTIFY_WARNINGS = "Warnings";
    static constexpr const char *NOTIFY_WATCHES = "Watches";
    static constexpr const char *NOTIFY_STATEMENTS = "Statements";
    static constexpr const char *NOTIFY_OTHERS = "Others";
    static constexpr const char *NOTIFY_SOUND = "Sound";
    // The least severity notified (0 Minor, 1 Moderate, 2 Severe, 3 Extreme; default 1), the events never notified
    // ("Wind Advisory;Frost Advisory"), which severities the sound is for (non-zero, the default: played when Sound
    // is on; "Others" is Moderate and Minor), whether extreme alerts and tornado and flash flood warnings are sent
    // again until seen (default 0), and whether extreme and severe alerts are spoken (default 0).
    static constexpr const char *NOTIFY_MIN_SEVERITY = "MinimumSeverity";
    static constexpr const char *NOTIFY_MUTED_EVENTS = "MutedEvents";
    static constexpr const char *NOTIFY_SOUND_EXTREME = "SoundExtreme";
    static constexpr const char *NOTIFY_SOUND_SEVERE = "SoundSevere";
    static constexpr const char *NOTIFY_SOUND_OTHERS = "SoundOthers";
    static constexpr const char *NOTIFY_REPEAT = "RepeatUntilSeen";
    static constexpr const char *NOTIFY_SPEAK = "Speak";
    // Minutes between two checks of the place's alerts while the texts come from the web service (default 1).
    static constexpr const char *NOTIFY_CHECK_MINUTES = "AlertCheckMinutes";
    static constexpr std::uint32_t MIN_CHECK_MINUTES = 1;
    static constexpr std::uint32_t MAX_CHECK_MINUTES = 15;

    // Section "Location": the place's state and city identifiers; no default, the user picks the place.
    static constexpr const char *LOCATION = "Location";
    static constexpr const char *STATE = "State";
    static constexpr const char *CITY = "City";

    // Sections "ForecastTicker" and "WarningsTicker": scrolling delay, text colour and font (keys FONT and these).
    static constexpr const char *FORECAST_TICKER = "ForecastTicker";
    static constexpr const char *WARNINGS_TICKER = "WarningsTicker";
    static constexpr const char *DELAY = "Delay";
    static constexpr const char *TEXT_COLOR = "TextColor";
    // The scrolling delays that the Ticker pages offer; a smaller delay scrolls faster.
    static constexpr std::uint32_t MIN_DELAY = 5;
    static constexpr std::uint32_t MAX_DELAY = 50;

    // The numbers a setting may hold, both ends included.
    struct Range {
        std::uint32_t min;
        std::uint32_t max;
    };
    // The range of an integer setting that the options bound, which reading holds a stored value to; null for the
    // others.
    static const Range *RangeOf(std::string_view section, std::string_view key);

    // The default of an integer setting of General, Special, Notify, ForecastTicker or WarningsTicker, and of
    // UseNearbyStation, which a reader takes where none is stored; 0 for the others.
    static std::uint32_t DefaultOf(std::string_view section, std::string_view key);

    // Writes the default of every setting of General, Special, Notify, ForecastTicker and WarningsTicker, and of
    // UseNearbyStation, that has no value of any type yet (the notifications' sounds, repeating, speaking and least
    // severity excepted: they are read with their defaults). Returns L_OK, or the code of the first write that failed
    // (the later ones are still tried).
    static int InitDefaults(corekit::LKeeper &keeper);
};

} // namespace settings
