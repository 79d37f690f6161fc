#pragma once

#include "meteo/base/walert.h"
#include "nimbdesk/alerts/calertrepeater.h"
#include "nimbdesk/alerts/cdesktopnotifier.h"
#include "nimbdesk/alerts/lalertstate.h"
#include "nimbdesk/alerts/lalerttracker.h"
#include "nimbdesk/alerts/lstormnotes.h"
#include "nimbdesk/speech/lspeaker.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corekit
{
class LKeeper;
}
namespace meteo
{
class WLocation;
}

namespace nimbdesk
{

class CTrayIcon;

// Tells the person of new alerts for their place: a desktop notification for each new alert of the kinds chosen
// in the options ("Tornado Warning — Des Moines, Iowa"), one summary for what is in force at start or after a
// change of place, the gravest and a summary of the rest when many come at once ("27 more alerts for Des Moines,
// Iowa"), the tray icon's message where the desktop has no notification service, and the status line where it has
// neither. It also marks the tray icon while warnings are in force.
class CAlertNotifier : public QObject
{
    Q_OBJECT

public:
    // Seconds since 1970.
    using Clock = std::function<std::int64_t()>;

    // The options are read from the keeper at every batch; the notified alerts are kept in the state file.
    CAlertNotifier(corekit::LKeeper *keeper, CTrayIcon *tray, const std::string &statePath, const QDBusConnection &bus,
        Clock clock = {}, QObject *parent = nullptr);

    // One update cycle's alerts in force for the place, named "Des Moines, Iowa". The first batch of a place, at
    // start or after a change, sums up what is in force.
    void Update(
        const std::vector<meteo::WAlertRecord> &alerts, const meteo::WLocation &place, const QString &placeName);
    // The alerts in force at another saved place than the one shown, as its own checks found them: notified as
    // the shown place's are, once per alert, and marked in the tray with the place's name.
    void UpdateOther(
        const std::vector<meteo::WAlertRecord> &alerts, const meteo::WLocation &place, const QString &placeName);
    // Tells anew in the tray's tip where the warnings' storms are: the estimates move on with the clock.
    void Refresh();
    // Where the storms of the alerts of the last batch are.
    const LStormNotes &storms() const { return m_storms; }
    // Sends again, in place of themselves, the notifications due by the clock; a timer calls it every
    // CAlertRepeater::INTERVAL.
    void Repeat() { m_repeater.Beat(); }
    bool isRepeating() const { return m_repeater.isRepeating(); }
    // What speaks extreme and severe alerts where the options ask; by default the desktop's speech service.
    void setSpeaker(std::unique_ptr<LSpeaker> speaker);

    // The colour of the tray's mark for the gravest severity among the alerts.
    static QColor severityColor(const std::string &severity);

signals:
    // The person clicked a notification: the first line of the alert's text in the special messages.
    void alertActivated(const QString &firstLine);
    // As alertActivated, for an alert of another place than the one shown.
    void otherAlertActivated(std::uint32_t stateId, std::uint32_t cityId, const QString &firstLine);
    // For the status line: "New: Tornado Warning", or that the notified alerts cannot be remembered.
    void statusMessage(const QString &text);

private:
    struct OtherPlace {
        std::vector<meteo::WAlertRecord> alerts;
        QString name;
    };

    void notify(
        const std::vector<meteo::WAlertRecord> &alerts, const meteo::WLocation &place, const QString &placeName);
    void give(const LAlertNotice &notice, const QString &placeName);
    LAlertChoice readChoice() const;
    QStringList mutedEvents() const;
    void mute(const QString &key);
    QString soundOf(LSeverity severity) const;
    void speak(const meteo::WAlertRecord &alert);
    void speechWorks();
    void speechFailed();
    // A setting of section Notify, its default when none can be read.
    bool readFlag(const char *key) const;
    std::uint32_t windSpeedScale() const;
    QString withStorm(const QString &text, const meteo::WAlertRecord &alert) const;
    CDesktopNotifier::Notice noticeOf(const LAlertNotice &notice, const QString &placeName) const;
    void reportState();
    void fallBack(const CDesktopNotifier::Notice &notice);
    void showMark();
    void activate(const QString &id);
    std::int64_t now() const;

    corekit::LKeeper *m_keeper;
    CTrayIcon *m_tray;
    Clock m_clock;
    LAlertState m_state;
    LAlertTracker m_tracker;
    CDesktopNotifier m_desktop;
    CAlertRepeater m_repeater;
    std::unique_ptr<LSpeaker> m_speaker;
    bool m_speechFailed = false;
    std::vector<meteo::WAlertRecord> m_alerts;
    LStormNotes m_storms;
    // The alert of the tray message last shown, which a click on the message opens.
    QString m_balloonKey;
    LAlertTracker::StateProblem m_stateReported = LAlertTracker::StateProblem::None;
    std::uint32_t m_placeState = 0;
    std::uint32_t m_placeCity = 0;
    QString m_placeName;
    // The alerts of the other places, by placeKey.
    std::map<std::uint64_t, OtherPlace> m_others;
};

} // namespace nimbdesk
