#include "nimbdesk/common/colorref.h"
#include "nimbdesk/gauges/cwlabel.h"
#include "nimbdesk/gauges/cwpres.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/gauges/cwtemp.h"
#include "nimbdesk/gauges/cwwind.h"

#include "tests/support/review.h"

#include <QCursor>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace nimbdesk;

namespace
{

constexpr std::uint32_t RED = 255;
constexpr std::uint32_t GREEN = 65280;
constexpr std::uint32_t BLACK = 0;

QImage imageOf(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
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

// Pixels of a strong red, drawn in red at full strength but perhaps smoothed at the edges.
int brightRedOf(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).red() > 200 ? 1 : 0;
    }
    return count;
}

// Pixels not of the black background.
int inkOf(const QImage &image)
{
    return image.width() * image.height() - pixelsOf(image, Qt::black);
}

// What the screen shows of a ticker: the pixels left by scrolling plus the strips painted since.
QImage screenOf(CWptkr &ticker)
{
    return ticker.screen()->grabWindow(ticker.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Counts the repaints of a window.
class RepaintCounter : public QObject
{
public:
    int repaints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        repaints += event->type() == QEvent::UpdateRequest ? 1 : 0;
        return false;
    }
};

// The controls as the main window arranges them, with a second row of the states met less often.
class ReviewPanel : public QWidget
{
public:
    ReviewPanel()
    {
        m_grid = new QGridLayout(this);
        m_grid->addWidget(m_label, 0, 0, 1, 4);
        m_label->SetText(QStringLiteral("Boston, Massachusetts"));
        m_temperature->SetValue(24.4f);
        m_dewPoint->SetValue(-5.6f);
        m_dewPoint->SetScale(1);
        m_wind->SetSpeed(15);
        m_wind->SetGust(25);
        m_wind->SetDirection(250.0f);
        m_pressure->SetValue(30.01f);
        m_calm->SetSpeed(0);
        m_variable->SetUnit(CWwind::KMPH);
        m_variable->SetSpeed(3);
        m_variable->SetDirection(CWwind::VARIABLE);
        m_hectopascals->SetUnit(CWpres::HPA);
        m_hectopascals->SetValue(29.92f);
        addGauges();
        addTickers();
        setColors(RED, BLACK, GREEN);
    }

    std::vector<std::pair<QString, QWidget *>> controls() const
    {
        return {{QStringLiteral("label"), m_label}, {QStringLiteral("temperature"), m_temperature},
            {QStringLiteral("dewpoint"), m_dewPoint}, {QStringLiteral("wind"), m_wind},
            {QStringLiteral("pressure"), m_pressure}, {QStringLiteral("ticker"), m_forecast}};
    }

    void setColors(std::uint32_t fore, std::uint32_t back, std::uint32_t forecast)
    {
        for (CWcontrol *control : findChildren<CWcontrol *>()) {
            control->SetForeColor(fore);
            control->SetBackColor(back);
        }
        m_forecast->SetForeColor(forecast);
    }

    bool save(const QString &stem)
    {
        QPixmap sharp(size() * 2);
        sharp.setDevicePixelRatio(2.0);
        render(&sharp);
        return grab().save(stem + QStringLiteral(".png")) && sharp.save(stem + QStringLiteral("@2x.png"));
    }

private:
    void addGauges()
    {
        const std::pair<const char *, CWgauge *> gauges[]
            = {{"Temperature", m_temperature}, {"Dew Point", m_dewPoint}, {"Wind", m_wind}, {"Pressure", m_pressure},
                {"No value yet", m_blank}, {"Calm", m_calm}, {"Variable", m_variable}, {"hPa", m_hectopascals}};
        int index = 0;
        for (const auto &[title, gauge] : gauges) {
            QGroupBox *box = new QGroupBox(QString::fromLatin1(title));
            QVBoxLayout *inside = new QVBoxLayout(box);
            inside->addWidget(gauge);
            m_grid->addWidget(box, 1 + index / 4, index % 4);
            ++index;
        }
    }

    void addTickers()
    {
        m_grid->addWidget(m_forecast, 3, 0, 1, 4);
        m_grid->addWidget(m_special, 4, 0, 1, 4);
        m_forecast->SetDelay(10);
        m_special->SetDelay(5);
        m_forecast->Scroll(QStringLiteral(".TONIGHT...Mostly cloudy.\nLows around 40. West winds 10 to 15 mph."));
        m_special->Scroll(QStringLiteral("...WIND ADVISORY REMAINS IN EFFECT UNTIL 6 PM EST THIS EVENING..."));
    }

    QGridLayout *m_grid = nullptr;
    CWlabel *m_label = new CWlabel;
    CWtemp *m_temperature = new CWtemp;
    CWtemp *m_dewPoint = new CWtemp;
    CWwind *m_wind = new CWwind;
    CWpres *m_pressure = new CWpres;
    CWtemp *m_blank = new CWtemp;
    CWwind *m_calm = new CWwind;
    CWwind *m_variable = new CWwind;
    CWpres *m_hectopascals = new CWpres;
    CWptkr *m_forecast = new CWptkr;
    CWptkr *m_special = new CWptkr;
};

// Gives the ticker's beats by hand and lets the window draw what they moved.
void beatAndDraw(const CWptkr &ticker, int beats = 1)
{
    for (int i = 0; i < beats; ++i) {
        CWptkr::beat(CWptkr::intervalFor(ticker.GetDelay()));
        QCoreApplication::processEvents();
    }
}

} // namespace

class TestGauges : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void colorrefGivesRedGreenBlue();
    void colorsReachThePixels();
    void temperatureShowsTheScaleSet();
    void windShowsSpeedGustAndDirection();
    void pressureShowsTheUnitSet();
    void gaugesShowNoValueUntilTheFirst();
    void oldReadingsAreDimmedAndMarked();
    void labelElidesLongText();
    void tickerKeepsTextOnOneLine();
    void tickerScrollsAndWraps();
    void tickerStopsWhenHiddenOrEmpty();
    void tickerDelayMapsToSpeed();
    void tickersShareABeat();
    void tickerScreenMatchesAFullPaint();
    void renderForReview();
};

// A ticker stands still under the pointer, which the offscreen platform puts where its windows open.
void TestGauges::initTestCase()
{
    QCursor::setPos(-1000, -1000);
    CWptkr::setBeatsByHand(true);
}

void TestGauges::colorrefGivesRedGreenBlue()
{
    QCOMPARE(colorFromColorref(RED), QColor(255, 0, 0));
    QCOMPARE(colorFromColorref(GREEN), QColor(0, 255, 0));
    QCOMPARE(colorFromColorref(0x00FF0000u), QColor(0, 0, 255));
    QCOMPARE(colorFromColorref(0x00123456u), QColor(0x56, 0x34, 0x12));
    // The top byte says how a palette is used: no colour of its own.
    QCOMPARE(colorFromColorref(0x02000000u | RED), QColor(255, 0, 0));
}

void TestGauges::colorsReachThePixels()
{
    CWtemp gauge;
    gauge.resize(90, 100);
    gauge.SetValue(24.0f);
    gauge.SetBackColor(0x00FF0000u);
    gauge.SetForeColor(0x0000FFFFu);
    QImage image = imageOf(gauge);
    QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 255));
    QVERIFY(pixelsOf(image, QColor(255, 255, 0)) > 20);

    gauge.SetForeColor(0x00FFFFFFu);
    image = imageOf(gauge);
    QCOMPARE(pixelsOf(image, QColor(255, 255, 0)), 0);
    QVERIFY(pixelsOf(image, Qt::white) > 20);
}

void TestGauges::temperatureShowsTheScaleSet()
{
    CWtemp gauge;
    gauge.SetValue(24.0f);
    QCOMPARE(gauge.GetScale(), short(0));
    QCOMPARE(gauge.displayText(), QStringLiteral("24 °C"));
    gauge.SetScale(1);
    QCOMPARE(gauge.GetScale(), short(1));
    QCOMPARE(gauge.displayText(), QStringLiteral("75 °F"));

    // KJFK's remark group T02440122: 24.4 and 12.2 C.
    gauge.SetValue(24.4f);
    QCOMPARE(gauge.displayText(), QStringLiteral("76 °F"));
    gauge.SetScale(0);
    QCOMPARE(gauge.displayText(), QStringLiteral("24 °C"));
    // T10561072: -5.6 C is 21.92 F.
    gauge.SetValue(-5.6f);
    QCOMPARE(gauge.displayText(), QStringLiteral("-6 °C"));
    gauge.SetScale(2);
    QCOMPARE(gauge.GetScale(), short(2));
    QCOMPARE(gauge.displayText(), QStringLiteral("22 °F"));

    gauge.SetScale(0);
    gauge.SetValue(-0.4f);
    QCOMPARE(gauge.displayText(), QStringLiteral("0 °C"));
    gauge.SetValue(std::numeric_limits<float>::quiet_NaN());
    QCOMPARE(gauge.displayText(), QStringLiteral("--"));
}

void TestGauges::windShowsSpeedGustAndDirection()
{
    CWwind gauge;
    gauge.SetUnit(CWwind::MPH);
    // KBOS 27015G25KT: 15 knots are 17.3 MPH, 25 knots 28.8.
    gauge.SetSpeed(15);
    gauge.SetGust(25);
    gauge.SetDirection(270.0f);
    QCOMPARE(gauge.displayText(), QStringLiteral("17 G 29 MPH"));
    QCOMPARE(gauge.directionText(), QStringLiteral("W"));
    gauge.SetUnit(CWwind::KMPH);
    QCOMPARE(gauge.displayText(), QStringLiteral("28 G 46 KM/H"));

    gauge.SetGust(-1);
    gauge.SetSpeed(10);
    QCOMPARE(gauge.displayText(), QStringLiteral("19 KM/H"));
    gauge.SetUnit(CWwind::MPH);
    QCOMPARE(gauge.displayText(), QStringLiteral("12 MPH"));

    const std::pair<float, const char *> points[] = {{250.0f, "WSW"}, {0.0f, "N"}, {360.0f, "N"}, {355.0f, "N"},
        {348.0f, "NNW"}, {45.0f, "NE"}, {400.0f, "VRB"}, {500.0f, ""}, {-10.0f, ""}};
    for (const auto &[degrees, name] : points) {
        gauge.SetDirection(degrees);
        QCOMPARE(gauge.directionText(), QString::fromLatin1(name));
    }

    // KXYZ 00000KT: a calm has no direction, whatever the degrees say.
    gauge.SetDirection(0.0f);
    gauge.SetSpeed(0);
    QCOMPARE(gauge.displayText(), QStringLiteral("Calm"));
    QCOMPARE(gauge.directionText(), QString());
    // VRB03KT: 3.5 MPH.
    gauge.SetSpeed(3);
    gauge.SetDirection(CWwind::VARIABLE);
    QCOMPARE(gauge.displayText(), QStringLiteral("4 MPH"));
    QCOMPARE(gauge.directionText(), QStringLiteral("VRB"));
}

void TestGauges::pressureShowsTheUnitSet()
{
    CWpres gauge;
    gauge.SetValue(29.92f);
    QCOMPARE(gauge.displayText(), QStringLiteral("29.92 inHg"));
    gauge.SetUnit(CWpres::MMHG);
    QCOMPARE(gauge.displayText(), QStringLiteral("760 mm Hg"));
    gauge.SetUnit(CWpres::HPA);
    QCOMPARE(gauge.displayText(), QStringLiteral("1013 hPa"));

    // A3001.
    gauge.SetValue(30.01f);
    QCOMPARE(gauge.displayText(), QStringLiteral("1016 hPa"));
    gauge.SetUnit(CWpres::MMHG);
    QCOMPARE(gauge.displayText(), QStringLiteral("762 mm Hg"));
    gauge.SetUnit(CWpres::INHG);
    QCOMPARE(gauge.displayText(), QStringLiteral("30.01 inHg"));
}

// A fresh gauge reads "--", also once its units are set, and its dial carries no reading in the text colour.
void TestGauges::gaugesShowNoValueUntilTheFirst()
{
    CWtemp temperature;
    temperature.SetScale(1);
    CWwind wind;
    wind.SetUnit(CWwind::KMPH);
    wind.SetDirection(270.0f);
    CWpres pressure;
    pressure.SetUnit(CWpres::HPA);
    QCOMPARE(temperature.displayText(), QStringLiteral("--"));
    QCOMPARE(wind.displayText(), QStringLiteral("--"));
    QCOMPARE(wind.directionText(), QString());
    QCOMPARE(pressure.displayText(), QStringLiteral("--"));

    temperature.resize(90, 100);
    pressure.resize(90, 100);
    const int emptyThermometer = pixelsOf(imageOf(temperature), Qt::red);
    const int emptyDial = pixelsOf(imageOf(pressure), Qt::red);
    temperature.SetValue(0.0f);
    pressure.SetValue(29.92f);
    QVERIFY2(pixelsOf(imageOf(temperature), Qt::red) > emptyThermometer + 20, "the mercury shows");
    QVERIFY2(pixelsOf(imageOf(pressure), Qt::red) > emptyDial + 20, "the needle shows");
}

void TestGauges::oldReadingsAreDimmedAndMarked()
{
    CWpres pressure;
    pressure.resize(160, 100);
    pressure.SetValue(29.92f);
    const QImage fresh = imageOf(pressure);
    const QRect corner(120, 0, 40, 20);
    QCOMPARE(brightRedOf(fresh.copy(corner)), 0);
    QVERIFY(brightRedOf(fresh) > 100);

    // The reading shows through, dimmed; the mark in the corner is in the full colour.
    pressure.SetStale(true);
    const QImage old = imageOf(pressure);
    QVERIFY2(brightRedOf(old.copy(corner)) > 5, "the corner is marked");
    QCOMPARE(brightRedOf(old), brightRedOf(old.copy(corner)));
    QVERIFY(inkOf(old) > inkOf(fresh) / 2);
    pressure.SetStale(false);
    QCOMPARE(imageOf(pressure), fresh);
}

void TestGauges::labelElidesLongText()
{
    CWlabel label;
    label.SetText(QStringLiteral("Boston, Massachusetts"));
    QCOMPARE(label.GetText(), QStringLiteral("Boston, Massachusetts"));
    QVERIFY(label.sizeHint().width() > label.fontMetrics().horizontalAdvance(label.GetText()));
    label.resize(label.sizeHint());
    const int whole = inkOf(imageOf(label));
    QVERIFY(whole > 0);
    label.resize(label.fontMetrics().height() * 4, label.sizeHint().height());
    const int cut = inkOf(imageOf(label));
    QVERIFY(cut > 0 && cut < whole / 2);
}

void TestGauges::tickerKeepsTextOnOneLine()
{
    CWptkr ticker;
    ticker.Scroll(QStringLiteral(".TONIGHT...Cloudy.\r\nLows around 40.\n\n.SUNDAY...\tRain."));
    QCOMPARE(ticker.GetText(), QStringLiteral(".TONIGHT...Cloudy. Lows around 40. .SUNDAY... Rain."));
    ticker.SetText(QStringLiteral("WARNING\r\n*****************\r\nWATCH"));
    QCOMPARE(ticker.GetText(), QStringLiteral("WARNING ***************** WATCH"));
    ticker.SetText(QStringLiteral("\r\n \n"));
    QCOMPARE(ticker.GetText(), QString());
}

void TestGauges::tickerScrollsAndWraps()
{
    CWptkr ticker;
    ticker.resize(160, 30);
    ticker.SetDelay(CWptkr::MIN_DELAY);
    ticker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ticker));
    ticker.Scroll(QStringLiteral("Fog."));
    QCOMPARE(ticker.offset(), 160);
    QVERIFY(ticker.isScrolling());

    int last = ticker.offset();
    const int step = CWptkr::stepFor(CWptkr::MIN_DELAY);
    bool wrapped = false;
    for (int beats = 0; !wrapped && beats < 1000; ++beats) {
        beatAndDraw(ticker);
        QVERIFY(ticker.offset() <= 160);
        wrapped = ticker.offset() > last;
        if (!wrapped)
            QCOMPARE(ticker.offset(), last - step);
        last = ticker.offset();
    }
    QVERIFY2(wrapped, "the text came round again");
}

void TestGauges::tickerStopsWhenHiddenOrEmpty()
{
    CWptkr ticker;
    ticker.resize(160, 30);
    ticker.Scroll(QStringLiteral("Snow."));
    QVERIFY2(!ticker.isScrolling(), "not shown yet");
    ticker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ticker));
    QVERIFY(ticker.isScrolling());
    beatAndDraw(ticker);
    const int offset = ticker.offset();
    QVERIFY2(offset < 160, "a beat moves a shown ticker");
    ticker.hide();
    QVERIFY(!ticker.isScrolling());
    beatAndDraw(ticker, 3);
    QCOMPARE(ticker.offset(), offset);
    ticker.show();
    QVERIFY(ticker.isScrolling());
    ticker.SetText(QString());
    QVERIFY(!ticker.isScrolling());
    ticker.SetText(QStringLiteral("Rain."));
    QVERIFY(ticker.isScrolling());
}

// Speed falls as the delay grows, while the timer never fires more often than every 25 ms.
void TestGauges::tickerDelayMapsToSpeed()
{
    double previous = std::numeric_limits<double>::infinity();
    for (long delay = CWptkr::MIN_DELAY; delay <= CWptkr::MAX_DELAY; ++delay) {
        const int interval = CWptkr::intervalFor(delay);
        const int step = CWptkr::stepFor(delay);
        QVERIFY(interval >= 25 && interval <= 50);
        QVERIFY(step >= 1);
        const double pixelsPerSecond = 1000.0 * step / interval;
        QVERIFY2(pixelsPerSecond < previous, qPrintable(QString::number(delay)));
        previous = pixelsPerSecond;
    }
    QCOMPARE(CWptkr::intervalFor(1), CWptkr::intervalFor(CWptkr::MIN_DELAY));
    QCOMPARE(CWptkr::intervalFor(500), CWptkr::intervalFor(CWptkr::MAX_DELAY));

    CWptkr ticker;
    ticker.SetDelay(2);
    QCOMPARE(ticker.GetDelay(), CWptkr::MIN_DELAY);
    ticker.SetDelay(51);
    QCOMPARE(ticker.GetDelay(), CWptkr::MAX_DELAY);
}

// Two tickers with the same delay move on one beat: their window repaints once per step, not once per ticker.
void TestGauges::tickersShareABeat()
{
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);
    CWptkr *first = new CWptkr;
    CWptkr *second = new CWptkr;
    layout->addWidget(first);
    layout->addWidget(second);
    window.resize(300, 80);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    RepaintCounter counter;
    window.installEventFilter(&counter);
    const long delay = 25;
    QCOMPARE(CWptkr::stepFor(delay), 1);
    for (CWptkr *ticker : {first, second}) {
        ticker->SetDelay(delay);
        ticker->Scroll(QStringLiteral("Areas of frost after midnight. Lows in the upper 20s. Light winds."));
    }
    QCoreApplication::processEvents();
    const int firstStart = first->offset();
    const int secondStart = second->offset();
    counter.repaints = 0;

    // Each beat moves both, and one repaint of the window carries both.
    const int steps = 5;
    beatAndDraw(*first, steps);
    QCOMPARE(firstStart - first->offset(), steps);
    QCOMPARE(secondStart - second->offset(), steps);
    QVERIFY2(counter.repaints >= 1 && counter.repaints <= steps,
        qPrintable(QStringLiteral("%1 repaints for %2 steps").arg(counter.repaints).arg(steps)));
}

// Only the strip that scrolls into sight is painted; what ends up on the screen must be what a full paint gives, also
// after the text has come round again.
void TestGauges::tickerScreenMatchesAFullPaint()
{
    CWptkr ticker;
    ticker.resize(240, 30);
    ticker.SetForeColor(GREEN);
    ticker.SetDelay(CWptkr::MIN_DELAY);
    ticker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ticker));
    ticker.Scroll(QStringLiteral("Thunderstorms likely. Highs around 70."));

    // Rounds of a few beats each go on until two after the first wrap.
    bool wrapped = false;
    int last = ticker.offset();
    for (int round = 0, after = 0; round < 200 && after < 2; ++round, after += wrapped ? 1 : 0) {
        beatAndDraw(ticker, 7);
        const int offset = ticker.offset();
        QVERIFY2(screenOf(ticker) == imageOf(ticker), qPrintable(QStringLiteral("offset %1").arg(offset)));
        wrapped = wrapped || offset > last;
        last = offset;
    }
    QVERIFY(wrapped);
}

// Draws every control in the states a person meets, in the default colours and in a light pair, at the screen's
// scale and at twice the pixel density, into PNG files for a reviewer; each control of the first row also on its own.
void TestGauges::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    const QString folder = QStringLiteral(NIMBREL_TEST_OUTPUT "/gauges");
    QVERIFY(QDir().mkpath(folder));
    ReviewPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    for (CWptkr *ticker : panel.findChildren<CWptkr *>())
        beatAndDraw(*ticker, 40);
    QVERIFY(panel.save(folder + QStringLiteral("/panel")));
    for (const auto &[name, control] : panel.controls())
        QVERIFY(control->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));

    panel.setColors(0x00A04000u, 0x00FFFFFFu, 0x00206000u);
    QVERIFY(panel.save(folder + QStringLiteral("/panel-light")));
}

QTEST_MAIN(TestGauges)
#include "test_gauges.moc"
