#pragma once

#include "meteo/base/wcondition.h"
#include "nimbdesk/tray/ctraysystem.h"
#include "nimbdesk/window/csettingsapplier.h"
#include "nimbdesk/worker/cupdatethread.h"
#include "settings/lwinkeeper.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QTimer;
class QGroupBox;
class QLabel;
class QMenu;
class QToolButton;

namespace nimbdesk
{

class CAlertNotifier;
class CForecastPanel;
class CFreshnessView;
class CKeptValues;
class CSavedPlaces;
class CSettingsNotice;
class CStatusLine;
class CTrayIcon;
class CWeatherLine;
class CWlabel;
class CWpres;
class CWptkr;
class CWtemp;
class CWwind;

// The main window: the place across the top, the gauges "Temperature", "Dew Point", "Wind" and "Pressure", the
// "Forecast" and "Special messages" tickers each with a ">>" button that shows the whole text, and the status line.
// It owns the settings keeper and the update worker, has the settings applied, and shows what the worker delivers.
// Minimised, it hides in the tray where the desktop has one. Enter and Escape do nothing; File > Exit, the close
// box and the tray's Exit end the program.
class CMainDlg : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char *APP_NAME = "Nimbrel";
    // Put between two special messages: "\r\n" + 17 asterisks + "\r\n".
    static const QString MESSAGE_SEPARATOR;

    // Settings are kept in settingsDirectory, or where LWinKeeper keeps them by default when it is empty. The worker
    // thread starts here and idles until Start has given it the place. The tray system is the desktop's by default.
    explicit CMainDlg(const std::string &settingsDirectory = std::string(), CUpdateTiming timing = {},
        CTraySystem tray = {}, QWidget *parent = nullptr);
    ~CMainDlg() override;

    // Lays down the default settings, applies them, asks for a place when none is stored, and lets the worker start
    // its first cycle. False when the user cancelled the place: the program ends.
    bool Start();
    // Shows the window after Start. Minimised (started at login) it waits in the tray, or where the desktop has no
    // tray, in the task bar: something must show that the program runs.
    void ShowAtStart(bool minimized);
    // Reads every setting afresh and passes it on; the worker gets the interval and the place only when they
    // changed, since either starts a cycle at once.
    void ApplySettings();
    // The four gauges, then the tray icon's number and tip in the scale of the temperature gauge.
    // The station tells whose the observation is when a nearby station stood in for the place's.
    void ShowCondition(const meteo::WCondition &condition, const meteo::WStationUsed &station = {});

    void UpdateNow();
    void SelectLocation();
    // Shows another saved place at once: its last known values while its update runs, nothing of the place before.
    void ShowPlace(std::uint32_t stateId, std::uint32_t cityId);
    CSavedPlaces *savedPlaces() const { return m_places; }
    void Options();
    void About();
    void ShowForecastText();
    void ShowSpecialText();
    // Brings the window back and shows the special messages at the alert whose text begins with the line.
    void ShowAlert(const QString &firstLine);
    // Brings the window back from the tray or from being minimised.
    void Restore();

    CUpdateThread &worker() { return m_worker; }
    // What the ">>" buttons show: the forecast last given to its ticker, and the special messages of the cycle,
    // joined as they arrive; once the cycle has ended, those whose fetch failed are there too, marked with their
    // time.
    const QString &forecastText() const { return m_forecastText; }
    const QString &specialText() const { return m_specialText; }
    QString statusText() const;
    // What the last cycle fetched, failed and kept, as the status line's tooltip tells it.
    QString statusStory() const;
    CTrayIcon *trayIcon() const { return m_tray; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showSpecial(const QString &firstLine);
    void buildControls();
    QWidget *gaugeRow();
    QGroupBox *gaugeBox(const QString &title, QWidget *gauge);
    void equalizeGaugeFrames();
    QGroupBox *tickerBox(const QString &title, CWptkr *ticker, QToolButton *more);
    QAction *addItem(QMenu *menu, const QString &text, const char *name, void (CMainDlg::*handler)());
    void buildMenus();
    void connectTray();
    void watchForChecks();

    bool askPlace();
    void blankTickers();
    void showKept();
    void restoreAlerts(const std::vector<meteo::WAlertRecord> &alerts);
    void tellKeeping(const QString &failure);
    QWidget *headerRow(QWidget *central);
    void reloadPlaces();
    void showPlacesInTray();
    void placeChanged();
    void blankGauges();
    bool ofShownPlace(QEvent *event);

    bool workerEvent(QEvent *event);
    void conditionReady();
    void forecastReady();
    void outlookReady(int index);
    void showOutlookState(const CUpdateResults::Fetch &periods);
    void messageReady(int index);
    void updateFinished();
    void showKeptTexts();
    void alertsChecked();
    void alertsReady();
    void scheduleExpiry();
    bool dropExpiredAlerts();
    void expireAlerts();
    void showNews(const QString &text);
    void infoText();
    QString copyForecast();
    QString copyMessage(int index);
    void shutDown();

    settings::LWinKeeper m_keeper;
    CUpdateThread m_worker;
    QString m_forecastText;
    QString m_specialText;

    std::array<QGroupBox *, 4> m_gaugeFrames{};
    CWlabel *m_header = nullptr;
    CWtemp *m_dewPoint = nullptr;
    CWtemp *m_temperature = nullptr;
    CWwind *m_wind = nullptr;
    CWpres *m_pressure = nullptr;
    CWeatherLine *m_words = nullptr;
    CForecastPanel *m_outlook = nullptr;
    CWptkr *m_forecastTicker = nullptr;
    CWptkr *m_specialTicker = nullptr;
    CStatusLine *m_status = nullptr;
    QLabel *m_observedAt = nullptr;
    CTrayIcon *m_tray = nullptr;
    CFreshnessView *m_freshness = nullptr;
    std::unique_ptr<CSettingsApplier> m_settings;
    CSettingsNotice *m_settingsNotice = nullptr;
    CAlertNotifier *m_alertNotifier = nullptr;
    CSavedPlaces *m_places = nullptr;
    // The alerts the window shows and the place they are for, as the worker handed them over, less those that
    // expired since; the timer fires at the next expiry.
    std::vector<meteo::WAlertRecord> m_alerts;
    meteo::WLocation m_alertsPlace;
    // The alerts are those kept from the last run: nothing of them is notified.
    bool m_alertsKept = false;
    std::unique_ptr<CKeptValues> m_kept;
    QTimer *m_expiry = nullptr;
    // The calendar the expiries are read on: the worker's reader's, or the system's.
    std::function<std::int64_t()> m_calendar;
    bool m_shutDown = false;
};

} // namespace nimbdesk
