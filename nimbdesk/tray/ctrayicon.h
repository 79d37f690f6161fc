#pragma once

#include "meteo/base/wcondition.h"
#include "meteo/base/wforecast.h"
#include "nimbdesk/tray/ctraysystem.h"
#include "nimbdesk/tray/ctraytip.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QSystemTrayIcon>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace nimbdesk
{

// The tray icon: the current temperature drawn as a number on a tile in the gauges' colours (the program's icon
// until the first observation), the tip "Nimbrel (24 C, 1:54 PM)" (CTrayTip), and a menu with Update Now, Show and
// Exit. A click or a double click asks for the window: trays that speak the StatusNotifier protocol send one
// activation, the older embedding trays a click and then a double click. Once shown, it takes the window in when the
// window is minimised.
class CTrayIcon : public QSystemTrayIcon
{
    Q_OBJECT

public:
    // The name heads the tip: "Nimbrel", "Nimbrel (24 C)". The window is the one that hides in the tray; the
    // system says whether there is a tray and shows the icon's messages.
    CTrayIcon(const QString &name, QWidget *window, CTraySystem system = {});
    ~CTrayIcon() override;

    // Shows the icon where the desktop has a tray; elsewhere the window minimises like any other.
    void ShowInTray();
    // Shows a message from the icon in the tray; false where the icon is not shown or the tray shows no messages.
    bool ShowMessage(const CTraySystem::Message &message);
    // The observation's temperature in the scale last set, Celsius until then.
    void ShowCondition(const meteo::WCondition &condition);
    void SetFahrenheit(bool fahrenheit);
    // The next period of the forecast, told in the tip in the scale last set; none leaves it out.
    void ShowNextPeriod(const std::optional<meteo::WForecastPeriod> &period);

    // The temperature as WCondition formats it ("24 C", "-3 F"): its number goes on the icon, the whole in the tip,
    // followed by the weather in words where there is any: "Nimbrel (24 C, light rain)".
    void ShowTemperature(const QString &temperature, const QString &weather = QString());
    // When the temperature was observed, for the tip ("1:54 PM", "observed 3 h ago"), and what went wrong in the
    // last update (empty when nothing did). An untrusted number is drawn in grey.
    void ShowFreshness(const QString &observed, const QString &problem, bool trusted);
    // The events of the warnings in force, their count marked on the icon in the colour given, and listed in the tip;
    // none takes the mark away.
    void ShowAlerts(const QStringList &events, const QColor &color);
    // The saved places for the tip ("Des Moines 27°, Bismarck −5°"; empty with one place) and for the menu, which
    // asks for one by its index; the shown one is checked.
    void ShowPlaces(const QString &line, const QStringList &names, int shown);
    // COLORREF values, as the settings hold them.
    void SetColors(std::uint32_t fore, std::uint32_t back);

    // The icon with a number on it, at the sizes trays ask for.
    static QIcon temperatureIcon(const QString &number, const QColor &fore, const QColor &back);
    static QPixmap temperaturePixmap(const QString &number, int size, const QColor &fore, const QColor &back);

signals:
    void updateNowRequested();
    void showRequested();
    void exitRequested();
    void placeRequested(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showTemperature();
    void showNextPeriod();
    void buildMenu();
    void activate(QSystemTrayIcon::ActivationReason reason);
    void redraw();

    CTrayTip m_tip;
    QWidget *const m_window;
    const CTraySystem m_system;
    meteo::WCondition m_observation;
    std::optional<meteo::WForecastPeriod> m_nextPeriod;
    // The reader leaves the record's own validity flag alone: this one says whether an observation came.
    bool m_observed = false;
    bool m_fahrenheit = false;
    std::unique_ptr<QMenu> m_menu;
    QMenu *m_places = nullptr;
    QString m_number;
    QColor m_fore;
    QColor m_back;
    bool m_trusted = true;
    QColor m_alertColor;
};

} // namespace nimbdesk
