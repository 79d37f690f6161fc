#include "nimbdesk/window/cmaindlg.h"

#include "corekit/lex.h"
#include "meteo/location/wlocationdb.h"
#include "meteo/reader/walerttext.h"
#include "nimbdesk/alerts/calertnotifier.h"
#include "nimbdesk/alerts/lalertstate.h"
#include "nimbdesk/common/appicon.h"
#include "nimbdesk/forecast/cforecastpanel.h"
#include "nimbdesk/freshness/cstationnote.h"
#include "nimbdesk/freshness/progresswords.h"
#include "nimbdesk/freshness/timetext.h"
#include "nimbdesk/gauges/caccessiblecontrol.h"
#include "nimbdesk/gauges/cweatherline.h"
#include "nimbdesk/gauges/cwlabel.h"
#include "nimbdesk/gauges/cwpres.h"
#include "nimbdesk/gauges/cwptkr.h"
#include "nimbdesk/gauges/cwtemp.h"
#include "nimbdesk/gauges/cwwind.h"
#include "nimbdesk/location/clocationdlg.h"
#include "nimbdesk/options/coptionssheet.h"
#include "nimbdesk/places/cplaceswitcher.h"
#include "nimbdesk/places/csavedplaces.h"
#include "nimbdesk/places/cwatchedplaces.h"
#include "nimbdesk/tray/ctrayicon.h"
#include "nimbdesk/window/caboutdlg.h"
#include "nimbdesk/window/cfreshnessview.h"
#include "nimbdesk/window/ckeptvalues.h"
#include "nimbdesk/window/csettingsnotice.h"
#include "nimbdesk/window/cstatusline.h"
#include "nimbdesk/window/ctextviewdlg.h"
#include "nimbdesk/worker/cnetworkwatch.h"
#include "nimbdesk/worker/cresumewatch.h"
#include "nimbdesk/worker/cupdateevent.h"
#include "settings/lplacecache.h"
#include "settings/lsettings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

// The worker hands the info text over cut to 255 bytes, which may split a character of more than one byte: that
// character goes, so "Getting Cañon City..." cut inside the "ñ" reads "Getting Ca".
QString wholeCharacters(const char *text)
{
    const auto bytes = reinterpret_cast<const unsigned char *>(text);
    std::size_t length = std::strlen(text);
    std::size_t start = length;
    while (start > 0 && (bytes[start - 1] & 0xC0u) == 0x80u && length - start < 3)
        --start;
    if (start > 0 && bytes[start - 1] >= 0xC0u) {
        const unsigned char lead = bytes[start - 1];
        const std::size_t needed = lead >= 0xF0u ? 4 : lead >= 0xE0u ? 3 : 2;
        if (length - (start - 1) < needed)
            length = start - 1;
    }
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

// A copied text by its length, so that a stray NUL cannot hide the rest of it; a result replaced in between by a
// shorter one leaves zeros at the end, which are not part of it.
QString textOf(const std::vector<char> &buffer)
{
    qsizetype length = static_cast<qsizetype>(buffer.size()) - 1;
    while (length > 0 && buffer[static_cast<std::size_t>(length) - 1] == '\0')
        --length;
    return QString::fromUtf8(buffer.data(), length);
}

// The controls fill their frames but for a narrow edge, a quarter of a line: the frames mark the groups, the
// controls' own backgrounds carry the readings.
QMargins frameMargins(const QWidget *frame)
{
    const int edge = std::max(2, frame->fontMetrics().height() / 4);
    return {edge, edge, edge, edge};
}

// The special messages made of alerts, by the kind of alert.
constexpr std::array<std::pair<WAlertKind, int>, 3> ALERT_ITEMS
    = {{{WAlertKind::Warning, indexOf(LMessageKind::Warnings)}, {WAlertKind::Watch, indexOf(LMessageKind::Watches)},
        {WAlertKind::Statement, indexOf(LMessageKind::Statements)}}};

// A QTimer waits at most about 24 days; a longer wait is taken again from there.
constexpr std::int64_t EXPIRY_WAIT_LIMIT_MS = 24LL * 24 * 3600 * 1000;

// When an alert stops being in force: its message expires; one without that, when its hazard ends.
std::int64_t alertExpiry(const WAlertRecord &alert)
{
    return alert.expires != 0 ? alert.expires : alert.ends;
}

} // namespace

const QString CMainDlg::MESSAGE_SEPARATOR = QStringLiteral("\r\n*****************\r\n");

CMainDlg::CMainDlg(const std::string &settingsDirectory, CUpdateTiming timing, CTraySystem tray, QWidget *parent)
    : QMainWindow(parent)
    , m_keeper(LString(APP_NAME), settingsDirectory)
    , m_worker(LString(APP_NAME), settingsDirectory, timing)
    , m_calendar(timing.calendar ? timing.calendar : [] { return currentTime(); })
{
    setWindowTitle(QLatin1String(APP_NAME));
    setWindowIcon(applicationIcon());
    m_kept = std::make_unique<CKeptValues>(LPlaceCache::directoryFor(settingsDirectory));
    buildControls();
    buildMenus();
    m_settingsNotice = new CSettingsNotice(this, m_status);
    m_keeper.SetListener(m_settingsNotice);
    m_tray = new CTrayIcon(QLatin1String(APP_NAME), this, std::move(tray));
    connectTray();
    m_settings = std::make_unique<CSettingsApplier>(m_keeper, m_worker,
        CSettingsTargets{m_header, m_temperature, m_dewPoint, m_wind, m_pressure, m_forecastTicker, m_specialTicker,
            m_tray, m_words, m_outlook});
    m_freshness = new CFreshnessView(
        CFreshnessTargets{{m_temperature, m_dewPoint, m_wind, m_pressure}, m_status, m_observedAt, m_tray}, this);
    // A settings directory of its own (as the tests give) holds the notified alerts too.
    const std::string alertState
        = settingsDirectory.empty() ? LAlertState::defaultPath() : settingsDirectory + "/notified-alerts";
    m_alertNotifier = new CAlertNotifier(&m_keeper, m_tray, alertState, QDBusConnection::sessionBus(), {}, this);
    connect(m_alertNotifier, &CAlertNotifier::alertActivated, this, &CMainDlg::ShowAlert);
    connect(m_alertNotifier, &CAlertNotifier::statusMessage, this, &CMainDlg::showNews);
    connect(m_freshness, &CFreshnessView::minutePassed, m_alertNotifier, &CAlertNotifier::Refresh);
    auto *watched = new CWatchedPlaces(m_worker, *m_places, *m_alertNotifier, this);
    connect(watched, &CWatchedPlaces::tipChanged, this, &CMainDlg::showPlacesInTray);
    connect(watched, &CWatchedPlaces::placeRequested, this, &CMainDlg::ShowPlace);
    connect(watched, &CWatchedPlaces::alertRequested, this, &CMainDlg::ShowAlert);
    m_outlook->SetCalendar(m_calendar);
    connect(m_freshness, &CFreshnessView::minutePassed, m_outlook, &CForecastPanel::RefreshAge);
    m_expiry = new QTimer(this);
    m_expiry->setSingleShot(true);
    connect(m_expiry, &QTimer::timeout, this, &CMainDlg::expireAlerts);
    watchForChecks();
}

CMainDlg::~CMainDlg()
{
    shutDown();
}

bool CMainDlg::Start()
{
    m_keeper.Repair();
    LSettings::InitDefaults(m_keeper);
    ApplySettings();
    if (!m_settings->PlaceStored()) {
        if (!askPlace())
            return false;
        m_settings->ApplyPlace();
    }
    reloadPlaces();
    m_worker.SetWindow(this);
    blankTickers();
    showKept();
    m_tray->ShowInTray();
    return true;
}

void CMainDlg::ShowAtStart(bool minimized)
{
    if (!minimized)
        show();
    else if (!m_tray->isVisible())
        showMinimized();
}

// Fonts change the widths of the gauges' titles.
void CMainDlg::ApplySettings()
{
    m_settings->Apply();
    equalizeGaugeFrames();
}

void CMainDlg::ShowCondition(const WCondition &condition, const WStationUsed &station)
{
    const auto observed = static_cast<std::int64_t>(condition.getTime());
    const QString stationNote = CStationNote::Note(station, observed, currentTime());
    m_temperature->SetValue(condition.getTemp());
    m_dewPoint->SetValue(condition.getDewPoint());
    m_pressure->SetValue(condition.getPressure());
    m_wind->SetSpeed(static_cast<short>(condition.getWindSpeed()));
    m_wind->SetGust(static_cast<short>(condition.getWindGustSpeed()));
    m_wind->SetDirection(static_cast<float>(condition.getWindDirection()));
    m_words->SetObservation(condition.getObservation(), stationNote);
    if (stationNote.isEmpty())
        CAccessibleControl::announceObservation({m_temperature, m_dewPoint, m_wind, m_pressure}, observed);
    else
        CAccessibleControl::announceObservation({m_temperature, m_dewPoint, m_wind, m_pressure}, stationNote);
    m_tray->ShowCondition(condition);
    m_freshness->ShowCondition(condition, station);
}

void CMainDlg::UpdateNow()
{
    m_worker.UpdateNow();
}

void CMainDlg::SelectLocation()
{
    CLocationDlg dialog(&m_keeper, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const LPlaceId before = m_places->Shown();
    reloadPlaces();
    ApplySettings();
    blankTickers();
    if (!(m_places->Shown() == before))
        placeChanged();
}

void CMainDlg::ShowPlace(std::uint32_t stateId, std::uint32_t cityId)
{
    m_places->Show({stateId, cityId});
    showPlacesInTray();
    ApplySettings();
    blankTickers();
    m_forecastText.clear();
    m_specialText.clear();
    placeChanged();
    m_worker.UpdateNow();
}

void CMainDlg::Options()
{
    COptionsSheet sheet(&m_keeper, this);
    if (sheet.exec() == QDialog::Accepted)
        ApplySettings();
}

void CMainDlg::About()
{
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainDlg::ShowForecastText()
{
    CTextViewDlg dialog(tr("Forecast"), m_forecastText, this);
    dialog.exec();
}

void CMainDlg::ShowSpecialText()
{
    showSpecial(QString());
}

void CMainDlg::ShowAlert(const QString &firstLine)
{
    Restore();
    showSpecial(firstLine);
}

// The special messages with where the warnings' storms are above their alerts, told anew each minute while the
// dialog is open, and told to screen readers in the dialog's description.
void CMainDlg::showSpecial(const QString &firstLine)
{
    CTextViewDlg dialog(tr("Special"), QString(), this);
    const auto tellStorms = [this, &dialog] {
        const LStormNotes &storms = m_alertNotifier->storms();
        const std::int64_t now = currentTime();
        dialog.SetText(QString::fromStdString(storms.Annotated(m_specialText.toStdString(), now)));
        QStringList lines;
        for (const std::string &line : storms.Lines(now))
            lines << QString::fromStdString(line);
        dialog.setAccessibleDescription(lines.join(QLatin1Char('\n')));
    };
    tellStorms();
    connect(m_freshness, &CFreshnessView::minutePassed, &dialog, tellStorms);
    dialog.ShowAt(firstLine);
    dialog.exec();
}

void CMainDlg::Restore()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QString CMainDlg::statusText() const
{
    return m_status->text();
}

QString CMainDlg::statusStory() const
{
    return m_status->toolTip();
}

// What was kept of the place shown, at start or when another place is shown, shows at once marked with its age until
// the updates replace it; with nothing kept, nothing shows. Nothing of it is notified: the alerts notified before
// are remembered apart, and one that is new comes with the update.
void CMainDlg::showKept()
{
    QString note;
    const auto record = m_kept->Load(m_settings->state(), m_settings->city(), currentTime(), note);
    if (!note.isEmpty())
        m_freshness->NoteAtStart(note);
    const LPlaceCacheRecord kept = record.value_or(LPlaceCacheRecord());
    if (record)
        m_freshness->Restore(kept);
    // The saved places may know a newer observation than the file; the kept one names its nearby station.
    WCondition condition;
    if (m_places->Recall(m_places->Shown(), condition)) {
        const bool keptOne = kept.condition
            && static_cast<std::int64_t>(kept.condition->getTime()) == static_cast<std::int64_t>(condition.getTime());
        ShowCondition(condition, keptOne ? kept.station : WStationUsed());
    }
    m_tray->ShowNextPeriod(
        m_outlook->ShowKept(kept.periods.value_or(WForecast()), kept.hours.value_or(WForecast()), m_calendar()));
    restoreAlerts(kept.alerts);
    if (record)
        showKeptTexts();
}

// Those that expired meanwhile go, and with them their part of the special messages.
void CMainDlg::restoreAlerts(const std::vector<WAlertRecord> &alerts)
{
    m_alerts = alerts;
    WLocationDB::getLocationDB().makeUSLocation(m_settings->state(), m_settings->city(), m_alertsPlace);
    m_alertsKept = true;
    dropExpiredAlerts();
    scheduleExpiry();
}

void CMainDlg::tellKeeping(const QString &failure)
{
    if (!failure.isEmpty())
        showNews(failure);
}

// Worker events carry no data and arrive in the order they were posted; the results are copied out of the worker.
// Nothing that a result does to the window may end the event loop.
bool CMainDlg::event(QEvent *event)
{
    try {
        if (workerEvent(event))
            return true;
    } catch (const LEx &failure) {
        showNews(tr("An update could not be shown: %1")
                     .arg(QString::fromUtf8(failure.text() ? failure.text() : LEx::describe(failure.code()))));
        return true;
    } catch (const std::exception &failure) {
        showNews(tr("An update could not be shown: %1").arg(QString::fromUtf8(failure.what())));
        return true;
    }
    return QMainWindow::event(event);
}

void CMainDlg::closeEvent(QCloseEvent *event)
{
    shutDown();
    event->accept();
    QCoreApplication::quit();
}

void CMainDlg::buildControls()
{
    QWidget *central = new QWidget(this);
    QVBoxLayout *layout = new QVBoxLayout(central);
    layout->addWidget(headerRow(central));
    layout->addWidget(gaugeRow(), 1);
    m_words = new CWeatherLine(central);
    m_words->setObjectName(QStringLiteral("weatherWords"));
    layout->addWidget(m_words);
    m_outlook = new CForecastPanel(central);
    m_outlook->setObjectName(QStringLiteral("forecastPanel"));
    layout->addWidget(m_outlook);

    m_forecastTicker = new CWptkr(central);
    m_forecastTicker->setObjectName(QStringLiteral("forecastTicker"));
    QToolButton *forecastMore = new QToolButton(central);
    forecastMore->setObjectName(QStringLiteral("forecastMore"));
    forecastMore->setToolTip(tr("Show the whole forecast"));
    connect(forecastMore, &QToolButton::clicked, this, &CMainDlg::ShowForecastText);
    layout->addWidget(tickerBox(tr("Forecast"), m_forecastTicker, forecastMore));

    m_specialTicker = new CWptkr(central);
    m_specialTicker->setObjectName(QStringLiteral("specialTicker"));
    QToolButton *specialMore = new QToolButton(central);
    specialMore->setObjectName(QStringLiteral("specialMore"));
    specialMore->setToolTip(tr("Show the whole text of the special messages"));
    connect(specialMore, &QToolButton::clicked, this, &CMainDlg::ShowSpecialText);
    layout->addWidget(tickerBox(tr("Special messages"), m_specialTicker, specialMore));
    setCentralWidget(central);

    m_status = new CStatusLine(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_observedAt = new QLabel(this);
    m_observedAt->setObjectName(QStringLiteral("observedAt"));
    // Lined up with the frames above.
    const QMargins margins = layout->contentsMargins();
    statusBar()->setContentsMargins(margins.left(), 0, margins.right(), 0);
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_observedAt);
    statusBar()->setSizeGripEnabled(false);
}

QWidget *CMainDlg::gaugeRow()
{
    QWidget *row = new QWidget(this);
    QHBoxLayout *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_temperature = new CWtemp(row);
    m_temperature->setObjectName(QStringLiteral("temperature"));
    m_dewPoint = new CWtemp(row);
    m_dewPoint->setObjectName(QStringLiteral("dewPoint"));
    m_wind = new CWwind(row);
    m_wind->setObjectName(QStringLiteral("wind"));
    m_pressure = new CWpres(row);
    m_pressure->setObjectName(QStringLiteral("pressure"));
    m_gaugeFrames = {gaugeBox(tr("Temperature"), m_temperature), gaugeBox(tr("Dew Point"), m_dewPoint),
        gaugeBox(tr("Wind"), m_wind), gaugeBox(tr("Pressure"), m_pressure)};
    for (QGroupBox *frame : m_gaugeFrames)
        layout->addWidget(frame, 1);
    equalizeGaugeFrames();
    return row;
}

QGroupBox *CMainDlg::gaugeBox(const QString &title, QWidget *gauge)
{
    QGroupBox *box = new QGroupBox(title, gauge->parentWidget());
    QVBoxLayout *layout = new QVBoxLayout(box);
    layout->setContentsMargins(frameMargins(box));
    layout->addWidget(gauge);
    return box;
}

// The four frames take the width of the widest, so that a long title ("Temperature") does not make its gauge
// larger than the others; fonts change the widths, so this follows every change of font.
void CMainDlg::equalizeGaugeFrames()
{
    int width = 0;
    for (QGroupBox *frame : m_gaugeFrames) {
        frame->setMinimumWidth(0);
        width = std::max(width, frame->sizeHint().width());
    }
    for (QGroupBox *frame : m_gaugeFrames)
        frame->setMinimumWidth(width);
}

// The ">>" button stands at the ticker's right, as tall as the ticker.
QGroupBox *CMainDlg::tickerBox(const QString &title, CWptkr *ticker, QToolButton *more)
{
    QGroupBox *box = new QGroupBox(title, ticker->parentWidget());
    QHBoxLayout *layout = new QHBoxLayout(box);
    layout->setContentsMargins(frameMargins(box));
    more->setText(QStringLiteral(">>"));
    more->setAccessibleName(more->toolTip());
    more->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    layout->addWidget(ticker, 1);
    layout->addWidget(more);
    return box;
}

void CMainDlg::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    addItem(file, tr("&Update Now"), "updateNow", &CMainDlg::UpdateNow)->setShortcut(QKeySequence::Refresh);
    file->addSeparator();
    QAction *exit = file->addAction(tr("&Exit"));
    exit->setObjectName(QStringLiteral("exit"));
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    addItem(edit, tr("&Select Location"), "selectLocation", &CMainDlg::SelectLocation);
    addItem(edit, tr("&Options"), "options", &CMainDlg::Options);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    addItem(help, tr("&About"), "about", &CMainDlg::About);
}

QAction *CMainDlg::addItem(QMenu *menu, const QString &text, const char *name, void (CMainDlg::*handler)())
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

// After a sleep, or with the network back, the alerts may have changed long before the next check would see it.
void CMainDlg::watchForChecks()
{
    auto *resume = new CResumeWatch(QDBusConnection::systemBus(), {}, this);
    connect(resume, &CResumeWatch::resumed, this, [this] { m_worker.CheckAlertsNow(); });
    auto *network = new CNetworkWatch(this);
    connect(network, &CNetworkWatch::networkBack, this, [this] { m_worker.CheckAlertsNow(); });
}

void CMainDlg::connectTray()
{
    connect(m_tray, &CTrayIcon::updateNowRequested, this, &CMainDlg::UpdateNow);
    connect(m_tray, &CTrayIcon::showRequested, this, &CMainDlg::Restore);
    connect(m_tray, &CTrayIcon::exitRequested, this, &QWidget::close);
    connect(m_tray, &CTrayIcon::placeRequested, this, [this](int index) {
        const std::vector<LPlaceId> &places = m_places->Places();
        if (index >= 0 && index < static_cast<int>(places.size()))
            ShowPlace(places[static_cast<std::size_t>(index)].stateId, places[static_cast<std::size_t>(index)].cityId);
    });
}

bool CMainDlg::askPlace()
{
    CLocationDlg dialog(&m_keeper, isVisible() ? this : nullptr);
    return dialog.exec() == QDialog::Accepted;
}

// Nothing of the old place scrolls on; the ">>" buttons still show the last texts until new ones arrive.
void CMainDlg::blankTickers()
{
    m_forecastTicker->SetText(QString());
    m_specialTicker->SetText(QString());
}

bool CMainDlg::workerEvent(QEvent *event)
{
    if (!ofShownPlace(event))
        return true;
    switch (static_cast<int>(event->type())) {
    case WM_UPDATE_STARTED:
        // The special-messages ticker scrolls its old text until the cycle has all the new ones.
        m_specialText.clear();
        return true;
    case WM_CONDITION_READY:
        conditionReady();
        return true;
    case WM_FORECAST_READY:
        forecastReady();
        return true;
    case WM_OUTLOOK_READY:
        outlookReady(static_cast<CUpdateEvent *>(event)->index());
        return true;
    case WM_INFO_TEXT:
        infoText();
        return true;
    case WM_INFO_CLEAR:
        m_status->clear();
        return true;
    case WM_MESSAGE_READY:
        messageReady(static_cast<CUpdateEvent *>(event)->index());
        return true;
    case WM_UPDATE_FINISHED:
        updateFinished();
        return true;
    case WM_ALERTS_CHECKED:
        alertsChecked();
        return true;
    case WM_ALERTS_READY:
        alertsReady();
        return true;
    default:
        return false;
    }
}

void CMainDlg::conditionReady()
{
    WCondition condition;
    m_worker.CopyCondition(condition);
    WStationUsed station;
    m_worker.CopyStation(station);
    ShowCondition(condition, station);
    m_kept->ConditionShown(condition, station);
    m_places->Remember(condition);
    showPlacesInTray();
}

void CMainDlg::forecastReady()
{
    m_forecastText = copyForecast();
    m_forecastTicker->Scroll(m_forecastText);
    m_freshness->TextArrived(CFreshness::FORECAST, m_forecastText);
}

// The periods fill the strip and tell the tray the next one; the hours fill the chart.
void CMainDlg::outlookReady(int index)
{
    WForecast forecast;
    m_worker.CopyOutlook(index, forecast);
    m_kept->OutlookShown(index, forecast);
    if (index == 0) {
        m_outlook->ShowPeriods(forecast);
        m_tray->ShowNextPeriod(forecast.periods.empty() ? std::nullopt : std::optional(forecast.periods.front()));
    } else {
        m_outlook->ShowHours(forecast);
    }
}

// Messages come in the order of the cycle, so the joined text reads warnings, discussion, summary, watches,
// statements, public information.
void CMainDlg::messageReady(int index)
{
    const QString message = copyMessage(index);
    m_freshness->TextArrived(index, message);
    if (!m_specialText.isEmpty())
        m_specialText += MESSAGE_SEPARATOR;
    m_specialText += message;
}

void CMainDlg::updateFinished()
{
    CUpdateResults results;
    m_worker.CopyResults(results);
    m_freshness->CycleFinished(results);
    showKeptTexts();
    showOutlookState(results.periods);
    tellKeeping(m_kept->CycleFinished(results, m_freshness->freshness(), m_alerts, m_alertsPlace, currentTime()));
}

// A text whose fetch failed goes on with its time marked; one that expired goes. The forecast ticker starts anew
// only when its text changed; an empty special text blanks its ticker.
void CMainDlg::showKeptTexts()
{
    const CFreshness &freshness = m_freshness->freshness();
    const QString forecast = QString::fromStdString(freshness.ForecastText());
    if (forecast != m_forecastText) {
        m_forecastText = forecast;
        m_forecastTicker->Scroll(m_forecastText);
    }
    QStringList messages;
    for (const std::string &message : freshness.MessageTexts())
        messages.append(QString::fromStdString(message));
    m_specialText = messages.join(MESSAGE_SEPARATOR);
    m_specialTicker->Scroll(m_specialText);
}

// No strip without the web service, or for a place it has no point for; one whose fetch failed goes on, aged.
void CMainDlg::showOutlookState(const CUpdateResults::Fetch &periods)
{
    m_outlook->SetAvailable(periods.tried && periods.code != L_NOTFOUND);
    if (periods.tried && periods.code != L_OK)
        m_outlook->PeriodsFailed();
}

// The alert kinds' texts of a check that found a change take the place of the cycle's, as a cycle's would.
void CMainDlg::alertsChecked()
{
    CUpdateResults results;
    m_worker.CopyCheckResults(results);
    for (int kind = 0; kind < MESSAGE_KIND_COUNT; ++kind) {
        if (results.messages[kind].tried)
            m_freshness->TextArrived(kind, copyMessage(kind));
    }
    m_freshness->AlertsChecked(results);
    showKeptTexts();
}

void CMainDlg::alertsReady()
{
    m_worker.CopyAlerts(m_alerts, m_alertsPlace);
    m_alertsKept = false;
    m_places->AlertsFor({m_alertsPlace.getState(), m_alertsPlace.getCity()}, m_alerts);
    m_alertNotifier->Update(
        m_alerts, m_alertsPlace, CSettingsApplier::PlaceName(m_alertsPlace.getState(), m_alertsPlace.getCity()));
    scheduleExpiry();
    tellKeeping(m_kept->AlertsReady(m_alerts, m_alertsPlace, currentTime()));
}

// The timer waits for the soonest expiry among the alerts shown; none that says when, no timer.
void CMainDlg::scheduleExpiry()
{
    std::int64_t next = 0;
    for (const WAlertRecord &alert : m_alerts) {
        const std::int64_t at = alertExpiry(alert);
        if (at != 0 && (next == 0 || at < next))
            next = at;
    }
    m_expiry->stop();
    if (next == 0)
        return;
    const std::int64_t wait = std::clamp<std::int64_t>((next - m_calendar()) * 1000, 0, EXPIRY_WAIT_LIMIT_MS);
    m_expiry->start(static_cast<int>(wait));
}

// The texts of the alert kinds are made anew from the alerts still in force. True when any expired.
bool CMainDlg::dropExpiredAlerts()
{
    const std::int64_t now = m_calendar();
    const auto expired = [now](const WAlertRecord &alert) {
        const std::int64_t at = alertExpiry(alert);
        return at != 0 && at <= now;
    };
    if (std::erase_if(m_alerts, expired) == 0)
        return false;
    for (const auto &[kind, item] : ALERT_ITEMS)
        m_freshness->AlertsExpired(item, QString::fromStdString(alertsText(m_alerts, kind)));
    return true;
}

// An alert leaves the tickers, the tray's mark and its tip when it expires, without waiting for the service to
// say so.
void CMainDlg::expireAlerts()
{
    if (dropExpiredAlerts()) {
        showKeptTexts();
        if (!m_alertsKept) {
            m_alertNotifier->Update(m_alerts, m_alertsPlace,
                CSettingsApplier::PlaceName(m_alertsPlace.getState(), m_alertsPlace.getCity()));
        }
    }
    scheduleExpiry();
}

// The news follows what the line says of the cycle, its time or what failed: "Last updated: 12/07/26 06:10:00 —
// New: Tornado Warning".
void CMainDlg::showNews(const QString &text)
{
    const QString shown = m_status->text();
    m_status->setText(shown.isEmpty() ? text : tr("%1 — %2").arg(shown, text));
}

void CMainDlg::infoText()
{
    char text[256];
    m_worker.CopyInfoText(text, sizeof text);
    m_status->setText(progressWords(wholeCharacters(text)));
}

// The length first, then the copy: a result replaced in between is cut to that length, never overrun.
QString CMainDlg::copyForecast()
{
    unsigned long length = 0;
    m_worker.GetForecastLength(length);
    std::vector<char> buffer(length + 1);
    m_worker.CopyForecast(buffer.data(), length + 1);
    return textOf(buffer);
}

QString CMainDlg::copyMessage(int index)
{
    unsigned long length = 0;
    m_worker.GetMessageLength(index, length);
    std::vector<char> buffer(length + 1);
    m_worker.CopyMessage(index, buffer.data(), length + 1);
    return textOf(buffer);
}

// The place's name, which opens the switcher of the saved places beside it.
QWidget *CMainDlg::headerRow(QWidget *central)
{
    auto *row = new QWidget(central);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_header = new CWlabel(row);
    m_header->setObjectName(QStringLiteral("header"));
    auto *switcher = new CPlaceSwitcher(this, m_header, row);
    switcher->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    layout->addWidget(m_header, 1);
    layout->addWidget(switcher);
    m_places = new CSavedPlaces(m_keeper, switcher, std::make_unique<LPlaceMemory>(m_kept->directory()), this);
    connect(m_places, &CSavedPlaces::switchRequested, this, &CMainDlg::ShowPlace);
    return row;
}

// Entries of the list that had to be left out are said in the window, each by name.
void CMainDlg::reloadPlaces()
{
    const QStringList notes = m_places->Reload();
    showPlacesInTray();
    if (!notes.isEmpty())
        showNews(tr("Saved places left out: %1").arg(notes.join(QStringLiteral("; "))));
}

void CMainDlg::showPlacesInTray()
{
    std::uint32_t scale = 0;
    m_keeper.GetInt(LSettings::GENERAL, LSettings::TEMPERATURE_SCALE, scale, false);
    m_tray->ShowPlaces(m_places->TipLine(scale != 0), m_places->Names(), m_places->ShownIndex());
}

// Nothing of the place before stays under the new one's name: what was kept of the new one, with its age, or
// nothing.
void CMainDlg::placeChanged()
{
    blankGauges();
    showKept();
}

void CMainDlg::blankGauges()
{
    const float none = std::numeric_limits<float>::quiet_NaN();
    m_temperature->SetValue(none);
    m_dewPoint->SetValue(none);
    m_pressure->SetValue(none);
    m_wind->SetSpeed(-1);
    m_wind->SetGust(-1);
    m_wind->SetDirection(none);
    m_words->SetObservation(WObservation());
    m_freshness->ForgetPlace(m_settings->state(), m_settings->city());
}

// The worker may still hand over results of the place shown before a switch; they are passed over, and the next
// cycle brings the new place's.
bool CMainDlg::ofShownPlace(QEvent *event)
{
    const auto type = static_cast<int>(event->type());
    if (type == WM_CONDITION_READY || type == WM_FORECAST_READY || type == WM_MESSAGE_READY
        || type == WM_OUTLOOK_READY) {
        const int index = static_cast<CUpdateEvent *>(event)->index();
        return m_worker.PlaceOf(event->type(), index) == m_places->Shown();
    }
    if (type != WM_UPDATE_FINISHED && type != WM_ALERTS_CHECKED)
        return true;
    CUpdateResults results;
    if (type == WM_UPDATE_FINISHED)
        m_worker.CopyResults(results);
    else
        m_worker.CopyCheckResults(results);
    return LPlaceId{results.state, results.city} == m_places->Shown();
}

// The worker stops before the window goes: it finishes or aborts its fetch and posts nothing more.
void CMainDlg::shutDown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_worker.Stop();
    m_tray->hide();
}

} // namespace nimbdesk
