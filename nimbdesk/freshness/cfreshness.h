#pragma once

#include "nimbdesk/freshness/cupdateresults.h"
#include "settings/lplacecache.h"

#include <QCoreApplication>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nimbdesk
{

// How fresh the window's weather is. It keeps the last good forecast and special messages with the time they were
// fetched, so that a fetch that fails leaves its text in the ticker marked with that time ("[as of 1:50 PM] ..."),
// while a message that is no longer in force, or is older than its kind stays true, goes. It knows the
// observation's own time, and after each cycle it tells in one line what failed and when everything last updated,
// and in a few lines the whole story.
//
// Times are calendar times (seconds since 1970-01-01 00:00:00 UTC), told in the machine's local time. The texts
// are worded through the application's translation, in UTF-8.
class CFreshness
{
    Q_DECLARE_TR_FUNCTIONS(CFreshness)

public:
    // The items are the kinds of special message by settings::indexOf, and the forecast beside them.
    static constexpr int FORECAST = settings::MESSAGE_KIND_COUNT;
    static constexpr int ITEMS = FORECAST + 1;
    // An observation older than this is old; one ahead of the clock by more than AHEAD_LIMIT is not fresh either.
    static constexpr std::int64_t OLD_AFTER = 2 * 3600;
    static constexpr std::int64_t AHEAD_LIMIT = 10 * 60;

    enum class Age { None, Fresh, Old, Ahead };

    // As the results of a cycle arrive: the text of an item, the observation's time.
    void TextArrived(int item, const std::string &text);
    void Observed(std::int64_t time);
    // Another place is shown, of which nothing is known yet: no observation, no texts, no update.
    void ForgetPlace(std::uint32_t state, std::uint32_t city);
    // Settles the cycle: keeps the texts that arrived, holds on to those whose fetch failed, drops what expired,
    // and tells the story. Texts of another place than the last cycle's are dropped first.
    void CycleFinished(const CUpdateResults &results, std::int64_t now);
    // Settles the texts an alert check fetched because the alerts changed: those that came are fresh, a kind with
    // nothing left in force goes, and one whose fetch failed stays as the last cycle left it. The status line
    // adds the time of the change to what it said of the last cycle. A check for another place than the last cycle's is
    // left to the next cycle.
    void AlertsChecked(const CUpdateResults &results, std::int64_t now);
    // A text made anew from the alerts still in force when one expired: it keeps its time; an empty one goes.
    // Only a text shown now is replaced.
    void AlertsExpired(int item, const std::string &text);

    // Takes what was kept of the place from before the start: its texts are shown marked with their time, as texts
    // kept from an earlier cycle are, until a cycle replaces them; those older than their kind stays true are left
    // out. The status line says whose values these are until the first cycle ends.
    void Restore(const settings::LPlaceCacheRecord &record, std::int64_t now);
    // A line for the status line now and for the story of the first cycle: what became of the kept values.
    void NoteAtStart(const std::string &line);
    // The window shows what was kept from before the start, and no cycle has ended since.
    bool ShowingKept() const { return m_showingKept; }
    // The text held for an item and when it was fetched; empty when none is held.
    std::optional<settings::LCachedText> KeptText(int item) const;

    // The forecast as its ticker shows it: "[as of 1:50 PM] .TODAY..." when kept from an earlier cycle.
    std::string ForecastText() const;
    // The special messages in the order of a cycle, kept ones marked in the same way.
    std::vector<std::string> MessageTexts() const;
    // "Last updated: 12/07/26 13:50:12", or what failed: "Forecast and warnings not updated: cannot connect to
    // server. Last full update 1:50 PM."
    const std::string &StatusLine() const { return m_statusLine; }
    // The last cycle item by item, one line each.
    const std::string &Story() const { return m_story; }
    bool LastCycleFailed() const { return m_failed; }

    Age ObservationAge(std::int64_t now) const;
    // The observation's time; 0 before the first.
    std::int64_t ObservedTime() const { return m_observed; }
    // "Observed 1:54 PM CST", "Observed 10:54 AM, 3 h ago"; empty before the first observation.
    std::string ObservedLine(std::int64_t now) const;
    // For the tray icon's tip: "1:54 PM", "observed 3 h ago".
    std::string ObservedNote(std::int64_t now) const;

private:
    struct Kept {
        std::string text;
        std::int64_t time = 0;
        bool held = false;
        // Fetched in the last cycle; otherwise kept from an earlier one.
        bool fresh = false;
    };
    struct Failure {
        int item;
        // "cannot connect to server", "not found (404)".
        std::string reason;
    };

    void changePlace(const CUpdateResults &results);
    void startPlace(std::uint32_t state, std::uint32_t city);
    void settleObservation(const CUpdateResults::Fetch &fetch, std::int64_t now);
    void settleText(int item, const CUpdateResults::Fetch &fetch, std::int64_t now);
    QString failedText(int item, const QString &reason, std::int64_t now);
    void tell(int item, const QString &what);
    void noteCycle(const CUpdateResults &results, std::int64_t now);
    std::string failureLine(bool anySucceeded, std::int64_t now) const;
    std::string observedAt(std::int64_t now) const;
    std::string markedText(int item) const;

    std::uint32_t m_state = 0;
    std::uint32_t m_city = 0;
    std::array<Kept, ITEMS> m_kept;
    std::array<std::string, ITEMS> m_arrived;
    std::int64_t m_observed = 0;
    bool m_hasObservation = false;

    std::vector<Failure> m_failures;
    bool m_failed = false;
    std::int64_t m_firstCycle = 0;
    std::int64_t m_lastCycle = 0;
    std::int64_t m_lastSuccess = 0;
    std::int64_t m_lastFullUpdate = 0;
    std::string m_statusLine;
    // The status line as the last cycle left it, before any alert check added to it.
    std::string m_cycleLine;
    std::string m_story;
    bool m_showingKept = false;
    std::string m_startNote;
};

} // namespace nimbdesk
