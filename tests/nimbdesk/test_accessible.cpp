#include "nimbdesk/gauges/caccessiblecontrol.h"
#include "nimbdesk/gauges/cwpres.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/gauges/cwtemp.h"
#include "nimbdesk/gauges/cwwind.h"

#include <QAccessible>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTest>
#include <QVBoxLayout>

using namespace corekit;
using namespace meteo;
using namespace nimbdesk;

namespace
{

// The gauges and a ticker in titled frames, as the main window holds them.
class Panel : public QWidget
{
public:
    Panel()
    {
        auto *layout = new QVBoxLayout(this);
        auto *row = new QHBoxLayout;
        layout->addLayout(row);
        for (const auto &[title, control] : std::initializer_list<std::pair<const char *, QWidget *>>{
                 {"&Temperature", temperature}, {"Wind", wind}, {"Pressure", pressure}, {"Forecast", ticker}}) {
            auto *frame = new QGroupBox(QLatin1String(title), this);
            (new QVBoxLayout(frame))->addWidget(control);
            row->addWidget(frame);
        }
        resize(800, 200);
    }

    CWtemp *temperature = new CWtemp;
    CWwind *wind = new CWwind;
    CWpres *pressure = new CWpres;
    CWptkr *ticker = new CWptkr;
};

QString said(QWidget *control, QAccessible::Text kind)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? accessible->text(kind) : QStringLiteral("<no interface>");
}

} // namespace

class TestAccessible : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void gaugesSayValueAndUnit();
    void windSaysDirectionSpeedAndGust();
    void observationTimeJoinsTheDescription();
    void tickerSaysItsWholeText();
    void tickerPausesUnderPointerOrWithFocus();
};

void TestAccessible::initTestCase()
{
    CAccessibleControl::install();
    QCursor::setPos(-1000, -1000);
}

void TestAccessible::gaugesSayValueAndUnit()
{
    Panel panel;
    QCOMPARE(said(panel.temperature, QAccessible::Name), QStringLiteral("Temperature"));
    QCOMPARE(said(panel.temperature, QAccessible::Value), QStringLiteral("no reading"));
    panel.temperature->SetValue(24.4f);
    QCOMPARE(said(panel.temperature, QAccessible::Value), QStringLiteral("24 degrees Celsius"));
    panel.temperature->SetScale(1);
    QCOMPARE(said(panel.temperature, QAccessible::Value), QStringLiteral("76 degrees Fahrenheit"));

    panel.pressure->SetValue(29.92f);
    QCOMPARE(said(panel.pressure, QAccessible::Value), QStringLiteral("29.92 inches of mercury"));
    panel.pressure->SetUnit(CWpres::HPA);
    QCOMPARE(said(panel.pressure, QAccessible::Value), QStringLiteral("1013 hectopascals"));
    panel.pressure->SetUnit(CWpres::MMHG);
    QCOMPARE(said(panel.pressure, QAccessible::Value), QStringLiteral("760 millimeters of mercury"));
}

// KSLC 071354Z 19027G43KT: 27 knots gusting to 43 from 190 degrees.
void TestAccessible::windSaysDirectionSpeedAndGust()
{
    Panel panel;
    panel.wind->SetSpeed(27);
    panel.wind->SetGust(43);
    panel.wind->SetDirection(190.0f);
    QCOMPARE(said(panel.wind, QAccessible::Name), QStringLiteral("Wind"));
    QCOMPARE(said(panel.wind, QAccessible::Value), QStringLiteral("from the south, 31 miles per hour, gusts 50"));
    panel.wind->SetUnit(CWwind::KMPH);
    panel.wind->SetGust(-1);
    panel.wind->SetDirection(CWwind::VARIABLE);
    QCOMPARE(said(panel.wind, QAccessible::Value), QStringLiteral("variable, 50 kilometers per hour"));
    panel.wind->SetDirection(200.0f);
    QCOMPARE(said(panel.wind, QAccessible::Value), QStringLiteral("from the south-southwest, 50 kilometers per hour"));
    panel.wind->SetSpeed(0);
    QCOMPARE(said(panel.wind, QAccessible::Value), QStringLiteral("calm"));
}

void TestAccessible::observationTimeJoinsTheDescription()
{
    Panel panel;
    panel.temperature->SetScale(1);
    panel.temperature->SetValue(24.4f);
    QCOMPARE(said(panel.temperature, QAccessible::Description), QStringLiteral("Temperature, 76 degrees Fahrenheit"));
    const QDateTime observed(QDate(2026, 12, 7), QTime(13, 54));
    CAccessibleControl::announceObservation({panel.temperature}, observed.toSecsSinceEpoch());
    const QString time = QLocale().toString(QTime(13, 54), QLocale::ShortFormat);
    QCOMPARE(said(panel.temperature, QAccessible::Description),
        QStringLiteral("Temperature, 76 degrees Fahrenheit, observed ") + time);
    panel.temperature->SetStale(true);
    QCOMPARE(said(panel.temperature, QAccessible::Description),
        QStringLiteral("Temperature, 76 degrees Fahrenheit, observed ") + time + QStringLiteral(", an old reading"));
}

// The visible slice is a few words; a screen reader gets them all.
void TestAccessible::tickerSaysItsWholeText()
{
    Panel panel;
    const QString forecast = QStringLiteral(".TODAY...Sunny. Highs in the upper 40s. West winds 5 to 10 mph.\n"
                                            ".TONIGHT...Mostly clear. Lows in the lower 30s.");
    panel.ticker->Scroll(forecast);
    QCOMPARE(said(panel.ticker, QAccessible::Name), QStringLiteral("Forecast"));
    QCOMPARE(said(panel.ticker, QAccessible::Value), forecast.simplified());
}

// Focus that came with the window leaves the ticker moving; Tab stops it, and leaving it starts it again; so does
// the pointer.
void TestAccessible::tickerPausesUnderPointerOrWithFocus()
{
    Panel panel;
    panel.ticker->Scroll(QStringLiteral("Winter Storm Warning in effect."));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(panel.ticker->isScrolling());
    panel.ticker->setFocus(Qt::TabFocusReason);
    QVERIFY(!panel.ticker->isScrolling());
    panel.temperature->setFocus(Qt::BacktabFocusReason);
    QVERIFY(panel.ticker->isScrolling());

    QTest::mouseMove(panel.ticker);
    QTRY_VERIFY(!panel.ticker->isScrolling());
    QTest::mouseMove(panel.temperature);
    QTRY_VERIFY(panel.ticker->isScrolling());
}

QTEST_MAIN(TestAccessible)
#include "test_accessible.moc"
