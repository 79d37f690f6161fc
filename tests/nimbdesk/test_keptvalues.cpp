#include "nimbdesk/window/cmaindlg.h"

#include "meteo/location/wlocationdb.h"
#include "meteo/reader/walerttext.h"
#include "nimbdesk/forecast/cforecastcell.h"
#include "nimbdesk/forecast/cforecastpanel.h"
#include "nimbdesk/forecast/cforecaststrip.h"
#include "nimbdesk/forecast/chourchart.h"
#include "nimbdesk/gauges/cwgauge.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "settings/lplacecache.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/httpserver.h"
#include "tests/support/productpages.h"
#include "tests/support/review.h"
#include "tests/support/tempdir.h"

#include <QAccessible>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;
using namespace std::chrono_literals;

namespace
{

using nimbreltest::productFile;
using nimbreltest::productPage;

// East Williston, New York reports through station KJFK and lies in forecast zone NYZ177.
constexpr std::uint32_t NEW_YORK = 36;
constexpr std::uint32_t EAST_WILLISTON = 3623217;

const std::string FORECAST_PRODUCT = "NYZ177-022100-\n"
                                     ".TODAY...SNOW. HIGHS AROUND 30. NORTH WINDS\n"
                                     "10 TO 15 MPH.\n"
                                     "$$\n";

// The moment the recorded point forecasts were made relative to: 2026-05-21 17:30 UTC.
constexpr std::int64_t RECORDED = 1779384600;

// "[as of 1:50 PM] " before a text kept from an earlier update.
const QRegularExpression MARKED(QStringLiteral("^\\[as of (\\d\\d/\\d\\d )?\\d{1,2}:\\d\\d [AP]M\\] "));

class CycleCounter final : public QObject
{
public:
    int ended = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == WM_UPDATE_FINISHED)
            ++ended;
        return QObject::eventFilter(watched, event);
    }
};

// The settings in a folder of their own (the kept values beside them), the product pages on loopback, and a worker
// clock that stands still: a cycle starts at start and when asked for.
class Fixture
{
public:
    Fixture()
    {
        nimbreltest::clearProxyEnvironment();
        pointAt(server.url("/"));
        keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, 0, false);
        keeper.SetInt(LSettings::LOCATION, LSettings::STATE, NEW_YORK, false);
        keeper.SetInt(LSettings::LOCATION, LSettings::CITY, EAST_WILLISTON, false);
        keeper.SetInt(LSettings::SPECIAL, "ShowStatements", 1, false);
    }

    // Addresses where nothing listens: a server that has gone.
    static std::string deadBase()
    {
        nimbreltest::HttpServer gone;
        return gone.url("/");
    }

    void pointAt(const std::string &base)
    {
        keeper.SetString(LSettings::INTERNET, LSettings::CONDITIONS_BASE, (base + "weather/current/").c_str(), false);
        keeper.SetString(LSettings::INTERNET, LSettings::WARNINGS_BASE, (base + "iwin/").c_str(), false);
        keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, (base + "api/").c_str(), false);
    }

    // The recorded KJFK report, restamped as made that many minutes ago.
    void serve(std::time_t minutesAgo)
    {
        const std::time_t made = std::time(nullptr) - minutesAgo * 60;
        std::tm utc{};
        gmtime_r(&made, &utc);
        char stamp[8] = {};
        std::strftime(stamp, sizeof stamp, "%d%H%MZ", &utc);
        std::string page = nimbreltest::TempDir::read(NIMBREL_TEST_DATA "/conditions/KJFK.html");
        page.replace(page.find("121851Z"), 7, stamp);
        server.page("/weather/current/KJFK.html", page);
        server.page("/iwin/ny/zone.html", productPage({FORECAST_PRODUCT}));
        server.page("/iwin/ny/allwarnings.html", productPage({productFile("WSWOKX_10.txt")}));
        server.page("/iwin/ny/special.html", productPage({productFile("SPS_SPSOKX.txt")}));
    }

    // The web service as the source, with the point forecast and hours of north Texas for East Williston's point;
    // the rest of the service's answers fail. Their times move on by days whole days.
    void serveOutlook(int days = 0)
    {
        keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, 1, false);
        const std::string live = NIMBREL_SOURCE_DIR "/tests/data/live/";
        std::string point = nimbreltest::TempDir::read(live + "points_39.7456_-97.0892_TOP.json");
        const std::string recorded = "https://api.weather.gov/gridpoints/TOP/32,81/forecast";
        for (std::size_t at = point.find(recorded); at != std::string::npos; at = point.find(recorded, at + 1))
            point.replace(at, recorded.size(), server.url("/api/gridpoints/TOP/32,81/forecast"));
        server.page("/api/points/40.7608,-73.6336", point);
        server.page("/api/gridpoints/TOP/32,81/forecast",
            movedOn(nimbreltest::TempDir::read(live + "gridpoints_FWD_89,104_forecast.json"), days));
        server.page("/api/gridpoints/TOP/32,81/forecast/hourly",
            movedOn(nimbreltest::TempDir::read(live + "gridpoints_FWD_89,104_forecast_hourly.json"), days));
    }

    // "2026-05-21T17:00:00+00:00" a number of days later, with the same offset.
    static std::string movedOn(const std::string &answer, int days)
    {
        static const QRegularExpression stamp(
            QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(?=[+-]\\d\\d:\\d\\d)"));
        QString text = QString::fromStdString(answer);
        QString moved;
        qsizetype from = 0;
        for (const QRegularExpressionMatch &match : stamp.globalMatch(text)) {
            const QDateTime time = QDateTime::fromString(match.captured(), Qt::ISODate);
            moved += text.mid(from, match.capturedStart() - from) + time.addDays(days).toString(Qt::ISODate);
            from = match.capturedEnd();
        }
        return (moved + text.mid(from)).toStdString();
    }

    // The worker's and the window's calendar stand at calendar when it is given.
    CMainDlg &open(std::int64_t calendar = 0)
    {
        window.reset();
        CUpdateTiming timing;
        if (calendar != 0)
            timing.calendar = [calendar] { return calendar; };
        timing.clock = [] { return std::chrono::steady_clock::time_point(); };
        timing.tick = 5ms;
        timing.handOver = 1ms;
        window = std::make_unique<CMainDlg>(settings.path().string(), timing);
        window->installEventFilter(&cycles);
        return *window;
    }

    bool cycleEnded(int count = 1)
    {
        return QTest::qWaitFor([&] { return cycles.ended >= count; }, 30000);
    }

    bool updateNow()
    {
        const int before = cycles.ended;
        window->UpdateNow();
        return cycleEnded(before + 1);
    }

    LPlaceCache cache() const { return LPlaceCache(LPlaceCache::directoryFor(settings.path().string())); }

    template<class T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    QString tickerText(const char *name) const { return child<CWptkr>(name)->GetText(); }

    nimbreltest::TempDir settings;
    LWinKeeper keeper{"Nimbrel", settings.path().string()};
    nimbreltest::HttpServer server;
    CycleCounter cycles;
    std::unique_ptr<CMainDlg> window;
};

WAlertRecord warning(const std::string &id, const std::string &event, std::int64_t expires)
{
    WAlertRecord alert;
    alert.id = id;
    alert.event = event;
    alert.severity = "Severe";
    alert.expires = expires;
    alert.headline = event + " issued for East Williston";
    alert.text = event + " - " + alert.headline + "\n";
    return alert;
}

} // namespace

class TestKeptValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WLocationDB::initLocationDB(NIMBREL_SOURCE_DIR "/data"); }
    void cleanupTestCase() { WLocationDB::closeLocationDB(); }
    void lastValuesShowAtStartWithoutTheNetwork();
    void keptForecastFillsTheStripAtStart();
    void damagedFileIsPassedOverAndNamed();
    void expiredAlertIsNotShown();
    void failedWriteIsToldOnce();
    void renderForReview();
};

// An update keeps what the window shows; the next start, with the server gone, shows it at once with its age, and
// the first update that succeeds replaces it.
void TestKeptValues::lastValuesShowAtStartWithoutTheNetwork()
{
    Fixture f;
    f.serve(3 * 60);
    QVERIFY(f.open().Start());
    QVERIFY(f.cycleEnded());
    const QString forecast = f.tickerText("forecastTicker");
    const QString special = f.tickerText("specialTicker");
    QVERIFY(special.contains(QLatin1String("WINTER WEATHER ADVISORY")));
    QVERIFY(std::filesystem::exists(f.cache().pathOf(NEW_YORK, EAST_WILLISTON)));

    f.window.reset();
    const int cycles = f.cycles.ended;
    f.pointAt(Fixture::deadBase());
    QElapsedTimer shown;
    shown.start();
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    qInfo("Making and starting the window showed the kept values in %lld ms.", static_cast<long long>(shown.elapsed()));
    // Before any event of the worker: the gauges old and dimmed, the texts marked with their time, the tray's
    // number untrusted with the reason in its tip.
    QCOMPARE(f.child<CWgauge>("temperature")->displayText(), QStringLiteral("24 °C"));
    QVERIFY(f.child<CWgauge>("pressure")->IsStale());
    const QString observed = f.child<QLabel>("observedAt")->text();
    QVERIFY2(observed.startsWith(QLatin1String("Observed ")) && observed.endsWith(QLatin1String(", 3 h ago")),
        qPrintable(observed));
    QVERIFY2(MARKED.match(f.tickerText("forecastTicker")).hasMatch(), qPrintable(f.tickerText("forecastTicker")));
    QVERIFY(f.tickerText("forecastTicker").endsWith(forecast));
    QVERIFY(MARKED.match(f.tickerText("specialTicker")).hasMatch());
    QVERIFY(window.statusText().startsWith(QLatin1String("Showing the values of ")));
    QVERIFY(window.trayIcon()->toolTip().endsWith(QLatin1Char('\n') + window.statusText()));

    // The first update fails: the kept values stay as they were, marked.
    QVERIFY(f.cycleEnded(cycles + 1));
    QVERIFY2(
        window.statusText().startsWith(QLatin1String("No update succeeded since ")), qPrintable(window.statusText()));
    QCOMPARE(f.child<CWgauge>("temperature")->displayText(), QStringLiteral("24 °C"));
    QVERIFY(MARKED.match(f.tickerText("forecastTicker")).hasMatch());

    // The server is back: the update replaces them.
    f.pointAt(f.server.url("/"));
    f.serve(10);
    QVERIFY(f.updateNow());
    QVERIFY2(window.statusText().startsWith(QLatin1String("Last updated: ")), qPrintable(window.statusText()));
    QCOMPARE(f.tickerText("forecastTicker"), forecast);
    QCOMPARE(f.tickerText("specialTicker"), special);
    QVERIFY(!f.child<CWgauge>("pressure")->IsStale());
    QVERIFY(!window.trayIcon()->toolTip().contains(QLatin1String("Showing the values")));
}

// The periods and hours an update brought are kept; at the next start, with the server gone, they fill the strip
// and the chart at once, marked with their age, less the periods that ended meanwhile.
void TestKeptValues::keptForecastFillsTheStripAtStart()
{
    Fixture f;
    f.serve(10);
    f.serveOutlook();
    QVERIFY(f.open(RECORDED).Start());
    QVERIFY(f.cycleEnded());
    auto *panel = f.child<CForecastPanel>("forecastPanel");
    QVERIFY(panel->isVisibleTo(f.window.get()));
    LPlaceCacheRecord record;
    std::string reason;
    QCOMPARE(f.cache().load(NEW_YORK, EAST_WILLISTON, std::time(nullptr), record, reason), LPlaceCache::Loaded::Read);
    QVERIFY(record.periods && record.hours);
    QCOMPARE(record.periods->periods.size(), std::size_t(5));
    QCOMPARE(record.periods->periods[1].name, std::string("Tonight"));
    QVERIFY(record.hours->periods.size() > std::size_t(48));

    // Eight hours on, "This Afternoon" has ended.
    f.window.reset();
    f.pointAt(Fixture::deadBase());
    CMainDlg &window = f.open(RECORDED + 8 * 3600);
    QVERIFY(window.Start());
    panel = f.child<CForecastPanel>("forecastPanel");
    QVERIFY(panel->isVisibleTo(&window));
    CForecastStrip *strip = panel->strip();
    QVERIFY(strip->cells()[0]->isVisibleTo(strip) && strip->cells()[3]->isVisibleTo(strip));
    QVERIFY(!strip->cells()[4]->isVisibleTo(strip));
    const QString first = QAccessible::queryAccessibleInterface(strip->cells()[0])->text(QAccessible::Name);
    QVERIFY2(first.startsWith(QLatin1String("Tonight: ")), qPrintable(first));
    QVERIFY2(strip->note().startsWith(QLatin1String("Not updated, forecast from 8 h ago")), qPrintable(strip->note()));
    QVERIFY(panel->chart()->hourCount() > 0);
    QVERIFY(panel->toggle()->isEnabled());
}

// A damaged file shows nothing, the status line and the first update's story say why, and the update writes it anew.
void TestKeptValues::damagedFileIsPassedOverAndNamed()
{
    Fixture f;
    const LPlaceCache cache = f.cache();
    std::filesystem::create_directories(cache.directory());
    const std::string path = cache.pathOf(NEW_YORK, EAST_WILLISTON);
    f.settings.write("cache/" + std::filesystem::path(path).filename().string(), "{\"version\": 1, \"state\": 36,");
    f.serve(10);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    const QString note = QStringLiteral("The values kept from the last run were not used: it is not valid JSON.");
    QCOMPARE(window.statusText(), note);
    QVERIFY(f.tickerText("forecastTicker").isEmpty());
    QVERIFY(f.child<QLabel>("observedAt")->text().isEmpty());
    QVERIFY(f.cycleEnded());
    QVERIFY2(window.statusStory().startsWith(note + QLatin1Char('\n')), qPrintable(window.statusStory()));
    LPlaceCacheRecord record;
    std::string reason;
    QCOMPARE(cache.load(NEW_YORK, EAST_WILLISTON, std::time(nullptr), record, reason), LPlaceCache::Loaded::Read);
    QVERIFY(record.condition.has_value());
}

// An alert that expired since the last run is not among the special messages at start; one still in force is.
void TestKeptValues::expiredAlertIsNotShown()
{
    Fixture f;
    f.pointAt(Fixture::deadBase());
    const std::int64_t now = std::time(nullptr);
    LPlaceCacheRecord record;
    record.state = NEW_YORK;
    record.city = EAST_WILLISTON;
    record.written = now - 1800;
    record.alerts = {warning("urn:kept.old", "Flood Warning", now - 60),
        warning("urn:kept.svr", "Severe Thunderstorm Warning", now + 3600)};
    record.messages[indexOf(LMessageKind::Warnings)]
        = LCachedText{alertsText(record.alerts, WAlertKind::Warning), now - 1800};
    std::string reason;
    QCOMPARE(f.cache().save(record, reason), 0);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY2(window.specialText().contains(QLatin1String("Severe Thunderstorm Warning issued")),
        qPrintable(window.specialText()));
    QVERIFY(!window.specialText().contains(QLatin1String("Flood Warning")));
    QVERIFY(MARKED.match(window.specialText()).hasMatch());
}

// A cache that cannot be written is told on the status line after the first update, not after every one.
void TestKeptValues::failedWriteIsToldOnce()
{
    Fixture f;
    f.settings.write("cache", "a file where the folder goes");
    f.serve(10);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY(f.cycleEnded());
    QVERIFY2(window.statusText().contains(QStringLiteral(" — The last values cannot be kept for the next start: ")),
        qPrintable(window.statusText()));
    QVERIFY(f.updateNow());
    QVERIFY2(window.statusText().startsWith(QLatin1String("Last updated: "))
            && !window.statusText().contains(QLatin1String("cannot be kept")),
        qPrintable(window.statusText()));
}

// The whole window after a cycle of the web service, with the strip, and with the chart open, into PNG files for a
// reviewer.
void TestKeptValues::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    Fixture f;
    f.serve(10);
    const int days = static_cast<int>((std::time(nullptr) - RECORDED) / 86400);
    f.serveOutlook(days);
    f.server.page("/api/zones/forecast/KSZ009/forecast",
        Fixture::movedOn(nimbreltest::TempDir::read(
                             NIMBREL_SOURCE_DIR "/tests/data/live/zones_forecast_UTZ101_forecast_2026-09-02.json"),
            days));
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(f.cycleEnded());
    QTest::qWait(1500);
    const QString folder = QStringLiteral(NIMBREL_TEST_OUTPUT);
    QVERIFY(window.grab().save(folder + QStringLiteral("/window-strip.png")));
    f.child<CForecastPanel>("forecastPanel")->SetChartOpen(true);
    QTest::qWait(500);
    QVERIFY(window.grab().save(folder + QStringLiteral("/window-chart.png")));
}

QTEST_MAIN(TestKeptValues)
#include "test_keptvalues.moc"
