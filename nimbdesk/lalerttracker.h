#pragma once

#include "meteo/reader/walert.h"
#include "nimbdesk/lalertstate.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// Extreme and Severe alerts stay on the screen until dismissed, and may sound.
bool isSevere(const WAlertRecord &alert);

// What the person may choose to be notified of, by the alert's category.
struct LAlertChoice {
    bool warnings = true;
    bool watches = true;
    bool statements = false;
    bool others = false;

    bool wants(WAlertCategory category) const;
};

// One notification to give: one alert, or a summary of several in force at start.
struct LAlertNotice {
    std::vector<WAlertRecord> alerts;
    bool summary = false;
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
// in force and new (or the one notice when there is just one); alerts notified before give nothing.
class LAlertTracker
{
public:
    // What the person must know of the state file: that it was damaged (only its beginning was read), or that
    // notified alerts cannot be remembered in it.
    enum class StateProblem { None, Damaged, Failed };

    // Reads the state; failures to read or write it leave the tracker working for this run (stateProblem()).
    LAlertTracker(LAlertState &state, std::int64_t now);

    void placeChanged();
    LAlertDecision update(const std::vector<WAlertRecord> &alerts, const LAlertChoice &choice, std::int64_t now);
    StateProblem stateProblem() const { return m_stateProblem; }

private:
    std::vector<WAlertRecord> fresh(const std::vector<WAlertRecord> &alerts, const LAlertChoice &choice) const;
    std::string notifiedReference(const WAlertRecord &alert) const;
    std::vector<std::string> ended(const std::vector<WAlertRecord> &alerts);
    void remember(const std::vector<WAlertRecord> &alerts, std::int64_t now);

    LAlertState &m_state;
    bool m_starting = true;
    StateProblem m_stateProblem = StateProblem::None;
    std::set<std::string> m_inForce;
};
