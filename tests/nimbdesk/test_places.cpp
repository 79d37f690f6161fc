// The saved places in the window: the list in Select Location, and the switcher in the header against a loopback
// server that serves Des Moines and Bismarck different observations.
#include "nimbdesk/window/cmaindlg.h"

#include "meteo/location/wlocationdb.h"
#include "nimbdesk/forecast/cforecastcell.h"
#include "nimbdesk/forecast/cforecastpanel.h"
#include "nimbdesk/forecast/cforecaststrip.h"
#include "nimbdesk/gauges/cwgauge.h"
#include "nimbdesk/gauges/cwlabel.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/location/clocationdlg.h"
#include "nimbdesk/places/cplaceswitcher.h"
#include "nimbdesk/places/csavedplaces.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "settings/lplacecache.h"
#include "settings/lplacelist.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/httpserver.h"
#include "tests/support/review.h"
#include "tests/support/tempdir.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <ctime>
#include <memory>
#include <string>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

using namespace std::chrono_literals;

// In the location files: Des Moines, Iowa reports through KDSM; Bismarck, North Dakota through KBIS.
const LPlaceId DES_MOINES{19, 1921000};
const LPlaceId BISMARCK{38, 3807200};

// The recorded KJFK report under another station, at another temperature ("24/12" is 24 °C).
std::string observationPage(const std::string &station, const std::string &temperatures)
{
    std::string page = nimbreltest::TempDir::read(NIMBREL_TEST_DATA "/conditions/KJFK.html");
    page.replace(page.find("KJFK 121851Z"), 4, station);
    page.replace(page.find(" 24/12 "), 7, " " + temperatures + " ");
    page.replace(page.find(" T02440122"), 10, "");
    return page;
}

// What an earlier run kept of a place, observed and fetched three hours ago: its observation at celsius, its
// forecast text and one period of its forecast, "Tonight", still to come.
LPlaceCacheRecord keptRecord(const LPlaceId &place, float celsius, const std::string &forecast)
{
    const std::int64_t then = std::time(nullptr) - 3 * 3600;
    LPlaceCacheRecord record;
    record.state = place.stateId;
    record.city = place.cityId;
    record.written = then;
    WCondition condition;
    condition.setValid(true);
    condition.setTemp(celsius);
    condition.setDewPoint(celsius - 5);
    condition.setPressure(30.01f);
    condition.setTime(LCTime(then, LCTime::LCL));
    record.condition = condition;
    record.forecast = LCachedText{forecast, then};
    WForecastPeriod tonight;
    tonight.number = 1;
    tonight.name = "Tonight";
    tonight.start = then;
    tonight.end = then + 12 * 3600;
    tonight.temperature = celsius - 4;
    tonight.shortForecast = "Blowing Snow";
    tonight.sky = "snow";
    record.periods = WForecast{then, then, then, false, {tonight}};
    return record;
}

// A settings folder of its own, the servers on loopback, and a worker clock that stands still: a cycle starts only
// when the window passes the worker a place or asks for one.
class Fixture
{
public:
    Fixture()
    {
        nimbreltest::clearProxyEnvironment();
        keeper.SetString(LSettings::INTERNET, LSettings::CONDITIONS_BASE, server.url("/obs/").c_str(), false);
        keeper.SetString(LSettings::INTERNET, LSettings::WARNINGS_BASE, server.url("/iwin/").c_str(), false);
        keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, server.url("/api/").c_str(), false);
        keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, 0, false);
        server.page("/obs/KDSM.html", observationPage("KDSM", "24/12"));
        // Bismarck's report has no pressure group: Des Moines' pressure must not stand in for it.
        std::string bismarck = observationPage("KBIS", "M21/M26");
        bismarck.replace(bismarck.find(" A3001"), 6, "");
        bismarck.replace(bismarck.find(" SLP162"), 7, "");
        server.page("/obs/KBIS.html", bismarck);
    }

    CMainDlg &open(const LPlaceId &shown, const std::string &list)
    {
        keeper.SetInt(LSettings::LOCATION, LSettings::STATE, shown.stateId, false);
        keeper.SetInt(LSettings::LOCATION, LSettings::CITY, shown.cityId, false);
        keeper.SetString(LPlaceList::PLACES, LPlaceList::LIST, list.c_str(), false);
        CUpdateTiming timing;
        timing.clock = [] { return std::chrono::steady_clock::time_point(); };
        timing.tick = 5ms;
        timing.handOver = 1ms;
        window = std::make_unique<CMainDlg>(settings.path().string(), timing);
        return *window;
    }

    void keep(const LPlaceCacheRecord &record)
    {
        std::string reason;
        QCOMPARE(LPlaceCache(LPlaceCache::directoryFor(settings.path().string())).save(record, reason), 0);
    }

    template<class T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    QString temperature() const { return window->findChild<CWgauge *>(QStringLiteral("temperature"))->displayText(); }
    QString header() const { return window->findChild<CWlabel *>(QStringLiteral("header"))->GetText(); }
    CPlaceSwitcher *switcher() const { return window->findChild<CPlaceSwitcher *>(QStringLiteral("placeSwitcher")); }
    bool showsTemperature(const QString &text) const
    {
        return QTest::qWaitFor([&] { return temperature() == text; }, 30000);
    }

    nimbreltest::TempDir settings;
    LWinKeeper keeper{"Nimbrel", settings.path().string()};
    nimbreltest::HttpServer server;
    // Last, so that it goes first: the worker reads the fixture's clock until it stops.
    std::unique_ptr<CMainDlg> window;
};

} // namespace

class TestPlaces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { WLocationDB::initLocationDB(NIMBREL_SOURCE_DIR "/data"); }
    void cleanupTestCase() { WLocationDB::closeLocationDB(); }
    void selectLocationEditsTheSavedPlaces();
    void switchingShowsThatPlaceOnly();
    void switchingShowsWhatWasKeptOfThatPlace();
    void aDamagedEntryIsNamedInTheWindow();
    void aWarningMarksItsPlaceInTheSwitcher();
    void renderForReview();
};

// The list is edited with the keyboard and the buttons, and OK stores it with the place chosen among the saved.
void TestPlaces::selectLocationEditsTheSavedPlaces()
{
    nimbreltest::TempDir folder;
    LWinKeeper keeper("Nimbrel", folder.path().string());
    keeper.SetInt(LSettings::LOCATION, LSettings::STATE, DES_MOINES.stateId, false);
    keeper.SetInt(LSettings::LOCATION, LSettings::CITY, DES_MOINES.cityId, false);
    LPlaceList::Save(keeper, {DES_MOINES, BISMARCK, {17, 1772000}});
    CLocationDlg dialog(&keeper);
    auto *saved = dialog.findChild<QListWidget *>(QStringLiteral("savedPlaces"));
    QCOMPARE(saved->count(), 3);
    QCOMPARE(saved->item(1)->text(), QStringLiteral("Bismarck, North Dakota"));

    saved->setCurrentRow(0);
    QTest::keyClick(saved, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(saved->item(1)->text(), QStringLiteral("Des Moines, Iowa"));
    QCOMPARE(saved->currentRow(), 1);
    QTest::keyClick(saved, Qt::Key_Delete);
    QCOMPARE(saved->count(), 2);
    saved->setCurrentRow(1);
    dialog.findChild<QPushButton *>(QStringLiteral("placeUp"))->click();
    QCOMPARE(saved->item(0)->text(), QStringLiteral("Springfield, Illinois"));

    // Des Moines, selected in the lists, was removed: "Add to my places" saves it again, at the end, once.
    auto *add = dialog.findChild<QPushButton *>(QStringLiteral("addPlace"));
    add->click();
    add->click();
    QCOMPARE(saved->count(), 3);
    dialog.accept();
    QCOMPARE(LPlaceList::Load(keeper).places, (std::vector<LPlaceId>{{17, 1772000}, BISMARCK, DES_MOINES}));
}

// Bismarck shows none of Des Moines' values while its update runs, then its own; back at Des Moines its last values
// show at once, before any update. Ctrl+2 and the menu both switch, and [Location] follows.
void TestPlaces::switchingShowsThatPlaceOnly()
{
    Fixture f;
    CMainDlg &window = f.open(DES_MOINES, "19/1921000;38/3807200");
    QVERIFY(window.Start());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(f.showsTemperature(QStringLiteral("24 °C")));
    QVERIFY(f.switcher()->isEnabled());

    QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(f.header(), QStringLiteral("Bismarck, North Dakota"));
    // Nothing of Des Moines under Bismarck's name: "--", or Bismarck's own reading when its watch already brought it.
    const QString first = f.temperature();
    QVERIFY2(first == QStringLiteral("--") || first == QStringLiteral("-21 °C"), qPrintable(first));
    QCOMPARE(LPlaceList::Load(f.keeper).places, (std::vector<LPlaceId>{DES_MOINES, BISMARCK}));
    LPlaceId shown;
    QVERIFY(LPlaceList::Shown(f.keeper, shown));
    QCOMPARE(shown.cityId, BISMARCK.cityId);
    QVERIFY(f.showsTemperature(QStringLiteral("-21 °C")));
    QCOMPARE(f.window->findChild<CWgauge *>(QStringLiteral("pressure"))->displayText(), QStringLiteral("--"));

    // Des Moines' page now says something else: what shows at once is what was last known of it.
    f.server.page("/obs/KDSM.html", observationPage("KDSM", "30/12"));
    f.switcher()->menu()->actions().at(0)->trigger();
    QCOMPARE(f.header(), QStringLiteral("Des Moines, Iowa"));
    QCOMPARE(f.temperature(), QStringLiteral("24 °C"));
    QVERIFY(f.showsTemperature(QStringLiteral("30 °C")));
    QVERIFY(f.switcher()->menu()->actions().at(0)->isChecked());

    // The tray's tip names every place with its last temperature, and its menu switches too.
    QVERIFY2(window.trayIcon()->toolTip().contains(QStringLiteral("\nDes Moines 30°, Bismarck \u221221°")),
        qPrintable(window.trayIcon()->toolTip()));
    QMenu *trayPlaces = window.trayIcon()->contextMenu()->findChild<QMenu *>();
    QVERIFY(trayPlaces && trayPlaces->menuAction()->isVisible());
    QCOMPARE(trayPlaces->actions().size(), 2);
    trayPlaces->actions().at(1)->trigger();
    QCOMPARE(f.header(), QStringLiteral("Bismarck, North Dakota"));
    QCOMPARE(f.temperature(), QStringLiteral("-21 °C"));
}

// After a restart, a place whose last values are kept on disk shows them when switched to, marked with their age as
// at start; one with nothing kept shows nothing, none of the place before. The tray's tip names the kept
// temperatures from the start.
void TestPlaces::switchingShowsWhatWasKeptOfThatPlace()
{
    Fixture f;
    f.keep(keptRecord(DES_MOINES, 24, ".TONIGHT...CLEAR. LOWS AROUND 60.\n"));
    // Bismarck's own station was quiet: the kept observation is Jamestown's.
    LPlaceCacheRecord bismarck = keptRecord(BISMARCK, -21, ".TONIGHT...BLIZZARD CONDITIONS.\n");
    bismarck.station = WStationUsed{"KJMS", "Jamestown", 148, "KBIS", bismarck.written - 4 * 3600};
    f.keep(bismarck);
    CMainDlg &window = f.open(DES_MOINES, "19/1921000;17/1772000;38/3807200");
    QVERIFY(window.Start());
    auto *panel = f.child<CForecastPanel>("forecastPanel");
    QVERIFY(panel->isVisibleTo(&window));
    QVERIFY2(
        window.trayIcon()->toolTip().contains(QStringLiteral("Des Moines 24°, Springfield --, Bismarck \u221221°")),
        qPrintable(window.trayIcon()->toolTip()));

    // The worker's results are not taken in between: what shows is what the switch showed.
    f.switcher()->menu()->actions().at(1)->trigger();
    QCOMPARE(f.header(), QStringLiteral("Springfield, Illinois"));
    QCOMPARE(f.temperature(), QStringLiteral("--"));
    QVERIFY(!panel->isVisibleTo(&window));
    QVERIFY(f.child<CWptkr>("forecastTicker")->GetText().isEmpty());
    QVERIFY(f.child<QLabel>("observedAt")->text().isEmpty());

    f.switcher()->menu()->actions().at(2)->trigger();
    QCOMPARE(f.header(), QStringLiteral("Bismarck, North Dakota"));
    QCOMPARE(f.temperature(), QStringLiteral("-21 °C"));
    QVERIFY(f.window->findChild<CWgauge *>(QStringLiteral("pressure"))->IsStale());
    const QString observed = f.child<QLabel>("observedAt")->text();
    QVERIFY2(observed.startsWith(QLatin1String("Observed at KJMS (Jamestown, 148 km) "))
            && observed.contains(QLatin1String(": KBIS has not reported since ")),
        qPrintable(observed));
    const QString forecast = f.child<CWptkr>("forecastTicker")->GetText();
    QVERIFY2(forecast.startsWith(QLatin1String("[as of ")) && forecast.endsWith(QLatin1String("BLIZZARD CONDITIONS.")),
        qPrintable(forecast));
    QVERIFY(panel->isVisibleTo(&window));
    const QString tonight = QAccessible::queryAccessibleInterface(panel->strip()->cells()[0])->text(QAccessible::Name);
    QVERIFY2(tonight.startsWith(QLatin1String("Tonight: low -25")), qPrintable(tonight));
    QCOMPARE(panel->strip()->note(), QStringLiteral("Not updated, forecast from 3 h ago"));
    QVERIFY2(window.statusText().startsWith(QLatin1String("Showing the values of ")), qPrintable(window.statusText()));
}

void TestPlaces::aDamagedEntryIsNamedInTheWindow()
{
    Fixture f;
    CMainDlg &window = f.open(DES_MOINES, "19/1921000;19/x;38/3807200");
    QVERIFY(window.Start());
    QVERIFY2(window.statusText().contains(QStringLiteral("'19/x'")), qPrintable(window.statusText()));
    QCOMPARE(f.switcher()->places(), (std::vector<LPlaceId>{DES_MOINES, BISMARCK}));
}

// The gravest warning names its place; an advisory, however severe, marks nothing, and the warning's end takes the
// mark away.
void TestPlaces::aWarningMarksItsPlaceInTheSwitcher()
{
    Fixture f;
    CMainDlg &window = f.open(DES_MOINES, "19/1921000;38/3807200");
    QVERIFY(window.Start());
    WAlertRecord advisory;
    advisory.event = "Wind Chill Advisory";
    advisory.severity = "Extreme";
    WAlertRecord storm = advisory;
    storm.event = "Winter Storm Warning";
    storm.severity = "Moderate";
    WAlertRecord blizzard = advisory;
    blizzard.event = "Blizzard Warning";
    blizzard.severity = "Severe";
    window.savedPlaces()->AlertsFor(BISMARCK, {advisory, storm, blizzard});
    QCOMPARE(f.switcher()->entryText(1), QStringLiteral("Bismarck, North Dakota — ⚠ Blizzard Warning"));
    QCOMPARE(f.switcher()->entryText(0), QStringLiteral("Des Moines, Iowa"));
    QCOMPARE(f.switcher()->text(), QStringLiteral("Places ⚠"));
    window.savedPlaces()->AlertsFor(BISMARCK, {advisory});
    QCOMPARE(f.switcher()->entryText(1), QStringLiteral("Bismarck, North Dakota"));
    QCOMPARE(f.switcher()->text(), QStringLiteral("Places"));
}

// The window with the switcher's menu open beside it, into a PNG file for a reviewer.
void TestPlaces::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    Fixture f;
    CMainDlg &window = f.open(DES_MOINES, "19/1921000;38/3807200;17/1772000");
    QVERIFY(window.Start());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(f.showsTemperature(QStringLiteral("24 °C")));
    f.switcher()->SetWarning(BISMARCK, QStringLiteral("Blizzard Warning"));
    QMenu *menu = f.switcher()->menu();
    menu->popup(QPoint());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QImage image(window.width() + menu->width(), std::max(window.height(), menu->height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    window.render(&painter);
    const QPoint at = f.switcher()->mapTo(&window, QPoint(0, f.switcher()->height()));
    menu->render(&painter, QPoint(std::min(at.x(), window.width()), at.y()));
    painter.end();
    QVERIFY(image.save(QStringLiteral(NIMBREL_TEST_OUTPUT "/places-switcher.png")));
}

QTEST_MAIN(TestPlaces)
#include "test_places.moc"
