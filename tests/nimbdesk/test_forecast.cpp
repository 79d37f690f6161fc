#include "nimbdesk/forecast/cforecastcell.h"
#include "nimbdesk/forecast/cforecastpanel.h"
#include "nimbdesk/forecast/cforecaststrip.h"
#include "nimbdesk/forecast/chourchart.h"
#include "nimbdesk/forecast/skypicture.h"

#include "tests/support/review.h"

#include <QAccessible>
#include <QApplication>
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

// The moment the recorded answers were made relative to: 2026-05-21 17:30 UTC, 12:30 PM in north Texas (CDT).
constexpr std::int64_t NOW = 1779384600;
constexpr int CDT = -5 * 3600;
constexpr std::int64_t HOUR = 3600;

double celsius(double fahrenheit)
{
    return (fahrenheit - 32) * 5 / 9;
}

WForecastPeriod period(
    const char *name, bool day, double fahrenheit, std::optional<int> chance, const char *sky, const char *words)
{
    WForecastPeriod made;
    made.name = name;
    made.isDaytime = day;
    made.temperature = celsius(fahrenheit);
    made.precipitationChance = chance;
    made.sky = sky;
    made.shortForecast = words;
    made.detailedForecast = std::string(words) + ". Details follow.";
    made.utcOffset = CDT;
    return made;
}

// Seven periods as the north Texas office writes them, from this afternoon on.
WForecast periods()
{
    WForecast forecast;
    forecast.updated = NOW - 92 * 60;
    forecast.fetched = NOW;
    forecast.periods = {period("This Afternoon", true, 83, 30, "tsra_sct", "Chance Showers And Thunderstorms"),
        period("Tonight", false, 72, 70, "tsra", "Thunderstorms Likely"),
        period("Friday", true, 89, std::nullopt, "sct", "Mostly Sunny"),
        period("Friday Night", false, 72, 0, "few", "Mostly Clear"),
        period("Saturday", true, 90, 20, "rain_showers", "Slight Chance Rain Showers"),
        period("Saturday Night", false, 70, std::nullopt, "fog", "Patchy Fog"),
        period("Sunday", true, 91, std::nullopt, "hot", "Sunny And Hot")};
    std::int64_t start = NOW - 30 * 60;
    for (WForecastPeriod &each : forecast.periods) {
        each.start = start;
        each.end = start + 12 * HOUR;
        start = each.end;
    }
    return forecast;
}

// Two days of hours from 12 PM local time: rain likely in the evening hours (6 to 9 PM), dry otherwise.
WForecast hours()
{
    WForecast forecast;
    forecast.fetched = NOW;
    for (int index = 0; index < 52; ++index) {
        WForecastPeriod &hour = forecast.periods.emplace_back();
        hour.number = index + 1;
        hour.start = NOW - 30 * 60 - HOUR + index * HOUR;
        hour.end = hour.start + HOUR;
        hour.utcOffset = CDT;
        const int local = (11 + index) % 24;
        hour.isDaytime = local >= 6 && local < 19;
        hour.temperature = celsius(72 + (local >= 6 && local < 19 ? 12 : 0));
        hour.precipitationChance = local >= 18 && local <= 21 ? 60 : 0;
        hour.dewPoint = 20;
        hour.relativeHumidity = 55;
        hour.windSpeed = "10 mph";
        hour.windDirection = "SW";
        hour.shortForecast = local >= 18 && local <= 21 ? "Showers And Thunderstorms Likely" : "Mostly Sunny";
    }
    return forecast;
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
    CForecastCell *tonight = strip.cells()[1];
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(tonight);
    QVERIFY(read);
    QCOMPARE(read->text(QAccessible::Name),
        QStringLiteral("Tonight: low 72, thunderstorms likely, chance of rain 70 percent"));
    QCOMPARE(tonight->toolTip(), QStringLiteral("Thunderstorms Likely. Details follow."));
    strip.SetFahrenheit(false);
    QCOMPARE(read->text(QAccessible::Name),
        QStringLiteral("Tonight: low 22, thunderstorms likely, chance of rain 70 percent"));
    QCOMPARE(QAccessible::queryAccessibleInterface(strip.cells()[2])->text(QAccessible::Name),
        QStringLiteral("Friday: high 32, mostly sunny"));
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

// Bars stand at the rainy evening hours and nowhere else; the hours past are left out.
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
    for (int index = 0; index < chart.hourCount(); ++index) {
        const int local = (12 + index) % 24;
        const bool rainy = local >= 18 && local <= 21;
        const QRect column(int(chart.xOf(index) * ratio) - 1, 0, 3, image.height());
        QVERIFY2(hasColourIn(image, column, bar) == rainy, qPrintable(QString::number(index)));
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
    const QString sixPm = QStringLiteral("Thu 6 PM: 84°F, dew point 68°F, humidity 55%, wind SW 10 mph, chance of "
                                         "precipitation 60%, Showers And Thunderstorms Likely");
    QCOMPARE(chart.hourText(6), sixPm);
    const QPoint at(chart.xOf(6), chart.height() / 2);
    QHelpEvent help(QEvent::ToolTip, at, chart.mapToGlobal(at));
    QApplication::sendEvent(&chart, &help);
    QTRY_COMPARE(QToolTip::text(), sixPm);

    chart.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&chart, Qt::Key_Right);
    QCOMPARE(chart.selectedHour(), 0);
    for (int step = 0; step < 6; ++step)
        QTest::keyClick(&chart, Qt::Key_Right);
    QCOMPARE(chart.accessibleDescription(), sixPm);
    QTest::keyClick(&chart, Qt::Key_Left);
    QCOMPARE(chart.selectedHour(), 5);
    QTRY_VERIFY(QToolTip::text().startsWith(QStringLiteral("Thu 5 PM: 84°F")));
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
        const QString stem = QStringLiteral(NIMBREL_TEST_OUTPUT "/forecast") + (dark ? "-dark" : "");
        QVERIFY(panel.grab().save(stem + QStringLiteral(".png")));
        QVERIFY(renderAt(panel, 2).save(stem + QStringLiteral("@2x.png")));
    }
}

QTEST_MAIN(TestForecast)
#include "test_forecast.moc"
