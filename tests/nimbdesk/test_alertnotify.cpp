// New alerts reach the person as desktop notifications: the real window and worker against a loopback web service
// that serves a scripted sequence of alert answers, and a notification server of the test's own on a private
// session bus started for the run.
#include "meteo/base/wlocation.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/alerts/calertnotifier.h"
#include "nimbdesk/places/cplaceswitcher.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "nimbdesk/window/cmaindlg.h"
#include "nimbdesk/window/ctextviewdlg.h"
#include "nimbdesk/worker/cnetworkwatch.h"
#include "nimbdesk/worker/cresumewatch.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "settings/lplacecache.h"
#include "settings/lplacelist.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/desktoptray.h"
#include "tests/support/httpserver.h"
#include "tests/support/tempdir.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

using namespace std::chrono_literals;

// East Williston, New York, in forecast zone NYZ177.
constexpr std::uint32_t NEW_YORK = 36;
constexpr std::uint32_t EAST_WILLISTON = 3623217;
const QString PLACE = QStringLiteral("East Williston, New York");

// One alert of the active-alert listing, in force until 2999.
std::string alert(
    const std::string &id, const std::string &event, const std::string &severity, const std::string &references = "")
{
    return R"({"properties": {"id": ")" + id + R"(", "status": "Actual", "messageType": ")"
        + (references.empty() ? "Alert" : "Update") + R"(", "event": ")" + event + R"(", "severity": ")" + severity
        + R"(", "sent": "2026-12-07T05:40:00-06:00", "expires": "2999-01-01T00:00:00+00:00", "headline": ")" + event
        + R"( issued December 7 at 5:40AM CST by NWS Upton NY", "description": "At 540 AM, a confirmed tornado was located near Mineola.\nHAZARD...Damaging tornado.", "references": [)"
        + (references.empty() ? "" : R"({"identifier": ")" + references + R"("})") + "]}}";
}

// The same alert, expiring at a moment of the test's calendar.
std::string expiringAt(std::string text, std::int64_t expires)
{
    const std::time_t at = static_cast<std::time_t>(expires);
    std::tm utc{};
    gmtime_r(&at, &utc);
    char time[32];
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%S+00:00", &utc);
    const std::string far = "2999-01-01T00:00:00+00:00";
    return text.replace(text.find(far), far.size(), time);
}

std::string listing(const std::vector<std::string> &alerts)
{
    std::string text = R"({"type": "FeatureCollection", "features": [)";
    for (std::size_t i = 0; i < alerts.size(); ++i)
        text += (i ? ", " : "") + alerts[i];
    return text + "]}";
}

const std::string TORNADO = alert("urn:tor.1", "Tornado Warning", "Extreme");
const std::string TORNADO_UPDATE = alert("urn:tor.2", "Tornado Warning", "Extreme", "urn:tor.1");
const std::string WATCH = alert("urn:watch.1", "Severe Thunderstorm Watch", "Severe");
const std::string SEVERE = alert("urn:svr.1", "Severe Thunderstorm Warning", "Severe");
const std::string FLOOD = alert("urn:ffw.1", "Flash Flood Warning", "Severe");

// A warning whose storm was half a degree (55.6 km) south of the place five minutes ago, coming north at 37 kt
// (68.5 km/h): 49.9 km (31 mi) away now.
std::string stormWarning()
{
    const std::time_t fixed = std::time(nullptr) - 300;
    std::tm utc{};
    gmtime_r(&fixed, &utc);
    char time[32];
    std::strftime(time, sizeof time, "%Y-%m-%dT%H:%M:%S-00:00", &utc);
    std::string text = alert("urn:svr.storm", "Severe Thunderstorm Warning", "Severe");
    return text.insert(text.find('{', 1) + 1,
        R"("parameters": {"eventMotionDescription": [")" + std::string(time)
            + R"(...storm...180DEG...37KT...40.2608,-73.6336"]}, )");
}

} // namespace

// The notification service as the desktop offers it, recording every call.
class NotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call {
        uint replaces;
        QString title;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
        uint id;
    };

    std::vector<Call> calls;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString &, uint replaces, const QString &, const QString &title, const QString &body,
        const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        const uint id = replaces != 0 ? replaces : ++m_last;
        calls.push_back({replaces, title, body, actions, hints, timeout, id});
        return id;
    }
    void CloseNotification(uint id) { closed.push_back(id); }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }

signals:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    uint m_last = 0;
};

// Counts the batches of alerts the window has been given (each cycle ends with one), the cycles begun and the
// worker's events that bring results.
class AlertBatches : public QObject
{
public:
    int count = 0;
    int cycles = 0;
    int events = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const int type = static_cast<int>(event->type());
        if (type >= WM_UPDATE_STARTED && type <= WM_ALERTS_CHECKED && type != WM_INFO_TEXT && type != WM_INFO_CLEAR)
            ++events;
        if (type == WM_ALERTS_READY)
            ++count;
        if (type == WM_UPDATE_STARTED)
            ++cycles;
        return false;
    }
};

class TestAlertNotify : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void damagedStateIsSaid();
    void scriptedSequence();
    void floodOfAlerts();
    void summaryAtStartCountsInWords();
    void stormOfAWarning();
    void muteActionMutesEvent();
    void severityThresholdAndSounds();
    void repeatedUntilClosed();
    void graveAlertsSpokenOnce();
    void checkBringsANewWarningWithoutACycle();
    void updateNowAsksAgainAfterAFailure();
    void resumeSignalChecksAtOnce();
    void clockJumpTellsOfAResume();
    void networkComingBackIsTold();
    void alertLeavesAtItsExpiry();
    void keptAlertsAreShownNotNotified();
    void statusLineWithoutNotificationService();
    void trayMessageWithoutNotificationService();
    void otherPlaceWarningNotifiedOnceWithItsName();

private:
    std::size_t alertRequests() const;
    void advance(std::chrono::milliseconds time);
    void serve(const std::vector<std::string> &alerts);
    CMainDlg &open();
    bool cycle();
    std::vector<NotificationServer::Call> callsFor(const std::vector<std::string> &alerts, const std::string &marker);
    std::size_t callsUntil(const QString &titleStart, std::size_t before);

    QProcess m_bus;
    NotificationServer m_server;
    nimbreltest::TempDir m_settings;
    nimbreltest::HttpServer m_http;
    // The reader's calendar: each cycle moves it on, so that no answer of the service stands from the last.
    std::atomic<std::int64_t> m_now{1796000000};
    // The worker's steady clock, in milliseconds: it moves only when a test moves it.
    std::atomic<std::int64_t> m_steady{0};
    AlertBatches m_batches;
    std::unique_ptr<CMainDlg> m_window;
};

// The private bus replaces the session bus for the whole run before anything connects to it, so nothing reaches
// the desktop of whoever runs the tests.
void TestAlertNotify::initTestCase()
{
    m_bus.start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    QVERIFY2(m_bus.waitForReadyRead(10000), "dbus-daemon did not start");
    const QByteArray address = m_bus.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    // The same bus stands in for the system bus, where logind tells of a resume.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    QDBusConnection server = QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("server"));
    QVERIFY(server.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_server,
        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(server.registerService(QStringLiteral("org.freedesktop.Notifications")));

    WLocationDB::initLocationDB(NIMBREL_SOURCE_DIR "/data");
    nimbreltest::clearProxyEnvironment();
    LWinKeeper keeper("Nimbrel", m_settings.path().string());
    LSettings::InitDefaults(keeper);
    keeper.SetInt(LSettings::LOCATION, LSettings::STATE, NEW_YORK, false);
    keeper.SetInt(LSettings::LOCATION, LSettings::CITY, EAST_WILLISTON, false);
    keeper.SetString(LSettings::INTERNET, LSettings::CONDITIONS_BASE, m_http.url("/current/").c_str(), false);
    keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, m_http.url("/api/").c_str(), false);
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_WATCHES, 0, false);
}

void TestAlertNotify::cleanupTestCase()
{
    m_window.reset();
    WLocationDB::closeLocationDB();
    QDBusConnection::disconnectFromBus(QStringLiteral("server"));
    m_bus.kill();
    m_bus.waitForFinished();
}

// A state file past its bound is read up to it, and the status line says that it was damaged.
void TestAlertNotify::damagedStateIsSaid()
{
    nimbreltest::TempDir folder;
    const std::string path = folder.write("notified-alerts", std::string(LAlertState::MAX_SIZE + 1, '\n'));
    CAlertNotifier notifier(nullptr, nullptr, path, QDBusConnection(QStringLiteral("none")), [] { return 0; });
    QSignalSpy said(&notifier, &CAlertNotifier::statusMessage);
    notifier.Update({}, WLocation(), PLACE);
    QCOMPARE(said.size(), 1);
    const QString text = said.at(0).at(0).toString();
    QVERIFY2(text.contains(QLatin1String("damaged")) && text.contains(QString::fromStdString(path)), qPrintable(text));
    notifier.Update({}, WLocation(), PLACE);
    QCOMPARE(said.size(), 1);
}

// What is in force at start is summed up in one notification, its counts in words for one and for several.
void TestAlertNotify::summaryAtStartCountsInWords()
{
    const auto record = [](const std::string &id, const std::string &event, WAlertKind kind) {
        WAlertRecord alert;
        alert.id = id;
        alert.event = event;
        alert.kind = kind;
        alert.severity = "Severe";
        return alert;
    };
    const std::vector<WAlertRecord> inForce = {record("urn:s.1", "Flood Warning", WAlertKind::Warning),
        record("urn:s.2", "Tornado Watch", WAlertKind::Watch), record("urn:s.3", "Flood Watch", WAlertKind::Watch)};
    const std::size_t before = m_server.calls.size();
    CAlertNotifier notifier(nullptr, nullptr, "", QDBusConnection::sessionBus(), [] { return 1796000000; });
    notifier.Update(inForce, WLocation(), PLACE);
    QTRY_COMPARE(m_server.calls.size(), before + 1);
    QCOMPARE(m_server.calls.back().title, QStringLiteral("1 warning and 2 watches in force for ") + PLACE);
}

// The place's alerts by its coordinates and, without them, by its zone.
void TestAlertNotify::serve(const std::vector<std::string> &alerts)
{
    for (const char *path : {"/api/alerts/active/zone/NYZ177", "/api/alerts/active?point=40.7608,-73.6336"})
        m_http.page(path, listing(alerts));
}

CMainDlg &TestAlertNotify::open()
{
    CUpdateTiming timing;
    timing.clock = [this] { return std::chrono::steady_clock::time_point(std::chrono::milliseconds(m_steady.load())); };
    timing.tick = 5ms;
    timing.handOver = 1ms;
    timing.calendar = [this] { return m_now.load(); };
    m_window = std::make_unique<CMainDlg>(m_settings.path().string(), timing);
    m_window->installEventFilter(&m_batches);
    return *m_window;
}

// One whole cycle, asked for as "Update Now" asks, up to the window's handling of its alerts.
bool TestAlertNotify::cycle()
{
    const int before = m_batches.count;
    m_now += 3600;
    m_window->UpdateNow();
    return QTest::qWaitFor([this, before] { return m_batches.count > before; });
}

// The notifications of one cycle bringing the alerts (none of them a Flood Warning): a cycle that adds the marker
// alert follows, and its notification shows that those of the cycle before have all arrived.
std::vector<NotificationServer::Call> TestAlertNotify::callsFor(
    const std::vector<std::string> &alerts, const std::string &marker)
{
    const std::size_t before = m_server.calls.size();
    serve(alerts);
    if (!cycle())
        return {};
    std::vector<std::string> withMarker = alerts;
    withMarker.push_back(alert(marker, "Flood Warning", "Moderate"));
    serve(withMarker);
    const QString markerTitle = QStringLiteral("Flood Warning — ") + PLACE;
    const auto marked = [this, before, &markerTitle] {
        return m_server.calls.size() > before && m_server.calls.back().title == markerTitle;
    };
    if (!cycle() || !QTest::qWaitFor(marked))
        return {};
    return {m_server.calls.begin() + static_cast<std::ptrdiff_t>(before), m_server.calls.end() - 1};
}

// Each step that must give no call is followed by one that gives exactly one, whose count shows that the step
// before gave none (a batch's calls go out before the next batch comes).
void TestAlertNotify::scriptedSequence()
{
    serve({});
    QVERIFY(open().Start());
    QVERIFY(QTest::qWaitFor([this] { return m_batches.count == 1; }));

    serve({TORNADO});
    QVERIFY(cycle());
    QTRY_COMPARE(m_server.calls.size(), std::size_t(1));
    const NotificationServer::Call first = m_server.calls[0];
    QCOMPARE(first.title, QStringLiteral("Tornado Warning — ") + PLACE);
    QVERIFY(first.body.startsWith(QLatin1String("Tornado Warning issued December 7")));
    QCOMPARE(first.hints.value(QStringLiteral("urgency")).value<uchar>(), uchar(2));
    QVERIFY(!first.hints.contains(QStringLiteral("sound-name")));
    QCOMPARE(first.timeout, 0);
    QCOMPARE(first.replaces, 0u);
    QTRY_VERIFY(m_window->trayIcon()->toolTip().endsWith(QLatin1String("\nTornado Warning")));

    QVERIFY(cycle());
    serve({TORNADO_UPDATE});
    QVERIFY(cycle());
    QTRY_COMPARE(m_server.calls.size(), std::size_t(2));
    QCOMPARE(m_server.calls[1].replaces, first.id);
    QVERIFY(m_server.closed.empty());

    // Restarted on the same state file, with a watch while watches are switched off.
    m_window.reset();
    const int batches = m_batches.count;
    QVERIFY(open().Start());
    QVERIFY(QTest::qWaitFor([this, batches] { return m_batches.count > batches; }));
    serve({TORNADO_UPDATE, WATCH});
    QVERIFY(cycle());
    serve({TORNADO_UPDATE, WATCH, SEVERE});
    QVERIFY(cycle());
    QTRY_COMPARE(m_server.calls.size(), std::size_t(3));
    QCOMPARE(m_server.calls[2].title, QStringLiteral("Severe Thunderstorm Warning — ") + PLACE);
    QCOMPARE(m_server.calls[2].replaces, 0u);

    // The default action brings the window back, with the special messages at the alert.
    m_window->hide();
    QString selected;
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, poll, [&selected, poll] {
        auto *dialog = qobject_cast<CTextViewDlg *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        selected = dialog->selectedText();
        dialog->accept();
    });
    poll->start(5);
    emit m_server.ActionInvoked(m_server.calls[2].id, QStringLiteral("default"));
    QTRY_VERIFY(!selected.isEmpty());
    QVERIFY(m_window->isVisible());
    QVERIFY2(selected.startsWith(QLatin1String("SEVERE THUNDERSTORM WARNING - ")), qPrintable(selected));
}

// Thirty new alerts at once give the gravest and a summary of the rest; three give one each.
void TestAlertNotify::floodOfAlerts()
{
    std::vector<std::string> flood;
    for (int i = 0; i < 30; ++i) {
        flood.push_back(i == 17 ? alert("urn:flood.tor", "Tornado Warning", "Extreme")
                                : alert("urn:flood." + std::to_string(i), "Severe Thunderstorm Warning", "Severe"));
    }
    std::vector<NotificationServer::Call> calls = callsFor(flood, "urn:marker.1");
    QVERIFY2(calls.size() >= 2 && calls.size() <= 4, qPrintable(QString::number(calls.size())));
    const auto titled = [&calls](const QString &title) {
        return std::any_of(calls.begin(), calls.end(), [&title](const auto &call) { return call.title == title; });
    };
    QVERIFY(titled(QStringLiteral("Tornado Warning — ") + PLACE));
    QVERIFY(titled(QStringLiteral("29 more alerts for ") + PLACE));
    // The summary names each event once, with its count.
    const auto summary = std::find_if(
        calls.begin(), calls.end(), [](const auto &call) { return call.title.startsWith(QLatin1String("29 more")); });
    QCOMPARE(summary->body, QStringLiteral("Severe Thunderstorm Warning (29)"));

    calls = callsFor(
        {alert("urn:three.1", "Tornado Warning", "Extreme"), alert("urn:three.2", "Flash Flood Warning", "Severe"),
            alert("urn:three.3", "Severe Thunderstorm Warning", "Severe")},
        "urn:marker.2");
    QCOMPARE(calls.size(), std::size_t(3));
    QVERIFY(titled(QStringLiteral("Flash Flood Warning — ") + PLACE));
}

// The notification, the tray's tip and the special messages tell where the warning's storm is; the dialog tells
// screen readers too.
void TestAlertNotify::stormOfAWarning()
{
    const QString storm = QStringLiteral("Storm 31 mi S of you, moving N at 43 mph; over you about ");
    const std::size_t calls = m_server.calls.size();
    serve({stormWarning()});
    QVERIFY(cycle());
    QTRY_COMPARE(m_server.calls.size(), calls + 1);
    const QString body = m_server.calls.back().body;
    QVERIFY2(body.startsWith(QLatin1String("Severe Thunderstorm Warning issued")), qPrintable(body));
    QVERIFY2(body.contains(QLatin1Char('\n') + storm), qPrintable(body));
    QTRY_VERIFY(m_window->trayIcon()->toolTip().contains(QStringLiteral("\nSevere Thunderstorm Warning\n") + storm));

    QString text;
    QString description;
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, poll, [&text, &description, poll] {
        auto *dialog = qobject_cast<CTextViewDlg *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->deleteLater();
        text = dialog->text();
        description = dialog->accessibleDescription();
        dialog->accept();
    });
    poll->start(5);
    emit m_server.ActionInvoked(m_server.calls.back().id, QStringLiteral("default"));
    QTRY_VERIFY(!text.isEmpty());
    const qsizetype at = text.indexOf(storm);
    QVERIFY2(at >= 0, qPrintable(text));
    // The line after the sentence opens the alert.
    const QString next = text.mid(at).section(QLatin1Char('\n'), 1, 1).trimmed();
    QVERIFY2(next.startsWith(QLatin1String("SEVERE THUNDERSTORM WARNING - ")), qPrintable(text));
    QVERIFY2(description.startsWith(storm), qPrintable(description));
}

// The notification offers to mute its event; chosen, the event is kept in the settings and the next alert of it gives
// no notification, but still shows in the special messages and the tray's tip.
void TestAlertNotify::muteActionMutesEvent()
{
    const std::vector<NotificationServer::Call> calls
        = callsFor({alert("urn:wind.1", "Extreme Wind Warning", "Extreme")}, "urn:marker.m1");
    QCOMPARE(calls.size(), std::size_t(1));
    QCOMPARE(calls[0].actions.mid(2),
        QStringList({QStringLiteral("mute"), QStringLiteral("Don't notify me of Extreme Wind Warning again")}));
    emit m_server.ActionInvoked(calls[0].id, QStringLiteral("mute"));
    QTRY_VERIFY2(m_window->statusText().contains(QStringLiteral(
                     "Extreme Wind Warning will not be notified again; Edit > Options > Notifications undoes it")),
        qPrintable(m_window->statusText()));
    LWinKeeper keeper("Nimbrel", m_settings.path().string());
    LString muted;
    QCOMPARE(keeper.GetString(LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS, muted, false), int(L_OK));
    QCOMPARE(QString::fromUtf8(static_cast<const char *>(muted)), QStringLiteral("Extreme Wind Warning"));

    QVERIFY(callsFor({alert("urn:wind.2", "Extreme Wind Warning", "Extreme")}, "urn:marker.m2").empty());
    QVERIFY(m_window->specialText().contains(QLatin1String("EXTREME WIND WARNING - ")));
    QVERIFY(m_window->trayIcon()->toolTip().contains(QLatin1String("\nExtreme Wind Warning")));
}

// The number of calls after `before` once one whose title starts so has come, which shows that the calls before it
// have come too.
std::size_t TestAlertNotify::callsUntil(const QString &titleStart, std::size_t before)
{
    const bool came = QTest::qWaitFor(
        [&] { return m_server.calls.size() > before && m_server.calls.back().title.startsWith(titleStart); });
    return came ? m_server.calls.size() - before : 0;
}

namespace
{

WAlertRecord record(const std::string &id, const std::string &event, const std::string &severity)
{
    WAlertRecord alert;
    alert.id = id;
    alert.event = event;
    alert.severity = severity;
    return alert;
}

} // namespace

// Only alerts at or above the least severity chosen notify, and each severity asks for its own sound, which can be
// switched off.
void TestAlertNotify::severityThresholdAndSounds()
{
    nimbreltest::TempDir folder;
    LWinKeeper keeper("Nimbrel", folder.path().string());
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_SOUND, 1, false);
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY, 2, false);
    CAlertNotifier notifier(&keeper, nullptr, "", QDBusConnection::sessionBus(), [] { return 1796000000; });
    notifier.Update({}, WLocation(), PLACE);
    std::vector<WAlertRecord> alerts{record("urn:t.1", "Flood Warning", "Moderate")};
    const auto give = [&](const std::string &id, const std::string &event, const std::string &severity) {
        alerts.push_back(record(id, event, severity));
        const std::size_t before = m_server.calls.size();
        notifier.Update(alerts, WLocation(), PLACE);
        return callsUntil(QString::fromStdString(event), before) == 1
            ? m_server.calls.back().hints.value(QStringLiteral("sound-name")).toString()
            : QStringLiteral("(not one call)");
    };
    notifier.Update(alerts, WLocation(), PLACE);
    QCOMPARE(give("urn:t.2", "Severe Thunderstorm Warning", "Severe"), QStringLiteral("dialog-warning"));
    QCOMPARE(give("urn:t.3", "Tornado Warning", "Extreme"), QStringLiteral("alarm-clock-elapsed"));
    // Out of force, so that the lower threshold does not take it in.
    alerts.erase(alerts.begin());
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY, 0, false);
    QCOMPARE(give("urn:t.4", "Freeze Warning", "Minor"), QStringLiteral("message-new-instant"));
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_SOUND_SEVERE, 0, false);
    QCOMPARE(give("urn:t.5", "High Wind Warning", "Severe"), QString());
}

// With the option, a Tornado Warning is sent again in place of itself every 30 seconds by the clock until the person
// closes it, and never after; nothing repeats past ten minutes.
void TestAlertNotify::repeatedUntilClosed()
{
    nimbreltest::TempDir folder;
    LWinKeeper keeper("Nimbrel", folder.path().string());
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_REPEAT, 1, false);
    std::int64_t now = 1796000000;
    CAlertNotifier notifier(&keeper, nullptr, "", QDBusConnection::sessionBus(), [&now] { return now; });
    notifier.Update({}, WLocation(), PLACE);
    std::vector<WAlertRecord> alerts{record("urn:r.1", "Tornado Warning", "Severe")};
    std::size_t before = m_server.calls.size();
    notifier.Update(alerts, WLocation(), PLACE);
    QCOMPARE(callsUntil(QStringLiteral("Tornado Warning"), before), std::size_t(1));
    const uint id = m_server.calls.back().id;
    now += CAlertRepeater::INTERVAL - 1;
    notifier.Repeat();
    now += 1;
    // The first repeat waits for the service's answer to the notification.
    QTRY_COMPARE((notifier.Repeat(), m_server.calls.size()), before + 2);
    now += CAlertRepeater::INTERVAL;
    notifier.Repeat();
    alerts.push_back(record("urn:r.2", "Flood Warning", "Moderate"));
    notifier.Update(alerts, WLocation(), PLACE);
    QCOMPARE(callsUntil(QStringLiteral("Flood Warning"), before), std::size_t(4));
    QCOMPARE(m_server.calls[before + 1].replaces, id);
    QCOMPARE(m_server.calls[before + 2].replaces, id);

    emit m_server.NotificationClosed(id, 2);
    QTRY_VERIFY(!notifier.isRepeating());
    now += CAlertRepeater::INTERVAL;
    notifier.Repeat();
    alerts.push_back(record("urn:r.3", "Flash Flood Warning", "Severe"));
    before = m_server.calls.size();
    notifier.Update(alerts, WLocation(), PLACE);
    QCOMPARE(callsUntil(QStringLiteral("Flash Flood Warning"), before), std::size_t(1));
    QVERIFY(notifier.isRepeating());
    now += CAlertRepeater::LIMIT;
    notifier.Repeat();
    QVERIFY(!notifier.isRepeating());
}

namespace
{

// Keeps what it is given to say; says it, or fails as a desktop without the service does.
class RecordingSpeaker : public LSpeaker
{
public:
    explicit RecordingSpeaker(std::vector<std::string> &said, bool works)
        : m_said(said)
        , m_works(works)
    {
    }
    void Say(const std::string &text, Done done) override
    {
        m_said.push_back(text);
        done(m_works ? std::string() : std::string("Can't connect to unix socket"));
    }

private:
    std::vector<std::string> &m_said;
    bool m_works;
};

} // namespace

// With the option, the event and headline of each extreme and severe alert are spoken once; a speech service that
// cannot be reached is said once on the status line.
void TestAlertNotify::graveAlertsSpokenOnce()
{
    nimbreltest::TempDir folder;
    LWinKeeper keeper("Nimbrel", folder.path().string());
    keeper.SetInt(LSettings::NOTIFY, LSettings::NOTIFY_SPEAK, 1, false);
    CAlertNotifier notifier(&keeper, nullptr, "", QDBusConnection(QStringLiteral("none")), [] { return 1796000000; });
    std::vector<std::string> said;
    notifier.setSpeaker(std::make_unique<RecordingSpeaker>(said, true));
    notifier.Update({}, WLocation(), PLACE);
    std::vector<WAlertRecord> alerts{
        record("urn:v.1", "Tornado Warning", "Extreme"), record("urn:v.2", "Flood Warning", "Moderate")};
    alerts[0].headline = "Tornado Warning issued December 7 at 5:40AM CST by NWS Upton NY";
    notifier.Update(alerts, WLocation(), PLACE);
    notifier.Update(alerts, WLocation(), PLACE);
    QCOMPARE(said, std::vector<std::string>{"Tornado Warning. " + alerts[0].headline});

    notifier.setSpeaker(std::make_unique<RecordingSpeaker>(said, false));
    QSignalSpy status(&notifier, &CAlertNotifier::statusMessage);
    alerts.push_back(record("urn:v.3", "High Wind Warning", "Severe"));
    alerts.push_back(record("urn:v.4", "Blizzard Warning", "Severe"));
    notifier.Update(alerts, WLocation(), PLACE);
    QCOMPARE(said.size(), std::size_t(3));
    QTRY_VERIFY(!status.isEmpty());
    QCoreApplication::processEvents();
    const QStringList texts = [&status] {
        QStringList all;
        for (const QList<QVariant> &args : std::as_const(status))
            all << args.at(0).toString();
        return all;
    }();
    QCOMPARE(texts.filter(QStringLiteral("cannot be spoken")).size(), 1);
}

std::size_t TestAlertNotify::alertRequests() const
{
    const std::vector<nimbreltest::HttpRequest> requests = m_http.requests();
    return static_cast<std::size_t>(std::count_if(requests.begin(), requests.end(),
        [](const nimbreltest::HttpRequest &request) { return request.target.starts_with("/api/alerts/active"); }));
}

// The worker's clock and the reader's calendar move on together.
void TestAlertNotify::advance(std::chrono::milliseconds time)
{
    m_now += std::chrono::duration_cast<std::chrono::seconds>(time).count();
    m_steady += time.count();
}

// At the default check interval of a minute a new warning reaches the tickers, the tray and a notification without a
// full update; a check that finds nothing new posts the window nothing; and after a check the service refused,
// asking to wait (said on the status line), Update Now asks again and brings the warning.
void TestAlertNotify::checkBringsANewWarningWithoutACycle()
{
    serve({});
    m_window.reset();
    int batches = m_batches.count;
    QVERIFY(open().Start());
    QVERIFY(QTest::qWaitFor([&] { return m_batches.count > batches; }));
    const int cycles = m_batches.cycles;

    std::size_t asked = alertRequests();
    int events = m_batches.events;
    advance(61s);
    QVERIFY(QTest::qWaitFor([&] { return alertRequests() > asked; }));

    const std::size_t calls = m_server.calls.size();
    const std::string tornado = alert("urn:check.tor", "Tornado Warning", "Extreme");
    serve({tornado});
    advance(61s);
    QTRY_COMPARE(m_server.calls.size(), calls + 1);
    QCOMPARE(m_server.calls.back().title, QStringLiteral("Tornado Warning — ") + PLACE);
    QVERIFY(m_window->specialText().startsWith(QLatin1String("TORNADO WARNING - ")));
    QVERIFY(m_window->trayIcon()->toolTip().endsWith(QLatin1String("\nTornado Warning")));
    QVERIFY2(m_window->statusText().contains(QLatin1String("alerts changed")), qPrintable(m_window->statusText()));
    QCOMPARE(m_batches.cycles, cycles);
    // The unchanged check before posted nothing: the change's texts and alerts are all that came.
    QCOMPARE(m_batches.events, events + 2);

    asked = alertRequests();
    m_http.page("/api/alerts/active?point=40.7608,-73.6336", "{}", 503, {{"Retry-After", "120"}});
    advance(61s);
    QVERIFY(QTest::qWaitFor([&] { return alertRequests() > asked; }));
    QTRY_VERIFY2(m_window->statusText().startsWith(QLatin1String("The weather service asked to wait until ")),
        qPrintable(m_window->statusText()));
    // Past the wait on the calendar alone, so that no check comes before the update.
    m_now += 121;
    serve({tornado, alert("urn:check.svr", "Severe Thunderstorm Warning", "Severe")});
    batches = m_batches.count;
    m_window->UpdateNow();
    QVERIFY(QTest::qWaitFor([&] { return m_batches.count > batches; }));
    QTRY_VERIFY(m_window->specialText().contains(QLatin1String("SEVERE THUNDERSTORM WARNING - ")));
    QTRY_COMPARE(m_server.calls.back().title, QStringLiteral("Severe Thunderstorm Warning — ") + PLACE);
}

// Within the same minute of the calendar: a good update, the service failing, Update Now (the warnings told not
// updated, not "updated" from the answer before), the service back with a new warning, Update Now at once (the
// warning shown and notified, not the failure kept from the update before).
void TestAlertNotify::updateNowAsksAgainAfterAFailure()
{
    serve({});
    m_window.reset();
    int batches = m_batches.count;
    QVERIFY(open().Start());
    QVERIFY(QTest::qWaitFor([&] { return m_batches.count > batches; }));
    const auto updateNow = [this] {
        const int before = m_batches.count;
        m_window->UpdateNow();
        return QTest::qWaitFor([this, before] { return m_batches.count > before; });
    };
    for (const char *path : {"/api/alerts/active/zone/NYZ177", "/api/alerts/active?point=40.7608,-73.6336"})
        m_http.page(path, "{}", 500);
    m_window->UpdateNow();
    QTRY_VERIFY2(
        m_window->statusStory().contains(QLatin1String("Warnings: not updated")), qPrintable(m_window->statusStory()));

    const std::size_t calls = m_server.calls.size();
    serve({alert("urn:again.tor", "Tornado Warning", "Extreme")});
    const std::size_t asked = alertRequests();
    QVERIFY(updateNow());
    // The update's texts and its alert records share one answer.
    QCOMPARE(alertRequests(), asked + 1);
    QTRY_VERIFY(m_window->specialText().startsWith(QLatin1String("TORNADO WARNING - ")));
    QTRY_VERIFY(m_server.calls.size() > calls);
    QCOMPARE(m_server.calls.back().title, QStringLiteral("Tornado Warning — ") + PLACE);
    QVERIFY2(
        !m_window->statusStory().contains(QLatin1String("Warnings: not updated")), qPrintable(m_window->statusStory()));
}

// logind's PrepareForSleep(false) on the system bus has the alerts checked at once, the worker's clock standing still.
void TestAlertNotify::resumeSignalChecksAtOnce()
{
    QDBusConnection server(QStringLiteral("server"));
    QVERIFY(server.registerService(QStringLiteral("org.freedesktop.login1")));
    const std::size_t calls = m_server.calls.size();
    serve({alert("urn:resume.tor", "Tornado Warning", "Extreme"),
        alert("urn:resume.ffw", "Flash Flood Warning", "Severe")});
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
    signal << false;
    QVERIFY(server.send(signal));
    QTRY_COMPARE(m_server.calls.size(), calls + 2);
    QCOMPARE(m_server.calls.back().title, QStringLiteral("Flash Flood Warning — ") + PLACE);
    QVERIFY(server.unregisterService(QStringLiteral("org.freedesktop.login1")));
}

// Without logind, the wall clock gone more than two minutes further than the steady clock tells of a sleep; the
// drift of a few seconds does not.
void TestAlertNotify::clockJumpTellsOfAResume()
{
    auto wall = std::chrono::system_clock::time_point();
    auto steady = std::chrono::steady_clock::time_point();
    CResumeWatch watch(
        QDBusConnection(QStringLiteral("none")), {[&wall] { return wall; }, [&steady] { return steady; }});
    QVERIFY(!watch.listening());
    QSignalSpy resumed(&watch, &CResumeWatch::resumed);
    wall += 15s + 119s;
    steady += 15s;
    watch.Look();
    QCOMPARE(resumed.size(), 0);
    wall += 15min;
    steady += 15s;
    watch.Look();
    QCOMPARE(resumed.size(), 1);
    wall += 15s;
    steady += 15s;
    watch.Look();
    QCOMPARE(resumed.size(), 1);
}

// The network is back when it goes online after having been off or local; the backend's first word, and online
// again, are not news.
void TestAlertNotify::networkComingBackIsTold()
{
    using Reachability = QNetworkInformation::Reachability;
    CNetworkWatch watch;
    QSignalSpy back(&watch, &CNetworkWatch::networkBack);
    watch.ReachabilityChanged(Reachability::Online);
    watch.ReachabilityChanged(Reachability::Disconnected);
    QCOMPARE(back.size(), 0);
    watch.ReachabilityChanged(Reachability::Online);
    QCOMPARE(back.size(), 1);
    watch.ReachabilityChanged(Reachability::Online);
    watch.ReachabilityChanged(Reachability::Local);
    watch.ReachabilityChanged(Reachability::Online);
    QCOMPARE(back.size(), 2);
}

// An alert leaves the tickers, the tray's mark and its tip when it expires, before any check.
void TestAlertNotify::alertLeavesAtItsExpiry()
{
    const std::string expiring
        = expiringAt(alert("urn:expiry.svr", "Severe Thunderstorm Warning", "Severe"), m_now + 3600 + 1);
    serve({alert("urn:expiry.tor", "Tornado Warning", "Extreme"), expiring});
    QVERIFY(cycle());
    QTRY_VERIFY(m_window->specialText().contains(QLatin1String("SEVERE THUNDERSTORM WARNING - ")));
    QVERIFY(m_window->trayIcon()->toolTip().contains(QLatin1String("\nSevere Thunderstorm Warning")));
    m_now += 60;
    QTRY_VERIFY(!m_window->specialText().contains(QLatin1String("SEVERE THUNDERSTORM WARNING - ")));
    QVERIFY(m_window->specialText().startsWith(QLatin1String("TORNADO WARNING - ")));
    QVERIFY(!m_window->trayIcon()->toolTip().contains(QLatin1String("Severe Thunderstorm Warning")));
}

// What the last run kept is shown at start and never notified; what the first update brings is.
void TestAlertNotify::keptAlertsAreShownNotNotified()
{
    m_window.reset();
    WAlertRecord kept;
    kept.id = "urn:kept.tor";
    kept.event = "Tornado Warning";
    kept.severity = "Extreme";
    kept.expires = m_now + 30 * 86400;
    kept.text = "TORNADO WARNING - kept from the last run\n";
    LPlaceCacheRecord record;
    record.state = NEW_YORK;
    record.city = EAST_WILLISTON;
    record.written = std::time(nullptr);
    record.alerts = {kept};
    record.messages[indexOf(LMessageKind::Warnings)] = LCachedText{kept.text, record.written};
    std::string reason;
    QCOMPARE(LPlaceCache(LPlaceCache::directoryFor(m_settings.path().string())).save(record, reason), 0);
    for (const char *path : {"/api/alerts/active/zone/NYZ177", "/api/alerts/active?point=40.7608,-73.6336"})
        m_http.page(path, "{}", 500);

    const std::size_t calls = m_server.calls.size();
    QVERIFY(open().Start());
    QVERIFY(m_window->specialText().contains(QLatin1String("TORNADO WARNING - kept from the last run")));
    QTRY_VERIFY2(
        m_window->statusStory().contains(QLatin1String("Warnings: not updated")), qPrintable(m_window->statusStory()));
    serve({alert("urn:kept.ffw", "Flash Flood Warning", "Severe")});
    QVERIFY(cycle());
    QTRY_VERIFY(m_server.calls.size() > calls);
    QCOMPARE(m_server.calls[calls].title, QStringLiteral("Flash Flood Warning — ") + PLACE);
    for (std::size_t i = calls; i < m_server.calls.size(); ++i)
        QVERIFY2(!m_server.calls[i].title.contains(QLatin1String("Tornado")), qPrintable(m_server.calls[i].title));
}

// Without a notification service, and without a tray (offscreen), the status line tells, after what it said of the
// cycle.
void TestAlertNotify::statusLineWithoutNotificationService()
{
    QVERIFY(
        QDBusConnection(QStringLiteral("server")).unregisterService(QStringLiteral("org.freedesktop.Notifications")));
    const std::size_t calls = m_server.calls.size();
    serve({});
    m_window.reset();
    const int batches = m_batches.count;
    QVERIFY(open().Start());
    QVERIFY(QTest::qWaitFor([this, batches] { return m_batches.count > batches; }));
    serve({FLOOD});
    QVERIFY(cycle());
    QTRY_VERIFY2(m_window->statusText().endsWith(QStringLiteral(" — New: Flash Flood Warning")),
        qPrintable(m_window->statusText()));
    QCOMPARE(m_server.calls.size(), calls);
}

// Without a notification service but with a tray, the alert is the tray icon's message, and the status line says
// nothing of it; a click on the message opens the alert.
void TestAlertNotify::trayMessageWithoutNotificationService()
{
    const nimbreltest::DesktopTray tray;
    QWidget window;
    CTrayIcon icon(QStringLiteral("Nimbrel"), &window, tray.system());
    icon.ShowInTray();
    CAlertNotifier notifier(nullptr, &icon, "", QDBusConnection(QStringLiteral("none")), [] { return 1796000000; });
    notifier.Update({}, WLocation(), PLACE);
    QSignalSpy status(&notifier, &CAlertNotifier::statusMessage);
    QSignalSpy activated(&notifier, &CAlertNotifier::alertActivated);
    WAlertRecord tornado = record("urn:t.1", "Tornado Warning", "Extreme");
    tornado.text = "TORNADO WARNING FOR NASSAU COUNTY\nTake cover now.";
    notifier.Update({tornado}, WLocation(), PLACE);

    QCOMPARE(tray.shown->size(), std::size_t(1));
    QCOMPARE(tray.shown->front().title, QStringLiteral("Tornado Warning — ") + PLACE);
    QCOMPARE(tray.shown->front().icon, QSystemTrayIcon::Critical);
    QVERIFY(status.isEmpty());
    emit icon.messageClicked();
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("TORNADO WARNING FOR NASSAU COUNTY"));
}

// A warning at a saved place not shown comes with that place's own check, half a check interval after the shown
// place's: notified once with the place's name, marked in the tray and the switcher, and not notified again once the
// place is shown and its update brings the same warning.
void TestAlertNotify::otherPlaceWarningNotifiedOnceWithItsName()
{
    QVERIFY(QDBusConnection(QStringLiteral("server")).registerService(QStringLiteral("org.freedesktop.Notifications")));
    const LPlaceId shown{NEW_YORK, EAST_WILLISTON};
    const LPlaceId bismarck{38, 3807200};
    const QString bismarckName = QStringLiteral("Bismarck, North Dakota");
    {
        LWinKeeper keeper("Nimbrel", m_settings.path().string());
        QCOMPARE(LPlaceList::Save(keeper, {shown, bismarck}), L_OK);
    }
    serve({});
    m_window.reset();
    const int batches = m_batches.count;
    QVERIFY(open().Start());
    QVERIFY(QTest::qWaitFor([&] { return m_batches.count > batches; }));

    // Bismarck's first check asks for an address not served yet; the one after it has the warning.
    const std::size_t asked = m_http.requests().size();
    const auto bismarckAlerts = [&] {
        const auto requests = m_http.requests();
        for (std::size_t i = asked; i < requests.size(); ++i) {
            const std::string &target = requests[i].target;
            if (target.find("/alerts/active") != std::string::npos && target.find("NYZ177") == std::string::npos
                && target.find("40.7608,-73.6336") == std::string::npos)
                return target;
        }
        return std::string();
    };
    advance(31s);
    QVERIFY(QTest::qWaitFor([&] { return !bismarckAlerts().empty(); }));
    const std::string blizzard = alert("urn:bis.blizzard", "Blizzard Warning", "Severe");
    m_http.page(bismarckAlerts(), listing({blizzard}));
    const std::size_t calls = m_server.calls.size();
    advance(61s);
    QTRY_COMPARE(m_server.calls.size(), calls + 1);
    QCOMPARE(m_server.calls.back().title, QStringLiteral("Blizzard Warning — ") + bismarckName);
    QVERIFY2(m_window->trayIcon()->toolTip().contains(QStringLiteral("Blizzard Warning — ") + bismarckName),
        qPrintable(m_window->trayIcon()->toolTip()));
    auto *switcher = m_window->findChild<CPlaceSwitcher *>();
    QVERIFY(switcher);
    QVERIFY2(switcher->entryText(1).contains(QLatin1String("Blizzard Warning")), qPrintable(switcher->entryText(1)));
    QVERIFY(!switcher->entryText(0).contains(QLatin1String("Warning")));

    // A click on it shows Bismarck, with its special messages at the warning once its update brought them; its
    // update brings the same warning, not notified again, and later updates open nothing.
    QStringList opened;
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, poll, [&opened] {
        if (auto *dialog = qobject_cast<CTextViewDlg *>(QApplication::activeModalWidget())) {
            opened << dialog->selectedText();
            dialog->accept();
        }
    });
    poll->start(5);
    m_window->hide();
    emit m_server.ActionInvoked(m_server.calls.back().id, QStringLiteral("default"));
    QTRY_COMPARE(opened.size(), 1);
    QVERIFY2(opened[0].startsWith(QLatin1String("BLIZZARD WARNING - ")), qPrintable(opened[0]));
    QVERIFY(m_window->isVisible());
    QVERIFY(cycle());
    m_http.page(bismarckAlerts(), listing({blizzard, alert("urn:bis.ffw", "Flash Flood Warning", "Severe")}));
    QVERIFY(cycle());
    QTRY_COMPARE(m_server.calls.back().title, QStringLiteral("Flash Flood Warning — ") + bismarckName);
    QCOMPARE(m_server.calls.size(), calls + 2);
    QCOMPARE(opened.size(), 1);
    delete poll;

    LWinKeeper keeper("Nimbrel", m_settings.path().string());
    QCOMPARE(LPlaceList::Save(keeper, {shown}), L_OK);
    keeper.SetInt(LSettings::LOCATION, LSettings::STATE, NEW_YORK, false);
    keeper.SetInt(LSettings::LOCATION, LSettings::CITY, EAST_WILLISTON, false);
}

QTEST_MAIN(TestAlertNotify)
#include "test_alertnotify.moc"
