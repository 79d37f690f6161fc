#include "nimbdesk/window/cmaindlg.h"

#include "corekit/lex.h"
#include "meteo/base/wcondition.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/common/appicon.h"
#include "nimbdesk/gauges/caccessiblecontrol.h"
#include "nimbdesk/gauges/cweatherline.h"
#include "nimbdesk/gauges/cwlabel.h"
#include "nimbdesk/gauges/cwpres.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/gauges/cwtemp.h"
#include "nimbdesk/gauges/cwwind.h"
#include "nimbdesk/location/clocationdlg.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "nimbdesk/window/caboutdlg.h"
#include "nimbdesk/window/ctextviewdlg.h"
#include "nimbdesk/window/datadir.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "settings/lfontrecord.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/desktoptray.h"
#include "tests/support/httpserver.h"
#include "tests/support/productpages.h"
#include "tests/support/review.h"
#include "tests/support/tempdir.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

using nimbreltest::productFile;
using nimbreltest::productPage;
using namespace std::chrono_literals;

// Identifiers of the committed location files. East Williston, New York reports through station KJFK and lies in
// forecast zone NYZ177; Springfield, Illinois through KSPI, zone ILZ051.
constexpr std::uint32_t NEW_YORK = 36;
constexpr std::uint32_t EAST_WILLISTON = 3623217;
constexpr std::uint32_t ILLINOIS = 17;
constexpr std::uint32_t SPRINGFIELD = 1772000;
// Des Moines, Iowa reports through KDSM; KIKV at Ankeny lies 14 km away.
constexpr std::uint32_t IOWA = 19;
constexpr std::uint32_t DES_MOINES = 1921000;

// A zone forecast as the product server sends it: its zone line, then lines of about 65 characters.
const std::string FORECAST_PRODUCT = "NYZ177-022100-\n"
                                     ".TODAY...SNOW. HIGHS AROUND 30. NORTH WINDS\n"
                                     "10 TO 15 MPH.\n"
                                     ".TONIGHT...CLOUDY. LOWS AROUND 20.\n"
                                     "$$\n";

// Counts the cycles that reached the window's end, by their last event.
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

// Runs the action once a modal dialog of the type is up, while the code under test waits in its exec().
template<class Dialog>
void whenModal(std::function<void(Dialog *)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        Dialog *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        action(dialog);
    });
    poll->start(5);
}

// As a person picks in the location dialog: a state, then a city, then OK.
void pickPlace(CLocationDlg *dialog, const QString &state, const QString &city)
{
    for (const auto &[name, text] : {std::pair{"states", state}, std::pair{"cities", city}}) {
        QListWidget *list = dialog->findChild<QListWidget *>(QLatin1String(name));
        const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.first());
    }
    dialog->accept();
}

// The program's settings in a directory of their own, the product servers on loopback, and a worker clock that
// stands still: a cycle starts only when the window passes the worker an interval, a place or itself.
class Fixture
{
public:
    Fixture()
    {
        nimbreltest::clearProxyEnvironment();
        pointAtLoopback();
    }

    void pointAtLoopback()
    {
        keeper.SetString(
            LSettings::INTERNET, LSettings::CONDITIONS_BASE, server.url("/weather/current/").c_str(), false);
        keeper.SetString(LSettings::INTERNET, LSettings::WARNINGS_BASE, server.url("/iwin/").c_str(), false);
        // The texts come from the state pages, not from the web service, which is pointed at loopback as well so
        // that nothing leaves the machine.
        keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, 0, false);
        keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, server.url("/api/").c_str(), false);
    }

    CUpdateTiming timing()
    {
        CUpdateTiming frozen;
        frozen.clock = [this] {
            ++clockReads;
            return std::chrono::steady_clock::time_point();
        };
        frozen.tick = 5ms;
        frozen.handOver = 1ms;
        return frozen;
    }

    CMainDlg &open(CTraySystem tray = {})
    {
        window.reset();
        window = std::make_unique<CMainDlg>(settings.path().string(), timing(), std::move(tray));
        window->installEventFilter(&cycles);
        return *window;
    }

    void storePlace(std::uint32_t state, std::uint32_t city)
    {
        keeper.SetInt(LSettings::LOCATION, LSettings::STATE, state, false);
        keeper.SetInt(LSettings::LOCATION, LSettings::CITY, city, false);
    }

    void setInt(const char *section, const char *key, std::uint32_t value)
    {
        keeper.SetInt(section, key, value, false);
    }

    std::uint32_t getInt(const char *section, const char *key)
    {
        std::uint32_t value = 0xDEADu;
        keeper.GetInt(section, key, value, false);
        return value;
    }

    void serveEastWilliston()
    {
        serveObservation(10);
        server.page("/iwin/ny/zone.html", productPage({FORECAST_PRODUCT}));
        server.page("/iwin/ny/allwarnings.html", productPage({productFile("WSWOKX_10.txt")}));
        server.page("/iwin/ny/special.html", productPage({productFile("SPS_SPSOKX.txt")}));
    }

    // The recorded KJFK report, restamped as made that many minutes ago: as recorded it is weeks old by now.
    void serveObservation(std::time_t minutesAgo) { serveStation("KJFK", minutesAgo); }

    // The same report, made by another station.
    void serveStation(const std::string &station, std::time_t minutesAgo)
    {
        const std::time_t made = std::time(nullptr) - minutesAgo * 60;
        std::tm utc{};
        gmtime_r(&made, &utc);
        char stamp[8] = {};
        std::strftime(stamp, sizeof stamp, "%d%H%MZ", &utc);
        std::string page = nimbreltest::TempDir::read(NIMBREL_TEST_DATA "/conditions/KJFK.html");
        page.replace(page.find("KJFK 121851Z"), 12, station + ' ' + stamp);
        server.page("/weather/current/" + station + ".html", page);
    }

    void serveNotFound(const std::string &target) { server.page(target, "<HTML>Not here</HTML>\r\n", 404); }

    std::vector<std::string> requested(std::size_t from = 0) const
    {
        std::vector<std::string> targets;
        const auto requests = server.requests();
        for (std::size_t i = from; i < requests.size(); ++i)
            targets.push_back(requests[i].target);
        return targets;
    }

    // Lets the worker tick a few times; a cycle that was due would have begun meanwhile.
    bool ticksPass()
    {
        const int reads = clockReads;
        return QTest::qWaitFor([&] { return clockReads >= reads + 5; }, 10000);
    }

    bool cycleFinished()
    {
        return QTest::qWaitFor([&] { return window->statusText().startsWith(QLatin1String("Last updated: ")); }, 30000);
    }

    // Starts a cycle and waits until the window has taken in its end, whatever failed.
    bool updateNow()
    {
        const int before = cycles.ended;
        window->UpdateNow();
        return QTest::qWaitFor([&] { return cycles.ended > before; }, 30000);
    }

    template<class T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    QString gaugeText(const char *name) const { return child<CWgauge>(name)->displayText(); }

    nimbreltest::TempDir settings;
    LWinKeeper keeper{"Nimbrel", settings.path().string()};
    nimbreltest::HttpServer server;
    std::atomic<int> clockReads{0};
    CycleCounter cycles;
    // Last, so that it goes first: the worker reads the fixture's clock until it stops.
    std::unique_ptr<CMainDlg> window;
};

QImage imageOf(const QIcon &icon)
{
    return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32);
}

int pixelsOf(const QImage &image, const QColor &color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    }
    return count;
}

// Drawn straight into the format the PNG files take, since converting a large image would hand it to Qt's
// thread pool.
// A desktop's dark colour scheme, as a dark theme hands it to the program.
QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2b);
    const QColor text(0xe6, 0xe6, 0xe6);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

QImage renderedAt(QWidget &widget, int scale)
{
    QImage image(widget.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

} // namespace

class TestMainDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstStartLaysDownDefaultsAndAsksForAPlace();
    void cancellingThePlaceAtFirstStartEndsTheProgram();
    void applySettingsPassesOnlyWhatChanged();
    void observationShowsInTheChosenUnits();
    void weatherInWordsMovesNoGauge();
    void wholeCycleAgainstTheProductServers();
    void failedFetchesKeepTheLastTextsWithTheirTime();
    void oldObservationIsMarked();
    void quietStationGivesWayToANearbyOne();
    void changingThePlaceBlanksAndDropsTheOldTexts();
    void statusLineTakesInfoTextsOnCharacterBoundaries();
    void keysAndMinimisingLeaveTheMonitorRunning();
    void minimisedWithATrayTheWindowHidesInIt();
    void startedMinimisedTheWindowWaits();
    void exitAndTheCloseBoxStopTheWorker();
    void locationFilesFoundWhereverStarted();
    void damagedLocationFilesAreNamed();
    void settingsThatCannotBeSavedAreToldOnceAndKept();
    void storedNumbersOutOfRangeAreHeldAndNamed();
    void renderForReview();
};

void TestMainDlg::initTestCase()
{
    WLocationDB::initLocationDB(NIMBREL_SOURCE_DIR "/data");
}

void TestMainDlg::cleanupTestCase()
{
    WLocationDB::closeLocationDB();
    nimbreltest::clearProxyEnvironment();
}

void TestMainDlg::firstStartLaysDownDefaultsAndAsksForAPlace()
{
    Fixture f;
    f.serveEastWilliston();
    bool asked = false;
    bool okEnabledAtFirst = true;
    whenModal<CLocationDlg>([&](CLocationDlg *dialog) {
        asked = true;
        okEnabledAtFirst = dialog->findChild<QListWidget *>(QStringLiteral("cities"))->count() != 0;
        pickPlace(dialog, QStringLiteral("New York"), QStringLiteral("East Williston"));
    });
    QVERIFY(f.open().Start());
    QVERIFY(asked);
    QVERIFY(!okEnabledAtFirst);

    QCOMPARE(f.getInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 15u);
    QCOMPARE(f.getInt(LSettings::GENERAL, LSettings::FOREGROUND_COLOR), 255u);
    QCOMPARE(f.getInt(LSettings::FORECAST_TICKER, LSettings::TEXT_COLOR), 65280u);
    QCOMPARE(f.getInt(LSettings::WARNINGS_TICKER, LSettings::DELAY), 30u);
    QCOMPARE(f.getInt(LSettings::SPECIAL, "ShowWarnings"), 1u);
    QCOMPARE(f.getInt(LSettings::SPECIAL, "ShowStatements"), 0u);
    LBinary font;
    QCOMPARE(f.keeper.GetBinary(LSettings::GENERAL, LSettings::HEADER_FONT, font, false), int(L_OK));
    QCOMPARE(font.size(), LFontRecord::SIZE);
    QCOMPARE(f.getInt(LSettings::LOCATION, LSettings::CITY), EAST_WILLISTON);

    // The defaults reached the controls, and the place the header and the worker, which starts at once.
    QCOMPARE(f.child<CWlabel>("header")->GetText(), QStringLiteral("East Williston, New York"));
    QCOMPARE(f.child<CWptkr>("forecastTicker")->GetDelay(), 30L);
    QCOMPARE(f.child<CWtemp>("temperature")->GetScale(), short(0));
    QVERIFY(f.cycleFinished());
    QCOMPARE(f.requested(),
        (std::vector<std::string>{"/weather/current/KJFK.html", "/iwin/ny/zone.html", "/iwin/ny/allwarnings.html"}));
}

void TestMainDlg::cancellingThePlaceAtFirstStartEndsTheProgram()
{
    Fixture f;
    whenModal<CLocationDlg>([](CLocationDlg *dialog) { dialog->reject(); });
    QVERIFY(!f.open().Start());
    QVERIFY(!f.keeper.Exists(LSettings::LOCATION, LSettings::STATE, false));
    // The defaults are down all the same; the worker never had a place.
    QCOMPARE(f.getInt(LSettings::GENERAL, LSettings::PRESSURE_SCALE), 0u);
    std::vector<WAlertRecord> alerts;
    WLocation place;
    f.window->worker().CopyAlerts(alerts, place);
    QVERIFY2(!place.isValid(), "the worker has no place to fetch for");
    QVERIFY(f.server.requests().empty());

    // A stored place that the location files do not list is asked for again.
    f.storePlace(NEW_YORK, 99999999);
    bool asked = false;
    whenModal<CLocationDlg>([&](CLocationDlg *dialog) {
        asked = true;
        dialog->reject();
    });
    QVERIFY(!f.open().Start());
    QVERIFY(asked);
}

void TestMainDlg::applySettingsPassesOnlyWhatChanged()
{
    Fixture f;
    f.serveEastWilliston();
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY(f.cycleFinished());
    const std::size_t firstCycle = f.server.requests().size();

    // Nothing changed: no interval, no place, so no cycle.
    window.ApplySettings();
    QVERIFY(f.ticksPass());
    QCOMPARE(f.server.requests().size(), firstCycle);

    // Looks, units and kinds of message reach the controls and the worker without starting a cycle.
    f.setInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 1);
    f.setInt(LSettings::FORECAST_TICKER, LSettings::DELAY, 10);
    f.setInt(LSettings::WARNINGS_TICKER, LSettings::DELAY, 3);
    LFontRecord big = LFontRecord::standard();
    big.height = -26;
    f.keeper.SetBinary(LSettings::GENERAL, LSettings::FONT, big.toBinary(), false);
    f.setInt(LSettings::SPECIAL, "ShowStatements", 1);
    const int smallFont = f.child<CWtemp>("temperature")->GetFont().pixelSize();
    window.ApplySettings();
    QVERIFY(f.ticksPass());
    QCOMPARE(f.server.requests().size(), firstCycle);
    QCOMPARE(f.gaugeText("temperature"), QStringLiteral("76 °F"));
    QCOMPARE(f.child<CWptkr>("forecastTicker")->GetDelay(), 10L);
    QCOMPARE(f.child<CWptkr>("specialTicker")->GetDelay(), long(CWptkr::MIN_DELAY));
    const QFont gaugeFont = f.child<CWtemp>("temperature")->GetFont();
    QVERIFY2(gaugeFont.pixelSize() > smallFont || gaugeFont.pointSizeF() > 12, "the gauge font did not grow");

    // A new interval starts a cycle at once, now with the statements.
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 20);
    window.ApplySettings();
    QVERIFY(QTest::qWaitFor([&] { return f.requested(firstCycle).size() == 4; }, 30000));
    QCOMPARE(f.requested(firstCycle).back(), "/iwin/ny/special.html");

    // A new place starts one for the new place and names it in the header.
    QVERIFY(f.cycleFinished());
    const std::size_t secondCycle = f.server.requests().size();
    f.storePlace(ILLINOIS, SPRINGFIELD);
    window.ApplySettings();
    QVERIFY(QTest::qWaitFor([&] { return !f.requested(secondCycle).empty(); }, 30000));
    QCOMPARE(f.requested(secondCycle).front(), "/weather/current/KSPI.html");
    QCOMPARE(f.child<CWlabel>("header")->GetText(), QStringLiteral("Springfield, Illinois"));
}

void TestMainDlg::observationShowsInTheChosenUnits()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    // No value yet, not zeros; the tray shows the program's name and icon.
    QCOMPARE(f.gaugeText("temperature"), QStringLiteral("--"));
    QCOMPARE(f.gaugeText("wind"), QStringLiteral("--"));
    QCOMPARE(window.trayIcon()->toolTip(), QStringLiteral("Nimbrel"));
    QCOMPARE(imageOf(window.trayIcon()->icon()), imageOf(applicationIcon()));

    f.setInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 1);
    f.setInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, 1);
    f.setInt(LSettings::GENERAL, LSettings::PRESSURE_SCALE, 2);
    f.setInt(LSettings::GENERAL, LSettings::FOREGROUND_COLOR, 0x00FFFF);
    window.ApplySettings();
    // KJFK 121851Z 18010KT ... 24/12 A3001, with a gust added.
    WCondition observation;
    observation.setTemp(24.4f);
    observation.setDewPoint(12.2f);
    observation.setPressure(30.01f);
    observation.setWindDirection(180);
    observation.setWindSpeed(10);
    observation.setWindGustSpeed(25);
    window.ShowCondition(observation);
    QCOMPARE(f.gaugeText("temperature"), QStringLiteral("76 °F"));
    QCOMPARE(f.gaugeText("dewPoint"), QStringLiteral("54 °F"));
    QCOMPARE(f.gaugeText("wind"), QStringLiteral("19 G 46 KM/H"));
    QCOMPARE(f.gaugeText("pressure"), QStringLiteral("1016 hPa"));
    QCOMPARE(window.trayIcon()->toolTip(), QStringLiteral("Nimbrel (76 F)"));
    // The number is drawn in the gauges' text colour, yellow here.
    QVERIFY(pixelsOf(imageOf(window.trayIcon()->icon()), QColor(255, 255, 0)) > 20);

    f.setInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 0);
    f.setInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, 0);
    f.setInt(LSettings::GENERAL, LSettings::PRESSURE_SCALE, 1);
    window.ApplySettings();
    QCOMPARE(f.gaugeText("temperature"), QStringLiteral("24 °C"));
    QCOMPARE(f.gaugeText("wind"), QStringLiteral("12 G 29 MPH"));
    QCOMPARE(f.gaugeText("pressure"), QStringLiteral("762 mm Hg"));
    QCOMPARE(window.trayIcon()->toolTip(), QStringLiteral("Nimbrel (24 C)"));
}

// The line under the gauges follows the units; a line longer than the window is cut, never widens it.
void TestMainDlg::weatherInWordsMovesNoGauge()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    f.setInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 1);
    f.setInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, 1);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    window.resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const CWeatherLine *words = f.child<CWeatherLine>("weatherWords");
    const QRect gauge = f.child<CWtemp>("temperature")->geometry();
    const QSize least = window.minimumSizeHint();

    WCondition condition;
    condition.setTemp(28.0f);
    WObservation observation = readObservation("KDSM 211854Z 17023G37KT 2 1/2SM -TSRA BR BKN008CB OVC035 28/23 A2951");
    addComfort(observation, 28.0f, 23.0f, 23.0f);
    condition.setObservation(observation);
    window.ShowCondition(condition);
    window.centralWidget()->layout()->activate();
    QCOMPARE(words->GetText(),
        QStringLiteral("Thunderstorm, light rain, mist · Broken 240 m (CB), overcast 1,070 m · Visibility 4 km · "
                       "Humidity 74% · Feels like 88°F"));
    QCOMPARE(words->toolTip(), words->GetText());
    QCOMPARE(window.trayIcon()->toolTip(), QStringLiteral("Nimbrel (82 F, thunderstorm, light rain, mist)"));
    QCOMPARE(window.minimumSizeHint(), least);
    QCOMPARE(f.child<CWtemp>("temperature")->geometry(), gauge);

    f.setInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, 0);
    f.setInt(LSettings::GENERAL, LSettings::WIND_SPEED_SCALE, 0);
    window.ApplySettings();
    QVERIFY(words->GetText().startsWith(QStringLiteral("Thunderstorm, light rain, mist · Broken 800 ft (CB)")));
    QVERIFY(words->GetText().endsWith(QStringLiteral("Visibility 2½ mi · Humidity 74% · Feels like 31°C")));
}

void TestMainDlg::wholeCycleAgainstTheProductServers()
{
    Fixture f;
    f.serveEastWilliston();
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::SPECIAL, "ShowStatements", 1);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY(f.cycleFinished());

    QCOMPARE(f.gaugeText("temperature"), QStringLiteral("24 °C"));
    QCOMPARE(f.gaugeText("dewPoint"), QStringLiteral("12 °C"));
    QCOMPARE(f.gaugeText("wind"), QStringLiteral("12 MPH"));
    QCOMPARE(f.child<CWwind>("wind")->directionText(), QStringLiteral("S"));
    QCOMPARE(f.gaugeText("pressure"), QStringLiteral("30.01 inHg"));
    QCOMPARE(f.child<CWeatherLine>("weatherWords")->GetText(),
        QStringLiteral("Few clouds 5,000 ft · Visibility 10 mi · Humidity 47%"));
    // The report's own time, in local time.
    const QRegularExpression clock(QStringLiteral("^\\d{1,2}:\\d\\d [AP]M"));
    const QString observed = f.child<QLabel>("observedAt")->text();
    QVERIFY2(observed.startsWith(QLatin1String("Observed ")) && clock.match(observed.mid(9)).hasMatch(),
        qPrintable(observed));
    QVERIFY(!f.child<CWtemp>("temperature")->IsStale());
    const QString tip = window.trayIcon()->toolTip();
    QVERIFY2(tip.startsWith(QLatin1String("Nimbrel (24 C, ")) && clock.match(tip.mid(15)).hasMatch()
            && tip.endsWith(QLatin1Char(')')),
        qPrintable(tip));

    // As the reader keeps a product: CRLF line ends, a blank before each line after the first.
    QCOMPARE(window.forecastText(),
        QStringLiteral(".TODAY...SNOW. HIGHS AROUND 30. NORTH WINDS\r\n 10 TO 15 MPH.\r\n"
                       " .TONIGHT...CLOUDY. LOWS AROUND 20.\r\n"));
    QCOMPARE(f.child<CWptkr>("forecastTicker")->GetText(),
        QStringLiteral(".TODAY...SNOW. HIGHS AROUND 30. NORTH WINDS 10 TO 15 MPH. .TONIGHT...CLOUDY. LOWS AROUND 20."));

    // Warnings first, then the statements, with one separator between them and none around.
    const QString special = window.specialText();
    QCOMPARE(special.count(CMainDlg::MESSAGE_SEPARATOR), 1);
    const QStringList parts = special.split(CMainDlg::MESSAGE_SEPARATOR);
    QVERIFY(parts[0].contains(QLatin1String("WINTER WEATHER ADVISORY IN EFFECT")));
    QVERIFY(parts[1].contains(QLatin1String("brush fire spread")));
    QVERIFY(!parts[0].startsWith(QLatin1Char('\r')) && !parts[1].isEmpty());
    QCOMPARE(f.child<CWptkr>("specialTicker")->GetText(), special.simplified());

    QVERIFY(QRegularExpression(QStringLiteral("^Last updated: \\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                .match(window.statusText())
                .hasMatch());

    // ">>" shows the whole text with its lines, and closing it changes nothing.
    QString shown;
    whenModal<CTextViewDlg>([&](CTextViewDlg *dialog) {
        shown = dialog->text();
        dialog->reject();
    });
    f.child<QToolButton>("specialMore")->click();
    QCOMPARE(shown, QString(special).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(window.specialText(), special);
}

void TestMainDlg::failedFetchesKeepTheLastTextsWithTheirTime()
{
    Fixture f;
    f.serveEastWilliston();
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY(f.cycleFinished());
    const QString forecast = f.child<CWptkr>("forecastTicker")->GetText();
    const QString warnings = f.child<CWptkr>("specialTicker")->GetText();
    QVERIFY(warnings.contains(QLatin1String("WINTER WEATHER ADVISORY")));
    const QColor red(255, 0, 0);
    QVERIFY(pixelsOf(imageOf(window.trayIcon()->icon()), red) > 20);

    // The pages are gone: the gauges keep their values, both texts stay with the time they were fetched, and the
    // status line, the tray's tip and its grey number say that nothing updated, and why.
    for (const char *target : {"/weather/current/KJFK.html", "/iwin/ny/zone.html", "/iwin/ny/allwarnings.html"})
        f.serveNotFound(target);
    QVERIFY(f.updateNow());
    const QRegularExpression marked(QStringLiteral("^\\[as of \\d{1,2}:\\d\\d [AP]M\\] "));
    const QString keptForecast = f.child<CWptkr>("forecastTicker")->GetText();
    QVERIFY2(marked.match(keptForecast).hasMatch() && keptForecast.endsWith(forecast), qPrintable(keptForecast));
    const QString keptWarnings = f.child<CWptkr>("specialTicker")->GetText();
    QVERIFY2(marked.match(keptWarnings).hasMatch() && keptWarnings.endsWith(warnings), qPrintable(keptWarnings));
    QVERIFY(marked.match(window.specialText()).hasMatch());
    QCOMPARE(f.gaugeText("temperature"), QStringLiteral("24 °C"));
    QVERIFY2(QRegularExpression(QStringLiteral("^No update succeeded since \\d{1,2}:\\d\\d [AP]M: not found "
                                               "\\(404\\)\\.$"))
                 .match(window.statusText())
                 .hasMatch(),
        qPrintable(window.statusText()));
    QVERIFY(
        window.statusStory().contains(QLatin1String("Warnings: not updated (not found (404)); showing the text of ")));
    QVERIFY(window.trayIcon()->toolTip().endsWith(QLatin1Char('\n') + window.statusText()));
    QCOMPARE(pixelsOf(imageOf(window.trayIcon()->icon()), red), 0);

    // Back again: no marks. Then the warning has expired: nothing for the place on the page, and it goes.
    f.serveEastWilliston();
    QVERIFY(f.updateNow());
    QVERIFY(window.statusText().startsWith(QLatin1String("Last updated: ")));
    QCOMPARE(f.child<CWptkr>("forecastTicker")->GetText(), forecast);
    QCOMPARE(f.child<CWptkr>("specialTicker")->GetText(), warnings);
    QVERIFY(pixelsOf(imageOf(window.trayIcon()->icon()), red) > 20);
    f.server.page("/iwin/ny/allwarnings.html", productPage({productFile("WSW_WSWDLH.txt")}));
    QVERIFY(f.updateNow());
    QVERIFY(window.statusText().startsWith(QLatin1String("Last updated: ")));
    QVERIFY(window.specialText().isEmpty());
    QVERIFY(f.child<CWptkr>("specialTicker")->GetText().isEmpty());
}

void TestMainDlg::oldObservationIsMarked()
{
    Fixture f;
    f.serveEastWilliston();
    f.serveObservation(3 * 60);
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY(f.cycleFinished());
    for (const char *gauge : {"temperature", "dewPoint", "wind", "pressure"})
        QVERIFY2(f.child<CWgauge>(gauge)->IsStale(), gauge);
    QVERIFY(f.child<QLabel>("observedAt")->text().endsWith(QLatin1String(", 3 h ago")));
    QCOMPARE(window.trayIcon()->toolTip(), QStringLiteral("Nimbrel (24 C, observed 3 h ago)"));
    QCOMPARE(pixelsOf(imageOf(window.trayIcon()->icon()), QColor(255, 0, 0)), 0);

    // A report stamped well ahead of this computer's clock is not trusted either: its number stays grey.
    f.serveObservation(-20);
    QVERIFY(f.updateNow());
    QVERIFY(f.child<QLabel>("observedAt")->text().endsWith(QLatin1String("ahead of this computer's clock")));
    QCOMPARE(pixelsOf(imageOf(window.trayIcon()->icon()), QColor(255, 0, 0)), 0);
}

// The place's station has not reported for five hours: Ankeny's fresh report shows, and every place that tells
// the observation's time names the station and says why.
void TestMainDlg::quietStationGivesWayToANearbyOne()
{
    CAccessibleControl::install();
    Fixture f;
    f.serveStation("KDSM", 5 * 60);
    f.serveStation("KIKV", 10);
    f.storePlace(IOWA, DES_MOINES);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QTRY_VERIFY_WITH_TIMEOUT(f.cycles.ended > 0, 30000);
    const QString line = f.child<QLabel>("observedAt")->text();
    const QRegularExpression named(QStringLiteral(
        "^Observed at KIKV \\(Ankeny, 14 km\\) (\\d\\d/\\d\\d )?\\d{1,2}:\\d\\d [AP]M: KDSM has not reported since "
        "(\\d\\d/\\d\\d )?\\d{1,2}:\\d\\d [AP]M$"));
    QVERIFY2(named.match(line).hasMatch(), qPrintable(line));
    QVERIFY2(window.trayIcon()->toolTip().split(QLatin1Char('\n')).mid(1).contains(line),
        qPrintable(window.trayIcon()->toolTip()));
    QVERIFY(!f.child<CWgauge>("temperature")->IsStale());
    const QString said
        = QAccessible::queryAccessibleInterface(f.child<CWgauge>("temperature"))->text(QAccessible::Description);
    QVERIFY2(said.contains(QLatin1String(", observed at KIKV (Ankeny, 14 km) ")), qPrintable(said));
    QVERIFY(f.child<CWeatherLine>("weatherWords")->accessibleDescription().contains(QLatin1String("KDSM has not")));

    // Back to the place's own station as soon as it reports again.
    f.serveStation("KDSM", 5);
    std::size_t asked = f.server.requests().size();
    QVERIFY(f.updateNow());
    QVERIFY(f.child<QLabel>("observedAt")->text().startsWith(QLatin1String("Observed ")));
    QVERIFY(!f.child<QLabel>("observedAt")->text().contains(QLatin1String("KIKV")));
    QVERIFY(!window.trayIcon()->toolTip().contains(QLatin1String("KIKV")));
    QCOMPARE(f.requested(asked).front(), std::string("/weather/current/KDSM.html"));
    QVERIFY(f.requested(asked).at(1) != "/weather/current/KIKV.html");

    // With the option off the place's station speaks alone, old as it is.
    f.serveStation("KDSM", 5 * 60);
    f.setInt(LSettings::INTERNET, LSettings::USE_NEARBY_STATION, 0);
    window.ApplySettings();
    asked = f.server.requests().size();
    QVERIFY(f.updateNow());
    const std::vector<std::string> targets = f.requested(asked);
    QVERIFY(std::find(targets.begin(), targets.end(), "/weather/current/KIKV.html") == targets.end());
    QVERIFY(f.child<CWgauge>("temperature")->IsStale());
    QVERIFY(f.child<QLabel>("observedAt")->text().endsWith(QLatin1String(", 5 h ago")));
}

void TestMainDlg::changingThePlaceBlanksAndDropsTheOldTexts()
{
    Fixture f;
    f.serveEastWilliston();
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY(f.cycleFinished());
    const QString forecast = window.forecastText();
    QVERIFY(!f.child<CWptkr>("forecastTicker")->GetText().isEmpty());

    // Springfield has no pages on the servers: nothing of it arrives to fill the tickers again, and nothing of
    // East Williston is kept for it. Until its first cycle ends, the ">>" buttons still have the last texts.
    const std::size_t before = f.server.requests().size();
    const int cycles = f.cycles.ended;
    whenModal<CLocationDlg>(
        [](CLocationDlg *dialog) { pickPlace(dialog, QStringLiteral("Illinois"), QStringLiteral("Springfield")); });
    f.child<QAction>("selectLocation")->trigger();
    QCOMPARE(f.child<CWlabel>("header")->GetText(), QStringLiteral("Springfield, Illinois"));
    QVERIFY(f.child<CWptkr>("forecastTicker")->GetText().isEmpty());
    QVERIFY(f.child<CWptkr>("specialTicker")->GetText().isEmpty());
    QCOMPARE(window.forecastText(), forecast);
    QVERIFY(QTest::qWaitFor([&] { return f.cycles.ended > cycles; }, 30000));
    QCOMPARE(f.requested(before).front(), "/weather/current/KSPI.html");
    QVERIFY(f.child<CWptkr>("forecastTicker")->GetText().isEmpty());
    QVERIFY(f.child<CWptkr>("specialTicker")->GetText().isEmpty());
    QVERIFY(window.forecastText().isEmpty());
    QVERIFY(window.specialText().isEmpty());
    QVERIFY(window.statusText().startsWith(QLatin1String("No update succeeded since ")));

    // Cancel changes nothing: the tickers go on with what they have.
    f.child<CWptkr>("forecastTicker")->Scroll(QStringLiteral("KEPT"));
    whenModal<CLocationDlg>([](CLocationDlg *dialog) { dialog->reject(); });
    f.child<QAction>("selectLocation")->trigger();
    QCOMPARE(f.child<CWptkr>("forecastTicker")->GetText(), QStringLiteral("KEPT"));
    QCOMPARE(f.getInt(LSettings::LOCATION, LSettings::STATE), ILLINOIS);
}

void TestMainDlg::statusLineTakesInfoTextsOnCharacterBoundaries()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());

    // 254 letters and a two-byte "ñ": the 255-byte cut falls inside it, so it goes whole.
    const std::string progress = std::string(254, 'a') + "\xC3\xB1" + "bc";
    window.worker().SetText(LString(progress.c_str()));
    QTRY_COMPARE(window.statusText(), QString(254, QLatin1Char('a')));
    const std::string fits = std::string(253, 'a') + "\xC3\xB1" + "bc";
    window.worker().SetText(LString(fits.c_str()));
    QTRY_COMPARE(window.statusText(), QString(253, QLatin1Char('a')) + QChar(0xF1));

    // A text and at once a clear: the events arrive in order and the line ends empty.
    window.worker().SetText(LString("Getting current conditions..."));
    window.worker().Clear();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(window.statusText(), QString());
}

void TestMainDlg::keysAndMinimisingLeaveTheMonitorRunning()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&window, key);
        QTest::keyClick(f.child<CWptkr>("forecastTicker"), key);
    }
    QVERIFY(window.isVisible());
    QCOMPARE(window.worker().GetState(), LThread::State::Running);

    // This desktop has no tray: minimised, the window stays where the task bar can bring it back.
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    window.showMinimized();
    QVERIFY(window.isMinimized());
    QCoreApplication::processEvents();
    QVERIFY(window.isVisible());
    window.Restore();
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
}

// With a tray, the icon shows once the window has started; minimised, the window hides in the tray, and a click on
// the icon brings it back.
void TestMainDlg::minimisedWithATrayTheWindowHidesInIt()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    CMainDlg &window = f.open(nimbreltest::DesktopTray().system());
    QVERIFY(!window.trayIcon()->isVisible());
    QVERIFY(window.Start());
    QVERIFY(window.trayIcon()->isVisible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    QTRY_VERIFY(!window.isVisible());
    emit window.trayIcon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

// Started at login (--minimized), the window waits in the tray where there is one, and minimised in the task bar
// where there is none; started plainly, it shows.
void TestMainDlg::startedMinimisedTheWindowWaits()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    CMainDlg *window = &f.open(nimbreltest::DesktopTray().system());
    QVERIFY(window->Start());
    window->ShowAtStart(true);
    QVERIFY(window->trayIcon()->isVisible());
    QVERIFY(!window->isVisible());

    window = &f.open(nimbreltest::DesktopTray().system());
    QVERIFY(window->Start());
    window->ShowAtStart(false);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isMinimized());

    window = &f.open();
    QVERIFY(window->Start());
    window->ShowAtStart(true);
    QVERIFY(!window->trayIcon()->isVisible());
    QVERIFY(window->isVisible());
    QVERIFY(window->isMinimized());
}

void TestMainDlg::exitAndTheCloseBoxStopTheWorker()
{
    Fixture f;
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0);
    for (const bool byMenu : {true, false}) {
        CMainDlg &window = f.open();
        QVERIFY(window.Start());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (byMenu)
            f.child<QAction>("exit")->trigger();
        else
            window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.worker().GetState(), LThread::State::Stopped);
    }
}

void TestMainDlg::locationFilesFoundWhereverStarted()
{
    // Installed under any prefix: beside the program's folder.
    nimbreltest::TempDir prefix;
    const std::filesystem::path data = prefix.path() / "share" / "nimbrel";
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(prefix.path() / "bin");
    const QString bin = QString::fromStdString((prefix.path() / "bin").string());
    QVERIFY(findDataDirectory(dataDirectoryCandidates(QString(), bin)) != QString::fromStdString(data.string()));
    for (const char *name : {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt"})
        std::filesystem::copy_file(std::filesystem::path(NIMBREL_SOURCE_DIR "/data") / name, data / name);
    QCOMPARE(findDataDirectory(dataDirectoryCandidates(QString(), bin)), QString::fromStdString(data.string()));

    // From a build tree, nothing installed beside it: some folder with the files, the source tree's at the latest.
    const QString found = findDataDirectory(dataDirectoryCandidates(QString(), QStringLiteral("/nonexistent/bin")));
    QVERIFY(holdsLocationFiles(found));

    // A folder named on the command line is the only one looked at.
    nimbreltest::TempDir empty;
    const QString named = QString::fromStdString(empty.path().string());
    QCOMPARE(dataDirectoryCandidates(named, bin), QStringList{named});
    QVERIFY(findDataDirectory(dataDirectoryCandidates(named, bin)).isEmpty());
    std::filesystem::remove(data / "areas.ldt");
    QVERIFY(!holdsLocationFiles(QString::fromStdString(data.string())));
}

// Damage anywhere in the files the location dialog reads is found before the window opens.
void TestMainDlg::damagedLocationFilesAreNamed()
{
    nimbreltest::TempDir folder;
    const QString directory = QString::fromStdString(folder.path().string());
    std::string states;
    std::string cities;
    for (const char *name : {"countries.ldt", "states.ldt", "areas.ldt", "cities.ldt"})
        folder.write(name, nimbreltest::TempDir::read(NIMBREL_SOURCE_DIR "/data/" + std::string(name)));
    states = nimbreltest::TempDir::read(folder.file("states.ldt"));
    cities = nimbreltest::TempDir::read(folder.file("cities.ldt"));
    QCOMPARE(damagedLocationFile(directory), QString());

    const std::vector<std::pair<std::string, std::string>> damages = {
        {"states.ldt", ""},
        {"states.ldt", "\x7f\x45\x4c\x46garbage"},
        {"cities.ldt", ""},
        {"cities.ldt", cities.substr(0, cities.size() / 2 + 7)},
        {"cities.ldt", "abc,1,1,\"Nowhere\",\"\"\n"},
        // A NUL byte would cut the text short: Alabama's code would read "a".
        {"states.ldt", "1,1,\"Alabama\",\"a" + std::string(1, '\0') + "l\"\n"},
        {"cities.ldt", "1,1,1,\"Now" + std::string(1, '\0') + "here\",\"\"\n"},
    };
    for (const auto &[name, text] : damages) {
        folder.write("states.ldt", states);
        folder.write("cities.ldt", cities);
        folder.write(name, text);
        QCOMPARE(damagedLocationFile(directory), QString::fromStdString(name));
    }

    // What stands in place of a file is told before anything opens it.
    folder.write("states.ldt", states);
    QString reason;
    QCOMPARE(unreadableLocationFile(directory, reason), QString());
    std::filesystem::remove(folder.file("cities.ldt"));
    QCOMPARE(mkfifo(folder.file("cities.ldt").c_str(), 0600), 0);
    QVERIFY(holdsLocationFiles(directory));
    QCOMPARE(unreadableLocationFile(directory, reason), QStringLiteral("cities.ldt"));
    QVERIFY2(reason.contains(QStringLiteral("FIFO")), qPrintable(reason));
    std::filesystem::remove(folder.file("states.ldt"));
    std::filesystem::create_directory(folder.file("states.ldt"));
    QCOMPARE(unreadableLocationFile(directory, reason), QStringLiteral("states.ldt"));
    QVERIFY2(reason.contains(QStringLiteral("folder")), qPrintable(reason));
}

// A settings file that cannot be written is told once, in a box that says where and why; the program goes on with
// what the person chooses.
void TestMainDlg::settingsThatCannotBeSavedAreToldOnceAndKept()
{
    Fixture f;
    const std::string file = f.keeper.FilePath(false);
    std::filesystem::remove(file);
    std::filesystem::create_directories(file);
    f.pointAtLoopback();
    f.serveEastWilliston();
    QStringList boxes;
    QTimer acceptor;
    QObject::connect(&acceptor, &QTimer::timeout, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->accept();
        }
    });
    acceptor.start(5);
    whenModal<CLocationDlg>(
        [](CLocationDlg *dialog) { pickPlace(dialog, QStringLiteral("New York"), QStringLiteral("East Williston")); });
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(QString::fromStdString(file)), qPrintable(boxes[0]));
    QVERIFY2(boxes[0].contains(QStringLiteral("a folder stands in place of the file")), qPrintable(boxes[0]));
    QVERIFY(window.statusText().startsWith(QStringLiteral("Settings not saved: ")));
    QCOMPARE(f.child<CWlabel>("header")->GetText(), QStringLiteral("East Williston, New York"));
    QVERIFY(f.cycleFinished());
    QCOMPARE(f.child<CWtemp>("temperature")->GetScale(), short(0));
}

// An update interval that no page would store (4294967295 minutes left a blank window that never fetched) is held to
// the longest the General page offers, the window names the line it mended, and the first cycle runs.
void TestMainDlg::storedNumbersOutOfRangeAreHeldAndNamed()
{
    Fixture f;
    f.serveEastWilliston();
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    f.setInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 4294967295u);
    QString shown;
    whenModal<QMessageBox>([&shown](QMessageBox *box) {
        shown = box->text();
        box->accept();
    });
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    QVERIFY2(shown.contains(QStringLiteral("UpdateTimeout 4294967295 is outside 0 to 180, so 180 is used")),
        qPrintable(shown));
    QVERIFY(f.cycleFinished());
    QCOMPARE(f.getInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), LSettings::MAX_INTERVAL);
}

// The main window after a cycle, at the normal scale and at twice the pixel density, and the About box, into PNG
// files for a reviewer.
void TestMainDlg::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    Fixture f;
    f.serveEastWilliston();
    f.storePlace(NEW_YORK, EAST_WILLISTON);
    CMainDlg &window = f.open();
    QVERIFY(window.Start());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(f.cycleFinished());
    QTest::qWait(1500);

    const QString folder = QStringLiteral(NIMBREL_TEST_OUTPUT);
    QVERIFY(renderedAt(window, 1).save(folder + QStringLiteral("/mainwindow.png")));
    QVERIFY(renderedAt(window, 2).save(folder + QStringLiteral("/mainwindow@2x.png")));
    const QPalette light = QApplication::palette();
    QApplication::setPalette(darkPalette());
    QTest::qWait(1500);
    QVERIFY(renderedAt(window, 1).save(folder + QStringLiteral("/mainwindow-dark.png")));
    QApplication::setPalette(light);
    CAboutDlg about(&window);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(renderedAt(about, 1).save(folder + QStringLiteral("/about.png")));
    QVERIFY(CTrayIcon::temperaturePixmap(QStringLiteral("-12"), 64, Qt::red, Qt::black)
                .save(folder + QStringLiteral("/tray-minus12.png")));
}

QTEST_MAIN(TestMainDlg)
#include "test_maindlg.moc"
