#include "nimbdesk/tray/ctrayicon.h"

#include "meteo/reader/wobservationwords.h"
#include "nimbdesk/common/appicon.h"
#include "nimbdesk/common/colorref.h"
#include "nimbdesk/forecast/forecastwords.h"
#include "nimbdesk/tray/alertmark.h"
#include "settings/lsettings.h"

#include "nimbdesk/common/lstringqt.h"

#include <QAction>
#include <QEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <initializer_list>
#include <utility>

using namespace corekit;
using namespace meteo;
using namespace settings;

namespace nimbdesk
{

namespace
{

// The number of a temperature not to be trusted (an old observation, a failed update), whatever the colours.
const QColor UNTRUSTED_GREY(140, 140, 140);

} // namespace

CTrayIcon::CTrayIcon(const QString &name, QWidget *window, CTraySystem system)
    : QSystemTrayIcon(window)
    , m_tip{name, QString(), QString(), QString(), QString(), QString(), QStringList(), QString()}
    , m_window(window)
    , m_system(std::move(system))
    , m_menu(std::make_unique<QMenu>())
    , m_fore(colorFromColorref(LSettings::RED))
    , m_back(colorFromColorref(0))
{
    setIcon(applicationIcon());
    setToolTip(m_tip.text());
    buildMenu();
    connect(this, &QSystemTrayIcon::activated, this, &CTrayIcon::activate);
    m_window->installEventFilter(this);
}

CTrayIcon::~CTrayIcon() = default;

void CTrayIcon::ShowInTray()
{
    if (m_system.available())
        show();
}

bool CTrayIcon::ShowMessage(const CTraySystem::Message &message)
{
    if (!isVisible() || !m_system.showsMessages())
        return false;
    m_system.show(*this, message);
    return true;
}

void CTrayIcon::ShowCondition(const WCondition &condition)
{
    m_observation = condition;
    m_observed = true;
    showTemperature();
}

void CTrayIcon::SetFahrenheit(bool fahrenheit)
{
    m_fahrenheit = fahrenheit;
    showTemperature();
    showNextPeriod();
}

void CTrayIcon::ShowNextPeriod(const std::optional<WForecastPeriod> &period)
{
    m_nextPeriod = period;
    showNextPeriod();
}

void CTrayIcon::showNextPeriod()
{
    m_tip.nextPeriod = m_nextPeriod ? ForecastWords(m_fahrenheit).brief(*m_nextPeriod) : QString();
    setToolTip(m_tip.text());
}

void CTrayIcon::ShowTemperature(const QString &temperature, const QString &weather)
{
    m_tip.temperature = temperature;
    m_tip.weather = weather;
    setToolTip(m_tip.text());
    m_number = temperature.section(QLatin1Char(' '), 0, 0);
    redraw();
}

void CTrayIcon::ShowFreshness(const QString &observed, const QString &problem, bool trusted)
{
    m_tip.observed = observed;
    m_tip.problem = problem;
    setToolTip(m_tip.text());
    if (trusted == m_trusted)
        return;
    m_trusted = trusted;
    redraw();
}

void CTrayIcon::ShowAlerts(const QStringList &events, const QColor &color)
{
    m_tip.alerts = events;
    m_alertColor = color;
    setToolTip(m_tip.text());
    redraw();
}

void CTrayIcon::ShowPlaces(const QString &line, const QStringList &names, int shown)
{
    m_tip.places = line;
    setToolTip(m_tip.text());
    m_places->clear();
    for (int index = 0; index < names.size(); ++index) {
        QAction *action = m_places->addAction(names[index]);
        action->setCheckable(true);
        action->setChecked(index == shown);
        connect(action, &QAction::triggered, this, [this, index] { emit placeRequested(index); });
    }
    m_places->menuAction()->setVisible(names.size() > 1);
}

void CTrayIcon::SetColors(std::uint32_t fore, std::uint32_t back)
{
    m_fore = colorFromColorref(fore);
    m_back = colorFromColorref(back);
    redraw();
}

QIcon CTrayIcon::temperatureIcon(const QString &number, const QColor &fore, const QColor &back)
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(temperaturePixmap(number, size, fore, back));
    return icon;
}

// Bold and as large as fits: "24" fills most of the tile, "-12" and "104" take a smaller size.
QPixmap CTrayIcon::temperaturePixmap(const QString &number, int size, const QColor &fore, const QColor &back)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    painter.fillPath(tile, back);

    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(qRound(size * 0.72));
    const qreal room = size * 0.94;
    const qreal width = QFontMetricsF(font).horizontalAdvance(number);
    if (width > room)
        font.setPixelSize(qMax(1, static_cast<int>(font.pixelSize() * room / width)));
    painter.setFont(font);
    painter.setPen(fore);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, number);
    return pixmap;
}

// Hiding while the minimise is still being handled would leave the window manager's state behind, so the hide
// waits for the next pass of the event loop; without a tray the window stays minimised like any other.
bool CTrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::WindowStateChange || !m_window->isMinimized())
        return false;
    if (!isVisible() || !m_system.available())
        return false;
    QTimer::singleShot(0, m_window, [window = m_window] {
        if (window->isMinimized())
            window->hide();
    });
    return false;
}

void CTrayIcon::showTemperature()
{
    if (!m_observed)
        return;
    LString text;
    m_observation.formatTemp(text, m_fahrenheit ? WCondition::Fahrenheit : WCondition::Celsius);
    ShowTemperature(
        toQString(text), QString::fromStdString(WObservationWords::weather(m_observation.getObservation())));
}

void CTrayIcon::buildMenu()
{
    QAction *updateNow = m_menu->addAction(tr("&Update Now"));
    QAction *show = m_menu->addAction(tr("&Show"));
    m_places = m_menu->addMenu(tr("&Places"));
    m_places->menuAction()->setVisible(false);
    m_menu->addSeparator();
    QAction *exit = m_menu->addAction(tr("&Exit"));
    connect(updateNow, &QAction::triggered, this, &CTrayIcon::updateNowRequested);
    connect(show, &QAction::triggered, this, &CTrayIcon::showRequested);
    connect(exit, &QAction::triggered, this, &CTrayIcon::exitRequested);
    setContextMenu(m_menu.get());
}

void CTrayIcon::activate(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        emit showRequested();
}

void CTrayIcon::redraw()
{
    const QIcon base = m_number.isEmpty() ? applicationIcon()
                                          : temperatureIcon(m_number, m_trusted ? m_fore : UNTRUSTED_GREY, m_back);
    const int alerts = static_cast<int>(m_tip.alerts.size());
    setIcon(alerts == 0 ? base : markedIcon(base, alerts, m_alertColor));
}

} // namespace nimbdesk
