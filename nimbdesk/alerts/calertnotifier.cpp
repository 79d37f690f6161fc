#include "nimbdesk/alerts/calertnotifier.h"

#include "corekit/lex.h"
#include "corekit/lkeeper.h"
#include "meteo/base/wlocation.h"
#include "nimbdesk/common/lstringqt.h"
#include "nimbdesk/speech/lspeechdispatcher.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "settings/lsettings.h"

#include <QSystemTrayIcon>

#include <algorithm>
#include <chrono>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

// Texts from the service reach the desktop without control characters; line feeds stay.
QString cleaned(const std::string &text)
{
    QString out = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    out.removeIf([](QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\n'); });
    return out;
}

// The headline, then the description's first paragraph, whose lines the service breaks at about 65 characters,
// joined back into one: "At 140 AM EST, a severe thunderstorm ... was located near Mineola...".
QString bodyOf(const WAlertRecord &alert)
{
    const QString description = cleaned(alert.description).trimmed();
    const QString paragraph = description.section(QStringLiteral("\n\n"), 0, 0).simplified();
    QStringList lines{cleaned(alert.headline).simplified(), paragraph};
    lines.removeAll(QString());
    return lines.join(QLatin1Char('\n'));
}

// How a summary counts each category, in the order it names them. No translation is loaded, so "%n warning(s)"
// would reach the person as written: one alert has a text of its own.
struct CategoryCount {
    WAlertCategory category;
    const char *one;
    const char *several;
};

constexpr CategoryCount CATEGORY_COUNTS[] = {
    {WAlertCategory::Warning, QT_TRANSLATE_NOOP("CAlertNotifier", "1 warning"),
        QT_TRANSLATE_NOOP("CAlertNotifier", "%n warnings")},
    {WAlertCategory::Watch, QT_TRANSLATE_NOOP("CAlertNotifier", "1 watch"),
        QT_TRANSLATE_NOOP("CAlertNotifier", "%n watches")},
    {WAlertCategory::Statement, QT_TRANSLATE_NOOP("CAlertNotifier", "1 statement"),
        QT_TRANSLATE_NOOP("CAlertNotifier", "%n statements")},
    {WAlertCategory::Other, QT_TRANSLATE_NOOP("CAlertNotifier", "1 other alert"),
        QT_TRANSLATE_NOOP("CAlertNotifier", "%n other alerts")},
};

// "2 warnings and 1 watch in force for Des Moines, Iowa".
QString summaryTitle(const std::vector<WAlertRecord> &alerts, const QString &placeName)
{
    QStringList parts;
    for (const CategoryCount &text : CATEGORY_COUNTS) {
        const int count = static_cast<int>(std::count_if(alerts.begin(), alerts.end(),
            [&text](const WAlertRecord &alert) { return alertCategory(alert) == text.category; }));
        if (count == 1)
            parts << CAlertNotifier::tr(text.one);
        else if (count > 1)
            parts << CAlertNotifier::tr(text.several, nullptr, count);
    }
    return CAlertNotifier::tr("%1 in force for %2").arg(parts.join(CAlertNotifier::tr(" and ")), placeName);
}

// "Tornado Warning — Des Moines, Iowa", or the summary's title.
QString titleOf(const LAlertNotice &notice, const QString &placeName)
{
    switch (notice.kind) {
    case LNoticeKind::Alert:
        break;
    case LNoticeKind::InForce:
        return summaryTitle(notice.alerts, placeName);
    case LNoticeKind::More:
        return CAlertNotifier::tr("%n more alerts for %1", nullptr, static_cast<int>(notice.alerts.size()))
            .arg(placeName);
    }
    return CAlertNotifier::tr("%1 — %2").arg(cleaned(notice.alerts.front().event), placeName);
}

// The sound of the freedesktop sound theme for the gravest severity at or above each entry's, and the option that
// switches it off.
struct SeveritySound {
    LSeverity least;
    const char *key;
    const char *name;
};

constexpr SeveritySound SOUNDS[] = {
    {LSeverity::Extreme, LSettings::NOTIFY_SOUND_EXTREME, "alarm-clock-elapsed"},
    {LSeverity::Severe, LSettings::NOTIFY_SOUND_SEVERE, "dialog-warning"},
    {LSeverity::Minor, LSettings::NOTIFY_SOUND_OTHERS, "message-new-instant"},
};

const SeveritySound &soundFor(LSeverity severity)
{
    return *std::find_if(std::begin(SOUNDS), std::end(SOUNDS),
        [severity](const SeveritySound &sound) { return severity >= sound.least; });
}

LSeverity gravestOf(const std::vector<WAlertRecord> &alerts)
{
    LSeverity gravest = LSeverity::Minor;
    for (const WAlertRecord &alert : alerts)
        gravest = std::max(gravest, severityOf(alert));
    return gravest;
}

// The events sent again until seen, besides every Extreme alert.
bool mustNotBeMissed(const WAlertRecord &alert)
{
    return severityOf(alert) == LSeverity::Extreme || alert.event == "Tornado Warning"
        || alert.event == "Flash Flood Warning";
}

QStringList eventsOf(const std::vector<WAlertRecord> &alerts)
{
    QStringList events;
    for (const WAlertRecord &alert : alerts)
        events << cleaned(alert.event);
    return events;
}

// A summary's lines: each event once, in the order they came, with how many there are where more than one:
// "Severe Thunderstorm Warning", "Flood Warning (14)".
QString summaryLines(const QStringList &events)
{
    QStringList names;
    std::vector<int> counts;
    for (const QString &event : events) {
        const qsizetype at = names.indexOf(event);
        if (at >= 0) {
            ++counts[static_cast<std::size_t>(at)];
        } else {
            names << event;
            counts.push_back(1);
        }
    }
    QStringList lines;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const int count = counts[static_cast<std::size_t>(i)];
        lines << (count == 1 ? names[i] : CAlertNotifier::tr("%1 (%n)", nullptr, count).arg(names[i]));
    }
    return lines.join(QLatin1Char('\n'));
}

std::uint64_t placeKey(std::uint32_t state, std::uint32_t city)
{
    return std::uint64_t{state} << 32 | city;
}

std::uint64_t placeKey(const WLocation &place)
{
    return placeKey(place.getState(), place.getCity());
}

const WAlertRecord *findAlert(const std::vector<WAlertRecord> &alerts, const QString &id)
{
    const auto found = std::find_if(alerts.begin(), alerts.end(),
        [&id](const WAlertRecord &alert) { return QString::fromStdString(alert.id) == id; });
    return found == alerts.end() ? nullptr : &*found;
}

QString firstLineOf(const WAlertRecord *alert)
{
    const std::string text = alert ? alert->text : std::string();
    return cleaned(text.substr(0, text.find('\n')));
}

} // namespace

CAlertNotifier::CAlertNotifier(LKeeper *keeper, CTrayIcon *tray, const std::string &statePath,
    const QDBusConnection &bus, Clock clock, QObject *parent)
    : QObject(parent)
    , m_keeper(keeper)
    , m_tray(tray)
    , m_clock(std::move(clock))
    , m_state(statePath)
    , m_tracker(m_state, now())
    , m_desktop(bus)
    , m_repeater(m_desktop, [this] { return now(); })
{
    connect(&m_desktop, &CDesktopNotifier::failed, this, &CAlertNotifier::fallBack);
    connect(&m_desktop, &CDesktopNotifier::activated, this, &CAlertNotifier::activate);
    connect(&m_desktop, &CDesktopNotifier::dismissed, &m_repeater, &CAlertRepeater::Seen);
    connect(&m_desktop, &CDesktopNotifier::muteAsked, this, &CAlertNotifier::mute);
    if (m_tray)
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] { activate(m_balloonKey); });
}

// The place shown before becomes one of the others, its alerts marked until its own checks say otherwise.
void CAlertNotifier::Update(const std::vector<WAlertRecord> &alerts, const WLocation &place, const QString &placeName)
{
    if (place.getState() != m_placeState || place.getCity() != m_placeCity) {
        if (m_placeState != 0)
            m_others[placeKey(m_placeState, m_placeCity)] = {m_alerts, m_placeName};
        m_placeState = place.getState();
        m_placeCity = place.getCity();
        m_others.erase(placeKey(place));
    }
    m_alerts = alerts;
    m_placeName = placeName;
    m_storms.Update(alerts, place, windSpeedScale());
    notify(alerts, place, placeName);
}

void CAlertNotifier::UpdateOther(
    const std::vector<WAlertRecord> &alerts, const WLocation &place, const QString &placeName)
{
    if (place.getState() == m_placeState && place.getCity() == m_placeCity)
        return;
    m_others[placeKey(place)] = {alerts, placeName};
    notify(alerts, place, placeName);
}

// New notices go out before ended alerts are closed, so that an update first takes over the notification of the
// alert it replaces.
void CAlertNotifier::notify(const std::vector<WAlertRecord> &alerts, const WLocation &place, const QString &placeName)
{
    m_tracker.follow(placeKey(place));
    const LAlertDecision decision = m_tracker.update(alerts, readChoice(), now());
    for (const LAlertNotice &notice : decision.notices)
        give(notice, placeName);
    for (const std::string &id : decision.ended) {
        m_repeater.Seen(QString::fromStdString(id));
        m_desktop.Close(QString::fromStdString(id));
    }
    showMark();
    reportState();
}

void CAlertNotifier::give(const LAlertNotice &notice, const QString &placeName)
{
    const CDesktopNotifier::Notice out = noticeOf(notice, placeName);
    m_desktop.Notify(out);
    if (notice.kind == LNoticeKind::Alert && mustNotBeMissed(notice.alerts.front())
        && readFlag(LSettings::NOTIFY_REPEAT))
        m_repeater.Start(out);
    // The gravest of a flood has a notice of its own.
    if (notice.kind != LNoticeKind::More && readFlag(LSettings::NOTIFY_SPEAK)) {
        for (const WAlertRecord &alert : notice.alerts) {
            if (severityOf(alert) >= LSeverity::Severe)
                speak(alert);
        }
    }
}

void CAlertNotifier::setSpeaker(std::unique_ptr<LSpeaker> speaker)
{
    m_speaker = std::move(speaker);
}

// "Tornado Warning. Tornado Warning issued December 7 at 5:40AM CST by NWS Upton NY"; that it cannot be spoken is
// said once until speaking works again. The speaker tells on a thread of its own, so the answer is posted back.
void CAlertNotifier::speak(const WAlertRecord &alert)
{
    if (!m_speaker)
        m_speaker = std::make_unique<LSpeechDispatcher>();
    const QString text
        = cleaned(alert.event).simplified() + QStringLiteral(". ") + cleaned(alert.headline).simplified();
    m_speaker->Say(text.toStdString(), [this](const std::string &failure) {
        QMetaObject::invokeMethod(
            this, [this, spoken = failure.empty()] { spoken ? speechWorks() : speechFailed(); }, Qt::QueuedConnection);
    });
}

void CAlertNotifier::speechWorks()
{
    m_speechFailed = false;
}

void CAlertNotifier::speechFailed()
{
    if (!m_speechFailed)
        emit statusMessage(tr("Alerts cannot be spoken: the speech service cannot be reached"));
    m_speechFailed = true;
}

void CAlertNotifier::Refresh()
{
    showMark();
}

QColor CAlertNotifier::severityColor(const std::string &severity)
{
    switch (severityRank(severity)) {
    case 0:
        return QColor(0xb0, 0x00, 0xc0);
    case 1:
        return QColor(0xe0, 0x00, 0x00);
    case 2:
        return QColor(0xff, 0x8c, 0x00);
    default:
        return QColor(0xf0, 0xc0, 0x00);
    }
}

LAlertChoice CAlertNotifier::readChoice() const
{
    LAlertChoice choice;
    choice.warnings = readFlag(LSettings::NOTIFY_WARNINGS);
    choice.watches = readFlag(LSettings::NOTIFY_WATCHES);
    choice.statements = readFlag(LSettings::NOTIFY_STATEMENTS);
    choice.others = readFlag(LSettings::NOTIFY_OTHERS);
    std::uint32_t minimum = static_cast<std::uint32_t>(choice.minimum);
    if (m_keeper)
        m_keeper->GetInt(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY, minimum, false);
    choice.minimum = static_cast<LSeverity>(std::min(minimum, static_cast<std::uint32_t>(LSeverity::Extreme)));
    for (const QString &event : mutedEvents())
        choice.muted.insert(event.toStdString());
    return choice;
}

// "Wind Advisory;Frost Advisory".
QStringList CAlertNotifier::mutedEvents() const
{
    LString text;
    if (m_keeper)
        m_keeper->GetString(LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS, text, false);
    QStringList events = toQString(text).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &event : events)
        event = event.trimmed();
    return events;
}

// The event joins the muted ones, and the status line says how to undo it.
void CAlertNotifier::mute(const QString &key)
{
    m_repeater.Seen(key);
    const auto found = std::find_if(m_alerts.begin(), m_alerts.end(),
        [&key](const WAlertRecord &alert) { return QString::fromStdString(alert.id) == key; });
    if (found == m_alerts.end() || !m_keeper)
        return;
    const QString event = cleaned(found->event);
    QStringList events = mutedEvents();
    if (!events.contains(event))
        events << event;
    if (m_keeper->SetString(
            LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS, toLString(events.join(QLatin1Char(';'))), false)
        != L_OK) {
        emit statusMessage(
            tr("Cannot keep the choice not to notify %1 again: the settings cannot be written").arg(event));
        return;
    }
    emit statusMessage(tr("%1 will not be notified again; Edit > Options > Notifications undoes it").arg(event));
}

bool CAlertNotifier::readFlag(const char *key) const
{
    std::uint32_t value = LSettings::DefaultOf(LSettings::NOTIFY, key);
    if (m_keeper)
        m_keeper->GetInt(LSettings::NOTIFY, key, value, false);
    return value != 0;
}

std::uint32_t CAlertNotifier::windSpeedScale() const
{
    std::uint32_t scale = 0;
    if (m_keeper)
        m_keeper->GetInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, scale, false);
    return scale;
}

// The text, and below it where the alert's storm is: "Storm 12 mi SW of you, moving NE at 43 mph; ...".
QString CAlertNotifier::withStorm(const QString &text, const WAlertRecord &alert) const
{
    const QString storm = cleaned(m_storms.LineOf(alert, now()));
    return storm.isEmpty() ? text : text + QLatin1Char('\n') + storm;
}

// Only a single alert offers to mute its event: a summary names several.
CDesktopNotifier::Notice CAlertNotifier::noticeOf(const LAlertNotice &notice, const QString &placeName) const
{
    CDesktopNotifier::Notice out;
    const bool severe = std::any_of(notice.alerts.begin(), notice.alerts.end(), isSevere);
    for (const WAlertRecord &alert : notice.alerts)
        out.keys << QString::fromStdString(alert.id);
    const QStringList events = eventsOf(notice.alerts);
    out.title = titleOf(notice, placeName);
    out.body = notice.kind == LNoticeKind::Alert ? withStorm(bodyOf(notice.alerts.front()), notice.alerts.front())
                                                 : summaryLines(events);
    out.critical = severe;
    out.sound = soundOf(gravestOf(notice.alerts));
    if (notice.kind == LNoticeKind::Alert)
        out.muteEvent = events.front();
    out.replaces = QString::fromStdString(notice.replaces);
    // The events of a flood would not fit on the status line.
    out.brief = tr("New: %1").arg(notice.kind == LNoticeKind::More ? out.title : events.join(QStringLiteral(", ")));
    return out;
}

QString CAlertNotifier::soundOf(LSeverity severity) const
{
    const SeveritySound &sound = soundFor(severity);
    if (!readFlag(LSettings::NOTIFY_SOUND) || !readFlag(sound.key))
        return QString();
    return QLatin1String(sound.name);
}

// Each problem with the state file is said once, on the status line.
void CAlertNotifier::reportState()
{
    const LAlertTracker::StateProblem problem = m_tracker.stateProblem();
    if (problem == m_stateReported)
        return;
    m_stateReported = problem;
    const QString path = QString::fromStdString(m_state.path());
    switch (problem) {
    case LAlertTracker::StateProblem::None:
        break;
    case LAlertTracker::StateProblem::Damaged:
        emit statusMessage(tr("The file of notified alerts %1 is damaged: only its first megabyte was read").arg(path));
        break;
    case LAlertTracker::StateProblem::Failed:
        emit statusMessage(tr("Cannot remember notified alerts in %1").arg(path));
        break;
    }
}

// Without a notification service the tray icon's message tells; without a tray, the status line, and nothing
// takes the focus.
void CAlertNotifier::fallBack(const CDesktopNotifier::Notice &notice)
{
    m_repeater.Seen(notice.keys.value(0));
    const CTraySystem::Message message{notice.title, notice.body,
        notice.critical ? QSystemTrayIcon::Critical : QSystemTrayIcon::Warning, notice.critical ? 0 : 10000};
    if (m_tray && m_tray->ShowMessage(message)) {
        m_balloonKey = notice.keys.value(0);
        return;
    }
    emit statusMessage(notice.brief);
}

// The mark counts the warnings in force at every saved place and takes the colour of the gravest; the tip lists
// their events, each with where its storm is, those of the other places with the place's name.
void CAlertNotifier::showMark()
{
    std::vector<std::pair<const WAlertRecord *, QString>> warnings;
    const auto collect = [&warnings](const std::vector<WAlertRecord> &alerts, const QString &place) {
        for (const WAlertRecord &alert : alerts) {
            if (alertCategory(alert) == WAlertCategory::Warning)
                warnings.emplace_back(&alert, place);
        }
    };
    collect(m_alerts, QString());
    for (const auto &[key, other] : m_others)
        collect(other.alerts, other.name);
    const auto gravest = std::min_element(warnings.begin(), warnings.end(),
        [](const auto &a, const auto &b) { return severityRank(a.first->severity) < severityRank(b.first->severity); });
    QStringList lines;
    for (const auto &[warning, place] : warnings)
        lines << (place.isEmpty() ? withStorm(cleaned(warning->event), *warning)
                                  : tr("%1 — %2").arg(cleaned(warning->event), place));
    if (m_tray)
        m_tray->ShowAlerts(lines, gravest == warnings.end() ? QColor() : severityColor(gravest->first->severity));
}

// An alert of another place asks for that place to be shown.
void CAlertNotifier::activate(const QString &id)
{
    m_repeater.Seen(id);
    if (const WAlertRecord *alert = findAlert(m_alerts, id)) {
        emit alertActivated(firstLineOf(alert));
        return;
    }
    for (const auto &[key, other] : m_others) {
        if (const WAlertRecord *alert = findAlert(other.alerts, id)) {
            emit otherAlertActivated(
                static_cast<std::uint32_t>(key >> 32), static_cast<std::uint32_t>(key), firstLineOf(alert));
            return;
        }
    }
    emit alertActivated(QString());
}

std::int64_t CAlertNotifier::now() const
{
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace nimbdesk
