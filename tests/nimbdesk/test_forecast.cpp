#include "corekit/lex.h"
#include "meteo/reader/wpointforecast_p.h"
#include "nimbdesk/forecast/cforecastcell.h"
#include "nimbdesk/forecast/cforecastpanel.h"
#include "nimbdesk/forecast/cforecaststrip.h"
#include "nimbdesk/forecast/chourchart.h"
#include "nimbdesk/forecast/skypicture.h"
#include "nimbdesk/tray/ctrayicon.h"

#include "tests/support/review.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <functional>

using namespace meteo;
using namespace nimbdesk;

namespace
{

// The moment the recorded answers were made relative to: 2026-05-21 17:30 UTC, 12:30 PM in US Central time.
constexpr std::int64_t NOW = 1779384600;
constexpr std::int64_t HOUR = 3600;

// A recorded answer of the service's point forecast, read as the reader reads it at NOW.
WForecast recorded(const char *name)
{
    QFile file(QStringLiteral(NIMBREL_TEST_DATA "/live/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", name);
    const QByteArray answer = file.readAll();
    WForecast forecast;
    if (readPointForecast(std::string_view(answer.constData(), static_cast<std::size_t>(answer.size())), NOW, forecast)
        != corekit::L_OK)
        qFatal("cannot parse %s", name);
    forecast.fetched = NOW;
    return forecast;
}

// Fifteen periods still to come in Hawaii, from "Wednesday" on.
WForecast periods()
{
    return recorded("gridpoints_HFO_154,145_forecast.json");
}

// The hours of north Texas, from 12 PM: a chance of thunderstorms in the first hours, none overnight.
WForecast hours()
{
    return recorded("gridpoints_FWD_89,104_forecast_hourly.json");
}

QImage renderAt(QWidget &widget, qreal ratio)
{
    QImage image(widget.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(widget.palette().color(QPalette::Window));
    widget.render(&image);
    return image;
}

// Pixels of a rectangle (in device pixels) that are not the background's colour.
int inkIn(const QImage &image, const QRect &area, const QColor &background)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) != background ? 1 : 0;
    }
    return count;
}

bool hasColourIn(const QImage &image, const QRect &area, const QColor &colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x20, 0x22, 0x26));
    palette.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xE8));
    palette.setColor(QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9));
    return palette;
}

QImage picture(const std::string &sky, bool day, const QPalette &palette)
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(palette.color(QPalette::Window));
    QPainter painter(&image);
    drawSkyPicture(painter, QRectF(0, 0, 64, 64), sky, day, SkyColors::of(palette));
    return image;
}

} // namespace

class TestForecast : public QObject
{
    Q_OBJECT

private slots:
    void picturesShowTheirKinds_data();
    void picturesShowTheirKinds();
    void stripDrawsEveryPeriod_data();
    void stripDrawsEveryPeriod();
    void periodsAreToldInWords();
    void oldOrKeptForecastIsMarkedWithItsAge();
    void chartDrawsRainBarsAtTheirHours_data();
    void chartDrawsRainBarsAtTheirHours();
    void hourUnderPointerOrKeysIsTold();
    void panelHidesWithoutServiceAndChartGivesBackItsRoom();
    void trayTipTellsTheNextPeriod();
    void renderForReview();
};

// Each kind's parts are drawn in their colours on a light and a dark window: the sun by day, the moon by night.
void TestForecast::picturesShowTheirKinds_data()
{
    QTest::addColumn<QString>("sky");
    QTest::addColumn<bool>("day");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("absent");
    QTest::newRow("clear day") << "skc" << true << false << "sun"
                               << "moon";
    QTest::newRow("clear night") << "skc" << false << false << "moon"
                                 << "sun";
    QTest::newRow("clear night, dark") << "skc" << false << true << "moon"
                                       << "sun";
    QTest::newRow("rain") << "rain" << true << false << "rain"
                          << "sun";
    QTest::newRow("showers, dark") << "rain_showers" << true << true << "rain"
                                   << "bolt";
    QTest::newRow("thunderstorms") << "tsra" << false << false << "bolt"
                                   << "snow";
    QTest::newRow("freezing rain and snow") << "snow_fzra" << true << false << "snow"
                                            << "sun";
    QTest::newRow("overcast") << "ovc" << true << false << "cloud"
                              << "sun";
    QTest::newRow("windy few clouds") << "wind_few" << true << true << "haze"
                                      << "rain";
    QTest::newRow("hot") << "hot" << true << false << "hot"
                         << "cloud";
    QTest::newRow("unknown") << "volcano" << true << false << "cloud"
                             << "sun";
    QTest::newRow("empty") << "" << false << true << "cloud"
                           << "moon";
}

void TestForecast::picturesShowTheirKinds()
{
    QFETCH(QString, sky);
    QFETCH(bool, day);
    QFETCH(bool, dark);
    QFETCH(QString, present);
    QFETCH(QString, absent);
    const QPalette palette = dark ? darkPalette() : QPalette(Qt::white);
    const SkyColors colors = SkyColors::of(palette);
    const std::map<QString, QColor> named{{"sun", colors.sun}, {"moon", colors.moon}, {"rain", colors.rain},
        {"bolt", colors.bolt}, {"snow", colors.snow}, {"cloud", colors.cloud}, {"haze", colors.haze},
        {"hot", colors.hot}};
    const QImage image = picture(sky.toStdString(), day, palette);
    QVERIFY(hasColourIn(image, image.rect(), named.at(present)));
    QVERIFY(!hasColourIn(image, image.rect(), named.at(absent)));
}

// Each period's cell has its picture and its lines of text; at twice the pixel density they are drawn at that
// density, not enlarged.
void TestForecast::stripDrawsEveryPeriod_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("100%") << 1.0;
    QTest::newRow("200%") << 2.0;
}

void TestForecast::stripDrawsEveryPeriod()
{
    QFETCH(qreal, ratio);
    CForecastStrip strip;
    strip.SetCalendar([] { return NOW; });
    strip.SetForecast(periods());
    strip.resize(strip.sizeHint().width() * 2, strip.sizeHint().height());
    strip.layout()->activate();
    const QImage image = renderAt(strip, ratio);
    const QColor background = strip.palette().color(QPalette::Window);
    QCOMPARE(strip.cells().size(), std::size_t(CForecastStrip::MAX_PERIODS));
    for (CForecastCell *cell : strip.cells()) {
        QVERIFY(cell->isVisibleTo(&strip));
        const QRect area(cell->geometry().topLeft() * ratio, cell->size() * ratio);
        const int line = cell->fontMetrics().height();
        const QRect pictureArea = QRect(area.left(), area.top(), area.width(), int(line * 2.8 * ratio));
        const QRect textArea = QRect(area.left(), pictureArea.bottom() + 1, area.width(), int(line * 2 * ratio));
        QVERIFY2(inkIn(image, pictureArea, background) > line * line * ratio * ratio / 4,
            qPrintable(cell->accessibleName()));
        QVERIFY2(inkIn(image, textArea, background) > line * ratio * ratio, qPrintable(cell->accessibleName()));
        QVERIFY(image.devicePixelRatio() == ratio);
    }
    WForecast few = periods();
    few.periods.resize(3);
    strip.SetForecast(few);
    QCOMPARE(std::count_if(strip.cells().begin(), strip.cells().end(),
                 [&strip](auto *cell) { return cell->isVisibleTo(&strip); }),
        3);
}

// Assistive tools read each period in words, in the temperature unit of the options; its tooltip is the detailed
// forecast.
void TestForecast::periodsAreToldInWords()
{
    CForecastStrip strip;
    strip.SetForecast(periods());
    CForecastCell *night = strip.cells()[1];
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(night);
    QVERIFY(read);
    QCOMPARE(read->text(QAccessible::Name),
        QStringLiteral("Wednesday Night: low 75, scattered rain showers, chance of rain 40 percent"));
    QVERIFY(
        night->toolTip().startsWith(QStringLiteral("Scattered rain showers. Mostly cloudy, with a low around 75.")));
    strip.SetFahrenheit(false);
    QCOMPARE(read->text(QAccessible::Name),
        QStringLiteral("Wednesday Night: low 24, scattered rain showers, chance of rain 40 percent"));
    QCOMPARE(QAccessible::queryAccessibleInterface(strip.cells()[4])->text(QAccessible::Name),
        QStringLiteral("Friday: high 25, mostly sunny"));
}

void TestForecast::oldOrKeptForecastIsMarkedWithItsAge()
{
    std::int64_t now = NOW;
    CForecastStrip strip;
    strip.SetCalendar([&now] { return now; });
    strip.SetForecast(periods());
    QVERIFY(strip.note().isEmpty());

    now += 3 * HOUR;
    strip.SetFailed();
    QCOMPARE(strip.note(), QStringLiteral("Not updated, forecast from 3 h ago"));
    QVERIFY(strip.cells()[0]->isVisibleTo(&strip));

    WForecast old = periods();
    old.old = true;
    old.updated = now - 20 * HOUR;
    strip.SetForecast(old);
    QCOMPARE(strip.note(), QStringLiteral("Old forecast, issued 20 h ago"));
    now += HOUR;
    strip.RefreshAge();
    QCOMPARE(strip.note(), QStringLiteral("Old forecast, issued 21 h ago"));
}

void TestForecast::chartDrawsRainBarsAtTheirHours_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("dark");
    QTest::newRow("100%") << 1.0 << false;
    QTest::newRow("200%, dark") << 2.0 << true;
}

// Bars stand at the hours with a chance of rain and nowhere else.
void TestForecast::chartDrawsRainBarsAtTheirHours()
{
    QFETCH(qreal, ratio);
    QFETCH(bool, dark);
    CHourChart chart;
    if (dark)
        chart.setPalette(darkPalette());
    chart.SetCalendar([] { return NOW; });
    chart.SetHours(hours());
    chart.resize(960, chart.sizeHint().height());
    QCOMPARE(chart.hourCount(), CHourChart::HOURS);
    const QImage image = renderAt(chart, ratio);
    const QColor bar = SkyColors::of(chart.palette()).rain;
    const WForecast recorded = hours();
    for (int index = 0; index < chart.hourCount(); ++index) {
        const int chance = recorded.periods[static_cast<std::size_t>(index)].precipitationChance.value_or(0);
        if (chance > 0 && chance < 10)
            continue;
        const int quarter = (chart.xOf(1) - chart.xOf(0)) / 4;
        const QRect column(int((chart.xOf(index) - quarter) * ratio), 0, int(2 * quarter * ratio), image.height());
        QVERIFY2(hasColourIn(image, column, bar) == (chance > 0), qPrintable(QString::number(index)));
    }
}

// The tooltip under the pointer and the arrow keys tell an hour's values.
void TestForecast::hourUnderPointerOrKeysIsTold()
{
    CHourChart chart;
    chart.SetCalendar([] { return NOW; });
    chart.SetHours(hours());
    chart.resize(960, chart.sizeHint().height());
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const QString onePm = QStringLiteral("Thu 1 PM: 80°F, dew point 73°F, humidity 79%, wind S 15 mph, chance of "
                                         "precipitation 23%, Slight Chance Showers And Thunderstorms");
    QCOMPARE(chart.hourText(1), onePm);
    const QPoint at(chart.xOf(1), chart.height() / 2);
    QHelpEvent help(QEvent::ToolTip, at, chart.mapToGlobal(at));
    QApplication::sendEvent(&chart, &help);
    QTRY_COMPARE(QToolTip::text(), onePm);

    chart.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&chart, Qt::Key_Right);
    QCOMPARE(chart.selectedHour(), 0);
    QTest::keyClick(&chart, Qt::Key_Right);
    QCOMPARE(chart.accessibleDescription(), onePm);
    QTest::keyClick(&chart, Qt::Key_Left);
    QTest::keyClick(&chart, Qt::Key_Left);
    QCOMPARE(chart.selectedHour(), 0);
    QTRY_VERIFY(QToolTip::text().startsWith(QStringLiteral("Thu 12 PM: 79°F")));
}

// With the state pages as the source there is no strip; the chart opens below it and, closed, leaves the window
// as tall as it was.
void TestForecast::panelHidesWithoutServiceAndChartGivesBackItsRoom()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("gauges")));
    auto *panel = new CForecastPanel(&window);
    layout->addWidget(panel);
    panel->SetCalendar([] { return NOW; });
    QVERIFY(!panel->isVisibleTo(&window));
    panel->ShowPeriods(periods());
    panel->ShowHours(hours());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(panel->isVisible());
    const QSize before = window.size();

    panel->toggle()->click();
    QVERIFY(panel->chart()->isVisible());
    QVERIFY(window.height() >= before.height() + panel->chart()->sizeHint().height());
    panel->toggle()->click();
    QVERIFY(!panel->chart()->isVisible());
    QCOMPARE(window.size(), before);

    panel->SetAvailable(false);
    QVERIFY(!panel->isVisible());
    panel->SetAvailable(true);
    QVERIFY(panel->isVisible());
}

// The next period follows the scale of the options, and goes when there is none.
void TestForecast::trayTipTellsTheNextPeriod()
{
    QWidget window;
    CTrayIcon tray(QStringLiteral("Nimbrel"), &window);
    tray.SetFahrenheit(true);
    const WForecast forecast = periods();
    tray.ShowNextPeriod(forecast.periods[1]);
    QCOMPARE(tray.toolTip(), QStringLiteral("Nimbrel\nWednesday Night: low 75, 40% scattered rain showers"));
    tray.SetFahrenheit(false);
    QCOMPARE(tray.toolTip(), QStringLiteral("Nimbrel\nWednesday Night: low 24, 40% scattered rain showers"));
    tray.ShowNextPeriod(std::nullopt);
    QCOMPARE(tray.toolTip(), QStringLiteral("Nimbrel"));
}

// The panel with its chart open, on a light and a dark window and at twice the pixel density.
void TestForecast::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    for (const bool dark : {false, true}) {
        CForecastPanel panel;
        if (dark)
            panel.setPalette(darkPalette());
        panel.SetCalendar([] { return NOW; });
        panel.ShowPeriods(periods());
        panel.ShowHours(hours());
        panel.SetChartOpen(true);
        panel.resize(720, panel.sizeHint().height());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        if (QWidget *focused = panel.focusWidget())
            focused->clearFocus();
        const QString stem = QStringLiteral(NIMBREL_TEST_OUTPUT "/forecast") + (dark ? "-dark" : "");
        QVERIFY(panel.grab().save(stem + QStringLiteral(".png")));
        QVERIFY(renderAt(panel, 2).save(stem + QStringLiteral("@2x.png")));
    }
}

QTEST_MAIN(TestForecast)
#include "test_forecast.moc"
