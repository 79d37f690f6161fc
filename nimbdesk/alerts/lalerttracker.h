#pragma once

#include "meteo/base/walert.h"
#include "nimbdesk/alerts/lalertstate.h"
#include "settings/lsettings.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace nimbdesk
{

// Extreme and Severe alerts stay on the screen until dismissed, and may sound.
bool isSevere(const meteo::WAlertRecord &alert);

// The severities in the order they are stored in the options: "MinimumSeverity=int:2" is Severe.
enum class LSeverity { Minor, Moderate, Severe, Extreme };

// An alert whose severity the service does not know ("Unknown") counts as Moderate.
LSeverity severityOf(const meteo::WAlertRecord &alert);

// What the person may choose to be notified of: by the alert's category, its severity and its event.
struct LAlertChoice {
    static bool notifiedByDefault(const char *key)
    {
        return settings::LSettings::DefaultOf(settings::LSettings::NOTIFY, key) != 0;
    }

    // By default, as the settings have it.
    bool warnings = notifiedByDefault(settings::LSettings::NOTIFY_WARNINGS);
    bool watches = notifiedByDefault(settings::LSettings::NOTIFY_WATCHES);
    bool statements = notifiedByDefault(settings::LSettings::NOTIFY_STATEMENTS);
    bool others = notifiedByDefault(settings::LSettings::NOTIFY_OTHERS);
    LSeverity minimum = static_cast<LSeverity>(
        settings::LSettings::DefaultOf(settings::LSettings::NOTIFY, settings::LSettings::NOTIFY_MIN_SEVERITY));
    // Events never notified: "Wind Advisory".
    std::set<std::string> muted;

    bool wants(meteo::WAlertCategory category) const;
    bool wants(const meteo::WAlertRecord &alert) const;
};

// What a notification stands for: one alert; a summary of what is in force at start ("2 warnings in force for
// Des Moines, Iowa"); or the rest of a flood of new alerts, beside the gravest ("27 more alerts for Des Moines,
// Iowa").
enum class LNoticeKind { Alert, InForce, More };

// One notification to give.
struct LAlertNotice {
    std::vector<meteo::WAlertRecord> alerts;
    LNoticeKind kind = LNoticeKind::Alert;
    // For a single alert that updates one notified before: that alert's id, whose notification it replaces.
    std::string replaces;
};

struct LAlertDecision {
    std::vector<LAlertNotice> notices;
    // Alerts of the last batch that are no longer in force.
    std::vector<std::string> ended;
};

// Decides which alerts of each batch the person is told of: each alert of a chosen kind once, remembered in the
// state until it expires. The first batch after the start or a change of place gives one summary for what is
// in force and new (or the one notice when there is just one); alerts notified before give nothing. Later batches
// give a notice per new alert, up to MAX_SEPARATE of them; more give the gravest alone and a summary of the rest.
// Each place has its batches apart: which of its alerts are in force, and whether its first batch came.
class LAlertTracker
{
public:
    // A notification service shown hundreds of persistent notifications at once has been seen to die.
    static constexpr std::size_t MAX_SEPARATE = 3;

    // What the person must know of the state file: that it was damaged (only its beginning was read), or that
    // notified alerts cannot be remembered in it.
    enum class StateProblem { None, Damaged, Failed };

    // Reads the state; failures to read or write it leave the tracker working for this run (stateProblem()).
    LAlertTracker(LAlertState &state, std::int64_t now);

    // The batches that follow are the place's (any number that tells places apart, as 100000 * state + city);
    // a place not followed before starts with a summary.
    void follow(std::uint64_t place);
    LAlertDecision update(const std::vector<meteo::WAlertRecord> &alerts, const LAlertChoice &choice, std::int64_t now);
    StateProblem stateProblem() const { return m_stateProblem; }

private:
    std::vector<meteo::WAlertRecord> fresh(
        const std::vector<meteo::WAlertRecord> &alerts, const LAlertChoice &choice) const;
    std::vector<LAlertNotice> noticesOf(std::vector<meteo::WAlertRecord> news) const;
    LAlertNotice single(const meteo::WAlertRecord &alert) const;
    std::string notifiedReference(const meteo::WAlertRecord &alert) const;
    std::vector<std::string> ended(const std::vector<meteo::WAlertRecord> &alerts);
    void remember(const std::vector<meteo::WAlertRecord> &alerts, std::int64_t now);

    struct PlaceBatches {
        bool starting = true;
        std::set<std::string> inForce;
    };

    LAlertState &m_state;
    StateProblem m_stateProblem = StateProblem::None;
    std::map<std::uint64_t, PlaceBatches> m_places;
    PlaceBatches *m_place = &m_places[0];
};

} // namespace nimbdesk
