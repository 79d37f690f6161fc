#include "nimbdesk/options/coptionssheet.h"

#include "nimbdesk/common/fontconvert.h"
#include "nimbdesk/options/ccolorbutton.h"
#include "nimbdesk/options/cfontbutton.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/httpserver.h"
#include "tests/support/review.h"
#include "tests/support/tempdir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace corekit;
using namespace settings;
using namespace nimbdesk;

namespace
{

enum Tab { GENERAL, FORECAST_TICKER, WARNINGS_TICKER, RETRIEVAL, INTERNET, NOTIFICATIONS };

// Every key the sheet may write, section by section.
const std::vector<std::pair<const char *, std::vector<const char *>>> ALL_KEYS = {
    {LSettings::GENERAL,
        {LSettings::UPDATE_TIMEOUT, LSettings::TEMPERATURE_SCALE, LSettings::WIND_SPEED_SCALE,
            LSettings::PRESSURE_SCALE, LSettings::FOREGROUND_COLOR, LSettings::BACKGROUND_COLOR, LSettings::FONT,
            LSettings::HEADER_FONT}},
    {LSettings::FORECAST_TICKER, {LSettings::DELAY, LSettings::FONT, LSettings::TEXT_COLOR}},
    {LSettings::WARNINGS_TICKER, {LSettings::DELAY, LSettings::FONT, LSettings::TEXT_COLOR}},
    {LSettings::SPECIAL,
        {"ShowDiscussion", "ShowSummary", "ShowPublic", "ShowWatches", "ShowStatements", "ShowWarnings"}},
    {LSettings::INTERNET,
        {LSettings::CONDITIONS_BASE, LSettings::WARNINGS_BASE, LSettings::USE_PROXY, LSettings::PROXY_LOCATION,
            LSettings::PRODUCT_SOURCE, LSettings::API_BASE, LSettings::USE_NEARBY_STATION}},
};

// The sheet on a keeper of its own directory, shown as the main window shows it.
class Fixture
{
public:
    void open()
    {
        sheet = std::make_unique<COptionsSheet>(&keeper);
        sheet->show();
        QVERIFY(QTest::qWaitForWindowExposed(sheet.get()));
    }

    void layDefaults()
    {
        LSettings::InitDefaults(keeper);
        keeper.SetString(
            LSettings::INTERNET, LSettings::CONDITIONS_BASE, "http://127.0.0.1:8080/weather/current/", false);
        keeper.SetString(LSettings::INTERNET, LSettings::WARNINGS_BASE, "http://127.0.0.1:8080/iwin/", false);
        keeper.SetInt(LSettings::INTERNET, LSettings::USE_PROXY, 0, false);
        keeper.SetString(LSettings::INTERNET, LSettings::PROXY_LOCATION, "", false);
        keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, 1, false);
        keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, "http://127.0.0.1:8080/api/", false);
    }

    QTabWidget *tabs() const { return sheet->findChild<QTabWidget *>(); }
    QWidget *page(Tab tab) const { return tabs()->widget(tab); }
    void show(Tab tab) const { tabs()->setCurrentIndex(tab); }
    QPushButton *button(QDialogButtonBox::StandardButton which) const
    {
        return sheet->findChild<QDialogButtonBox *>()->button(which);
    }
    void press(QDialogButtonBox::StandardButton which) const { QTest::mouseClick(button(which), Qt::LeftButton); }

    template<class T>
    T *control(Tab tab, const char *name) const
    {
        T *found = page(tab)->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    std::uint32_t number(const char *section, const char *key)
    {
        std::uint32_t value = 0xDEADBEEF;
        keeper.GetInt(section, key, value, false);
        return value;
    }

    QString text(const char *section, const char *key)
    {
        LString value;
        keeper.GetString(section, key, value, false);
        return QString::fromUtf8(static_cast<const char *>(value));
    }

    LFontRecord font(const char *section, const char *key)
    {
        LBinary value;
        keeper.GetBinary(section, key, value, false);
        LFontRecord record;
        return record.fromBinary(value) ? record : LFontRecord();
    }

    // The sections of which some key is stored.
    QStringList writtenSections()
    {
        QStringList sections;
        for (const auto &[section, keys] : ALL_KEYS) {
            for (const char *key : keys) {
                if (keeper.Exists(section, key, false) && !sections.contains(QLatin1String(section)))
                    sections << QLatin1String(section);
            }
        }
        return sections;
    }

    // The message box the sheet opened to refuse a value, closed after its text is taken.
    QString takeRefusal()
    {
        auto *box = sheet->findChild<QMessageBox *>();
        if (!box || !box->isVisible())
            return QString();
        const QString message = box->text();
        box->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return message;
    }

    void retype(QLineEdit *edit, const QString &text) const
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    void typeInterval(const QString &minutes)
    {
        auto *spin = control<QSpinBox>(GENERAL, "updateInterval");
        spin->selectAll();
        QTest::keyClicks(spin, minutes);
    }

    nimbreltest::TempDir directory;
    LWinKeeper keeper{"Nimbrel", directory.path().string()};
    std::unique_ptr<COptionsSheet> sheet;
};

bool sameBytes(const LFontRecord &a, const LFontRecord &b)
{
    const LBinary left = a.toBinary();
    const LBinary right = b.toBinary();
    return std::memcmp(left.data(), right.data(), LFontRecord::SIZE) == 0;
}

LFontRecord courier()
{
    LFontRecord record = LFontRecord::standard();
    std::strcpy(record.faceName, "DejaVu Sans Mono");
    record.height = -16;
    record.weight = 700;
    record.charSet = 2;
    record.pitchAndFamily = 0x31;
    return record;
}

// A click on the box itself: the middle of a wide check box with a short text lies outside what takes clicks.
void clickBox(QAbstractButton *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

QString labelAbove(QWidget *control)
{
    for (QLabel *label : control->parentWidget()->findChildren<QLabel *>()) {
        if (label->buddy() == control)
            return label->text();
    }
    return QString();
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void pagesButtonsAndTexts();
    void onlyShownPagesStore();
    void generalPageLoadsAndStores();
    void intervalOutsideRangeRefused();
    void applyStoresAndKeepsSheetOpen();
    void tickerSliderStoresWithoutMarkingModified();
    void tickerChoicesMarkTheirPage();
    void eachCheckBoxUnderItsOwnKey();
    void proxyAddressKeptWhenUnchecked();
    void nearbyStationOnByDefaultAndStored();
    void notifyDefaultsAndKeys();
    void notifyCheckInterval();
    void notifySeverityAndMutedEvents();
    void productSourceStoredWithItsAddress();
    void productSourceFallsBackToWebService();
    void renderForReview();
};

void TestOptions::pagesButtonsAndTexts()
{
    Fixture f;
    f.layDefaults();
    f.open();
    QCOMPARE(f.sheet->windowTitle(), QStringLiteral("Options"));
    QStringList captions;
    for (int i = 0; i < f.tabs()->count(); ++i)
        captions << f.tabs()->tabText(i);
    QCOMPARE(captions,
        QStringList(
            {"General", "Forecast Ticker", "Special Messages Ticker", "Retrieval", "Internet", "Notifications"}));
    QCOMPARE(f.tabs()->currentIndex(), int(GENERAL));
    QVERIFY(f.button(QDialogButtonBox::Ok) && f.button(QDialogButtonBox::Cancel));
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());

    const std::pair<const char *, const char *> radios[] = {{"celsius", "Celsius"}, {"fahrenheit", "Fahrenheit"},
        {"mph", "MPH"}, {"kmh", "KM/H"}, {"inchesHg", "Inches Hg"}, {"mmHg", "mm Hg"}, {"hPa", "hPa"}};
    for (const auto &[name, text] : radios)
        QCOMPARE(f.control<QRadioButton>(GENERAL, name)->text(), QLatin1String(text));

    // The label over each colour button names what the button edits: the foreground is the gauges' text colour.
    QCOMPARE(labelAbove(f.control<CColorButton>(GENERAL, "foregroundColor")), QStringLiteral("Control's foreground"));
    QCOMPARE(labelAbove(f.control<CColorButton>(GENERAL, "backgroundColor")), QStringLiteral("Control's background"));

    // The default face is not installed here; the button still shows the record's own face and size.
    QCOMPARE(screenPixelsPerInch(), 96);
    QCOMPARE(f.control<CFontButton>(GENERAL, "font")->text(), QStringLiteral("MS Sans Serif, 10"));
    QCOMPARE(f.control<CFontButton>(GENERAL, "headerFont")->text(), QStringLiteral("MS Sans Serif, 10"));
}

void TestOptions::onlyShownPagesStore()
{
    Fixture f;
    f.open();
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.sheet->result(), int(QDialog::Accepted));
    QCOMPARE(f.writtenSections(), QStringList({LSettings::GENERAL}));
    // An empty store shows, and so stores, the defaults.
    QCOMPARE(f.number(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 15u);
    QCOMPARE(f.number(LSettings::GENERAL, LSettings::FOREGROUND_COLOR), 255u);
    QCOMPARE(f.number(LSettings::GENERAL, LSettings::BACKGROUND_COLOR), 0u);
    QVERIFY(sameBytes(f.font(LSettings::GENERAL, LSettings::HEADER_FONT), LFontRecord::standard()));
    for (const char *key : ALL_KEYS.front().second)
        QVERIFY2(f.keeper.Exists(LSettings::GENERAL, key, false), key);

    f.open();
    f.show(RETRIEVAL);
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.writtenSections(), QStringList({LSettings::GENERAL, LSettings::SPECIAL}));
    QCOMPARE(f.number(LSettings::SPECIAL, "ShowWarnings"), 1u);

    f.open();
    f.show(WARNINGS_TICKER);
    f.show(INTERNET);
    f.press(QDialogButtonBox::Cancel);
    QCOMPARE(f.sheet->result(), int(QDialog::Rejected));
    QCOMPARE(f.writtenSections(), QStringList({LSettings::GENERAL, LSettings::SPECIAL}));
}

void TestOptions::generalPageLoadsAndStores()
{
    Fixture f;
    f.layDefaults();
    const char *general = LSettings::GENERAL;
    f.keeper.SetInt(general, LSettings::UPDATE_TIMEOUT, 45, false);
    f.keeper.SetInt(general, LSettings::TEMPERATURE_SCALE, 1, false);
    f.keeper.SetInt(general, LSettings::WIND_SPEED_SCALE, 1, false);
    f.keeper.SetInt(general, LSettings::PRESSURE_SCALE, 2, false);
    f.keeper.SetInt(general, LSettings::FOREGROUND_COLOR, 0x00123456, false);
    f.keeper.SetInt(general, LSettings::BACKGROUND_COLOR, 0x00654321, false);
    f.keeper.SetBinary(general, LSettings::FONT, courier().toBinary(), false);
    f.open();
    QCOMPARE(f.control<QSpinBox>(GENERAL, "updateInterval")->value(), 45);
    QVERIFY(f.control<QRadioButton>(GENERAL, "fahrenheit")->isChecked());
    QVERIFY(f.control<QRadioButton>(GENERAL, "kmh")->isChecked());
    QVERIFY(f.control<QRadioButton>(GENERAL, "hPa")->isChecked());
    QCOMPARE(f.control<CColorButton>(GENERAL, "foregroundColor")->color(), 0x00123456u);
    QCOMPARE(f.control<CColorButton>(GENERAL, "backgroundColor")->color(), 0x00654321u);
    QVERIFY(sameBytes(f.control<CFontButton>(GENERAL, "font")->record(), courier()));
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());

    clickBox(f.control<QRadioButton>(GENERAL, "celsius"));
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());
    clickBox(f.control<QRadioButton>(GENERAL, "mmHg"));
    f.typeInterval(QStringLiteral("90"));
    f.control<CColorButton>(GENERAL, "backgroundColor")->takeColor(QColor(0x10, 0x20, 0x30));
    QFont big = fontFromRecord(LFontRecord::standard(), screenPixelsPerInch());
    big.setPointSize(24);
    big.setItalic(true);
    f.control<CFontButton>(GENERAL, "headerFont")->takeFont(big);
    f.press(QDialogButtonBox::Ok);

    QCOMPARE(f.number(general, LSettings::UPDATE_TIMEOUT), 90u);
    QCOMPARE(f.number(general, LSettings::TEMPERATURE_SCALE), 0u);
    QCOMPARE(f.number(general, LSettings::WIND_SPEED_SCALE), 1u);
    QCOMPARE(f.number(general, LSettings::PRESSURE_SCALE), 1u);
    QCOMPARE(f.number(general, LSettings::FOREGROUND_COLOR), 0x00123456u);
    QCOMPARE(f.number(general, LSettings::BACKGROUND_COLOR), 0x00302010u);
    QVERIFY(sameBytes(f.font(general, LSettings::FONT), courier()));
    const LFontRecord header = f.font(general, LSettings::HEADER_FONT);
    QCOMPARE(header.height, -32); // 24 points at 96 pixels per inch
    QCOMPARE(header.italic, std::uint8_t{1});
    QCOMPARE(header.face(), LString("MS Sans Serif"));
}

void TestOptions::intervalOutsideRangeRefused()
{
    Fixture f;
    f.layDefaults();
    for (const QString &minutes : {QStringLiteral("0"), QStringLiteral("181")}) {
        f.open();
        f.typeInterval(minutes);
        clickBox(f.control<QRadioButton>(GENERAL, "fahrenheit"));
        f.press(QDialogButtonBox::Ok);
        QVERIFY(f.sheet->isVisible());
        QVERIFY2(f.takeRefusal().contains(QStringLiteral("1 to 180")), qPrintable(minutes));
        QCOMPARE(f.number(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 15u);
        QCOMPARE(f.number(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE), 0u);

        f.press(QDialogButtonBox::Apply);
        QVERIFY(!f.takeRefusal().isEmpty());
        QCOMPARE(f.number(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 15u);

        // Leaving the page is refused too.
        f.show(RETRIEVAL);
        QCOMPARE(f.tabs()->currentIndex(), int(GENERAL));
        QVERIFY(!f.takeRefusal().isEmpty());
        f.press(QDialogButtonBox::Cancel);
    }

    f.open();
    f.typeInterval(QStringLiteral("180"));
    f.press(QDialogButtonBox::Ok);
    QVERIFY(!f.sheet->isVisible());
    QCOMPARE(f.number(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 180u);

    // The arrows stay within the interval; a stored 0 (updates stopped) shows as it is.
    f.keeper.SetInt(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT, 0, false);
    f.open();
    auto *spin = f.control<QSpinBox>(GENERAL, "updateInterval");
    QCOMPARE(spin->value(), 0);
    spin->stepUp();
    QCOMPARE(spin->value(), 1);
    spin->setValue(180);
    spin->stepUp();
    QCOMPARE(spin->value(), 180);
}

void TestOptions::applyStoresAndKeepsSheetOpen()
{
    Fixture f;
    f.layDefaults();
    f.open();
    f.typeInterval(QStringLiteral("30"));
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());
    f.press(QDialogButtonBox::Apply);
    QVERIFY(f.sheet->isVisible());
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());
    QCOMPARE(f.number(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 30u);

    f.typeInterval(QStringLiteral("60"));
    f.press(QDialogButtonBox::Cancel);
    QCOMPARE(f.number(LSettings::GENERAL, LSettings::UPDATE_TIMEOUT), 30u);
}

void TestOptions::tickerSliderStoresWithoutMarkingModified()
{
    Fixture f;
    f.layDefaults();
    f.keeper.SetInt(LSettings::WARNINGS_TICKER, LSettings::DELAY, 70, false);
    f.open();
    f.show(FORECAST_TICKER);
    auto *slider = f.control<QSlider>(FORECAST_TICKER, "delay");
    QCOMPARE(slider->value(), 30);
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(slider->value(), 5);
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());
    f.show(WARNINGS_TICKER);
    QCOMPARE(f.control<QSlider>(WARNINGS_TICKER, "delay")->value(), 50);
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::FORECAST_TICKER, LSettings::DELAY), 5u);
    QCOMPARE(f.number(LSettings::WARNINGS_TICKER, LSettings::DELAY), 50u);

    // Out-of-range delays show at the nearer end, whatever their size.
    for (const auto &[stored, shown] : {std::pair{3u, 5}, std::pair{0xFFFFFFFFu, 50}}) {
        f.keeper.SetInt(LSettings::FORECAST_TICKER, LSettings::DELAY, stored, false);
        f.open();
        f.show(FORECAST_TICKER);
        QCOMPARE(f.control<QSlider>(FORECAST_TICKER, "delay")->value(), shown);
    }
}

void TestOptions::tickerChoicesMarkTheirPage()
{
    Fixture f;
    f.layDefaults();
    f.open();
    f.show(WARNINGS_TICKER);
    auto *color = f.control<CColorButton>(WARNINGS_TICKER, "textColor");
    QCOMPARE(color->color(), 255u);
    color->takeColor(QColor());
    QCOMPARE(color->color(), 255u);
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());
    color->takeColor(QColor(0, 0, 255));
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());

    auto *font = f.control<CFontButton>(WARNINGS_TICKER, "font");
    font->takeFont(fontFromRecord(courier(), screenPixelsPerInch()));
    QCOMPARE(font->text(), fontDescription(courier(), screenPixelsPerInch()));
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::WARNINGS_TICKER, LSettings::TEXT_COLOR), 0x00FF0000u);
    QCOMPARE(f.font(LSettings::WARNINGS_TICKER, LSettings::FONT).face(), LString("DejaVu Sans Mono"));
    QCOMPARE(f.font(LSettings::WARNINGS_TICKER, LSettings::FONT).weight, 700);
    QCOMPARE(f.number(LSettings::FORECAST_TICKER, LSettings::TEXT_COLOR), 65280u);
}

void TestOptions::eachCheckBoxUnderItsOwnKey()
{
    const char *const keys[]
        = {"ShowDiscussion", "ShowSummary", "ShowPublic", "ShowWatches", "ShowStatements", "ShowWarnings"};
    const char *const texts[] = {"Forecast discussion", "Weather summary", "Public information", "Watches",
        "Special weather statements", "Warnings and advisories"};
    Fixture f;
    f.layDefaults();
    for (std::size_t checked = 0; checked < std::size(keys); ++checked) {
        for (const char *key : keys)
            f.keeper.SetInt(LSettings::SPECIAL, key, key == keys[checked] ? 0 : 7, false);
        f.open();
        f.show(RETRIEVAL);
        for (std::size_t i = 0; i < std::size(keys); ++i) {
            auto *box = f.control<QCheckBox>(RETRIEVAL, keys[i]);
            QCOMPARE(box->text(), QLatin1String(texts[i]));
            QCOMPARE(box->isChecked(), i != checked);
            clickBox(box);
        }
        f.press(QDialogButtonBox::Ok);
        for (std::size_t i = 0; i < std::size(keys); ++i)
            QVERIFY2(f.number(LSettings::SPECIAL, keys[i]) == (i == checked ? 1u : 0u), keys[i]);
    }
}

// Warnings and watches notify by default, statements, other alerts, the sound and repeating do not; each box is
// stored under its own key, the sound of each severity once the sound is on.
void TestOptions::notifyDefaultsAndKeys()
{
    const char *const keys[] = {LSettings::NOTIFY_WARNINGS, LSettings::NOTIFY_WATCHES, LSettings::NOTIFY_STATEMENTS,
        LSettings::NOTIFY_OTHERS, LSettings::NOTIFY_SOUND, LSettings::NOTIFY_SOUND_EXTREME,
        LSettings::NOTIFY_SOUND_SEVERE, LSettings::NOTIFY_SOUND_OTHERS, LSettings::NOTIFY_REPEAT};
    const bool defaults[] = {true, true, false, false, false, true, true, true, false};
    Fixture f;
    f.layDefaults();
    f.open();
    f.show(NOTIFICATIONS);
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        auto *box = f.control<QCheckBox>(NOTIFICATIONS, keys[i]);
        QVERIFY2(box->isChecked() == defaults[i], keys[i]);
        if (i % 2 == 0)
            clickBox(box);
    }
    f.press(QDialogButtonBox::Ok);
    for (std::size_t i = 0; i < std::size(keys); ++i)
        QVERIFY2(f.number(LSettings::NOTIFY, keys[i]) == ((i % 2 == 0) != defaults[i] ? 1u : 0u), keys[i]);
}

// The alerts are checked every minute by default, up to every 15 minutes, for the place's point unless its county and
// zone are chosen; with the state pages as the source there is no check apart from the update, and the page says so.
void TestOptions::notifyCheckInterval()
{
    Fixture f;
    f.layDefaults();
    QCOMPARE(f.number(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES), 1u);
    f.open();
    f.show(NOTIFICATIONS);
    auto *minutes = f.control<QSpinBox>(NOTIFICATIONS, LSettings::NOTIFY_CHECK_MINUTES);
    QVERIFY(minutes->isEnabled());
    QCOMPARE(minutes->value(), 1);
    minutes->setValue(20);
    QCOMPARE(minutes->value(), 15);
    auto *area = f.control<QComboBox>(NOTIFICATIONS, LSettings::ALERT_AREA);
    QCOMPARE(area->currentIndex(), 0);
    area->setCurrentIndex(1);
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::NOTIFY, LSettings::NOTIFY_CHECK_MINUTES), 15u);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::ALERT_AREA), 1u);

    f.keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, 0, false);
    f.open();
    f.show(NOTIFICATIONS);
    QVERIFY(!f.control<QSpinBox>(NOTIFICATIONS, LSettings::NOTIFY_CHECK_MINUTES)->isEnabled());
    QVERIFY(!f.control<QComboBox>(NOTIFICATIONS, LSettings::ALERT_AREA)->isEnabled());
    QVERIFY(f.control<QLabel>(NOTIFICATIONS, "CheckNote")->text().contains(QLatin1String("with each update")));
}

// The events come from the service when the page opens, the muted ones checked also where the service does not
// name them; without the service its last answer stands and the page says why.
void TestOptions::notifySeverityAndMutedEvents()
{
    nimbreltest::HttpServer http;
    http.page("/api/alerts/types", R"({"@context": [], "eventTypes": ["Wind Advisory", "Zebra Mussel Statement"]})");
    Fixture f;
    f.layDefaults();
    f.keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, http.url("/api/").c_str(), false);
    f.keeper.SetString(LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS, "Frost Advisory", false);
    f.open();
    f.show(NOTIFICATIONS);
    auto *list = f.control<QListWidget>(NOTIFICATIONS, LSettings::NOTIFY_MUTED_EVENTS);
    const auto names = [&list] {
        QStringList events;
        for (int i = 0; i < list->count(); ++i)
            events << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked ? "+" : "");
        return events;
    };
    QTRY_COMPARE(names(), QStringList({"Frost Advisory+", "Wind Advisory", "Zebra Mussel Statement"}));
    auto *severity = f.control<QComboBox>(NOTIFICATIONS, LSettings::NOTIFY_MIN_SEVERITY);
    QCOMPARE(severity->currentText(), QStringLiteral("Moderate"));
    severity->setCurrentIndex(severity->findText(QStringLiteral("Severe")));
    list->item(1)->setCheckState(Qt::Checked);
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::NOTIFY, LSettings::NOTIFY_MIN_SEVERITY), 2u);
    QCOMPARE(f.text(LSettings::NOTIFY, LSettings::NOTIFY_MUTED_EVENTS), QStringLiteral("Frost Advisory;Wind Advisory"));

    f.keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, http.url("/offline/").c_str(), false);
    f.open();
    f.show(NOTIFICATIONS);
    auto *source = f.control<QLabel>(NOTIFICATIONS, "EventSource");
    QTRY_VERIFY2(source->text().contains(QLatin1String("could not")), qPrintable(source->text()));
    list = f.control<QListWidget>(NOTIFICATIONS, LSettings::NOTIFY_MUTED_EVENTS);
    QCOMPARE(names(), QStringList({"Frost Advisory+", "Wind Advisory+", "Zebra Mussel Statement"}));

    // A speech service that cannot be reached is said beside the option.
    qputenv("SPEECHD_ADDRESS", "unix_socket:" + QByteArray(NIMBREL_TEST_OUTPUT) + "/no-speechd.sock");
    auto *speak = f.control<QCheckBox>(NOTIFICATIONS, LSettings::NOTIFY_SPEAK);
    auto *note = f.control<QLabel>(NOTIFICATIONS, "SpeechNote");
    QVERIFY(note->text().isEmpty());
    clickBox(speak);
    QTRY_VERIFY2(
        note->text().startsWith(QLatin1String("The speech service cannot be reached: ")), qPrintable(note->text()));
    clickBox(speak);
    QVERIFY(note->text().isEmpty());
}

void TestOptions::proxyAddressKeptWhenUnchecked()
{
    Fixture f;
    f.layDefaults();
    f.keeper.SetInt(LSettings::INTERNET, LSettings::USE_PROXY, 1, false);
    f.keeper.SetString(LSettings::INTERNET, LSettings::PROXY_LOCATION, "proxy.example.net:3128", false);
    f.open();
    f.show(INTERNET);
    auto *useProxy = f.control<QCheckBox>(INTERNET, LSettings::USE_PROXY);
    auto *proxy = f.control<QLineEdit>(INTERNET, LSettings::PROXY_LOCATION);
    QVERIFY(useProxy->isChecked());
    QVERIFY(proxy->isEnabled());
    QCOMPARE(proxy->text(), QStringLiteral("proxy.example.net:3128"));
    QCOMPARE(f.control<QLineEdit>(INTERNET, LSettings::WARNINGS_BASE)->text(),
        QStringLiteral("http://127.0.0.1:8080/iwin/"));

    clickBox(useProxy);
    QVERIFY(!proxy->isEnabled());
    QCOMPARE(proxy->text(), QStringLiteral("proxy.example.net:3128"));
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());
    f.retype(f.control<QLineEdit>(INTERNET, LSettings::CONDITIONS_BASE), QStringLiteral("http://127.0.0.1:9/cur/"));
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::USE_PROXY), 0u);
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::PROXY_LOCATION), QStringLiteral("proxy.example.net:3128"));
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::CONDITIONS_BASE), QStringLiteral("http://127.0.0.1:9/cur/"));
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::WARNINGS_BASE), QStringLiteral("http://127.0.0.1:8080/iwin/"));

    f.open();
    f.show(INTERNET);
    QVERIFY(!f.control<QLineEdit>(INTERNET, LSettings::PROXY_LOCATION)->isEnabled());
}

void TestOptions::nearbyStationOnByDefaultAndStored()
{
    Fixture f;
    f.layDefaults();
    f.open();
    f.show(INTERNET);
    auto *nearby = f.control<QCheckBox>(INTERNET, LSettings::USE_NEARBY_STATION);
    QVERIFY(nearby->isChecked());
    clickBox(nearby);
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::USE_NEARBY_STATION), 0u);

    f.open();
    f.show(INTERNET);
    QVERIFY(!f.control<QCheckBox>(INTERNET, LSettings::USE_NEARBY_STATION)->isChecked());
}

void TestOptions::productSourceStoredWithItsAddress()
{
    Fixture f;
    f.layDefaults();
    f.open();
    f.show(INTERNET);
    auto *webService = f.control<QRadioButton>(INTERNET, "webService");
    auto *statePages = f.control<QRadioButton>(INTERNET, "statePages");
    auto *apiBase = f.control<QLineEdit>(INTERNET, LSettings::API_BASE);
    auto *warningsBase = f.control<QLineEdit>(INTERNET, LSettings::WARNINGS_BASE);
    QCOMPARE(webService->text(), QStringLiteral("NWS web service"));
    QCOMPARE(statePages->text(), QStringLiteral("State product pages"));
    QCOMPARE(labelAbove(apiBase), QStringLiteral("Web service URL"));
    QCOMPARE(labelAbove(warningsBase), QStringLiteral("Special messages URL"));
    QVERIFY(webService->isChecked() && !statePages->isChecked());
    QVERIFY(apiBase->isEnabled() && !warningsBase->isEnabled());
    QCOMPARE(apiBase->text(), QStringLiteral("http://127.0.0.1:8080/api/"));
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());

    clickBox(statePages);
    QVERIFY(!apiBase->isEnabled() && warningsBase->isEnabled());
    QCOMPARE(apiBase->text(), QStringLiteral("http://127.0.0.1:8080/api/"));
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());
    f.retype(warningsBase, QStringLiteral("http://127.0.0.1:9/iwin/"));
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::PRODUCT_SOURCE), 0u);
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::WARNINGS_BASE), QStringLiteral("http://127.0.0.1:9/iwin/"));
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::API_BASE), QStringLiteral("http://127.0.0.1:8080/api/"));

    f.open();
    f.show(INTERNET);
    webService = f.control<QRadioButton>(INTERNET, "webService");
    apiBase = f.control<QLineEdit>(INTERNET, LSettings::API_BASE);
    QVERIFY(f.control<QRadioButton>(INTERNET, "statePages")->isChecked());
    QVERIFY(!apiBase->isEnabled() && f.control<QLineEdit>(INTERNET, LSettings::WARNINGS_BASE)->isEnabled());
    QVERIFY(!f.button(QDialogButtonBox::Apply)->isEnabled());
    clickBox(webService);
    QVERIFY(apiBase->isEnabled());
    f.press(QDialogButtonBox::Apply);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::PRODUCT_SOURCE), 1u);

    // The address alone is a change too; the contact is stored without the blanks around it.
    f.retype(apiBase, QStringLiteral("http://127.0.0.1:9/api/"));
    QVERIFY(f.button(QDialogButtonBox::Apply)->isEnabled());
    auto *contact = f.control<QLineEdit>(INTERNET, LSettings::CONTACT);
    QCOMPARE(labelAbove(contact), QStringLiteral("Contact (e-mail) for the weather service"));
    f.retype(contact, QStringLiteral(" forecaster@example.com "));
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::CONTACT), QStringLiteral("forecaster@example.com"));
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::API_BASE), QStringLiteral("http://127.0.0.1:9/api/"));
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::PRODUCT_SOURCE), 1u);
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::WARNINGS_BASE), QStringLiteral("http://127.0.0.1:9/iwin/"));
}

void TestOptions::productSourceFallsBackToWebService()
{
    // Nothing stored: the web service at its own address.
    Fixture f;
    f.open();
    f.show(INTERNET);
    QVERIFY(f.control<QRadioButton>(INTERNET, "webService")->isChecked());
    QCOMPARE(f.control<QLineEdit>(INTERNET, LSettings::API_BASE)->text(), QStringLiteral("https://api.weather.gov/"));
    QVERIFY(f.control<QLineEdit>(INTERNET, LSettings::API_BASE)->isEnabled());
    QVERIFY(!f.control<QLineEdit>(INTERNET, LSettings::WARNINGS_BASE)->isEnabled());
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::PRODUCT_SOURCE), 1u);
    QCOMPARE(f.text(LSettings::INTERNET, LSettings::API_BASE), QStringLiteral("https://api.weather.gov/"));

    // Values the page does not offer, and a value of the wrong type, show the web service; only 0 the pages.
    f.layDefaults();
    f.keeper.SetString(LSettings::INTERNET, LSettings::API_BASE, "", false);
    for (const std::uint32_t stored : {2u, 0xFFFFFFFFu, 0u}) {
        f.keeper.SetInt(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, stored, false);
        f.open();
        f.show(INTERNET);
        QVERIFY2(f.control<QRadioButton>(INTERNET, "webService")->isChecked() == (stored != 0),
            qPrintable(QString::number(stored)));
        QVERIFY(f.control<QLineEdit>(INTERNET, LSettings::API_BASE)->isEnabled() == (stored != 0));
        QCOMPARE(
            f.control<QLineEdit>(INTERNET, LSettings::API_BASE)->text(), QStringLiteral("https://api.weather.gov/"));
    }
    f.keeper.SetString(LSettings::INTERNET, LSettings::PRODUCT_SOURCE, "0", false);
    f.open();
    f.show(INTERNET);
    QVERIFY(f.control<QRadioButton>(INTERNET, "webService")->isChecked());
    f.press(QDialogButtonBox::Ok);
    QCOMPARE(f.number(LSettings::INTERNET, LSettings::PRODUCT_SOURCE), 1u);
}

void TestOptions::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    const QString folder = QStringLiteral(NIMBREL_TEST_OUTPUT "/dialogs");
    QVERIFY(QDir().mkpath(folder));
    const char *const names[]
        = {"general", "forecast-ticker", "warnings-ticker", "retrieval", "internet", "notifications"};
    Fixture f;
    f.layDefaults();
    f.open();
    for (int tab = GENERAL; tab <= NOTIFICATIONS; ++tab) {
        f.show(static_cast<Tab>(tab));
        QVERIFY(f.sheet->grab().save(folder + QStringLiteral("/options-%1.png").arg(QLatin1String(names[tab]))));
    }
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
